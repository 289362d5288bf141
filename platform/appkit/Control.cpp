#include <cstdlib>

#include "appkit/Controls.h"
#include "appkit/Layout.h"
#include "appkit/Window.h"

namespace appkit {

void Control::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  setNeedsDisplay();
}

void Control::sendAction() {
  // Controls of a closed window are gone for the user: nothing they send can reach a dialog that ended.
  if (isNil() || !action_ || (window() && window()->isClosed())) return;
  // Copy first: the action may replace or drop the control's own action.
  Action action = action_;
  action(this);
}

long Control::integerValue() const {
  std::string text = stringValue();
  return std::strtol(text.c_str(), nullptr, 10);
}

void Control::configure(const LayoutItem& item) {
  View::configure(item);
  enabled_ = item.enabled;
  tag_ = item.tag;
  if (item.fontSize) font_.size = *item.fontSize;
  font_.bold = item.bold;
}

}  // namespace appkit
