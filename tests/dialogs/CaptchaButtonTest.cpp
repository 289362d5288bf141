// The drawn button: its random numbers, the noise budget and how it is shared, every character drawn
// exactly once, tiny and empty buttons, and the pixels of a display showing 16 digits.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "CaptchaButton.h"
#include "crypto/random.h"

namespace {

// A random source that hands out the given 32-bit values in turn (then zeros).
RandomSource scripted(std::deque<std::uint32_t> values) {
  auto queue = std::make_shared<std::deque<std::uint32_t>>(std::move(values));
  return [queue](unsigned char* buf, std::size_t len) {
    std::uint32_t v = 0;
    if (!queue->empty()) {
      v = queue->front();
      queue->pop_front();
    }
    for (std::size_t i = 0; i < len; ++i) buf[i] = static_cast<unsigned char>(v >> (8 * (len - 1 - i)));
    return true;
  };
}

TEST(CaptchaButtonRandom, BetweenTakesBothBoundsInEitherOrder) {
  struct Case {
    int a, b;
    std::deque<std::uint32_t> draws;
    std::vector<int> expected;
  };
  const Case kCases[] = {
      {5, 2, {0, 1, 2, 3, 4}, {2, 3, 4, 5, 2}},
      {2, 5, {0, 3, 0xFFFFFFFFu}, {2, 5, 5}},  // 4294967295 mod 4 = 3
      {1, 0, {0, 1, 2}, {0, 1, 0}},
      {1, 1, {7}, {1}},
      {0, 9, {0xFFFFFFFFu}, {5}},  // 4294967295 mod 10 = 5
  };
  for (const Case& c : kCases) {
    ScopedRandomSource source(scripted(c.draws));
    for (int expected : c.expected)
      EXPECT_EQ(CaptchaButton::getRandomNumBetween(c.a, c.b), expected) << c.a << "," << c.b;
  }
  ScopedRandomSource failing([](unsigned char*, std::size_t) { return false; });
  EXPECT_EQ(CaptchaButton::getRandomNumBetween(4, 9), 4) << "a failed draw takes the lower bound";
}

// Always the lower or always the upper bound.
const CaptchaButton::RandomBetween kLow = [](int a, int b) { return std::min(a, b); };
const CaptchaButton::RandomBetween kHigh = [](int a, int b) { return std::max(a, b); };

TEST(CaptchaButtonNoise, BudgetByArea) {
  struct Case {
    double w, h;
    int n;
    int low, high;
  };
  const Case kCases[] = {
      {100, 60, 1, 3, 3},    // 6000 / 1600
      {30, 30, 1, 8, 8},     // budget 0 is below 1
      {120, 40, 6, 8, 8},    // 3 below 6, fewer than 8 characters
      {300, 30, 16, 8, 16},  // 5 below 16: from 8 to 16
      {1000, 1000, 3, 625, 625},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(CaptchaButton::noiseBudget(c.w, c.h, c.n, kLow), c.low) << c.w << "x" << c.h;
    EXPECT_EQ(CaptchaButton::noiseBudget(c.w, c.h, c.n, kHigh), c.high) << c.w << "x" << c.h;
  }
}

TEST(CaptchaButtonNoise, SharesOfTheBudget) {
  struct Case {
    int n, budget;
    const CaptchaButton::RandomBetween* random;
    std::vector<int> shares;
  };
  const Case kCases[] = {
      {1, 3, &kLow, {3}},
      {1, 8, &kHigh, {8}},
      {6, 8, &kLow, {1, 1, 1, 1, 1, 3}},
      {6, 8, &kHigh, {1, 1, 1, 1, 2, 2}},
      // A budget below the number of characters: shares of 0 or 1, never more than budget + n - 1.
      {16, 8, &kLow, {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1}},
      {16, 8, &kHigh, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0}},
      {0, 8, &kLow, {}},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(CaptchaButton::strokeShares(c.n, c.budget, *c.random), c.shares)
        << c.n << " characters, budget " << c.budget;
  }
}

// Counts what a drawing makes.
class CountingButton : public CaptchaButton {
 public:
  std::vector<std::string> drawn;
  int strokes = 0;

 protected:
  void drawCharacter(const std::string& character, graphics::Point topLeft, double fontSize) override {
    EXPECT_GT(fontSize, 0);
    drawn.push_back(character);
    CaptchaButton::drawCharacter(character, topLeft, fontSize);
  }
  void drawNoiseStroke(int kind) override {
    ++strokes;
    CaptchaButton::drawNoiseStroke(kind);
  }
};

std::vector<std::string> eachCharacter(const std::string& text) {
  std::vector<std::string> out;
  for (char c : text) out.push_back(std::string(1, c));
  return out;
}

TEST(CaptchaButtonDrawing, EveryCharacterIsDrawnExactlyOnce) {
  struct Case {
    double w, h;
    const char* text;
    int maxStrokes;  // budget + characters - 1, with the largest budget the size allows
  };
  const Case kCases[] = {
      {100, 60, "7", 3},
      {30, 30, "7", 8},
      {120, 40, "123456", 8 + 5},
      {300, 32, "1234567890123456", 16 + 15},  // budget 6 < 16: 8 to 16 strokes shared by 16
      {240, 32, "****        ", 8 + 11},
  };
  for (int round = 0; round < 10; ++round) {
    for (const Case& c : kCases) {
      SCOPED_TRACE(c.text);
      for (int role = 0; role < 3; ++role) {
        CountingButton button;
        button.setFrame(graphics::Rect::make(0, 0, c.w, c.h));
        if (role == 0) button.SetValue(c.text);
        if (role == 1) button.DigitalButtonMode(c.text);
        if (role == 2) button.CaptchaMode(c.text);
        EXPECT_EQ(button.drawn, eachCharacter(c.text)) << "role " << role;
        EXPECT_LE(button.strokes, c.maxStrokes);
        EXPECT_EQ(button.displayedText(), c.text);
      }
    }
  }
}

TEST(CaptchaButtonDrawing, EmptyTextsTinyButtonsAndNoValueDrawOnlyTheBackground) {
  struct Case {
    double w, h;
    const char* text;
  };
  const Case kCases[] = {{100, 40, ""}, {10, 10, "12"}, {40, 9, "1"}, {3, 40, "1234"}, {0, 0, "5"}, {0, 0, ""}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " \"" + c.text + "\"");
    CountingButton button;
    button.setFrame(graphics::Rect::make(0, 0, c.w, c.h));
    button.updateLayer();  // drawn before it was given any value
    button.SetValue(c.text);
    button.CaptchaMode(c.text);
    button.updateLayer();
    EXPECT_TRUE(button.drawn.empty());
    EXPECT_EQ(button.strokes, 0);
    ASSERT_NE(button.drawnImage(), nullptr);
  }
}

TEST(CaptchaButtonDrawing, AClickOnTheCodeImageSendsNothing) {
  int actions = 0;
  CaptchaButton image;
  image.setFrame(graphics::Rect::make(0, 0, 120, 40));
  image.setAction([&](appkit::View*) { ++actions; });
  image.CaptchaMode("123456");
  image.mouseDown(appkit::MouseEvent{});
  EXPECT_EQ(actions, 0);
  EXPECT_EQ(image.state(), 0);
  EXPECT_TRUE(image.isCaptcha());

  CaptchaButton display;
  display.setFrame(graphics::Rect::make(0, 0, 120, 40));
  display.setAction([&](appkit::View*) { ++actions; });
  display.SetValue("12");
  display.mouseDown(appkit::MouseEvent{});
  EXPECT_EQ(actions, 1);
  EXPECT_EQ(display.state(), 1);
}

// Dark pixels (glyph ink) in a column range of the image: noise strokes are never black here, since
// every draw of the scripted source is 0 (green noise).
int inkBetween(const graphics::Image& image, int fromX, int toX) {
  int count = 0;
  for (int y = 0; y < static_cast<int>(image.size().height); ++y) {
    for (int x = fromX; x < toX; ++x) {
      std::uint32_t p = image.pixelAt(x, y);
      int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      if (r + g + b < 150 && (p >> 24) > 0) ++count;
    }
  }
  return count;
}

TEST(CaptchaButtonDrawing, ADisplayOfSixteenDigitsShowsInkWhereEachDigitStands) {
  ScopedRandomSource zeros(scripted({}));
  CaptchaButton display;
  display.setFrame(graphics::Rect::make(0, 0, 300, 32));
  display.setState(1);
  display.SetValue("8888888888888888");
  ASSERT_NE(display.drawnImage(), nullptr);
  ::mkdir(RVP_PICTURE_DIR, 0755);
  EXPECT_TRUE(display.drawnImage()->writePng(std::string(RVP_PICTURE_DIR) + "/CaptchaButton-16digits.png"));
  const int frame = display.borderWidth();
  const int cell = (300 - 2 * frame) / 16;
  for (int i = 0; i < 16; ++i) {
    EXPECT_GT(inkBetween(*display.drawnImage(), i * cell + frame, (i + 1) * cell + frame), 20) << "digit " << i;
  }
  // The border of an active display is red, its inside white.
  EXPECT_EQ(display.drawnImage()->pixelAt(0, 16) & 0xFFFFFF, 0xFF0000u);
}

}  // namespace
