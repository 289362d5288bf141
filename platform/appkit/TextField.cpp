#include "Chrome.h"
#include "appkit/Controls.h"
#include "appkit/Layout.h"
#include "appkit/Window.h"
#include "graphics/Text.h"

namespace appkit {
namespace {
// Removes the last UTF-8 character.
void dropLastCharacter(std::string& text) {
  if (text.empty()) return;
  std::size_t i = text.size() - 1;
  while (i > 0 && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) --i;
  text.erase(i);
}
}  // namespace

void TextField::setStringValue(const std::string& value) {
  value_ = value;
  setNeedsDisplay();
}

bool TextField::keyDown(const KeyEvent& event) {
  if (!acceptsFirstResponder() || isNil()) return false;
  if (event.keyCode == KeyEvent::kDeleteKeyCode || event.characters == "\x7f" || event.characters == "\b") {
    dropLastCharacter(value_);
  } else if (event.keyCode == KeyEvent::kReturnKeyCode || event.characters == "\r") {
    sendAction();
  } else {
    for (char c : event.characters) {
      // Control characters have no place in a one-line field.
      if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) value_.push_back(c);
    }
  }
  setNeedsDisplay();
  return true;
}

void TextField::mouseDown(const MouseEvent& event) {
  if (window() && acceptsFirstResponder()) window()->makeFirstResponder(this);
}

void TextField::draw(const Rect& bounds) {
  if (bordered_ || editable_) {
    graphics::Color fill = background_ ? *background_ : graphics::Color::whiteColor();
    fill.set();
    graphics::rectFill(bounds);
    bool focused = window() && window()->firstResponder() == this;
    (focused ? chrome::selection() : chrome::border()).set();
    graphics::frameRectWithWidth(bounds, focused ? 2 : 1);
  } else if (background_) {
    background_->set();
    graphics::rectFill(bounds);
  }
  graphics::TextStyle style;
  style.font = font();
  style.color = isEnabled() ? textColor_ : chrome::disabledText();
  style.alignment = alignment_;
  style.wrapWidth = bounds.width() - 6;
  graphics::drawStringInRect(value_, bounds.insetBy(3, 1), style);
}

void TextField::configure(const LayoutItem& item) {
  Control::configure(item);
  value_ = item.caption;
  editable_ = item.editable;
  bordered_ = item.bordered;
  alignment_ = item.alignment;
  if (item.textColor) textColor_ = *item.textColor;
  background_ = item.backgroundColor;
}

}  // namespace appkit
