#pragma once

#include <string>
#include <vector>

#include "appkit/Layout.h"

// Layout pieces shared by every keypad dialog, so each dialog's layout lists only what is its own.
namespace keypad_layout {

constexpr double kKeyWidth = 56;
constexpr double kKeyHeight = 44;
constexpr double kGap = 8;
constexpr double kBlockWidth = 3 * kKeyWidth + 2 * kGap;
constexpr double kBlockHeight = 4 * kKeyHeight + 3 * kGap;

// The ten keys cb0..cb9 (actions cbBtn0:..cbBtn9:) in three columns, with backspace (btnBackSpace:)
// and clear (btnClear:) beside the last key, in a block whose top-left corner is (x, y).
std::vector<appkit::LayoutItem> keys(double x, double y);
// The keys alone, with clear (btnClear:) but no backspace (the account-book entry dialogs).
std::vector<appkit::LayoutItem> keysWithoutBackspace(double x, double y);

// An entry display (a CaptchaButton) sending `action` when clicked.
appkit::LayoutItem display(const std::string& outlet, appkit::Rect frame, const std::string& action);
// The verification-code image.
appkit::LayoutItem codeImage(appkit::Rect frame);

// Appends the items of `more` to `items`.
void append(std::vector<appkit::LayoutItem>& items, std::vector<appkit::LayoutItem> more);

}  // namespace keypad_layout
