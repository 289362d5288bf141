#include "Chrome.h"
#include "appkit/Controls.h"
#include "appkit/Layout.h"
#include "graphics/Text.h"

namespace appkit {

void Button::setTitle(const std::string& title) {
  title_ = title;
  setNeedsDisplay();
}

void Button::setState(long state) {
  if (state_ == state) return;
  state_ = state;
  setNeedsDisplay();
}

void Button::performClick() {
  if (isNil() || isHidden() || !isEnabled()) return;
  if (type_ == ButtonType::Toggle) setState(state_ ? 0 : 1);
  sendAction();
}

void Button::draw(const Rect& bounds) {
  if (const auto& image = layer()->contents()) {
    image->drawInRect(bounds);
    return;
  }
  bool on = type_ == ButtonType::Toggle && state_ != 0;
  graphics::Color fill = on ? graphics::Color::rgb(0.80, 0.87, 0.97) : graphics::Color::whiteColor();
  chrome::roundedBox(bounds.insetBy(1, 1), 5, fill, chrome::border());
  graphics::TextStyle style;
  style.font = font();
  style.alignment = graphics::TextAlignment::Center;
  style.color = isEnabled() ? graphics::Color::blackColor() : chrome::disabledText();
  graphics::drawStringInRect(title_, bounds.insetBy(4, 2), style);
}

void Button::configure(const LayoutItem& item) {
  Control::configure(item);
  title_ = item.caption;
  type_ = item.buttonType;
}

}  // namespace appkit
