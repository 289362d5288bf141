#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "appkit/Window.h"

namespace appkit {

// How a modal session ended.
enum ModalResponse : long {
  kModalResponseStop = -1000,
  kModalResponseAbort = -1001,
};

// The application: its windows and the stack of modal sessions.
//
// Every session belongs to its window. Ending a window's session also ends every session opened above
// it (their loops return kModalResponseAbort); the first ending of a session wins and later ones change
// nothing; ending a window that has no running session does nothing. A session ended by anything but
// its own window's ending (unwound from beneath, or given up by the watchdog or for want of a user) is
// reported to its window's delegate, so a dialog cut short never passes for one that was confirmed.
// While sessions are unwinding, a new session returns at once, so an ended dialog cannot block on a
// fresh alert.
//
// A session's loop fires the timers of the ModalPanel mode as they fall due and, when nothing is due,
// lets the idle handler (the scripted user) take its next step. With no idle handler installed the user
// is absent: time passes to the next timer, so countdowns run out; a session with no timer left to wait
// for is aborted with a message on standard error rather than left hanging.
class Application {
 public:
  // Given the window of the innermost session; returns false when it has nothing more to do.
  using IdleHandler = std::function<bool(Window& top)>;

  static Application& shared();

  // Runs a session for the window until it is ended; returns how it ended. A missing or closed window
  // returns kModalResponseAbort at once.
  long runModalForWindow(Window* window);
  // End the window's session (and those above it) with Stop, Abort or a code of the caller's.
  void stopModal(Window* window) { stopModalWithCode(window, kModalResponseStop); }
  void abortModal(Window* window) { stopModalWithCode(window, kModalResponseAbort); }
  void stopModalWithCode(Window* window, long code);
  // Ends every session (the watchdog's way out); their windows' owners hear of it.
  void abortAllSessions();

  std::size_t modalDepth() const { return sessions_.size(); }
  // The window of the innermost session still running, or nullptr.
  Window* modalWindow() const;
  bool hasRunningSession(const Window* window) const;
  // An id for the innermost running session (0 when none) and whether a session is still running.
  unsigned long currentSessionId() const;
  bool isSessionRunning(unsigned long id) const;

  void setIdleHandler(IdleHandler handler) { idle_ = std::move(handler); }
  const IdleHandler& idleHandler() const { return idle_; }
  bool hasIdleHandler() const { return static_cast<bool>(idle_); }

  // Windows on screen, front to back (higher levels in front, then the order they came forward).
  std::vector<Window*> orderedWindows() const;
  // Draws the virtual screen with every window on it, the frontmost last.
  bool renderScreenToPng(const std::string& path) const;
  Window* keyWindow() const { return key_; }
  Window* mainWindow() const { return main_; }
  // The application stops being active: the main window resigns main status; activate brings the
  // frontmost window that can be main back.
  void deactivate();
  void activate();

  // Clears clock, timers and defaults between tests; scripted users stay as they are.
  void resetForTesting();

  // Used by windows.
  void windowCreated(Window* window);
  void windowDestroyed(Window* window);
  void orderFront(Window* window, bool makeKey);
  void orderOut(Window* window);

 private:
  struct Session {
    unsigned long id;
    Window* window;
    bool ended = false;
    long response = kModalResponseAbort;
  };
  void idle(Session& session);
  // Ends the running sessions from that index up; returns their windows, outermost first.
  std::vector<Window*> abortSessionsFrom(std::size_t first);
  // Tells the owners of sessions ended from outside, innermost first.
  void tellOwners(const std::vector<Window*>& ended);
  void resignMain();
  void chooseNewMain();

  std::vector<Session> sessions_;
  unsigned long nextSessionId_ = 1;
  IdleHandler idle_;
  std::vector<Window*> windows_;  // every live window, front to back
  Window* key_ = nullptr;
  Window* main_ = nullptr;
};

inline Application& app() { return Application::shared(); }

}  // namespace appkit
