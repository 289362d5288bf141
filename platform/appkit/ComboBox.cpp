#include "Chrome.h"
#include "appkit/Controls.h"
#include "appkit/Layout.h"
#include "graphics/BezierPath.h"
#include "graphics/Text.h"

namespace appkit {

void ComboBox::addItemWithObjectValue(const std::string& item) { items_.push_back(item); }

void ComboBox::addItemsWithObjectValues(const std::vector<std::string>& items) {
  items_.insert(items_.end(), items.begin(), items.end());
}

void ComboBox::insertItemWithObjectValue(const std::string& item, int index) {
  if (index < 0 || index > numberOfItems()) return;
  items_.insert(items_.begin() + index, item);
  if (selected_ >= index) ++selected_;
}

void ComboBox::removeItemAtIndex(int index) {
  if (index < 0 || index >= numberOfItems()) return;
  items_.erase(items_.begin() + index);
  if (selected_ == index)
    selected_ = -1;
  else if (selected_ > index)
    --selected_;
}

void ComboBox::removeAllItems() {
  items_.clear();
  selected_ = -1;
}

std::string ComboBox::itemObjectValueAtIndex(int index) const {
  if (index < 0 || index >= numberOfItems()) return std::string();
  return items_[static_cast<std::size_t>(index)];
}

int ComboBox::indexOfItemWithObjectValue(const std::string& item) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == item) return static_cast<int>(i);
  }
  return -1;
}

void ComboBox::selectItemAtIndex(int index) {
  if (index < 0 || index >= numberOfItems()) {
    selected_ = -1;
    return;
  }
  selected_ = index;
  text_ = items_[static_cast<std::size_t>(index)];
  setNeedsDisplay();
}

void ComboBox::selectItemWithObjectValue(const std::string& item) {
  selectItemAtIndex(indexOfItemWithObjectValue(item));
}

void ComboBox::deselectItemAtIndex(int index) {
  if (index == selected_) selected_ = -1;
}

int ComboBox::indexOfSelectedItem() const { return isNil() ? 0 : selected_; }

std::string ComboBox::objectValueOfSelectedItem() const { return itemObjectValueAtIndex(selected_); }

void ComboBox::setStringValue(const std::string& value) {
  text_ = value;
  selected_ = indexOfItemWithObjectValue(value);
  setNeedsDisplay();
}

bool ComboBox::choose(int index) {
  if (isNil() || isHidden() || !isEnabled() || index < 0 || index >= numberOfItems()) return false;
  selectItemAtIndex(index);
  sendAction();
  return true;
}

void ComboBox::draw(const Rect& bounds) {
  chrome::roundedBox(bounds.insetBy(1, 1), 4, graphics::Color::whiteColor(), chrome::border());
  double arrowWidth = std::min(22.0, bounds.width() / 3);
  Rect arrowBox = Rect::make(bounds.maxX() - arrowWidth - 1, 1, arrowWidth, bounds.height() - 2);
  chrome::roundedBox(arrowBox, 4, isEnabled() ? chrome::selection() : chrome::disabledText(), chrome::border());
  graphics::Color::whiteColor().set();
  graphics::BezierPath arrow;
  double cx = arrowBox.minX() + arrowBox.width() / 2, cy = bounds.height() / 2;
  arrow.moveToPoint({cx - 4, cy - 2});
  arrow.lineToPoint({cx + 4, cy - 2});
  arrow.lineToPoint({cx, cy + 3});
  arrow.closePath();
  arrow.fill();
  graphics::TextStyle style;
  style.font = font();
  style.color = isEnabled() ? graphics::Color::blackColor() : chrome::disabledText();
  graphics::drawStringInRect(text_, Rect::make(5, 1, arrowBox.minX() - 7, bounds.height() - 2), style);
}

void ComboBox::configure(const LayoutItem& item) {
  Control::configure(item);
  items_ = item.comboItems;
  text_ = item.caption;
  selected_ = indexOfItemWithObjectValue(text_);
}

}  // namespace appkit
