#include "CARDINOUTDLG.h"

#include "ZododovuRavuVODCtrl.h"
#include "appkit/Clock.h"
#include "appkit/Layout.h"
#include "graphics/Graphics.h"

namespace {
using namespace appkit::layout;

const char* const kTakeOut = "請拔出晶片卡再插入";
const char* const kPutBack = "請插入晶片卡";
const char* const kTooLate = "晶片金融卡抽拔驗證逾時";

// A card going into a reader slot.
void drawCardAndReader(const appkit::Rect& bounds) {
  graphics::Color::rgb(0.25, 0.25, 0.28).set();
  graphics::rectFill(appkit::Rect::make(10, bounds.height() - 30, bounds.width() - 20, 22));
  graphics::Color::rgb(0.18, 0.45, 0.30).set();
  graphics::rectFill(appkit::Rect::make(30, 8, bounds.width() - 60, bounds.height() - 34));
  graphics::Color::rgb(0.95, 0.80, 0.30).set();
  graphics::rectFill(appkit::Rect::make(44, 22, 20, 16));
}

const appkit::LayoutRegistration kLayout(appkit::Layout{
    "CARDINOUTDLG",
    "晶片金融卡抽拔驗證",
    {380, 200},
    {
        imageView("DIGPICView", rect(20, 24, 120, 110), drawCardAndReader),
        label("cardio_text", rect(150, 60, 215, 40), kTakeOut).withFontSize(16).withBold(),
        label("", rect(20, 150, 345, 24), "為了使網路交易更安全，請依提示操作讀卡機。"),
    },
    ""});
}  // namespace

bool CARDINOUTDLG::initWithWindow(std::unique_ptr<appkit::Window> window) {
  nCardInOrOut = kWaitForRemoval;
  Counter = kSeconds;
  if (!DialogFrame::initWithWindow(std::move(window))) return false;
  return true;
}

void CARDINOUTDLG::windowDidLoad() {
  DialogFrame::windowDidLoad();
  cardio_text->setStringValue(kTakeOut);
  startCountdownTimer();
}

void CARDINOUTDLG::SetCardIO(int state) {
  nCardInOrOut = state;
  cardio_text->setStringValue(state == kWaitForRemoval ? kTakeOut : kPutBack);
}

bool CARDINOUTDLG::cardPresent() {
  if (!vennoralAPICtrl) return true;  // nothing to watch: the card never seems to leave
  vennoralAPICtrl->CheckCardInsert();
  return vennoralAPICtrl->GetcardType() == 0;
}

void CARDINOUTDLG::finish(int code) {
  appkit::sleepForTimeInterval(0.5);
  stopCountdown();
  endDialog(code);
}

void CARDINOUTDLG::updateTimer() {
  if (hasEnded()) return;
  if (Counter <= 0) {
    cardio_text->setStringValue(kTooLate);
    finish(kTimedOut);
    return;
  }
  --Counter;
  if (nCardInOrOut == kWaitForRemoval) {
    if (!cardPresent()) SetCardIO(kWaitForInsertion);
    return;
  }
  if (cardPresent()) finish(kConfirmed);
}
