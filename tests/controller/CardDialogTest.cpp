// The dialogs' card entry points under a scripted user, with the card in the virtual reader: the
// insert-card prompt of InnerConnectCard and the pull-out-and-put-back check.
#include <gtest/gtest.h>

#include "CARDINOUTDLG.h"
#include "dialogfixture/ScriptedUserFixture.h"
#include "ZododovuRavuVODCtrl.h"
#include "appkit/Clock.h"
#include "cardbench/CardBench.h"

namespace {
using namespace rvp::cardbench;

const char* const kInsertCard = "    未偵測到您的晶片卡\n請插入晶片卡後再按【確定】\n    若要離開請按【取消】";
const std::vector<std::string> kOkCancel = {"確定", "取消"};

class CardDialog : public WithScriptedUser<CardBenchTest> {
 protected:
  BenchCard& connected() {
    BenchCard& card = startCard(0, "bank");
    ctrl.SetbaReaderName(card.readerName().c_str());
    EXPECT_EQ(ctrl.ConnectCard(), 0);
    return card;
  }
  ZododovuRavuVODCtrl ctrl;

  // The pull-out prompt run as the controller runs it, kept for a look after it has ended.
  std::unique_ptr<CARDINOUTDLG> runPullOutPrompt() {
    auto dialog = std::make_unique<CARDINOUTDLG>();
    dialog->initWithWindowNibName("CARDINOUTDLG");
    dialog->SetCardIO(CARDINOUTDLG::kWaitForRemoval);
    dialog->Set_DuzivureZoroCtrl(&ctrl);
    // Only its timer ends it, and it leaves its loop with an abort.
    EXPECT_EQ(appkit::app().runModalForWindow(dialog->window()), appkit::kModalResponseAbort);
    return dialog;
  }
};

TEST_F(CardDialog, InnerConnectCardAsksForTheCardUntilTheUserGivesUp) {
  BenchCard& card = connected();
  card.remove();
  user->expectAlert(kInsertCard, "晶片卡連線", std::nullopt, kOkCancel)
      .answerAlert(1)
      .expectAlert(kInsertCard, "晶片卡連線", std::nullopt, kOkCancel)
      .answerAlert(2);
  EXPECT_EQ(ctrl.InnerConnectCard(card.readerName().c_str(), hCard), rc::kUserGaveUp);
}

TEST_F(CardDialog, InnerConnectCardGoesOnOnceTheCardIsIn) {
  BenchCard& card = connected();
  card.remove();
  ZododovuRavuVODCtrl temporary;  // a dialog's own controller shares only the card handle
  user->expectAlert(kInsertCard, "晶片卡連線").run([&] { card.insert(); }).answerAlert(1);
  EXPECT_EQ(temporary.InnerConnectCard(card.readerName().c_str(), hCard), 0);
  EXPECT_EQ(temporary.GetbaATR(), "3B80800101");
  temporary.SetbaPIN("1234");
  EXPECT_EQ(temporary.VerifyPIN(), 0);
}

TEST_F(CardDialog, InnerConnectCardWithTheCardInReconnectsWithoutAPrompt) {
  BenchCard& card = connected();
  ZododovuRavuVODCtrl temporary;
  temporary.SetiResetType(1);
  temporary.SetiDisConnectType(3);
  card.clearApduLog();
  EXPECT_EQ(temporary.InnerConnectCard(card.readerName().c_str(), hCard), 0);
  EXPECT_EQ(temporary.GetiResetType(), 0);
  EXPECT_EQ(temporary.GetiDisConnectType(), 3);  // the fresh connection after a failed one was not needed
  EXPECT_EQ(temporary.GetbaATR(), "3B80800101");
  ASSERT_FALSE(card.apduCommands().empty());
  EXPECT_EQ(rvp::cardsim::toHex(card.apduCommands().front()), "00A4040008A00000017295000100");
}

TEST_F(CardDialog, InnerConnectCardThatCannotReconnectSaysSoAndGivesMinusTwo) {
  BenchCard& card = connected();
  // The card is in, but it drops off the reader when the application is selected again, so the
  // reconnection and the fresh connection after it both fail.
  card.inject(rvp::cardsim::Fault::drop(1, 0xA4));
  user->expectAlert("請檢查晶片卡是否已依正確方向插入讀卡機!", "晶片卡連線", appkit::AlertStyle::Informational,
                    std::vector<std::string>{"確定"})
      .answerAlert(1);
  EXPECT_EQ(ctrl.InnerConnectCard(card.readerName().c_str(), hCard), rc::kReconnectFailed);
  EXPECT_EQ(ctrl.GetiDisConnectType(), 1);
  EXPECT_EQ(ctrl.GetiResetType(), 0);
  EXPECT_EQ(ctrl.GetbaReaderName(), card.readerName());
}

TEST_F(CardDialog, CardPulledOutAndPutBackBetweenTicksGivesZero) {
  BenchCard& card = connected();
  user->wait(2.5)
      .expectText("cardio_text", "請拔出晶片卡再插入")
      .run([&] { card.remove(); })
      .wait(1)
      .expectText("cardio_text", "請插入晶片卡")
      .savePng(RVP_PICTURE_DIR "/CARDINOUTDLG.png")
      .run([&] { card.insert(); })
      .wait(2);
  EXPECT_EQ(ctrl.CheckCardInOut(), 0);
  EXPECT_LT(appkit::Clock::now(), 10.0);
}

TEST_F(CardDialog, CardNeverSeenLeavingTimesOutAfterSixtySeconds) {
  BenchCard& card = connected();
  // Out and back in within one second: no tick sees the reader empty.
  user->wait(0.5).run([&] { card.remove(); }).run([&] { card.insert(); }).wait(61);
  EXPECT_EQ(ctrl.CheckCardInOut(), rc::kUserGaveUp);
  EXPECT_GE(appkit::Clock::now(), 61.0);
}

TEST_F(CardDialog, PullOutPromptSeesEachStepOnItsOwnTickAndEndsHalfASecondLater) {
  BenchCard& card = connected();
  // Out between ticks 4 and 5, back between ticks 8 and 9.
  user->wait(4.5)
      .run([&] { card.remove(); })
      .expectText("cardio_text", "請拔出晶片卡再插入")
      .wait(1)
      .expectText("cardio_text", "請插入晶片卡")
      .wait(3)
      .expectText("cardio_text", "請插入晶片卡")
      .run([&] { card.insert(); })
      .wait(5);
  std::unique_ptr<CARDINOUTDLG> dialog = runPullOutPrompt();
  EXPECT_EQ(dialog->GetReturnCode(), 0);
  EXPECT_DOUBLE_EQ(appkit::Clock::now(), 9.5);
  EXPECT_EQ(dialog->GetCounter(), 60 - 9);
  EXPECT_FALSE(dialog->window()->isVisible());
}

TEST_F(CardDialog, PullOutPromptTimesOutOnTheSixtyFirstTickInEitherState) {
  for (bool takenOut : {false, true}) {
    SCOPED_TRACE(takenOut ? "card taken out and never put back" : "card never taken out");
    BenchCard& card = connected();
    appkit::app().resetForTesting();
    if (takenOut) user->wait(0.5).run([&] { card.remove(); });
    user->wait(70);
    std::unique_ptr<CARDINOUTDLG> dialog = runPullOutPrompt();
    EXPECT_EQ(dialog->GetReturnCode(), rc::kTimedOut);
    EXPECT_EQ(dialog->cardio_text->stringValue(), "晶片金融卡抽拔驗證逾時");
    EXPECT_EQ(dialog->state(), takenOut ? CARDINOUTDLG::kWaitForInsertion : CARDINOUTDLG::kWaitForRemoval);
    EXPECT_DOUBLE_EQ(appkit::Clock::now(), 61.5);
    if (takenOut) card.insert();
  }
}

TEST_F(CardDialog, InnerCardInOutAnswersZeroWhateverTheDialogSays) {
  BenchCard& card = connected();
  ZododovuRavuVODCtrl temporary;
  user->expectWindow("CARDINOUTDLG").wait(61);
  EXPECT_EQ(temporary.InnerCardInOut(card.readerName().c_str()), 0);
  EXPECT_EQ(temporary.GetbaReaderName(), card.readerName());
  EXPECT_EQ(temporary.CheckCardInOut2(), 0);
}

}  // namespace
