// Transfer_V2 and PublicDonation, up to the form: the page's parameter blocks, the reader and the card
// opened afresh, the login-card check, the form (of the transfer kind, or the donation's) and what it
// hands back. The road says where the two differ.
#include <algorithm>
#include <chrono>
#include <thread>

#include "FormParameters.h"
#include "FormRoad.h"
#include "MessageBox.h"
#include "TransferForms.h"
#include "ZododovuRavuVODCtrl.h"
#include "appkit/Application.h"
#include "card/IFD.h"
#include "card/SecureWipe.h"
#include "card/TextHelpers.h"
#include "crypto/Setting.h"

namespace {
const char* const kTransferTitle = "轉帳交易";
const char* const kParametersWrong = "元件參數錯誤，請確認元件版本是否正確";
const char* const kReaderFailed = "讀卡機連線失敗，請確認讀卡機是否已安裝妥當!";
const char* const kCardFailed = "晶片卡連線失敗，請檢查晶片卡是否已依正確方向插入讀卡機!";
const char* const kCardUnreadable = "卡片資料讀取錯誤，請檢查讀卡機與晶片卡是否有問題。";
const char* const kNoAccounts = "卡片中無任何帳號資料!";
const char* const kNotLoginCard = "登入所使用的卡片與現行卡片不符，請插入正確的卡片";
constexpr int kCriticalBox = 2;
constexpr int kInformationBox = 1;
constexpr int kFormCancelled = 2;

void pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// A marker of where the payee came from, enciphered for the page: agreed list "P", account book "M".
const char* payeeSourceMarker(int source) { return source == 1 ? "P%d" : source == 3 ? "M%d" : nullptr; }
}  // namespace

const FormRoad& transferRoad() {
  static const FormRoad road{
      "Transfer_V2",    // name
      "TransFer_V2",    // failureTitle
      transferFormFor,  // formFor
      true,             // readsBankChanges
      true,             // limitsMayBeAbsent
      kTransferTitle,   // cardTitle
      true,             // padsShownAccounts
      true,             // trimsRequestBanks
      true,             // returnsPayeeSource
  };
  return road;
}

const FormRoad& donationRoad() {
  static const FormRoad road{
      "PublicDonation",  // name
      "PublicDonation",  // failureTitle
      donationFormFor,   // formFor
      false,             // readsBankChanges
      false,             // limitsMayBeAbsent
      "",                // cardTitle
      false,             // padsShownAccounts
      false,             // trimsRequestBanks
      false,             // returnsPayeeSource
  };
  return road;
}

long ZododovuRavuVODCtrl::Transfer_V2() { return runFormRoad(transferRoad()); }

long ZododovuRavuVODCtrl::PublicDonation() { return runFormRoad(donationRoad()); }

long ZododovuRavuVODCtrl::runFormRoad(const FormRoad& road) {
  // Nothing of an earlier call may be read as this call's result.
  TrnsMsg.clear();
  ReturnASN.clear();
  ReturnTxFlag.clear();
  long result;
  try {
    result = formRoad(road);
  } catch (...) {
    TrnsMsg.clear();
    try {
      closeReaderAndCard(road);
      MessageBox("exception catched", road.failureTitle, kInformationBox);
    } catch (...) {
    }
    result = rc::kCancelled;
  }
  card::wipe(baPIN);
  return result;
}

long ZododovuRavuVODCtrl::formRoad(const FormRoad& road) {
  FormParameters params;
  const std::string bankChanges = road.readsBankChanges ? bh_d0 : std::string();
  const long opened = openFormParameters({bankChanges, bh_d1, bh_d2, bh_d3, bh_d4, bh_d5, bh_d6, bh_d7, bh_d8}, params,
                                         road.limitsMayBeAbsent);
  if (opened == rc::kParameterUnparsable) MessageBox(kParametersWrong, "", kCriticalBox);
  if (opened != rc::kOk) return opened;
  const CParseEncParam& p = params.fields;
  SessionId = p.D2SessionId;
  baReaderName = p.D1ReaderName;
  baP_CODE = p.D4PCode;

  const long reopened = reopenReaderAndCard(road);
  if (reopened != rc::kOk) return reopened;
  if (!loginCardInReader(params)) {
    MessageBox(kNotLoginCard, road.cardTitle, kInformationBox);
    closeReaderAndCard(road);
    return rc::kWrongCard;
  }

  if (road.readsBankChanges && baP_CODE.size() == 4) prepareBankLists();
  const TransferFormRow* row = road.formFor(baP_CODE);
  if (!row) {
    // No form serves this kind: nothing to confirm and no request to build.
    closeReaderAndCard(road);
    MessageBox(kParametersWrong, "", kCriticalBox);
    return rc::kParameterUnparsable;
  }

  const TransferFormInputs inputs{params,         shownCardAccount(road),    CardAccountList, AppnAccountList,
                                  BankIDListText, p.D1IssuerId.substr(0, 3), baReaderName,    hCard};
  std::unique_ptr<OpenTransferForm> form = row->open(inputs);
  appkit::app().runModalForWindow(form->window());
  const int formCode = form->GetReturnCode();
  if (formCode != 0) {
    closeReaderAndCard(road);
    return formCode == kFormCancelled ? rc::kCancelled : formCode;
  }
  TransferFormValues values = form->values();
  baMoney = trimLeftReturn(values.amount, '0');
  if (road.returnsPayeeSource) returnPayeeSource(*row, params, values);
  // The form stays open until the confirmation has returned; then it is released.
  const long result = confirmAndRequest(road, *row, params, values);
  card::wipe(values.pin);
  form.reset();
  return result;
}

void ZododovuRavuVODCtrl::closeReaderAndCard(const FormRoad& road) {
  const long card = static_cast<long>(IFD_DisConnectCard(hCard, iDisConnectType));
  lastResult = card;
  if (card != 0) cardCallFailed(road.name, "IFD_DisConnectCard()", card);
  const long reader = static_cast<long>(IFD_DisConnectReader());
  lastResult = reader;
  if (reader != 0) cardCallFailed(road.name, "IFD_DisConnectReader()", reader);
}

// Whatever the page left open is let go first, on both roads: a card handle still held would keep the
// card from the new connection.
long ZododovuRavuVODCtrl::reopenReaderAndCard(const FormRoad& road) {
  closeReaderAndCard(road);
  pause(100);
  lastResult = static_cast<long>(IFD_ConnectReader());
  if (lastResult != 0) {
    cardCallFailed(road.name, "IFD_ConnectReader()", lastResult);
    MessageBox(kReaderFailed, kTransferTitle, kInformationBox);
    return rc::kCancelled;
  }
  pause(100);
  if (ConnectCard() != 0) {
    MessageBox(kCardFailed, road.cardTitle, kInformationBox);
    return rc::kCancelled;
  }
  if (CardAccounts() != 0) {
    MessageBox(kCardUnreadable, kTransferTitle, kInformationBox);
    closeReaderAndCard(road);
    return rc::kRecordUnreadable;
  }
  if (iNoA == 0) {
    MessageBox(kNoAccounts, kTransferTitle, kInformationBox);
    closeReaderAndCard(road);
    return rc::kRecordUnreadable;
  }
  return rc::kOk;
}

// Exactly the login card: same bytes, same length, letter case counting.
bool ZododovuRavuVODCtrl::loginCardInReader(const FormParameters& params) {
  const std::string issuerId = GetIssuerId();
  const std::string issuerAccount = GetIssuerAccount();
  return issuerId == params.fields.D1IssuerId && issuerAccount == params.fields.D1IssuerAccount;
}

void ZododovuRavuVODCtrl::prepareBankLists() {
  CardAccountList.assign(baAccount.begin(), baAccount.begin() + std::clamp(iNoA, 0, 8));
  AppnAccounts();
  AppnAccountList.assign(baAppnAccount.begin(), baAppnAccount.begin() + std::clamp(iNoAP, 0, 8));
  BankIDListText = BankIDtxtList;
}

std::string ZododovuRavuVODCtrl::firstCardAccountText() const {
  return format("%014s", trimLeftReturn(baAccount[0], '0'));
}

std::string ZododovuRavuVODCtrl::shownCardAccount(const FormRoad& road) const {
  return road.padsShownAccounts ? firstCardAccountText() : trimLeftReturn(baAccount[0], '0');
}

void ZododovuRavuVODCtrl::returnPayeeSource(const TransferFormRow& row, const FormParameters& params,
                                            const TransferFormValues& values) {
  CParseEncParam cipher;
  if (row.postalOrigin()) {
    // A marker only for a real pick from a list; a typed payee sends none.
    const char* marker = payeeSourceMarker(values.payeeSource);
    ReturnASN = marker && values.payeeIndex >= 0
                    ? cipher.SetStringToEncData(format(marker, values.payeeIndex), params.iv)
                    : std::string();
  }
  if (row.returnsTxType) ReturnTxFlag = cipher.SetStringToEncData(format("%d", values.txTypeIndex), params.iv);
}
