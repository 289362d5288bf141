#include "appkit/View.h"

#include "appkit/Layout.h"
#include "appkit/Window.h"

namespace appkit {

void View::setHidden(bool hidden) {
  if (hidden_ == hidden) return;
  hidden_ = hidden;
  // A hidden view cannot keep the focus.
  if (hidden && window_ && window_->firstResponder() == this) window_->makeFirstResponder(nullptr);
}

void View::draw(const Rect& bounds) {
  if (const auto& image = layer_.contents()) image->drawInRect(bounds);
}

void View::configure(const LayoutItem& item) {
  frame_ = item.frame;
  hidden_ = item.hidden;
}

void View::attach(Window* window, const std::string& identifier) {
  window_ = window;
  identifier_ = identifier;
}

}  // namespace appkit
