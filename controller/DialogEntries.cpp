// What the dialogs call back: reconnecting the card after a prompt, and the card pull-out check.
#include <chrono>
#include <memory>
#include <thread>

#include "CARDINOUTDLG.h"
#include "MessageBox.h"
#include "ZododovuRavuVODCtrl.h"
#include "appkit/Application.h"
#include "card/IFD.h"

namespace {
const char* const kCardTitle = "晶片卡連線";
const char* const kInsertCard = "    未偵測到您的晶片卡\n請插入晶片卡後再按【確定】\n    若要離開請按【取消】";
const char* const kCheckDirection = "請檢查晶片卡是否已依正確方向插入讀卡機!";
constexpr int kFirstButton = 6;
}  // namespace

long ZododovuRavuVODCtrl::InnerConnectCard(const char* readerName, CardHandle cardHandle) {
  const std::string reader = readerName ? readerName : "";
  hCard = cardHandle;
  baReaderName = reader;
  for (;;) {
    CheckCardInsert();  // a reader that cannot be asked leaves the last answer in cardType
    if (cardType == 0) break;
    if (MessageBox(kInsertCard, kCardTitle, 3) != kFirstButton) return rc::kUserGaveUp;
  }
  iResetType = 0;
  if (ReConnectCard() == 0) return 0;

  iDisConnectType = 1;
  IFD_DisConnectCard(hCard, 1);
  IFD_DisConnectReader();
  IFD_ConnectReader();
  baReaderName = reader;
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  if (ConnectCard() == 0) return 0;
  MessageBox(kCheckDirection, kCardTitle, 1);
  return rc::kReconnectFailed;
}

long ZododovuRavuVODCtrl::runCardInOutDialog() {
  auto dialog = std::make_unique<CARDINOUTDLG>();
  dialog->initWithWindowNibName("CARDINOUTDLG");
  dialog->SetCardIO(CARDINOUTDLG::kWaitForRemoval);
  dialog->Set_DuzivureZoroCtrl(this);
  appkit::app().runModalForWindow(dialog->window());
  return dialog->GetReturnCode();
}

long ZododovuRavuVODCtrl::CheckCardInOut() { return runCardInOutDialog() == 0 ? 0 : rc::kUserGaveUp; }

long ZododovuRavuVODCtrl::CheckCardInOut2() { return 0; }

long ZododovuRavuVODCtrl::InnerCardInOut(const char* readerName) {
  baReaderName = readerName ? readerName : "";
  runCardInOutDialog();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  return 0;
}
