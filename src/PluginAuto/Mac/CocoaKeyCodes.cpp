#include "CocoaKeyCodes.h"

#include <cstdint>

namespace PF {

namespace {

const unsigned long kFirstCode = 36;
const unsigned long kLastCode = 126;
const int U = PFKeyCodeUnknown;

// Mac key codes 36 to 126, in order; letters, digits, punctuation and the keypad are not named.
const std::int32_t kKeyCodes[kLastCode - kFirstCode + 1] = {
    52, U,  U,  U,  U,  U,  U,
    U,  U,  U,  U,  U,  // 36 return .. 47
    60, 58, U,  7,  U,  9,  U,
    73, 56, 3,  74, 5,  // 48 tab, 49 space, 51 delete, 53 escape, 55 command .. 59 control
    75, 76, 77, 78, U,  U,  U,
    U,  U,  U,  U,  U,  // 60 right shift, 61 right option, 62 right control, 63 function
    U,  U,  U,  U,  U,  U,  U,
    U,  U,  U,  U,  U,  // 72 .. 83
    U,  U,  U,  U,  U,  U,  U,
    U,  U,  U,  U,  U,  // 84 .. 95
    28, 29, 30, 26, 31, 32, U,
    13, U,  15, U,  16,  // 96 F5, F6, F7, F3, F8, F9, 103 F11, 105 F13, 107 F14
    U,  12, U,  14, U,  17, 33,
    70, 50, 79, 27, 69,          // 109 F10, 111 F12, 113 F15, help, home, page up, fwd delete, F4, end
    22, 49, 11, 80, 81, 82, 83,  // 120 F2, page down, F1, left, right, down, up (126)
};

}  // namespace

int CocoaKeyCodeToPFKeyCode(unsigned long code) {
  if (code < kFirstCode || code > kLastCode) return PFKeyCodeUnknown;
  return kKeyCodes[code - kFirstCode];
}

}  // namespace PF
