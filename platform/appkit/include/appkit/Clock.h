#pragma once

#include <cstdint>

namespace appkit {

// The toolkit's clock. Time is virtual: it starts at 0 and moves only when something lets it pass
// (a scripted user's wait, a sleep, RunLoop::runUntil, an absent user waiting for the next timer), so
// dialogs and their countdowns run the same on every machine, at any speed. With real sleeps selected
// (a demo that a person watches), a sleep also waits that long on the wall clock.
class Clock {
 public:
  // Seconds since the toolkit started (or was last reset).
  static double now();
  // Moves the clock forward to a time; an earlier time leaves it where it is.
  static void advanceTo(double seconds);
  static void advanceBy(double seconds);
  static void setRealSleeps(bool real);
  static bool realSleeps();
  static void reset();

 private:
  static std::int64_t& micros();
};

// Blocks the caller for a time: the clock moves on, and no timer fires during the pause (missed
// firings come together afterwards).
void sleepForTimeInterval(double seconds);

}  // namespace appkit
