#include <cstdint>
#include <memory>

#include "ToolkitFixture.h"

namespace {

// A layer-backed view that fills its layer itself, as the drawn keypad buttons do.
class Stamp : public appkit::Button {
 public:
  bool wantsUpdateLayer() const override { return true; }
  void updateLayer() override {
    ++updates;
    auto image = graphics::Image::withSize(frame().size);
    image->lockFocus();
    (state() ? graphics::Color::redColor() : graphics::Color::blueColor()).set();
    graphics::rectFill(bounds());
    image->unlockFocus();
    layer()->setContents(image);
  }
  int updates = 0;
};

class RenderWindowTest : public ToolkitTest {};

TEST_F(RenderWindowTest, LayerBackedViewsRefillTheirLayerOnlyWhenTheyNeedDisplay) {
  appkit::Window window("Stamps", "Stamps", appkit::Size{100, 60});
  auto* stamp = static_cast<Stamp*>(window.addView(std::make_unique<Stamp>(), "stamp"));
  stamp->setFrame(appkit::Rect::make(10, 10, 30, 30));

  auto first = window.renderImage();
  const double y = 10 + appkit::Window::kTitleBarHeight + 5;
  EXPECT_EQ(graphics::Color::blueColor().argb(), first->pixelAt(15, static_cast<int>(y)));
  window.renderImage();
  EXPECT_EQ(1, stamp->updates);

  stamp->setState(1);  // a change of state asks for a redraw
  auto second = window.renderImage();
  EXPECT_EQ(2, stamp->updates);
  EXPECT_EQ(graphics::Color::redColor().argb(), second->pixelAt(15, static_cast<int>(y)));
  EXPECT_EQ(first->size().height, 60 + appkit::Window::kTitleBarHeight);

  stamp->setHidden(true);  // hidden views are neither drawn nor refilled
  stamp->setNeedsDisplay();
  auto third = window.renderImage();
  EXPECT_EQ(2, stamp->updates);
  EXPECT_NE(graphics::Color::redColor().argb(), third->pixelAt(15, static_cast<int>(y)));
}

}  // namespace
