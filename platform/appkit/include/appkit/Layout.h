#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "appkit/Controls.h"
#include "appkit/View.h"

namespace appkit {

// One control of a window layout: which class makes it, the outlet name the controller reaches it by,
// its frame (top-left origin, in points), caption, the controller action it sends, and the parts a kind
// of control needs (combo items, table columns, a picture). Build items with the helpers in
// appkit::layout and adjust them with the chained setters.
struct LayoutItem {
  std::function<std::unique_ptr<View>()> make;
  std::string outlet;
  Rect frame;
  std::string caption;
  std::string action;
  std::vector<std::string> comboItems;
  std::vector<TableColumn> columns;
  ImageView::Picture picture;
  std::optional<double> fontSize;
  bool bold = false;
  bool editable = false;
  bool bordered = false;
  bool hidden = false;
  bool enabled = true;
  bool dataSourceIsOwner = false;
  ButtonType buttonType = ButtonType::MomentaryPush;
  graphics::TextAlignment alignment = graphics::TextAlignment::Left;
  std::optional<graphics::Color> textColor;
  std::optional<graphics::Color> backgroundColor;
  int tag = 0;

  LayoutItem& withFontSize(double size) {
    fontSize = size;
    return *this;
  }
  LayoutItem& withBold(bool on = true) {
    bold = on;
    return *this;
  }
  LayoutItem& withEditable(bool on = true) {
    editable = on;
    return *this;
  }
  LayoutItem& withBorder(bool on = true) {
    bordered = on;
    return *this;
  }
  LayoutItem& withHidden(bool on = true) {
    hidden = on;
    return *this;
  }
  LayoutItem& withEnabled(bool on) {
    enabled = on;
    return *this;
  }
  LayoutItem& withAlignment(graphics::TextAlignment a) {
    alignment = a;
    return *this;
  }
  LayoutItem& withTextColor(const graphics::Color& c) {
    textColor = c;
    return *this;
  }
  LayoutItem& withBackground(const graphics::Color& c) {
    backgroundColor = c;
    return *this;
  }
  LayoutItem& withButtonType(ButtonType t) {
    buttonType = t;
    return *this;
  }
  LayoutItem& withTag(int t) {
    tag = t;
    return *this;
  }
  LayoutItem& withAction(const std::string& a) {
    action = a;
    return *this;
  }
};

// A window description, our stand-in for a nib: one per dialog class, registered under the class's
// name. `closeAction` names the controller action the title-bar close box sends; empty means the
// window has no close box.
struct Layout {
  std::string name;
  std::string title;
  Size size;
  std::vector<LayoutItem> items;
  std::string closeAction;
};

// The registry of layouts by name. A dialog's source file registers its layout at start-up with a
// LayoutRegistration; keep it in the dialog's own .cpp (or one the dialog's code references), since a
// file nothing refers to may be left out of a static library's link.
void registerLayout(Layout layout);
const Layout* findLayout(const std::string& name);
std::vector<std::string> registeredLayoutNames();

// Faults of a layout that no dialog could work with: an item without a class, two items under one
// outlet name, an item reaching outside the window, two controls shown from the start on top of each
// other, a window without a size. Empty for a sound one.
std::vector<std::string> layoutProblems(const Layout& layout);

struct LayoutRegistration {
  explicit LayoutRegistration(Layout layout) { registerLayout(std::move(layout)); }
  explicit LayoutRegistration(Layout (*build)()) { registerLayout(build()); }
};

// Builders for layout items.
namespace layout {

template <class T>
LayoutItem custom(const std::string& outlet, Rect frame, const std::string& caption = "",
                  const std::string& action = "") {
  LayoutItem item;
  item.make = [] { return std::unique_ptr<View>(new T()); };
  item.outlet = outlet;
  item.frame = frame;
  item.caption = caption;
  item.action = action;
  return item;
}

inline Rect rect(double x, double y, double width, double height) { return Rect::make(x, y, width, height); }

// A fixed caption (a text field that is neither editable nor bordered); the outlet may be empty.
LayoutItem label(const std::string& outlet, Rect frame, const std::string& caption);
// A bordered text field, read-only unless withEditable() is added.
LayoutItem textField(const std::string& outlet, Rect frame, const std::string& text = "");
LayoutItem button(const std::string& outlet, Rect frame, const std::string& title, const std::string& action);
LayoutItem comboBox(const std::string& outlet, Rect frame, const std::string& action,
                    std::vector<std::string> items = {});
// A table whose data source is the window's controller (it must implement TableDataSource).
LayoutItem tableView(const std::string& outlet, Rect frame, std::vector<TableColumn> columns);
LayoutItem imageView(const std::string& outlet, Rect frame, ImageView::Picture picture = {});
// A plain view, e.g. a content view outlet or a group frame.
LayoutItem box(const std::string& outlet, Rect frame);

}  // namespace layout
}  // namespace appkit
