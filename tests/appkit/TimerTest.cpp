#include <cmath>
#include <vector>

#include "ToolkitFixture.h"

namespace {

using appkit::Clock;
using appkit::RunLoop;
using appkit::RunLoopMode;
using appkit::Timer;

class TimerTest : public ToolkitTest {};

TEST_F(TimerTest, ARepeatingTimerFiresOncePerIntervalUntilInvalidated) {
  std::vector<double> firings;
  auto timer = Timer::scheduledTimer(
      1.0,
      [&](Timer& t) {
        firings.push_back(Clock::now());
        if (firings.size() == 3) t.invalidate();
      },
      true);
  RunLoop::current().runUntil(10);
  EXPECT_EQ((std::vector<double>{1, 2, 3}), firings);
  EXPECT_FALSE(timer->isValid());
  EXPECT_DOUBLE_EQ(10, Clock::now());
}

TEST_F(TimerTest, MissedFiringsComeTogetherAsOne) {
  std::vector<double> firings;
  auto timer = Timer::scheduledTimer(
      1.0, [&](Timer&) { firings.push_back(Clock::now()); }, true);
  appkit::sleepForTimeInterval(3.5);  // the thread was blocked past three fire dates
  RunLoop::current().runUntil(5);
  EXPECT_EQ((std::vector<double>{3.5, 4, 5}), firings);
  timer->invalidate();
}

// At the boundary: the loop comes back exactly one interval after the fire date it missed. That is one
// firing, and the next is one interval later, not at once again.
TEST_F(TimerTest, ARepeatingTimerExactlyOneIntervalLateFiresOnce) {
  std::vector<double> firings;
  auto timer = Timer::scheduledTimer(
      1.0, [&](Timer&) { firings.push_back(Clock::now()); }, true);
  appkit::sleepForTimeInterval(2.0);  // fire date 1, now 2
  RunLoop::current().runUntil(2.5);
  EXPECT_EQ((std::vector<double>{2}), firings);
  RunLoop::current().runUntil(3);
  EXPECT_EQ((std::vector<double>{2, 3}), firings);
  timer->invalidate();
}

TEST_F(TimerTest, AOneShotTimerFiresOnceAndIsThenInvalid) {
  int fired = 0;
  auto timer = Timer::scheduledTimer(
      2.0, [&](Timer&) { ++fired; }, false);
  RunLoop::current().runUntil(10);
  EXPECT_EQ(1, fired);
  EXPECT_FALSE(timer->isValid());
  EXPECT_EQ(0u, RunLoop::current().timerCount(RunLoopMode::Default));
}

TEST_F(TimerTest, ATimerFiresOnlyInTheModesItWasAddedFor) {
  int defaultOnly = 0, both = 0;
  auto a = Timer::scheduledTimer(
      1.0, [&](Timer&) { ++defaultOnly; }, true);
  auto b = Timer::scheduledTimer(
      1.0, [&](Timer&) { ++both; }, true);
  RunLoop::current().addTimer(b, RunLoopMode::ModalPanel);
  RunLoop::current().runUntil(3, RunLoopMode::ModalPanel);
  EXPECT_EQ(0, defaultOnly);
  EXPECT_EQ(3, both);
  RunLoop::current().runUntil(5, RunLoopMode::Default);
  EXPECT_EQ(3, defaultOnly);  // the three missed firings came as one at 3, then 4 and 5
  EXPECT_EQ(5, both);
}

TEST_F(TimerTest, SleepsAreVirtualAndRefuseNonsense) {
  appkit::sleepForTimeInterval(0.5);
  appkit::sleepForTimeInterval(-3);
  appkit::sleepForTimeInterval(std::nan(""));
  EXPECT_DOUBLE_EQ(0.5, Clock::now());
  Clock::advanceTo(0.2);  // never backwards
  EXPECT_DOUBLE_EQ(0.5, Clock::now());
}

}  // namespace
