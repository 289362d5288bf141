// The pull-out prompt on its own: its texts and states, and a prompt given no controller to watch.
#include <gtest/gtest.h>

#include "CARDINOUTDLG.h"
#include "dialogfixture/ScriptedUserFixture.h"
#include "appkit/Clock.h"

namespace {

using PullOutPrompt = WithScriptedUser<>;

TEST_F(PullOutPrompt, StateSetterChangesThePrompt) {
  CARDINOUTDLG dialog;
  ASSERT_TRUE(dialog.initWithWindowNibName("CARDINOUTDLG"));
  EXPECT_TRUE(dialog.wiringProblems().empty());
  EXPECT_EQ(dialog.GetReturnCode(), 0);
  EXPECT_EQ(dialog.GetCounter(), 60);
  EXPECT_EQ(dialog.state(), CARDINOUTDLG::kWaitForRemoval);
  EXPECT_EQ(dialog.cardio_text->stringValue(), "請拔出晶片卡再插入");
  for (int state : {2, 7, 0}) {
    dialog.SetCardIO(state);
    EXPECT_EQ(dialog.state(), state);
    EXPECT_EQ(dialog.cardio_text->stringValue(), "請插入晶片卡") << state;
  }
  dialog.SetCardIO(1);
  EXPECT_EQ(dialog.cardio_text->stringValue(), "請拔出晶片卡再插入");
  dialog.SetReturnCode(77);
  EXPECT_EQ(dialog.GetReturnCode(), 77);
}

// Without a controller there is no reader to watch: the prompt waits out its time instead of
// following a null pointer.
TEST_F(PullOutPrompt, WithoutAControllerItTimesOut) {
  CARDINOUTDLG dialog;
  ASSERT_TRUE(dialog.initWithWindowNibName("CARDINOUTDLG"));
  dialog.SetCardIO(CARDINOUTDLG::kWaitForRemoval);
  user->wait(70);
  appkit::app().runModalForWindow(dialog.window());
  EXPECT_EQ(dialog.GetReturnCode(), 9950);
  EXPECT_EQ(dialog.cardio_text->stringValue(), "晶片金融卡抽拔驗證逾時");
  EXPECT_DOUBLE_EQ(appkit::Clock::now(), 61.5);
}

}  // namespace
