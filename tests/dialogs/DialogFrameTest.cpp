#include <string>
#include <vector>

#include "dialogfixture/ScriptedUserFixture.h"
#include "SampleDialog.h"
#include "appkit/Clock.h"
#include "appkit/RunLoop.h"
#include "appkit/UserDefaults.h"
#include "appkit/WindowLevel.h"

namespace {

using appkit::app;
using appkit::Clock;

class DialogFrameTest : public WithScriptedUser<> {
 protected:
  // Creates the sample dialog as every caller does and runs it; returns its result code.
  int run(SampleDialog& dialog) {
    dialog.initWithWindowNibName("SampleDialog");
    app().runModalForWindow(dialog.window());
    return dialog.GetReturnCode();
  }
};

TEST_F(DialogFrameTest, CountsDownFrom599To1AndEndsWith9950OnThe600thSecond) {
  for (int left = 599; left >= 1; --left) user->wait(1).expectText("tfTimer", std::to_string(left));
  user->wait(1);
  SampleDialog dialog;
  EXPECT_EQ(9950, run(dialog));
  EXPECT_DOUBLE_EQ(600.0, Clock::now());
  EXPECT_EQ(0, dialog.GetCounter());
  EXPECT_EQ(1, dialog.endings);
  EXPECT_FALSE(dialog.window()->isVisible());
  auto* label = dynamic_cast<appkit::TextField*>(dialog.window()->viewWithIdentifier("tfTimer"));
  ASSERT_NE(nullptr, label);
  EXPECT_EQ("1", label->stringValue());

  // No tick after the end, in any mode.
  appkit::RunLoop::current().runUntil(Clock::now() + 30, appkit::RunLoopMode::ModalPanel);
  appkit::RunLoop::current().runUntil(Clock::now() + 30, appkit::RunLoopMode::Default);
  EXPECT_EQ(0, dialog.GetCounter());
  EXPECT_EQ(9950, dialog.GetReturnCode());
}

TEST_F(DialogFrameTest, EndsWithTheCodeOfThePathTaken) {
  struct Case {
    const char* path;
    void (*script)(appkit::ScriptedUser&);
    int expected;
  };
  const Case cases[] = {
      {"close box", [](appkit::ScriptedUser& u) { u.closeWindow(); }, 2},
      {"cancel button", [](appkit::ScriptedUser& u) { u.click("btnCancel"); }, 2},
      {"OK button", [](appkit::ScriptedUser& u) { u.wait(30).click("btnOK"); }, 0},
      {"question confirmed", [](appkit::ScriptedUser& u) { u.click("btnAsk").answerAlert(1); }, 0},
      {"question declined", [](appkit::ScriptedUser& u) { u.click("btnAsk").answerAlert(2); }, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    app().resetForTesting();
    appkit::ScriptedUser scripted([](const std::string& m) { ADD_FAILURE() << m; });
    c.script(scripted);
    SampleDialog dialog;
    EXPECT_EQ(c.expected, run(dialog));
    EXPECT_TRUE(scripted.finished());
    EXPECT_EQ(0u, app().modalDepth());
    // The countdown ended with the dialog.
    int counter = dialog.GetCounter();
    appkit::RunLoop::current().runUntil(Clock::now() + 5, appkit::RunLoopMode::ModalPanel);
    EXPECT_EQ(counter, dialog.GetCounter());
  }
}

TEST_F(DialogFrameTest, CountdownKeepsRunningUnderAnAlertAndEndsBothOnce) {
  user->click("btnAsk")
      .expectAlert("確定要送出嗎？", "範例")
      .wait(100)
      .expectAlert("確定要送出嗎？", "範例")
      .inspect([](appkit::Window&) { EXPECT_DOUBLE_EQ(100.0, Clock::now()); })
      .wait(1000);  // the countdown runs out at 600 while the alert is still up
  SampleDialog dialog;
  EXPECT_EQ(9950, run(dialog));
  EXPECT_DOUBLE_EQ(600.0, Clock::now());
  EXPECT_EQ(7, dialog.questionAnswer);   // the alert did not end by its default button
  EXPECT_EQ(1, dialog.actionsAfterEnd);  // the handler saw that its dialog had ended and stopped
  EXPECT_EQ(1, dialog.endings);
  EXPECT_EQ(0u, app().modalDepth());
}

TEST_F(DialogFrameTest, AChildRunningOutEndsItselfAndItsAlertButNotItsParent) {
  user->wait(10)
      .click("btnChild")  // the parent pauses and hands over its 590 seconds
      .expectText("tfTimer", "600")
      .click("btnAsk")
      .wait(1000)  // the child runs out at 600 under its alert; the wait belonged to the alert
      .inspect([](appkit::Window&) { EXPECT_DOUBLE_EQ(600.0, Clock::now()); })
      .expectWindow("SampleDialog")
      .wait(1);  // the parent takes back 0 seconds and ends on its next tick
  SampleDialog parent;
  EXPECT_EQ(9950, run(parent));
  EXPECT_EQ(9950, parent.childReturnCode);
  EXPECT_DOUBLE_EQ(601.0, Clock::now());
}

TEST_F(DialogFrameTest, AParentEndingEndsTheChildAboveItAsCancelled) {
  user->wait(10).click("btnChildAlongside").click("btnAsk").wait(1000);
  SampleDialog parent;
  EXPECT_EQ(9950, run(parent));
  EXPECT_DOUBLE_EQ(600.0, Clock::now());
  EXPECT_EQ(2, parent.childReturnCode);  // cut short: never read as confirmed
  EXPECT_EQ(0u, app().modalDepth());
}

TEST_F(DialogFrameTest, AnEndedDialogNeverEndsALaterOne) {
  user->wait(600);
  SampleDialog first;
  EXPECT_EQ(9950, run(first));
  user->run([&] {
        first.CloseWindow(nullptr);
        first.SetCounter(1);
        first.updateTimer();
      })
      .wait(100)
      .expectText("tfTimer", "500")
      .click("btnOK");
  SampleDialog second;
  EXPECT_EQ(0, run(second));
  EXPECT_EQ(9950, first.GetReturnCode());
}

TEST_F(DialogFrameTest, EndingAgainChangesNothing) {
  user->click("btnOK");
  SampleDialog dialog;
  EXPECT_EQ(0, run(dialog));
  dialog.CloseWindow(nullptr);  // a late cancel: first ending wins
  EXPECT_EQ(0, dialog.GetReturnCode());
  EXPECT_EQ(1, dialog.endings);
  // A session started for an ended dialog's window returns at once.
  EXPECT_EQ(appkit::kModalResponseAbort, app().runModalForWindow(dialog.window()));
}

TEST_F(DialogFrameTest, ThePhysicalKeyboardIsRefused) {
  user->type("5")
      .expectAlert("為避免交易資料遭竄改\n請使用畫面上的數字鍵盤", "", appkit::AlertStyle::Informational,
                   std::vector<std::string>{"確定"})
      .answerAlert(1)
      .expectText("edtNote", "")
      .click("btnOK");
  SampleDialog dialog;
  EXPECT_EQ(0, run(dialog));
}

TEST_F(DialogFrameTest, ShowsCentredAtTheTopLevelAndFollowsTheUserDefaultWhenItLosesMain) {
  struct Case {
    const char* setting;  // nullptr: not set
    int expectedKey;
  };
  const Case cases[] = {{"YES", appkit::kFloatingWindowLevelKey},
                        {"NO", appkit::kNormalWindowLevelKey},
                        {nullptr, appkit::kNormalWindowLevelKey}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting ? c.setting : "unset");
    app().resetForTesting();
    appkit::ScriptedUser scripted([](const std::string& m) { ADD_FAILURE() << m; });
    if (c.setting) appkit::UserDefaults::standard().setString(c.setting, "DefaultAlwaysOnTop");
    SampleDialog dialog;
    dialog.initWithWindowNibName("SampleDialog");
    appkit::Window* w = dialog.window();
    EXPECT_EQ(appkit::windowLevelForKey(appkit::kMaximumWindowLevelKey), w->level());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isMainWindow());
    EXPECT_DOUBLE_EQ((appkit::Window::kScreenWidth - w->contentSize().width) / 2, w->frameOrigin().x);
    scripted.deactivateApp()
        .inspect([&](appkit::Window& top) { EXPECT_EQ(appkit::windowLevelForKey(c.expectedKey), top.level()); })
        .activateApp()
        .click("btnOK");
    app().runModalForWindow(w);
    EXPECT_TRUE(scripted.finished());
  }
}

TEST_F(DialogFrameTest, ControlsOfTheLayoutWork) {
  user->expectText("cmbBankList", "==選擇銀行代號==")
      .chooseItem("cmbBankList", "700 中華郵政")
      .expectText("tfCaption", "700 中華郵政")  // the combo's action ran
      .selectRow("tblRows", 1)
      .inspect([](appkit::Window& top) {
        auto* table = dynamic_cast<appkit::TableView*>(top.viewWithIdentifier("tblRows"));
        ASSERT_NE(nullptr, table);
        EXPECT_EQ(1, table->selectedRow());
        EXPECT_EQ("房租", table->cellText(1, "Comment"));
      })
      .focus("edtNote")
      .type("rent 房租")
      .pressKey(appkit::KeyEvent::backspace())
      .expectText("edtNote", "rent 房")
      .click("btnOK");
  SampleDialog dialog;
  EXPECT_EQ(0, run(dialog));
  EXPECT_TRUE(dialog.wiringProblems().empty());
}

TEST_F(DialogFrameTest, ADialogWhoseScriptRunsOutIsNeverReadAsConfirmed) {
  struct Case {
    const char* left;
    void (*script)(appkit::ScriptedUser&);
    int questionAnswer;
  };
  const Case cases[] = {
      {"the dialog on top", [](appkit::ScriptedUser& u) { u.wait(10); }, -1},
      {"its question on top", [](appkit::ScriptedUser& u) { u.wait(10).click("btnAsk"); }, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.left);
    app().resetForTesting();
    std::vector<std::string> failures;
    appkit::ScriptedUser silent([&](const std::string& m) { failures.push_back(m); });
    c.script(silent);
    SampleDialog dialog;
    EXPECT_EQ(2, run(dialog));
    EXPECT_EQ(c.questionAnswer, dialog.questionAnswer);
    EXPECT_EQ(1u, failures.size());
    EXPECT_EQ(1, dialog.endings);
    EXPECT_EQ(0u, app().modalDepth());
  }
}

TEST_F(DialogFrameTest, ADialogWithoutItsLayoutCountsAsCancelled) {
  SampleDialog dialog;
  dialog.initWithWindowNibName("NoSuchDialog");
  EXPECT_EQ(nullptr, dialog.window());
  EXPECT_EQ(appkit::kModalResponseAbort, app().runModalForWindow(dialog.window()));
  EXPECT_EQ(2, dialog.GetReturnCode());
}

}  // namespace
