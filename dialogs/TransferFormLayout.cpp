#include "TransferFormLayout.h"

#include "KeypadLayout.h"

namespace transfer_form_layout {
namespace {

using namespace appkit::layout;

constexpr double kMargin = 20;
constexpr double kCaptionWidth = 110;
constexpr double kControlX = kMargin + kCaptionWidth + 10;
constexpr double kListWidth = 300;
constexpr double kRowHeight = 40;
constexpr double kControlHeight = 30;
constexpr double kKeypadX = kControlX + kListWidth + 30;
constexpr double kWidth = kKeypadX + keypad_layout::kBlockWidth + kMargin;

}  // namespace

appkit::Layout build(const std::string& name, const std::string& title, std::vector<OwnRow> ownRows,
                     const Options& options) {
  std::vector<appkit::LayoutItem> items;
  double y = 16;
  auto caption = [&](const std::string& text, const std::string& outlet = "") {
    items.push_back(label(outlet, rect(kMargin, y, kCaptionWidth, kControlHeight), text));
  };
  for (OwnRow& row : ownRows) {
    caption(row.caption);
    appkit::Size size = row.control.frame.size;
    if (size.width <= 0 || size.height <= 0) size = {kListWidth, kControlHeight};
    row.control.frame = rect(kControlX, y, size.width, size.height);
    items.push_back(std::move(row.control));
    y += kRowHeight;
  }
  caption("約定轉入帳號");
  items.push_back(comboBox("cmbPreAccount", rect(kControlX, y, kListWidth, kControlHeight), "cmbPreAccount:"));
  y += kRowHeight;
  caption("常用轉入帳號");
  items.push_back(comboBox("cmbCommonAccount", rect(kControlX, y, kListWidth, kControlHeight), "cmbCommonAccount:"));
  y += kRowHeight;
  caption("轉入帳號");
  items.push_back(keypad_layout::display("cbInAccount", rect(kControlX, y, kListWidth, 32), "cbInAccount:"));
  y += kRowHeight;
  caption("轉帳金額");
  items.push_back(keypad_layout::display("cbAmount", rect(kControlX, y, 200, 32), "cbAmount:"));
  y += kRowHeight;
  caption("晶片卡密碼", "cbCardPIN_Text");
  items.push_back(keypad_layout::display("cbCardPIN", rect(kControlX, y, 200, 32), "cbCardPIN:"));
  items.push_back(label("PinCounterP1", rect(kControlX + 210, y, 48, kControlHeight), "已輸入"));
  items.push_back(label("PinCounterP2", rect(kControlX + 258, y, 24, kControlHeight), "0"));
  items.push_back(label("PinCounterP3", rect(kControlX + 282, y, 18, kControlHeight), "位"));
  y += kRowHeight;
  items.push_back(label("", rect(kMargin, y + 5, kCaptionWidth, kControlHeight), "交易驗證碼"));
  items.push_back(keypad_layout::codeImage(rect(kControlX, y, 120, 40)));
  items.push_back(keypad_layout::display("cbCaptchaInput", rect(kControlX + 130, y + 4, 120, 32), "cbCaptchaInput:"));
  y += 56;
  items.push_back(label("", rect(kMargin, y, 70, kControlHeight), "剩餘秒數"));
  items.push_back(label("tfTimer", rect(kMargin + 72, y, 40, kControlHeight), "600"));
  const double height = std::max(y + 46, 16 + keypad_layout::kBlockHeight + 62);
  const double buttonsY = height - 46;
  items.push_back(button(options.okOutlet, rect(kKeypadX, buttonsY, 88, 32), "確定", "btnOK:"));
  items.push_back(button("btnCancel", rect(kKeypadX + 96, buttonsY, 88, 32), "取消", "CloseWindow:"));
  keypad_layout::append(items, keypad_layout::keys(kKeypadX, 16));
  if (!options.contentView.empty()) items.insert(items.begin(), box(options.contentView, rect(0, 0, kWidth, height)));
  return appkit::Layout{name, title, {kWidth, height}, std::move(items), "CloseWindow:"};
}

}  // namespace transfer_form_layout
