#include "appkit/RunLoop.h"

#include <algorithm>
#include <cmath>

#include "appkit/Clock.h"

namespace appkit {
namespace {
unsigned bit(RunLoopMode mode) { return 1u << static_cast<unsigned>(mode); }
}  // namespace

Timer::Timer(double interval, Action action, bool repeats)
    // A non-positive interval would make a repeating timer fire without end; treat it as a tiny one,
    // as the platform does.
    : interval_(interval > 0.0001 ? interval : 0.0001),
      action_(std::move(action)),
      repeats_(repeats),
      fireDate_(Clock::now() + interval_) {}

std::shared_ptr<Timer> Timer::timer(double interval, Action action, bool repeats) {
  return std::make_shared<Timer>(interval, std::move(action), repeats);
}

std::shared_ptr<Timer> Timer::scheduledTimer(double interval, Action action, bool repeats) {
  auto t = timer(interval, std::move(action), repeats);
  RunLoop::current().addTimer(t, RunLoopMode::Default);
  return t;
}

void Timer::invalidate() {
  if (!valid_) return;
  valid_ = false;
  // Drop the action now: it may hold the last reference to whatever it targets.
  Action dropped;
  dropped.swap(action_);
}

void Timer::fireAt(double now) {
  if (!valid_) return;
  if (repeats_) {
    double next = fireDate_ + interval_;
    if (next <= now) next = fireDate_ + interval_ * (std::floor((now - fireDate_) / interval_) + 1);
    fireDate_ = next;
  }
  // Keep the action alive for the call even if it invalidates this timer.
  auto self = shared_from_this();
  Action action = action_;
  if (!repeats_) invalidate();
  if (action) action(*this);
}

RunLoop& RunLoop::current() {
  static RunLoop loop;
  return loop;
}

void RunLoop::addTimer(const std::shared_ptr<Timer>& timer, RunLoopMode mode) {
  if (!timer || !timer->isValid()) return;
  if (timer->modes_ == 0) {
    timer->order_ = nextOrder_++;
    timers_.push_back(timer);
  }
  timer->modes_ |= bit(mode);
}

void RunLoop::dropInvalid() {
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [](const auto& t) { return !t->isValid(); }),
                timers_.end());
}

std::optional<double> RunLoop::nextFireDate(RunLoopMode mode) {
  dropInvalid();
  std::optional<double> next;
  for (const auto& t : timers_) {
    if (t->modes_ & bit(mode)) next = next ? std::min(*next, t->fireDate_) : t->fireDate_;
  }
  return next;
}

bool RunLoop::fireNextDueTimer(RunLoopMode mode) {
  dropInvalid();
  const double now = Clock::now();
  std::shared_ptr<Timer> due;
  for (const auto& t : timers_) {
    if (!(t->modes_ & bit(mode)) || t->fireDate_ > now + 1e-9) continue;
    if (!due || t->fireDate_ < due->fireDate_ || (t->fireDate_ == due->fireDate_ && t->order_ < due->order_)) due = t;
  }
  if (!due) return false;
  due->fireAt(now);
  return true;
}

void RunLoop::runUntil(double until, RunLoopMode mode) {
  for (;;) {
    while (fireNextDueTimer(mode)) {
    }
    auto next = nextFireDate(mode);
    if (!next || *next > until) break;
    Clock::advanceTo(*next);
  }
  Clock::advanceTo(until);
}

std::size_t RunLoop::timerCount(RunLoopMode mode) {
  dropInvalid();
  return static_cast<std::size_t>(
      std::count_if(timers_.begin(), timers_.end(), [&](const auto& t) { return t->modes_ & bit(mode); }));
}

void RunLoop::reset() {
  for (auto& t : timers_) t->invalidate();
  timers_.clear();
}

}  // namespace appkit
