#pragma once

#include <memory>
#include <string>
#include <vector>

#include "appkit/Controls.h"
#include "appkit/Events.h"
#include "appkit/View.h"

namespace appkit {

class Window;
class WindowController;

// Told of what happens to a window; window controllers are their windows' delegates.
class WindowDelegate {
 public:
  virtual ~WindowDelegate() = default;
  virtual void windowDidBecomeMain(Window& window) {}
  virtual void windowDidResignMain(Window& window) {}
  virtual void windowWillClose(Window& window) {}
  // The window's modal session was ended from outside: a session beneath it ended, or the session was
  // given up because nobody could end it.
  virtual void windowModalSessionWasUnwound(Window& window) {}
};

// A window on a virtual screen: its views, level, visibility, key and main status, focus, and the
// picture of it as a PNG. The height of the title bar is not part of the content size.
class Window {
 public:
  static constexpr double kTitleBarHeight = 24;
  static constexpr double kScreenWidth = 1440;
  static constexpr double kScreenHeight = 900;

  Window(const std::string& name, const std::string& title, Size contentSize);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Builds a window from a registered layout; nullptr when there is no layout of that name.
  static std::unique_ptr<Window> fromLayout(const std::string& name);

  // The layout name the window was made from (the dialog class), or the kind of window ("Alert").
  const std::string& name() const { return name_; }
  const std::string& title() const { return title_; }
  void setTitle(const std::string& title) { title_ = title; }
  Size contentSize() const { return size_; }
  Point frameOrigin() const { return origin_; }
  void setFrameOrigin(Point origin) { origin_ = origin; }
  // Places the window in the middle of the screen (a little above the centre line).
  void center();

  View* addView(std::unique_ptr<View> view, const std::string& identifier);
  View* viewWithIdentifier(const std::string& identifier) const;
  const std::vector<std::unique_ptr<View>>& views() const { return views_; }

  int level() const { return level_; }
  void setLevel(int level) { level_ = level; }
  bool isAutodisplay() const { return autodisplay_; }
  void setAutodisplay(bool on) { autodisplay_ = on; }

  // Shows the window in front, makes it key and, if it can, main (the previous main window resigns).
  void makeKeyAndOrderFront();
  void orderFront();
  void orderOut();
  bool isVisible() const { return visible_; }
  bool isKeyWindow() const;
  bool isMainWindow() const;
  bool canBecomeMainWindow() const { return canBecomeMain_; }
  void setCanBecomeMainWindow(bool can) { canBecomeMain_ = can; }

  // The user's close box: sends the layout's close action when there is one, else does nothing.
  void clickCloseBox();
  bool hasCloseBox() const { return static_cast<bool>(closeAction_); }
  void setCloseAction(Control::Action action) { closeAction_ = std::move(action); }
  // Closes the window as its close box would, on the program's behalf.
  void performClose();
  // Takes the window off the screen for good; its delegate hears windowWillClose once.
  void close();
  bool isClosed() const { return closed_; }

  WindowDelegate* delegate() const { return delegate_; }
  void setDelegate(WindowDelegate* delegate) { delegate_ = delegate; }
  WindowController* windowController() const { return controller_; }
  void setWindowController(WindowController* controller) { controller_ = controller; }

  View* firstResponder() const { return firstResponder_; }
  // Gives a view the focus (nullptr clears it); false when the view does not take keys.
  bool makeFirstResponder(View* view);
  // A key typed while this window is key: to the focused view, or else to the controller's keyDown.
  void sendKeyEvent(const KeyEvent& event);

  // Lets layer-backed views that need it refill their layers.
  void display();
  // Draws the window, title bar included, into a new image.
  std::shared_ptr<graphics::Image> renderImage();
  bool renderToPng(const std::string& path);

 private:
  friend class Application;
  std::string name_;
  std::string title_;
  Size size_;
  Point origin_;
  std::vector<std::unique_ptr<View>> views_;
  int level_ = 0;
  bool autodisplay_ = true;
  bool visible_ = false;
  bool closed_ = false;
  bool canBecomeMain_ = true;
  Control::Action closeAction_;
  WindowDelegate* delegate_ = nullptr;
  WindowController* controller_ = nullptr;
  View* firstResponder_ = nullptr;
};

}  // namespace appkit
