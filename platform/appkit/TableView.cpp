#include <algorithm>

#include "Chrome.h"
#include "appkit/Controls.h"
#include "appkit/Layout.h"
#include "graphics/Text.h"

namespace appkit {
namespace {
constexpr double kHeaderHeight = 22;
constexpr double kRowHeight = 20;
}  // namespace

int TableView::numberOfRows() const {
  if (!dataSource_) return 0;
  return std::max(0, dataSource_->numberOfRowsInTableView(const_cast<TableView&>(*this)));
}

void TableView::reloadData() {
  if (selected_ >= numberOfRows()) selected_ = -1;
  setNeedsDisplay();
}

int TableView::selectedRow() const { return isNil() ? 0 : selected_; }

void TableView::selectRow(int row) { selected_ = row >= 0 && row < numberOfRows() ? row : -1; }

bool TableView::clickRow(int row) {
  if (isNil() || isHidden() || !isEnabled() || row < 0 || row >= numberOfRows()) return false;
  selected_ = row;
  sendAction();
  return true;
}

bool TableView::editCell(int row, const std::string& columnIdentifier, const std::string& value) {
  if (isNil() || !dataSource_ || row < 0 || row >= numberOfRows()) return false;
  dataSource_->tableViewSetObjectValue(*this, value, columnIdentifier, row);
  return true;
}

std::string TableView::cellText(int row, const std::string& columnIdentifier) const {
  if (!dataSource_ || row < 0 || row >= numberOfRows()) return std::string();
  return dataSource_->tableViewObjectValue(const_cast<TableView&>(*this), columnIdentifier, row);
}

void TableView::draw(const Rect& bounds) {
  graphics::Color::whiteColor().set();
  graphics::rectFill(bounds);
  graphics::Color::rgb(0.88, 0.88, 0.88).set();
  graphics::rectFill(Rect::make(0, 0, bounds.width(), kHeaderHeight));
  graphics::TextStyle header;
  header.font = graphics::Font::boldSystem(font().size - 1);
  graphics::TextStyle cell;
  cell.font = font();
  double x = 0;
  for (const auto& column : columns_) {
    graphics::drawStringInRect(column.title, Rect::make(x + 4, 0, column.width - 8, kHeaderHeight), header);
    x += column.width;
    chrome::border().set();
    graphics::rectFill(Rect::make(x - 1, 0, 1, bounds.height()));
  }
  int rows = numberOfRows();
  for (int row = 0; row < rows; ++row) {
    double y = kHeaderHeight + row * kRowHeight;
    if (y > bounds.height()) break;
    bool selected = row == selected_;
    if (selected) {
      chrome::selection().set();
      graphics::rectFill(Rect::make(0, y, bounds.width(), kRowHeight));
    }
    cell.color = selected ? graphics::Color::whiteColor() : graphics::Color::blackColor();
    double cx = 0;
    for (const auto& column : columns_) {
      graphics::drawStringInRect(cellText(row, column.identifier), Rect::make(cx + 4, y, column.width - 8, kRowHeight),
                                 cell);
      cx += column.width;
    }
  }
  chrome::border().set();
  graphics::frameRect(bounds);
}

void TableView::configure(const LayoutItem& item) {
  Control::configure(item);
  columns_ = item.columns;
}

}  // namespace appkit
