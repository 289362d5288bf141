#include "appkit/Layout.h"

#include <map>

namespace appkit {
namespace {
std::map<std::string, Layout>& registry() {
  static std::map<std::string, Layout> layouts;
  return layouts;
}
}  // namespace

void registerLayout(Layout layout) {
  std::string name = layout.name;
  registry()[name] = std::move(layout);
}

const Layout* findLayout(const std::string& name) {
  auto it = registry().find(name);
  return it == registry().end() ? nullptr : &it->second;
}

std::vector<std::string> registeredLayoutNames() {
  std::vector<std::string> names;
  for (const auto& entry : registry()) names.push_back(entry.first);
  return names;
}

namespace {

std::string itemName(const LayoutItem& item) { return item.outlet.empty() ? "(" + item.caption + ")" : item.outlet; }

bool overlap(const Rect& a, const Rect& b) {
  return a.minX() < b.maxX() && b.minX() < a.maxX() && a.minY() < b.maxY() && b.minY() < a.maxY();
}

// Controls the user sees from the start; pictures and plain views may lie beneath them.
bool isShownControl(const LayoutItem& item) {
  if (item.hidden || !item.make) return false;
  std::unique_ptr<View> view = item.make();
  return dynamic_cast<Control*>(view.get()) != nullptr;
}

}  // namespace

std::vector<std::string> layoutProblems(const Layout& layout) {
  std::vector<std::string> problems;
  if (layout.size.width <= 0 || layout.size.height <= 0) problems.push_back("the window has no size");
  std::map<std::string, int> seen;
  std::vector<const LayoutItem*> shown;
  for (const LayoutItem& item : layout.items) {
    std::string name = itemName(item);
    if (!item.make) problems.push_back(name + " has no class");
    if (!item.outlet.empty() && ++seen[item.outlet] == 2) problems.push_back("outlet " + name + " is declared twice");
    const Rect& f = item.frame;
    if (f.width() <= 0 || f.height() <= 0 || f.minX() < 0 || f.minY() < 0 || f.maxX() > layout.size.width ||
        f.maxY() > layout.size.height) {
      problems.push_back(name + " lies outside the window");
    }
    if (!isShownControl(item)) continue;
    for (const LayoutItem* other : shown) {
      if (overlap(other->frame, f)) problems.push_back(itemName(*other) + " and " + name + " overlap");
    }
    shown.push_back(&item);
  }
  return problems;
}

namespace layout {

LayoutItem label(const std::string& outlet, Rect frame, const std::string& caption) {
  return custom<TextField>(outlet, frame, caption);
}

LayoutItem textField(const std::string& outlet, Rect frame, const std::string& text) {
  return custom<TextField>(outlet, frame, text).withBorder();
}

LayoutItem button(const std::string& outlet, Rect frame, const std::string& title, const std::string& action) {
  return custom<Button>(outlet, frame, title, action);
}

LayoutItem comboBox(const std::string& outlet, Rect frame, const std::string& action, std::vector<std::string> items) {
  LayoutItem item = custom<ComboBox>(outlet, frame, "", action);
  item.comboItems = std::move(items);
  return item;
}

LayoutItem tableView(const std::string& outlet, Rect frame, std::vector<TableColumn> columns) {
  LayoutItem item = custom<TableView>(outlet, frame);
  item.columns = std::move(columns);
  item.dataSourceIsOwner = true;
  return item;
}

LayoutItem imageView(const std::string& outlet, Rect frame, ImageView::Picture picture) {
  LayoutItem item = custom<ImageView>(outlet, frame);
  item.picture = std::move(picture);
  return item;
}

LayoutItem box(const std::string& outlet, Rect frame) { return custom<View>(outlet, frame); }

}  // namespace layout
}  // namespace appkit
