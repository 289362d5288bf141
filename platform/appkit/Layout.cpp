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
