// The dialogs' card entry points under a scripted user, with the card in the virtual reader: the
// insert-card prompt of InnerConnectCard and the pull-out-and-put-back check.
#include <gtest/gtest.h>

#include "DialogFixture.h"
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

TEST_F(CardDialog, InnerCardInOutAnswersZeroWhateverTheDialogSays) {
  BenchCard& card = connected();
  ZododovuRavuVODCtrl temporary;
  user->expectWindow("CARDINOUTDLG").wait(61);
  EXPECT_EQ(temporary.InnerCardInOut(card.readerName().c_str()), 0);
  EXPECT_EQ(temporary.GetbaReaderName(), card.readerName());
  EXPECT_EQ(temporary.CheckCardInOut2(), 0);
}

}  // namespace
