#include "KeypadLayout.h"

#include "CaptchaButton.h"

namespace keypad_layout {
namespace {

using appkit::layout::rect;

appkit::Rect cellAt(double x, double y, int column, int row) {
  return rect(x + column * (kKeyWidth + kGap), y + row * (kKeyHeight + kGap), kKeyWidth, kKeyHeight);
}

std::vector<appkit::LayoutItem> keyBlock(double x, double y, bool withBackspace) {
  std::vector<appkit::LayoutItem> items;
  // Positions 1-9 in three rows, 0 in the middle of the last row; the digits they show are shuffled.
  for (int position = 1; position <= 9; ++position) {
    const std::string n = std::to_string(position);
    items.push_back(appkit::layout::custom<CaptchaButton>(
        "cb" + n, cellAt(x, y, (position - 1) % 3, (position - 1) / 3), "", "cbBtn" + n + ":"));
  }
  items.push_back(appkit::layout::custom<CaptchaButton>("cb0", cellAt(x, y, 1, 3), "", "cbBtn0:"));
  if (withBackspace) {
    items.push_back(appkit::layout::button("btnBackSpace", cellAt(x, y, 0, 3), "←", "btnBackSpace:").withFontSize(18));
  }
  items.push_back(appkit::layout::button("btnClear", cellAt(x, y, 2, 3), "清除", "btnClear:"));
  return items;
}

}  // namespace

std::vector<appkit::LayoutItem> keys(double x, double y) { return keyBlock(x, y, true); }
std::vector<appkit::LayoutItem> keysWithoutBackspace(double x, double y) { return keyBlock(x, y, false); }

appkit::LayoutItem display(const std::string& outlet, appkit::Rect frame, const std::string& action) {
  return appkit::layout::custom<CaptchaButton>(outlet, frame, "", action);
}

appkit::LayoutItem codeImage(appkit::Rect frame) { return appkit::layout::custom<CaptchaButton>("cbCaptcha", frame); }

void append(std::vector<appkit::LayoutItem>& items, std::vector<appkit::LayoutItem> more) {
  for (auto& item : more) items.push_back(std::move(item));
}

}  // namespace keypad_layout
