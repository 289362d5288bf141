#include <gtest/gtest.h>

#include <cstdint>

#include "graphics/Graphics.h"

namespace {

using graphics::Color;
using graphics::Image;
using graphics::Rect;

std::uint32_t opaque(const Color& c) { return c.argb(); }

TEST(GraphicsTest, FillsAndFramesLandWhereTheyShould) {
  Image image(graphics::Size{20, 20});
  image.lockFocus();
  Color::whiteColor().set();
  graphics::rectFill(Rect::make(0, 0, 20, 20));
  Color::redColor().set();
  graphics::frameRectWithWidth(Rect::make(0, 0, 20, 20), 2);
  image.unlockFocus();
  EXPECT_EQ(opaque(Color::redColor()), image.pixelAt(0, 0));
  EXPECT_EQ(opaque(Color::redColor()), image.pixelAt(1, 10));
  EXPECT_EQ(opaque(Color::redColor()), image.pixelAt(19, 19));
  EXPECT_EQ(opaque(Color::whiteColor()), image.pixelAt(2, 2));
  EXPECT_EQ(opaque(Color::whiteColor()), image.pixelAt(10, 10));
  EXPECT_EQ(0u, image.pixelAt(20, 0));
}

TEST(GraphicsTest, PathsStrokeLinesAndCurves) {
  Image image(graphics::Size{40, 40});
  image.lockFocus();
  Color::blueColor().set();
  graphics::BezierPath path;
  path.setLineWidth(2);
  path.moveToPoint({0, 20});
  path.lineToPoint({40, 20});
  path.moveToPoint({20, 0});
  path.curveToPoint({20, 40}, {20, 10}, {20, 30});
  path.stroke();
  image.unlockFocus();
  EXPECT_EQ(opaque(Color::blueColor()), image.pixelAt(5, 20));
  EXPECT_EQ(opaque(Color::blueColor()), image.pixelAt(20, 35));
  EXPECT_EQ(0u, image.pixelAt(5, 5));
}

TEST(GraphicsTest, DrawingWithoutAFocusedImageDoesNothing) {
  Color::redColor().set();
  graphics::rectFill(Rect::make(0, 0, 5, 5));
  graphics::drawString("x", {0, 0}, graphics::Font::system());
  EXPECT_EQ(nullptr, graphics::Context::current());
}

TEST(GraphicsTest, FocusNestsAndUnlockingRestoresTheOuterImage) {
  Image outer(graphics::Size{4, 4}), inner(graphics::Size{4, 4});
  outer.lockFocus();
  inner.lockFocus();
  Color::greenColor().set();
  graphics::rectFill(Rect::make(0, 0, 4, 4));
  inner.unlockFocus();
  Color::blackColor().set();
  graphics::rectFill(Rect::make(0, 0, 4, 4));
  outer.unlockFocus();
  EXPECT_EQ(opaque(Color::greenColor()), inner.pixelAt(1, 1));
  EXPECT_EQ(opaque(Color::blackColor()), outer.pixelAt(1, 1));
}

TEST(GraphicsTest, TextHasASizeAndBadBytesDoNotStopIt) {
  graphics::TextStyle style;
  style.font = graphics::Font::named("Helvetica", 20);
  graphics::Size latin = graphics::sizeOfString("12345", style);
  graphics::Size chinese = graphics::sizeOfString("晶片金融卡", style);
  EXPECT_GT(latin.width, 20);
  EXPECT_GT(chinese.width, latin.width);
  EXPECT_GT(graphics::sizeOfString("ab\xff\xfe", style).width, 0);
  style.wrapWidth = 30;
  EXPECT_GT(graphics::sizeOfString("晶片金融卡晶片金融卡", style).height, chinese.height);
}

TEST(GraphicsTest, WritingAPngToANonexistentFolderFails) {
  Image image(graphics::Size{2, 2});
  EXPECT_FALSE(image.writePng("/nonexistent-folder/x.png"));
}

}  // namespace
