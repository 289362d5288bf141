#include "appkit/Clock.h"

#include <chrono>
#include <cmath>
#include <thread>

namespace appkit {
namespace {
bool gRealSleeps = false;
std::int64_t toMicros(double seconds) { return static_cast<std::int64_t>(std::llround(seconds * 1e6)); }
}  // namespace

std::int64_t& Clock::micros() {
  static std::int64_t value = 0;
  return value;
}

double Clock::now() { return static_cast<double>(micros()) / 1e6; }

void Clock::advanceTo(double seconds) {
  std::int64_t target = toMicros(seconds);
  if (target > micros()) micros() = target;
}

void Clock::advanceBy(double seconds) {
  if (seconds > 0) micros() += toMicros(seconds);
}

void Clock::setRealSleeps(bool real) { gRealSleeps = real; }
bool Clock::realSleeps() { return gRealSleeps; }

void Clock::reset() {
  micros() = 0;
  gRealSleeps = false;
}

void sleepForTimeInterval(double seconds) {
  if (!(seconds > 0)) return;  // also refuses NaN
  if (Clock::realSleeps()) std::this_thread::sleep_for(std::chrono::microseconds(toMicros(seconds)));
  Clock::advanceBy(seconds);
}

}  // namespace appkit
