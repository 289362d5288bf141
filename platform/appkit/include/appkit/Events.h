#pragma once

#include <string>

#include "graphics/Geometry.h"

namespace appkit {

// A key typed on the physical keyboard: the characters it produces and its hardware key code.
struct KeyEvent {
  std::string characters;
  unsigned short keyCode = 0;

  static constexpr unsigned short kReturnKeyCode = 36;
  static constexpr unsigned short kDeleteKeyCode = 51;
  static constexpr unsigned short kEscapeKeyCode = 53;

  static KeyEvent character(const std::string& utf8) { return KeyEvent{utf8, 0}; }
  static KeyEvent backspace() { return KeyEvent{"\x7f", kDeleteKeyCode}; }
  static KeyEvent enter() { return KeyEvent{"\r", kReturnKeyCode}; }
  static KeyEvent escape() { return KeyEvent{"\x1b", kEscapeKeyCode}; }
};

// A mouse press at a point of the view it lands on.
struct MouseEvent {
  graphics::Point location;
};

}  // namespace appkit
