#include "KeypadProbe.h"

#include "KeypadLayout.h"
#include "appkit/Layout.h"

namespace {
using namespace appkit::layout;

appkit::Layout probeLayout() {
  std::vector<appkit::LayoutItem> items = {
      label("", rect(20, 20, 90, 32), "轉入帳號"),
      keypad_layout::display("cbInAccount", rect(120, 20, 260, 32), "cbInAccount:"),
      label("", rect(20, 64, 90, 32), "轉帳金額"),
      keypad_layout::display("cbAmount", rect(120, 64, 170, 32), "cbAmount:"),
      label("cbCardPIN_Text", rect(20, 108, 90, 32), "晶片卡密碼"),
      keypad_layout::display("cbCardPIN", rect(120, 108, 200, 32), "cbCardPIN:"),
      label("PinCounterP1", rect(120, 144, 50, 20), "已輸入"),
      label("PinCounterP2", rect(170, 144, 24, 20), "0"),
      label("PinCounterP3", rect(194, 144, 20, 20), "位"),
      label("", rect(20, 172, 90, 40), "交易驗證碼"),
      keypad_layout::codeImage(rect(120, 172, 120, 40)).withAction("probeCaptcha:"),
      keypad_layout::display("cbCaptchaInput", rect(250, 176, 110, 32), "cbCaptchaInput:"),
      label("tfTimer", rect(20, 232, 60, 24), "600"),
      button("btnOK", rect(200, 232, 80, 30), "確定", "btnOK:"),
      button("btnCancel", rect(290, 232, 80, 30), "取消", "CloseWindow:"),
  };
  keypad_layout::append(items, keypad_layout::keys(400, 20));
  return appkit::Layout{"KeypadProbe", "數字鍵盤", {600, 280}, std::move(items), "CloseWindow:"};
}

const appkit::LayoutRegistration kLayout(&probeLayout);

}  // namespace

KeypadProbe::KeypadProbe() {
  addAction("cbInAccount:", [this](appkit::View*) { cbInAccountStateOn(); });
  addAction("btnOK:", [this](appkit::View*) { endDialog(kConfirmed); });
  addAction("probeCaptcha:", [this](appkit::View*) { ++captchaClicks; });
}

void KeypadProbe::windowDidLoad() {
  KeypadDialog::windowDidLoad();
  if (setUpKeypad()) startCountdown(600);
}
