#pragma once

#include <string>

#include "KeypadDialog.h"

// The keypad alone on a window of its own ("KeypadProbe"), as every keypad dialog has it: the four
// displays, the code image, the keys, backspace and clear, an OK button that ends with 0 and a cancel
// button. Its stored labels are open for the tests.
class KeypadProbe : public KeypadDialog {
 public:
  KeypadProbe();
  void windowDidLoad() override;

  const std::string& amountLabels() const { return Amount; }
  const std::string& pinLabels() const { return CardPIN; }
  const std::string& captchaValue() const { return CaptchaValue; }
  long pinCount() const { return static_cast<long>(nPassCount); }
  int captchaClicks = 0;
};
