#include "appkit/WindowController.h"

#include <cstdio>

#include "appkit/Layout.h"

namespace appkit {

OutletBase::OutletBase(WindowController* owner, std::string name, Need need) : name_(std::move(name)), need_(need) {
  if (owner) owner->registerOutlet(this);
}

WindowController::WindowController() = default;

WindowController::~WindowController() {
  if (window_) {
    window_->setDelegate(nullptr);
    window_->setWindowController(nullptr);
  }
}

bool WindowController::initWithWindowNibName(const std::string& nibName) {
  nibName_ = nibName;
  return initWithWindow(nullptr);
}

bool WindowController::initWithWindow(std::unique_ptr<Window> window) {
  if (window) {
    window_ = std::move(window);
    loadTried_ = true;
    wire();
  }
  return true;
}

Window* WindowController::window() {
  if (!window_ && !loadTried_) {
    loadTried_ = true;
    windowWillLoad();
    loadWindow();
    if (window_) {
      wire();
      windowDidLoad();
    }
  }
  return window_.get();
}

void WindowController::loadWindow() {
  window_ = Window::fromLayout(nibName_);
  if (!window_) {
    problems_.push_back("no layout named \"" + nibName_ + "\"");
    std::fprintf(stderr, "appkit: no layout named \"%s\"\n", nibName_.c_str());
  }
}

void WindowController::wire() {
  window_->setDelegate(this);
  window_->setWindowController(this);
  const Layout* layout = findLayout(window_->name());
  for (OutletBase* outlet : outlets_) {
    View* view = window_->viewWithIdentifier(outlet->name());
    if (!view) {
      if (!outlet->isOptional()) problems_.push_back("layout has no outlet \"" + outlet->name() + "\"");
    } else if (!outlet->connect(view)) {
      problems_.push_back("outlet \"" + outlet->name() + "\" has another class in the layout");
    }
  }
  if (!layout) return;
  for (std::size_t i = 0; i < layout->items.size() && i < window_->views().size(); ++i) {
    const LayoutItem& item = layout->items[i];
    View* view = window_->views()[i].get();
    if (!item.action.empty()) {
      Control::Action action = actionNamed(item.action);
      auto* control = dynamic_cast<Control*>(view);
      if (!action)
        problems_.push_back("controller has no action \"" + item.action + "\"");
      else if (control)
        control->setAction(std::move(action));
    }
    if (item.dataSourceIsOwner) {
      auto* table = dynamic_cast<TableView*>(view);
      auto* source = dynamic_cast<TableDataSource*>(this);
      if (table && source)
        table->setDataSource(source);
      else
        problems_.push_back("table \"" + item.outlet + "\" wants the controller as its data source");
    }
  }
  if (!layout->closeAction.empty()) {
    Control::Action action = actionNamed(layout->closeAction);
    if (action)
      window_->setCloseAction(std::move(action));
    else
      problems_.push_back("controller has no action \"" + layout->closeAction + "\"");
  }
}

void WindowController::showWindow() {
  if (Window* w = window()) w->makeKeyAndOrderFront();
}

void WindowController::close() {
  if (window_) window_->close();
}

void WindowController::registerOutlet(OutletBase* outlet) { outlets_.push_back(outlet); }

void WindowController::addAction(const std::string& name, Control::Action action) {
  actions_[name] = std::move(action);
}

Control::Action WindowController::actionNamed(const std::string& name) const {
  auto it = actions_.find(name);
  return it == actions_.end() ? Control::Action() : it->second;
}

}  // namespace appkit
