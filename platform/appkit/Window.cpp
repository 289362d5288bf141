#include "appkit/Window.h"

#include <algorithm>

#include "Chrome.h"
#include "appkit/Application.h"
#include "appkit/Layout.h"
#include "appkit/WindowController.h"
#include "graphics/Text.h"

namespace appkit {

Window::Window(const std::string& name, const std::string& title, Size contentSize)
    : name_(name), title_(title), size_(contentSize) {
  Application::shared().windowCreated(this);
}

Window::~Window() { Application::shared().windowDestroyed(this); }

std::unique_ptr<Window> Window::fromLayout(const std::string& name) {
  const Layout* layout = findLayout(name);
  if (!layout) return nullptr;
  auto window = std::make_unique<Window>(layout->name, layout->title, layout->size);
  for (const LayoutItem& item : layout->items) {
    if (!item.make) continue;
    std::unique_ptr<View> view = item.make();
    view->configure(item);
    window->addView(std::move(view), item.outlet);
  }
  return window;
}

void Window::center() {
  origin_.x = (kScreenWidth - size_.width) / 2;
  // Slightly above the middle, where people look first.
  origin_.y = std::max(0.0, (kScreenHeight - size_.height - kTitleBarHeight) / 3);
}

View* Window::addView(std::unique_ptr<View> view, const std::string& identifier) {
  view->attach(this, identifier);
  views_.push_back(std::move(view));
  return views_.back().get();
}

View* Window::viewWithIdentifier(const std::string& identifier) const {
  if (identifier.empty()) return nullptr;
  for (const auto& view : views_) {
    if (view->identifier() == identifier) return view.get();
  }
  return nullptr;
}

void Window::makeKeyAndOrderFront() {
  if (closed_) return;
  Application::shared().orderFront(this, true);
}

void Window::orderFront() {
  if (closed_) return;
  Application::shared().orderFront(this, false);
}

void Window::orderOut() { Application::shared().orderOut(this); }

bool Window::isKeyWindow() const { return Application::shared().keyWindow() == this; }
bool Window::isMainWindow() const { return Application::shared().mainWindow() == this; }

void Window::clickCloseBox() {
  if (closed_ || !closeAction_) return;
  Control::Action action = closeAction_;
  action(nullptr);
}

void Window::performClose() { close(); }

void Window::close() {
  if (closed_) return;
  if (delegate_) delegate_->windowWillClose(*this);
  firstResponder_ = nullptr;
  Application::shared().orderOut(this);
  closed_ = true;
}

bool Window::makeFirstResponder(View* view) {
  if (view && (view->window() != this || !view->acceptsFirstResponder())) return false;
  firstResponder_ = view;
  return true;
}

void Window::sendKeyEvent(const KeyEvent& event) {
  if (closed_) return;
  if (firstResponder_ && firstResponder_->keyDown(event)) return;
  if (controller_) controller_->keyDown(event);
}

void Window::display() {
  for (const auto& view : views_) {
    if (view->isHidden() || !view->needsDisplay()) continue;
    if (view->wantsUpdateLayer()) view->updateLayer();
    view->setNeedsDisplay(false);
  }
}

std::shared_ptr<graphics::Image> Window::renderImage() {
  display();
  auto image = graphics::Image::withSize(Size{size_.width, size_.height + kTitleBarHeight});
  image->lockFocus();
  {
    graphics::SavedState whole;
    // Title bar.
    graphics::Color::rgb(0.85, 0.85, 0.85).set();
    graphics::rectFill(Rect::make(0, 0, size_.width, kTitleBarHeight));
    chrome::border().set();
    graphics::rectFill(Rect::make(0, kTitleBarHeight - 1, size_.width, 1));
    if (closeAction_) {
      chrome::roundedBox(Rect::make(8, 6, 12, 12), 6, graphics::Color::rgb(0.93, 0.35, 0.32),
                         graphics::Color::rgb(0.75, 0.25, 0.22));
    }
    graphics::TextStyle titleStyle;
    titleStyle.font = graphics::Font::system(13);
    titleStyle.alignment = graphics::TextAlignment::Center;
    graphics::drawStringInRect(title_, Rect::make(24, 0, size_.width - 48, kTitleBarHeight), titleStyle);
    // Content.
    chrome::windowBackground().set();
    graphics::rectFill(Rect::make(0, kTitleBarHeight, size_.width, size_.height));
    for (const auto& view : views_) {
      if (view->isHidden()) continue;
      graphics::SavedState saved;
      graphics::translate(view->frame().minX(), view->frame().minY() + kTitleBarHeight);
      graphics::clipToRect(view->bounds());
      view->draw(view->bounds());
    }
    chrome::border().set();
    graphics::frameRect(Rect::make(0, 0, size_.width, size_.height + kTitleBarHeight));
  }
  image->unlockFocus();
  return image;
}

bool Window::renderToPng(const std::string& path) { return renderImage()->writePng(path); }

}  // namespace appkit
