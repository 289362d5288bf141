#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace appkit {

// Modes a timer can be registered for. Modal sessions and alerts run the loop in ModalPanel mode, so
// only timers added for that mode fire while a dialog or an alert waits.
enum class RunLoopMode { Default, ModalPanel };

class RunLoop;

// A one-shot or repeating timer on the toolkit's clock. The run loop keeps it until it is invalidated
// (a one-shot timer invalidates itself when it fires). A repeating timer whose firings were missed
// (the clock jumped past several fire dates) fires once and goes on from its next date after now.
class Timer : public std::enable_shared_from_this<Timer> {
 public:
  using Action = std::function<void(Timer&)>;

  Timer(double interval, Action action, bool repeats);

  // Makes a timer and adds it to the current run loop for the default mode.
  static std::shared_ptr<Timer> scheduledTimer(double interval, Action action, bool repeats);
  // Makes a timer that is not yet in any run loop.
  static std::shared_ptr<Timer> timer(double interval, Action action, bool repeats);

  void invalidate();
  bool isValid() const { return valid_; }
  double fireDate() const { return fireDate_; }
  double timeInterval() const { return interval_; }
  bool repeats() const { return repeats_; }

 private:
  friend class RunLoop;
  void fireAt(double now);

  double interval_;
  Action action_;
  bool repeats_;
  bool valid_ = true;
  double fireDate_;
  std::uint64_t order_ = 0;
  unsigned modes_ = 0;
};

// The main thread's run loop: the timers and the modes they fire in.
class RunLoop {
 public:
  static RunLoop& current();

  // Registers a timer for a mode (a timer may be in several modes; adding twice changes nothing).
  void addTimer(const std::shared_ptr<Timer>& timer, RunLoopMode mode);

  // Fires the earliest timer of the mode that is due at the current time; false when none is due.
  bool fireNextDueTimer(RunLoopMode mode);
  // The earliest fire date among the mode's valid timers.
  std::optional<double> nextFireDate(RunLoopMode mode);
  // Lets time pass up to a moment, firing the mode's timers on their dates along the way.
  void runUntil(double until, RunLoopMode mode = RunLoopMode::Default);

  std::size_t timerCount(RunLoopMode mode);
  // Forgets every timer (between tests).
  void reset();

 private:
  void dropInvalid();
  std::vector<std::shared_ptr<Timer>> timers_;
  std::uint64_t nextOrder_ = 0;
};

}  // namespace appkit
