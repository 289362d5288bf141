#pragma once
// The plug-in key code of a Mac virtual key code.

namespace PF {

// The plug-in's code for a key it does not name (letters, digits, punctuation, the keypad).
enum { PFKeyCodeUnknown = 84 };

int CocoaKeyCodeToPFKeyCode(unsigned long code);

}  // namespace PF
