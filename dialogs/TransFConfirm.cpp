#include "TransFConfirm.h"

#include <algorithm>

#include "MessageBox.h"
#include "appkit/Layout.h"
#include "card/SecureWipe.h"

namespace {
using namespace appkit::layout;

const char* const kTransferTitle = "轉帳交易";
const char* const kNotPulledOut = "您未依指示抽拔晶片卡，請按下畫面之確認鍵，依指示重新操作";
const char* const kReconnectFailed = "連線晶片卡失敗，請重新操作";
const char* const kNotLoginCard = "登入所使用的卡片與現行卡不符，請插入正確的卡片";
const char* const kWriteFailed = "交易資料寫入卡片失敗！請依網頁提示於讀卡機確認各項資料";

// What the boxes show before the setters arrive.
const char* const kOutAccountPlaceholder = "                    n ";
const std::string kInAccountPlaceholder(20, ' ');
const std::string kAmountPlaceholder(10, ' ');
constexpr std::size_t kAmountWidth = 10;
constexpr std::size_t kMoneyWidth = 14;
constexpr std::size_t kPostalCodeLength = 6;
constexpr int kBankTransferKind = 1361;

const appkit::LayoutRegistration kLayout(appkit::Layout{
    "TransFConfirm",
    "轉帳交易確認",
    {480, 330},
    {
        label("", rect(24, 14, 432, 24), "請確認以下轉帳資料，無誤後請按【確定】").withFontSize(15).withBold(),
        label("", rect(24, 58, 90, 28), "轉出帳號"),
        custom<CaptchaButton>("cbOutAccount", rect(120, 52, 336, 40)),
        label("", rect(24, 110, 90, 28), "轉入帳號"),
        custom<CaptchaButton>("cbInAccount", rect(120, 104, 336, 40)),
        label("", rect(24, 162, 90, 28), "轉帳金額"),
        custom<CaptchaButton>("cbAmount", rect(120, 156, 200, 40)),
        label("", rect(330, 162, 40, 28), "元"),
        label("ReadType2Text", rect(24, 208, 432, 24), "按下【確定】後請勿移除晶片卡，待交易完成後再取出。"),
        label("", rect(24, 280, 80, 28), "剩餘秒數"),
        label("tfTimer", rect(104, 280, 60, 28), ""),  // shown from the first tick: the form's seconds go on
        button("btnOK", rect(246, 276, 100, 34), "確定", "btnOK:"),
        button("btnCancel", rect(356, 276, 100, 34), "取消", "btnCancel:"),
    },
    "btnCancel:"});
}  // namespace

// ---- the dialog ----

TransFConfirm::TransFConfirm() {
  addAction("btnOK:", [this](appkit::View* sender) { btnOK(sender); });
  addAction("btnCancel:", [this](appkit::View* sender) { btnCancel(sender); });
}

// The clear PIN leaves with the dialog.
TransFConfirm::~TransFConfirm() {
  card::wipe(CardPIN);
  card::wipe(stInData.sPIN);
}

bool TransFConfirm::initWithWindow(std::unique_ptr<appkit::Window> window) {
  if (!DialogFrame::initWithWindow(std::move(window))) return false;
  returnValue = 0;
  return true;
}

void TransFConfirm::windowDidLoad() {
  DialogFrame::windowDidLoad();
  startCountdown(kSeconds);
  cbOutAccount->SetValue(kOutAccountPlaceholder);
  cbInAccount->SetValue(kInAccountPlaceholder);
  cbAmount->SetValue(kAmountPlaceholder);
  showReaderTypeNote();
}

void TransFConfirm::showReaderTypeNote() {
  if (ReaderType == "1")
    ReadType2Text->setHidden(true);
  else
    ReadType2Text->setTextColor(graphics::Color::redColor());
}

void TransFConfirm::SetOut_ACCT(const std::string& text) {
  Out_ACCT = text;
  cbOutAccount->setState(1);
  cbOutAccount->SetValue(text);
}

void TransFConfirm::SetIn_ACCT(const std::string& text) {
  In_ACCT = text;
  cbInAccount->setState(1);
  cbInAccount->SetValue(text);
}

void TransFConfirm::SetTrans_Amount(const std::string& text) {
  Trans_Amount = text;
  cbAmount->setState(1);
  std::string shown = text;
  if (shown.size() < kAmountWidth) shown.append(kAmountWidth - shown.size(), ' ');
  cbAmount->SetValue(shown);
}

void TransFConfirm::SetReaderType(const std::string& text) {
  ReaderType = text;
  showReaderTypeNote();
}

void TransFConfirm::btnCancel(appkit::View*) { endDialog(kCancelled); }

void TransFConfirm::btnOK(appkit::View*) {
  if (hasEnded()) return;
  ZododovuRavuVODCtrl card;  // this OK's own controller: shares only the card handle
  cardStep(card);
}

// After every nested loop (a prompt, the pull-out dialog, a message) the dialog may have ended meanwhile,
// its countdown having run out: then nothing more happens, above all no card write.
void TransFConfirm::cardStep(ZododovuRavuVODCtrl& card) {
  const auto handle = static_cast<CardHandle>(hCardHandle);
  const long connected = card.InnerConnectCard(ReaderName.c_str(), handle);
  if (hasEnded()) return;
  if (connected != 0) return endDialog(kCancelled);

  if (ReaderType == "1") {
    const long pulledOut = card.CheckCardInOut();
    if (hasEnded()) return;
    if (pulledOut != 0) {
      MessageBox(kNotPulledOut, "", 1);
      return;
    }
    card.DisConnectCard();
    const long reconnected = card.InnerConnectCard(ReaderName.c_str(), handle);
    if (hasEnded()) return;
    if (reconnected != 0) {
      MessageBox(kReconnectFailed, "", 1);
      return endDialog(kCancelled);
    }
  }

  const std::string issuerAccount = card.GetIssuerAccount();
  const std::string issuerId = card.GetIssuerId();
  if (issuerId != LoginIssuerID || issuerAccount != LoginIssuerAccount) {
    MessageBox(kNotLoginCard, kTransferTitle, 1);
    return;
  }

  fillCardStepInput();
  stOutData = stTransferOut();
  if (hasEnded()) return;
  long result;
  if (PCODE.size() == kPostalCodeLength) {
    result = card.doRodaTransfer(stInData, stOutData, 1);
  } else {
    card.SetbSelectedAccount(Out_RealACCT.c_str());
    result = card.doTransfer(stInData, stOutData, kBankTransferKind, 1);
  }
  if (result == rc::kWriteFailed) {
    MessageBox(kWriteFailed, "", 1);
    return;
  }
  endDialog(static_cast<int>(result));
}

void TransFConfirm::fillCardStepInput() {
  stInData.sReaderName = ReaderName;
  stInData.sConfirmedCode = PCODE;
  stInData.sPIN = CardPIN;
  stInData.sCheckCode = ATM_Check_Code;
  stInData.sTerminalId = ATM_NO;
  stInData.sAccountIndex = AccountIndex;
  stInData.sAgencyBank = AgentNo;
  stInData.sPayeeBank = AcceptNo;
  stInData.sPayeeAccount = ImportAccount;
  std::string money = Trans_Amount + "00";
  if (money.size() < kMoneyWidth) money.insert(0, kMoneyWidth - money.size(), '0');
  stInData.sAmount = money;
  stInData.sDateTime = TransDataTime;
}
