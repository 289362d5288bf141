#include "appkit/Application.h"

#include <algorithm>
#include <cstdio>

#include "appkit/Clock.h"
#include "appkit/RunLoop.h"
#include "appkit/UserDefaults.h"
#include "graphics/Graphics.h"

namespace appkit {
namespace {
// An absent user lets a session's timers run for at most this long before the session is given up.
constexpr double kAbsentUserLimitSeconds = 24 * 3600;
}  // namespace

Application& Application::shared() {
  static Application application;
  return application;
}

long Application::runModalForWindow(Window* window) {
  if (!window || window->isClosed()) return kModalResponseAbort;
  // Sessions above an ended one are unwinding: nothing new may start until they are gone.
  if (!sessions_.empty() && sessions_.back().ended) return kModalResponseAbort;
  if (hasRunningSession(window)) return kModalResponseAbort;

  const std::size_t index = sessions_.size();
  sessions_.push_back(Session{nextSessionId_++, window});
  // An exception out of a timer or a user's step leaves the loop; the session must not stay behind.
  struct Pop {
    std::vector<Session>& sessions;
    std::size_t index;
    ~Pop() {
      if (sessions.size() > index) sessions.resize(index);
    }
  } pop{sessions_, index};
  const double started = Clock::now();
  window->makeKeyAndOrderFront();
  while (!sessions_[index].ended) {
    if (RunLoop::current().fireNextDueTimer(RunLoopMode::ModalPanel)) continue;
    if (sessions_[index].ended) break;
    if (!idle_ && Clock::now() - started > kAbsentUserLimitSeconds) {
      std::fprintf(stderr, "appkit: nobody ended the session of window \"%s\"; aborting it\n", window->name().c_str());
      tellOwners(abortSessionsFrom(index));
      break;
    }
    idle(sessions_[index]);
  }
  // Inner sessions ran on the stack above this one and are gone already; Pop removes this one.
  return sessions_[index].response;
}

void Application::idle(Session& session) {
  Window& top = *session.window;
  if (idle_) {
    IdleHandler handler = idle_;  // the handler may replace itself
    if (!handler(top)) abortAllSessions();
    return;
  }
  if (auto next = RunLoop::current().nextFireDate(RunLoopMode::ModalPanel)) {
    Clock::advanceTo(*next);
    return;
  }
  std::fprintf(stderr, "appkit: window \"%s\" waits for a user and has no timer; aborting its session\n",
               top.name().c_str());
  abortAllSessions();
}

void Application::stopModalWithCode(Window* window, long code) {
  for (std::size_t i = 0; i < sessions_.size(); ++i) {
    Session& s = sessions_[i];
    if (s.window != window || s.ended) continue;
    s.ended = true;
    s.response = code;
    tellOwners(abortSessionsFrom(i + 1));
    return;
  }
}

void Application::abortAllSessions() { tellOwners(abortSessionsFrom(0)); }

std::vector<Window*> Application::abortSessionsFrom(std::size_t first) {
  std::vector<Window*> ended;
  for (std::size_t j = first; j < sessions_.size(); ++j) {
    if (!sessions_[j].ended) {
      sessions_[j].ended = true;
      sessions_[j].response = kModalResponseAbort;
      ended.push_back(sessions_[j].window);
    }
  }
  return ended;
}

void Application::tellOwners(const std::vector<Window*>& ended) {
  // Only once the stack is consistent, innermost first: an owner may end itself in turn.
  for (auto it = ended.rbegin(); it != ended.rend(); ++it) {
    if (WindowDelegate* d = (*it)->delegate()) d->windowModalSessionWasUnwound(**it);
  }
}

Window* Application::modalWindow() const {
  for (auto it = sessions_.rbegin(); it != sessions_.rend(); ++it) {
    if (!it->ended) return it->window;
  }
  return nullptr;
}

bool Application::hasRunningSession(const Window* window) const {
  return std::any_of(sessions_.begin(), sessions_.end(),
                     [&](const Session& s) { return s.window == window && !s.ended; });
}

unsigned long Application::currentSessionId() const {
  for (auto it = sessions_.rbegin(); it != sessions_.rend(); ++it) {
    if (!it->ended) return it->id;
  }
  return 0;
}

bool Application::isSessionRunning(unsigned long id) const {
  return std::any_of(sessions_.begin(), sessions_.end(), [&](const Session& s) { return s.id == id && !s.ended; });
}

std::vector<Window*> Application::orderedWindows() const {
  std::vector<Window*> visible;
  for (Window* w : windows_) {
    if (w->isVisible()) visible.push_back(w);
  }
  std::stable_sort(visible.begin(), visible.end(), [](Window* a, Window* b) { return a->level() > b->level(); });
  return visible;
}

bool Application::renderScreenToPng(const std::string& path) const {
  graphics::Image screen(Size{Window::kScreenWidth, Window::kScreenHeight});
  screen.lockFocus();
  graphics::Color::rgb(0.36, 0.45, 0.58).set();
  graphics::rectFill(Rect::make(0, 0, Window::kScreenWidth, Window::kScreenHeight));
  std::vector<Window*> windows = orderedWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    auto image = (*it)->renderImage();
    Point at = (*it)->frameOrigin();
    // A soft shadow so overlapping windows stay apart.
    graphics::Color::rgb(0, 0, 0, 0.25).set();
    graphics::rectFill(Rect::make(at.x + 4, at.y + 6, image->size().width, image->size().height));
    image->drawInRect(Rect{at, image->size()});
  }
  screen.unlockFocus();
  return screen.writePng(path);
}

void Application::windowCreated(Window* window) { windows_.push_back(window); }

void Application::windowDestroyed(Window* window) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
  if (key_ == window) key_ = nullptr;
  if (main_ == window) main_ = nullptr;
  for (Session& s : sessions_) {
    // A window destroyed under its own session cannot be ended any more; end the session instead.
    if (s.window == window && !s.ended) {
      s.ended = true;
      s.response = kModalResponseAbort;
    }
  }
}

void Application::orderFront(Window* window, bool makeKey) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
  windows_.insert(windows_.begin(), window);
  window->visible_ = true;
  if (!makeKey) return;
  key_ = window;
  if (window->canBecomeMainWindow() && main_ != window) {
    resignMain();
    main_ = window;
    if (WindowDelegate* d = window->delegate()) d->windowDidBecomeMain(*window);
  }
}

void Application::orderOut(Window* window) {
  if (!window->visible_) return;
  window->visible_ = false;
  if (main_ == window) {
    resignMain();
    chooseNewMain();
  }
  if (key_ == window) {
    key_ = nullptr;
    for (Window* w : windows_) {
      if (w->isVisible()) {
        key_ = w;
        break;
      }
    }
  }
}

void Application::resignMain() {
  Window* old = main_;
  main_ = nullptr;
  if (old) {
    if (WindowDelegate* d = old->delegate()) d->windowDidResignMain(*old);
  }
}

void Application::chooseNewMain() {
  for (Window* w : windows_) {
    if (w->isVisible() && w->canBecomeMainWindow()) {
      main_ = w;
      if (WindowDelegate* d = w->delegate()) d->windowDidBecomeMain(*w);
      return;
    }
  }
}

void Application::deactivate() {
  resignMain();
  key_ = nullptr;
}

void Application::activate() {
  if (!main_) chooseNewMain();
  if (!key_) {
    for (Window* w : windows_) {
      if (w->isVisible()) {
        key_ = w;
        break;
      }
    }
  }
}

void Application::resetForTesting() {
  abortSessionsFrom(0);
  RunLoop::current().reset();
  Clock::reset();
  UserDefaults::standard().reset();
  key_ = nullptr;
  main_ = nullptr;
}

}  // namespace appkit
