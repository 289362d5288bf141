#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "appkit/Controls.h"
#include "appkit/Window.h"

namespace appkit {

class WindowController;

// The link from a controller to one named control of its window, filled when the window loads.
class OutletBase {
 public:
  // An optional outlet may be missing from a layout without being reported as a wiring problem.
  enum class Need { Required, Optional };
  OutletBase(WindowController* owner, std::string name, Need need = Need::Required);
  virtual ~OutletBase() = default;
  OutletBase(const OutletBase&) = delete;
  OutletBase& operator=(const OutletBase&) = delete;

  const std::string& name() const { return name_; }
  bool isOptional() const { return need_ == Need::Optional; }
  // Takes the view if it is of the outlet's class; false (and stays empty) otherwise.
  virtual bool connect(View* view) = 0;
  virtual bool isConnected() const = 0;

 private:
  std::string name_;
  Need need_;
};

// An outlet of class T. A missing outlet behaves as a message to nothing: every call through -> goes to
// a fresh stand-in that changes nothing and answers empty (empty text, 0, false).
// Keep no reference to a stand-in beyond the call that got it.
template <class T>
class Outlet : public OutletBase {
 public:
  Outlet(WindowController* owner, const std::string& name, Need need = Need::Required)
      : OutletBase(owner, name, need) {}

  T* get() const { return view_; }
  explicit operator bool() const { return view_ != nullptr; }
  T* operator->() const { return view_ ? view_ : standIn(); }
  T& operator*() const { return *operator->(); }
  // The property setter: points the outlet at a view (or at nothing), without owning it.
  void set(T* view) { view_ = view; }

  bool connect(View* view) override {
    view_ = dynamic_cast<T*>(view);
    return view_ != nullptr;
  }
  bool isConnected() const override { return view_ != nullptr; }

 private:
  static T* standIn() {
    // A few recent stand-ins stay alive so that one call's temporaries never dangle.
    static std::deque<std::unique_ptr<T>> recent;
    recent.push_back(std::make_unique<T>());
    if (recent.size() > 8) recent.pop_front();
    recent.back()->markNil();
    return recent.back().get();
  }

  T* view_ = nullptr;
};

// Owns a window made from the layout of its own name and is the window's delegate. The window is
// loaded the first time it is asked for; outlets are connected and actions bound by name, then
// windowDidLoad runs.
class WindowController : public WindowDelegate {
 public:
  WindowController();
  ~WindowController() override;
  WindowController(const WindowController&) = delete;
  WindowController& operator=(const WindowController&) = delete;

  // Remembers the layout name and passes through initWithWindow with no window; the window is loaded
  // later, when window() is first asked for. False means the controller could not be made.
  virtual bool initWithWindowNibName(const std::string& nibName);
  // The designated initialiser: adopts a window made elsewhere, or none (then it comes from the layout).
  virtual bool initWithWindow(std::unique_ptr<Window> window);

  // The window, loaded on first use; nullptr when the layout is missing.
  Window* window();
  bool isWindowLoaded() const { return static_cast<bool>(window_); }
  const std::string& windowNibName() const { return nibName_; }

  virtual void windowWillLoad() {}
  virtual void windowDidLoad() {}
  // A key typed in the window that no focused field took.
  virtual void keyDown(const KeyEvent& event) {}

  void showWindow();
  // Closes the window (if loaded); the controller and the window stay until the controller goes.
  void close();

  // Wiring, used by outlets and by the controller's constructor.
  void registerOutlet(OutletBase* outlet);
  // Binds an action name used in layouts ("btnOK:") to a method of this controller.
  void addAction(const std::string& name, Control::Action action);
  Control::Action actionNamed(const std::string& name) const;

  // What did not fit when the window loaded: layout actions the controller lacks, outlets the layout
  // lacks or gives another class. Empty for a controller that matches its layout.
  const std::vector<std::string>& wiringProblems() const { return problems_; }

 protected:
  virtual void loadWindow();

 private:
  void wire();

  std::string nibName_;
  std::unique_ptr<Window> window_;
  bool loadTried_ = false;
  std::vector<OutletBase*> outlets_;
  std::map<std::string, Control::Action> actions_;
  std::vector<std::string> problems_;
};

}  // namespace appkit
