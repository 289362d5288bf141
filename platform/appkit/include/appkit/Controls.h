#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "appkit/View.h"
#include "graphics/Color.h"
#include "graphics/Text.h"

namespace appkit {

// A view that the user works: it can be enabled or not, and sends its action (the method of its
// controller that the layout named) when the user uses it.
class Control : public View {
 public:
  using Action = std::function<void(View* sender)>;

  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);

  void setAction(Action action) { action_ = std::move(action); }
  bool hasAction() const { return static_cast<bool>(action_); }
  // Sends the action with this control as sender (nothing for a missing outlet or a closed window).
  void sendAction();

  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }

  const graphics::Font& font() const { return font_; }
  void setFont(const graphics::Font& font) { font_ = font; }

  virtual std::string stringValue() const { return std::string(); }
  virtual void setStringValue(const std::string& value) {}
  // The leading integer of the string value (0 when there is none).
  long integerValue() const;
  void setIntegerValue(long value) { setStringValue(std::to_string(value)); }

  void configure(const LayoutItem& item) override;

 private:
  bool enabled_ = true;
  Action action_;
  int tag_ = 0;
  graphics::Font font_ = graphics::Font::system(13);
};

enum class ButtonType { MomentaryPush, Toggle };

// A push button, or a toggle button whose state flips on each click.
class Button : public Control {
 public:
  const std::string& title() const { return title_; }
  void setTitle(const std::string& title);
  std::string stringValue() const override { return title_; }
  void setStringValue(const std::string& value) override { setTitle(value); }

  // 0 off, 1 on; a change asks for a redraw.
  long state() const { return state_; }
  void setState(long state);

  ButtonType buttonType() const { return type_; }
  void setButtonType(ButtonType type) { type_ = type; }

  // What the button shows, for the scripted user's "press the key showing ..."; drawn buttons that
  // keep their text elsewhere answer their own.
  virtual std::string displayedText() const { return title_; }

  // A click as the user makes it: a toggle flips, then the action is sent. Hidden or disabled
  // buttons take no click.
  void performClick();
  void mouseDown(const MouseEvent& event) override { performClick(); }

  void draw(const Rect& bounds) override;
  void configure(const LayoutItem& item) override;

 private:
  std::string title_;
  long state_ = 0;
  ButtonType type_ = ButtonType::MomentaryPush;
};

// A label or an entry field. Editable fields take typed keys while focused.
class TextField : public Control {
 public:
  std::string stringValue() const override { return value_; }
  void setStringValue(const std::string& value) override;

  bool isEditable() const { return editable_; }
  void setEditable(bool editable) { editable_ = editable; }
  bool isBordered() const { return bordered_; }
  void setBordered(bool bordered) { bordered_ = bordered; }
  const graphics::Color& textColor() const { return textColor_; }
  void setTextColor(const graphics::Color& color) { textColor_ = color; }
  std::optional<graphics::Color> backgroundColor() const { return background_; }
  void setBackgroundColor(std::optional<graphics::Color> color) { background_ = color; }
  graphics::TextAlignment alignment() const { return alignment_; }
  void setAlignment(graphics::TextAlignment alignment) { alignment_ = alignment; }

  bool acceptsFirstResponder() const override { return editable_ && isEnabled() && !isHidden(); }
  // Typed characters are appended, the delete key removes the last character; a field that is not
  // editable passes keys on.
  bool keyDown(const KeyEvent& event) override;
  void mouseDown(const MouseEvent& event) override;

  void draw(const Rect& bounds) override;
  void configure(const LayoutItem& item) override;

 private:
  std::string value_;
  bool editable_ = false;
  bool bordered_ = false;
  graphics::Color textColor_ = graphics::Color::blackColor();
  std::optional<graphics::Color> background_;
  graphics::TextAlignment alignment_ = graphics::TextAlignment::Left;
};

// A drop-down list of texts with one selected item (-1 for none). Choosing an item as the user sends
// the action; selecting from code does not.
class ComboBox : public Control {
 public:
  void addItemWithObjectValue(const std::string& item);
  void addItemsWithObjectValues(const std::vector<std::string>& items);
  void insertItemWithObjectValue(const std::string& item, int index);
  void removeItemAtIndex(int index);
  void removeAllItems();
  int numberOfItems() const { return static_cast<int>(items_.size()); }
  // The item text, or empty for an index out of range.
  std::string itemObjectValueAtIndex(int index) const;
  const std::vector<std::string>& items() const { return items_; }
  int indexOfItemWithObjectValue(const std::string& item) const;

  // Selects an item (its text becomes the shown text); an index out of range selects nothing.
  void selectItemAtIndex(int index);
  void selectItemWithObjectValue(const std::string& item);
  void deselectItemAtIndex(int index);
  int indexOfSelectedItem() const;
  std::string objectValueOfSelectedItem() const;

  std::string stringValue() const override { return text_; }
  void setStringValue(const std::string& value) override;

  // The user picks an item: select it and send the action (disabled or hidden boxes refuse).
  bool choose(int index);

  void draw(const Rect& bounds) override;
  void configure(const LayoutItem& item) override;

 private:
  std::vector<std::string> items_;
  int selected_ = -1;
  std::string text_;
};

class TableView;

// What a table asks of the object that holds its rows.
class TableDataSource {
 public:
  virtual ~TableDataSource() = default;
  virtual int numberOfRowsInTableView(TableView& table) = 0;
  // The text of a cell, by the column's identifier.
  virtual std::string tableViewObjectValue(TableView& table, const std::string& columnIdentifier, int row) = 0;
  // Stores an edited cell.
  virtual void tableViewSetObjectValue(TableView& table, const std::string& value, const std::string& columnIdentifier,
                                       int row) {}
};

struct TableColumn {
  std::string identifier;
  std::string title;
  double width = 100;
};

// A list of rows in columns, filled by a data source, with at most one selected row.
class TableView : public Control {
 public:
  void setDataSource(TableDataSource* source) { dataSource_ = source; }
  TableDataSource* dataSource() const { return dataSource_; }

  const std::vector<TableColumn>& columns() const { return columns_; }
  void setColumns(std::vector<TableColumn> columns) { columns_ = std::move(columns); }

  // Asks the data source again; a selection beyond the last row is dropped.
  void reloadData();
  int numberOfRows() const;
  // The selected row, -1 for none.
  int selectedRow() const;
  int numberOfSelectedRows() const { return selectedRow() >= 0 ? 1 : 0; }
  void selectRow(int row);
  void deselectAll() { selected_ = -1; }
  // Ends any cell editing without keeping it; there is no cell editor here, so nothing is pending.
  bool abortEditing() { return true; }

  // The user clicks a row: it becomes the selection and the action is sent.
  bool clickRow(int row);
  // The user edits a cell: the value goes to the data source.
  bool editCell(int row, const std::string& columnIdentifier, const std::string& value);
  // The text the data source gives for a cell (empty without a data source).
  std::string cellText(int row, const std::string& columnIdentifier) const;

  void draw(const Rect& bounds) override;
  void configure(const LayoutItem& item) override;

 private:
  TableDataSource* dataSource_ = nullptr;
  std::vector<TableColumn> columns_;
  int selected_ = -1;
};

// Shows an image, or a picture that the layout draws.
class ImageView : public View {
 public:
  using Picture = std::function<void(const Rect& bounds)>;

  void setImage(std::shared_ptr<graphics::Image> image) { image_ = std::move(image); }
  const std::shared_ptr<graphics::Image>& image() const { return image_; }
  void setPicture(Picture picture) { picture_ = std::move(picture); }

  void draw(const Rect& bounds) override;
  void configure(const LayoutItem& item) override;

 private:
  std::shared_ptr<graphics::Image> image_;
  Picture picture_;
};

}  // namespace appkit
