#include <stdexcept>
#include <string>
#include <vector>

#include "ToolkitFixture.h"

namespace {

using appkit::app;
using appkit::Window;

class ModalSessionTest : public ToolkitTest {};

TEST_F(ModalSessionTest, EndingAWindowWithoutASessionDoesNothing) {
  auto w = plainWindow("Lone");
  app().stopModal(w.get());
  app().abortModal(nullptr);
  EXPECT_EQ(0u, app().modalDepth());
  // A session that starts afterwards is not ended by those calls.
  auto user = strictUser();
  long response = 0;
  user->inspect([&](Window& top) { EXPECT_EQ("Lone", top.name()); }).run([&] { app().stopModalWithCode(w.get(), 42); });
  response = app().runModalForWindow(w.get());
  EXPECT_EQ(42, response);
  EXPECT_TRUE(user->finished());
}

TEST_F(ModalSessionTest, EndingASessionUnwindsTheOnesAboveAndTheFirstEndingWins) {
  auto outer = plainWindow("Outer");
  auto middle = plainWindow("Middle");
  auto inner = plainWindow("Inner");
  std::vector<std::string> log;
  long middleResponse = 0, innerResponse = 0;
  auto user = strictUser();
  user->run([&] {
        middleResponse = app().runModalForWindow(middle.get());
        log.push_back("middle returned");
      })
      .run([&] {
        innerResponse = app().runModalForWindow(inner.get());
        log.push_back("inner returned");
        // Unwinding: no new session can start, and the ended session stays ended.
        EXPECT_EQ(appkit::kModalResponseAbort, app().runModalForWindow(outer.get()));
        app().abortModal(middle.get());
      })
      .expectWindow("Inner")
      .run([&] { app().stopModal(middle.get()); })
      .expectWindow("Outer")
      .run([&] { app().stopModal(outer.get()); });
  long outerResponse = app().runModalForWindow(outer.get());
  EXPECT_EQ(appkit::kModalResponseStop, outerResponse);
  EXPECT_EQ(appkit::kModalResponseStop, middleResponse);  // not the later abort
  EXPECT_EQ(appkit::kModalResponseAbort, innerResponse);  // unwound
  EXPECT_EQ((std::vector<std::string>{"inner returned", "middle returned"}), log);
  EXPECT_TRUE(user->finished());
}

TEST_F(ModalSessionTest, EndingTheTopSessionLeavesTheOnesBeneathRunning) {
  auto outer = plainWindow("Outer");
  auto inner = plainWindow("Inner");
  auto user = strictUser();
  user->run([&] { app().runModalForWindow(inner.get()); })
      .run([&] { app().stopModal(inner.get()); })
      .expectWindow("Outer")
      .inspect([&](Window&) { EXPECT_EQ(1u, app().modalDepth()); })
      .run([&] { app().stopModal(outer.get()); });
  app().runModalForWindow(outer.get());
  EXPECT_TRUE(user->finished());
}

TEST_F(ModalSessionTest, TheWatchdogEndsEverySessionWhenTheScriptRunsOut) {
  auto outer = plainWindow("Outer");
  auto inner = plainWindow("Inner");
  std::vector<std::string> failures;
  appkit::ScriptedUser user([&](const std::string& m) { failures.push_back(m); });
  user.run([&] { app().runModalForWindow(inner.get()); });
  EXPECT_EQ(appkit::kModalResponseAbort, app().runModalForWindow(outer.get()));
  ASSERT_EQ(1u, failures.size());
  EXPECT_NE(std::string::npos, failures[0].find("\"Inner\"")) << failures[0];
  EXPECT_EQ(0u, app().modalDepth());
}

// Records which windows had their session ended by something other than their own ending.
struct UnwindListener : appkit::WindowDelegate {
  std::vector<std::string> unwound;
  void windowModalSessionWasUnwound(Window& w) override { unwound.push_back(w.name()); }
};

TEST_F(ModalSessionTest, OwnersHearOfSessionsTheWatchdogGaveUp) {
  UnwindListener listener;
  auto outer = plainWindow("Outer");
  auto inner = plainWindow("Inner");
  outer->setDelegate(&listener);
  inner->setDelegate(&listener);
  std::vector<std::string> failures;
  appkit::ScriptedUser user([&](const std::string& m) { failures.push_back(m); });
  user.run([&] { app().runModalForWindow(inner.get()); });
  EXPECT_EQ(appkit::kModalResponseAbort, app().runModalForWindow(outer.get()));
  EXPECT_EQ((std::vector<std::string>{"Inner", "Outer"}), listener.unwound);  // innermost first
}

TEST_F(ModalSessionTest, AnAbsentUserGivesUpASessionNoTimerEndsAndItsOwnerHears) {
  UnwindListener listener;
  auto w = plainWindow("Unattended");
  w->setDelegate(&listener);
  int ticks = 0;
  auto timer = appkit::Timer::timer(
      3600, [&](appkit::Timer&) { ++ticks; }, true);
  appkit::RunLoop::current().addTimer(timer, appkit::RunLoopMode::ModalPanel);
  EXPECT_EQ(appkit::kModalResponseAbort, app().runModalForWindow(w.get()));
  EXPECT_GE(ticks, 24);
  EXPECT_EQ((std::vector<std::string>{"Unattended"}), listener.unwound);
  timer->invalidate();
}

TEST_F(ModalSessionTest, AnAbsentUserLetsTimePassUntilATimerEndsTheSession) {
  auto w = plainWindow("Unattended");
  auto timer = appkit::Timer::timer(
      30, [&](appkit::Timer&) { app().stopModal(w.get()); }, false);
  appkit::RunLoop::current().addTimer(timer, appkit::RunLoopMode::ModalPanel);
  EXPECT_EQ(appkit::kModalResponseStop, app().runModalForWindow(w.get()));
  EXPECT_DOUBLE_EQ(30, appkit::Clock::now());
  // With nothing left that could end it, a session is given up at once instead of hanging.
  EXPECT_EQ(appkit::kModalResponseAbort, app().runModalForWindow(w.get()));
}

TEST_F(ModalSessionTest, AWaitBelongsToTheSessionItBeganIn) {
  auto outer = plainWindow("Outer");
  auto inner = plainWindow("Inner");
  auto timer = appkit::Timer::timer(
      5, [&](appkit::Timer&) { app().stopModal(inner.get()); }, false);
  auto user = strictUser();
  user->run([&] {
        appkit::RunLoop::current().addTimer(timer, appkit::RunLoopMode::ModalPanel);
        app().runModalForWindow(inner.get());
      })
      .wait(100)  // cut short when the inner session ends at 5
      .inspect([](Window& top) {
        EXPECT_EQ("Outer", top.name());
        EXPECT_DOUBLE_EQ(5, appkit::Clock::now());
      })
      .wait(2)
      .run([&] { app().stopModal(outer.get()); });
  app().runModalForWindow(outer.get());
  EXPECT_DOUBLE_EQ(7, appkit::Clock::now());
  EXPECT_TRUE(user->finished());
}

TEST_F(ModalSessionTest, OpeningAWindowTakesMainStatusAndAlertsDoNot) {
  struct Listener : appkit::WindowDelegate {
    std::vector<std::string> events;
    void windowDidBecomeMain(Window& w) override { events.push_back("main " + w.name()); }
    void windowDidResignMain(Window& w) override { events.push_back("resign " + w.name()); }
  } listener;
  auto first = plainWindow("First");
  auto second = plainWindow("Second");
  first->setDelegate(&listener);
  second->setDelegate(&listener);
  first->makeKeyAndOrderFront();
  second->makeKeyAndOrderFront();
  auto alert = appkit::Alert::alertWithMessageText("t", std::nullopt, std::nullopt, std::nullopt, "x");
  alert->window()->makeKeyAndOrderFront();
  EXPECT_TRUE(second->isMainWindow());
  EXPECT_TRUE(alert->window()->isKeyWindow());
  second->close();
  EXPECT_TRUE(first->isMainWindow());
  EXPECT_EQ((std::vector<std::string>{"main First", "resign First", "main Second", "resign Second", "main First"}),
            listener.events);
}

}  // namespace

namespace {

TEST_F(ModalSessionTest, ALaterUserTakesOverAndHandsBackWhenItGoes) {
  auto w = plainWindow("W");
  std::vector<std::string> log;
  auto first = std::make_unique<appkit::ScriptedUser>();
  first->run([&] { log.push_back("first"); }).run([&] { app().stopModal(w.get()); });
  {
    auto second = std::make_unique<appkit::ScriptedUser>();
    second->run([&] { log.push_back("second"); }).run([&] { app().stopModal(w.get()); });
    auto third = std::make_unique<appkit::ScriptedUser>();
    third.reset();  // the latest living one, the second, takes over again
    app().runModalForWindow(w.get());
  }
  app().runModalForWindow(w.get());
  EXPECT_EQ((std::vector<std::string>{"second", "first"}), log);
  first.reset();
  EXPECT_FALSE(app().hasIdleHandler());
}

}  // namespace

namespace {

TEST_F(ModalSessionTest, AnExceptionLeavingASessionTakesTheSessionWithIt) {
  auto outer = plainWindow("Outer");
  auto inner = plainWindow("Inner");
  auto user = strictUser();
  user->run([&] { app().runModalForWindow(inner.get()); }).run([] { throw std::runtime_error("broken handler"); });
  EXPECT_THROW(app().runModalForWindow(outer.get()), std::runtime_error);
  EXPECT_EQ(0u, app().modalDepth());
  user->run([&] { app().stopModal(outer.get()); });
  EXPECT_EQ(appkit::kModalResponseStop, app().runModalForWindow(outer.get()));
}

}  // namespace
