#include "TransferForm.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "MessageBox.h"
#include "ZododovuRavuVODCtrl.h"
#include "card/CardAnswer.h"
#include "card/SecureWipe.h"
#include "crypto/ParseEncParam.h"

const char* const TransferForm::kFraudWarning =
    "請慎防轉帳受騙喔!!\n\n*請勿聽信他人指示操作。\n*您選擇的是轉帳交易，會從您的\n  帳戶內扣款轉給他人，您確定要\n  "
    "轉帳嗎？";
const char* const TransferForm::kNoBankChosen = "請選擇一銀行代號";

namespace {

const char* const kNoAgreedAccounts = "查無約定轉入帳號";
const char* const kAgreedHeader = "==請選擇約定轉入帳號==";
const char* const kNoBookAccounts = "查無設定常用帳號";
const char* const kBookHeader = "==選擇常用帳號==";
const char* const kBankHeader = "==選擇銀行代號==";
const char* const kPostalBank = "700";

const char* const kEnterPin = "請輸入晶片卡密碼";
const char* const kPinLength = "請輸入6至12位晶片卡密碼";
const char* const kWrongPin = "　　　 密碼錯誤，請重新輸入！\n〈金融卡密碼若連續錯誤三次將被鎖卡〉";
const char* const kCardReadError = "卡片資料讀取錯誤，請檢查讀卡機與晶片卡是否有問題。";
const char* const kEnterPayee = "請輸入轉入帳號";
const char* const kPayeeLength = "請輸入16位轉入帳號";
const char* const kEnterAmount = "請輸入轉帳金額";
const char* const kWrongAmount = "轉帳金額輸入有錯，請重新輸入";
const char* const kWrongCode = "交易驗證碼錯誤，請重新輸入";
const char* const kEnterCode = "請輸入交易驗證碼";

constexpr long kSwPinBlocked = 0x6620;
constexpr long kSwWrongPin = 0x6608;

std::string blanks(std::size_t n) { return std::string(n, ' '); }

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> pieces;
  CParseEncParam().SplitString_1(text.c_str(), separator, pieces);
  return pieces;
}

// A bank is named by a code of three digits, as in the bank list.
bool isBankCode(const std::string& text) {
  return text.size() == 3 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isAccountDigits(const std::string& text) {
  if (text.empty() || text.size() > 16) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The value of a text of decimal digits (the keypad's amount): 64 bits, so ten digits never wrap.
std::uint64_t amountValue(const std::string& digits) {
  std::uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') break;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

// A limit from the page: its leading decimal number (blanks and a sign allowed), 0 when there is
// none, held at the 64-bit range instead of wrapping.
long long limitValue(const std::string& text) {
  char* end = nullptr;
  long long value = std::strtoll(text.c_str(), &end, 10);
  return end == text.c_str() ? 0 : value;
}

}  // namespace

TransferForm::TransferForm(const FormRow& row) : row_(row) {
  addAction("cmbPreAccount:", [this](appkit::View* sender) { cmbPreAccount(sender); });
  addAction("cmbCommonAccount:", [this](appkit::View* sender) { cmbCommonAccount(sender); });
  addAction("cmbBankNo:", [this](appkit::View* sender) { cmbBankNo(sender); });
  addAction("cbInAccount:", [this](appkit::View* sender) { cbInAccount(sender); });
  addAction("btnOK:", [this](appkit::View* sender) { btnOK(sender); });
}

bool TransferForm::initWithWindow(std::unique_ptr<appkit::Window> window) {
  if (!KeypadDialog::initWithWindow(std::move(window))) return false;
  nInAcctCntType = kFromAgreedList;
  return true;
}

void TransferForm::windowDidLoad() {
  KeypadDialog::windowDidLoad();
  edtOutAccount->setStringValue("");
  cmbBankNoOutlet->removeAllItems();
  cmbPreAccountOutlet->removeAllItems();
  cmbCommonAccountOutlet->removeAllItems();
  if (setUpKeypad()) startCountdown(600);
}

void TransferForm::windowDidResignMain(appkit::Window& window) {
  KeypadDialog::windowDidResignMain(window);
  if (row_.recentresOnResignMain) window.center();
}

// ---- setters ----

void TransferForm::SetCardAccount(const std::string& account) {
  CardAccount = account;
  if (row_.paidFromPostalCard) edtOutAccount->setStringValue(std::string(kPostalBank) + "/" + account);
}

void TransferForm::AppendCardAccountAry(const std::vector<std::string>& accounts) {
  CardAccountAry.insert(CardAccountAry.end(), accounts.begin(), accounts.end());
}

void TransferForm::AppendAgreeACCT(const std::vector<std::string>& entries) {
  AgreeACCT = entries;
  PutAgree_AcctToList();
  cmbPreAccountOutlet->selectItemAtIndex(0);
}

void TransferForm::AppendCommACCT(const std::vector<std::string>& entries) {
  CommACCT = entries;
  PutComm_AcctToList();
  cmbCommonAccountOutlet->selectItemAtIndex(0);
}

void TransferForm::AppendBankDiffData(const std::vector<std::string>& records) {
  BankDiffData = records;
  if (!row_.payeeBankList) return;
  PutBankNoToList();
  cmbBankNoOutlet->selectItemAtIndex(0);
}

void TransferForm::SetReaderType(const std::string& type) {
  ReaderType = type;
  if (type == "2") {
    cbCardPIN_Text->setHidden(true);
    cbCardPIN->setState(0);
    cbCardPIN->setHidden(true);
    PinCounterP1->setHidden(true);
    PinCounterP2->setHidden(true);
    PinCounterP3->setHidden(true);
  } else {
    show(cbCardPIN.operator->(), "", 12);
  }
}

std::string TransferForm::GetBankNoName(const std::string& code) {
  BankNO_List = split(csBankIDList, '#');
  if (code.size() < 3) return std::string();
  for (const std::string& entry : BankNO_List) {
    if (entry.size() >= 3 && entry.compare(0, 3, code, 0, 3) == 0) return entry;
  }
  return std::string();
}

// ---- the lists ----

void TransferForm::PutBankNoToList() {
  appkit::ComboBox& list = *cmbBankNoOutlet;
  list.removeAllItems();
  list.addItemWithObjectValue(kBankHeader + blanks(60));
  list.selectItemAtIndex(0);
  BankNO_List = split(csBankIDList, '#');
  if (BankNO_List.empty()) return;
  for (const std::string& entry : BankNO_List) {
    if (entry.size() < 8 || entry.compare(0, 3, kPostalBank) == 0) continue;
    list.addItemWithObjectValue(entry + blanks(60));
  }
  if (flagBankDiff == 0) return;
  for (const std::string& record : BankDiffData) {
    if (record.size() < 4) continue;  // no code and operation: nothing to apply
    const std::string code = record.substr(0, 3);
    const char operation = record[3];
    const std::string item = code + record.substr(4) + blanks(60);
    // "U" and "D" find the first item naming the code anywhere in its text; the header never counts.
    int found = -1;
    for (int i = 1; i < list.numberOfItems(); ++i) {
      if (list.itemObjectValueAtIndex(i).find(code) != std::string::npos) {
        found = i;
        break;
      }
    }
    if (operation == 'A') {
      list.addItemWithObjectValue(item);
    } else if (operation == 'U' && found > 0) {
      list.removeItemAtIndex(found);
      list.insertItemWithObjectValue(item, found);
    } else if (operation == 'D' && found > 0) {
      list.removeItemAtIndex(found);
    }
  }
}

std::string TransferForm::agreedItem(const std::string& entry) const { return entry; }

void TransferForm::PutAgree_AcctToList() {
  appkit::ComboBox& list = *cmbPreAccountOutlet;
  list.removeAllItems();
  agreedEntryOfItem_.assign(1, -1);
  for (std::size_t i = 0; i < AgreeACCT.size(); ++i) {
    std::string item = agreedItem(AgreeACCT[i]);
    if (item.empty()) continue;
    if (list.numberOfItems() == 0) list.addItemWithObjectValue(kAgreedHeader + blanks(60));
    list.addItemWithObjectValue(item);
    agreedEntryOfItem_.push_back(static_cast<int>(i));
  }
  list.setEnabled(list.numberOfItems() > 0);
  if (list.numberOfItems() == 0) {
    list.addItemWithObjectValue(kNoAgreedAccounts + blanks(40));
    list.selectItemAtIndex(0);
  }
}

void TransferForm::PutComm_AcctToList() {
  appkit::ComboBox& list = *cmbCommonAccountOutlet;
  list.removeAllItems();
  bookEntryOfItem_.assign(1, -1);
  for (std::size_t i = 0; i < CommACCT.size(); ++i) {
    const std::string& entry = CommACCT[i];
    const std::string::size_type dollar = entry.find('$');
    // An entry without its comment, or too short for a bank code, is not offered.
    if (dollar == std::string::npos || dollar < 3) continue;
    const std::string bank = entry.substr(0, 3);
    if (row_.postalBookEntriesOnly && bank != kPostalBank) continue;
    if (list.numberOfItems() == 0) list.addItemWithObjectValue(kBookHeader + blanks(64));
    list.addItemWithObjectValue(bank + "-" + entry.substr(3, dollar - 3) + "-" + entry.substr(dollar + 1));
    bookEntryOfItem_.push_back(static_cast<int>(i));
  }
  list.setEnabled(list.numberOfItems() > 0);
  if (list.numberOfItems() == 0) {
    list.addItemWithObjectValue(kNoBookAccounts + blanks(40));
    list.selectItemAtIndex(0);
  }
}

// ---- picks ----

TransferForm::PayeePick TransferForm::agreedPick(const std::string& item) const {
  // The family's agreed item is "bank-account".
  return bookPick(item);
}

TransferForm::PayeePick TransferForm::bookPick(const std::string& item) const {
  PayeePick pick;
  std::vector<std::string> pieces = split(item, '-');
  if (pieces.size() < 2) return pick;
  if (pieces[0].size() >= 3) pick.bankCode = pieces[0].substr(0, 3);
  pick.account = pieces[1];
  return pick;
}

bool TransferForm::takePick(const PayeePick& pick) {
  // Only digits that fit the field are taken; nothing is cut or replaced by another key's label.
  if (!isAccountDigits(pick.account)) return false;
  // Where the payee's bank counts, a pick naming none would leave it to whatever the bank list held.
  if (row_.payeeBankList && !isBankCode(pick.bankCode)) return false;
  if (!pick.bankCode.empty()) InBankID = pick.bankCode + "00000";
  if (pick.hasBankName) InBankIDName = pick.bankName;
  In_ACCT = labelsOf(pick.account);
  return true;
}

void TransferForm::pickFromList(int kind) {
  appkit::ComboBox& list = kind == kFromAgreedList ? *cmbPreAccountOutlet : *cmbCommonAccountOutlet;
  appkit::ComboBox& other = kind == kFromAgreedList ? *cmbCommonAccountOutlet : *cmbPreAccountOutlet;
  nInAcctCntType = kind;
  const int index = list.indexOfSelectedItem();
  const std::string item = list.objectValueOfSelectedItem();
  if (index > 0) {
    other.selectItemAtIndex(0);
  }
  show(cbInAccountOutlet.operator->(), "", 14);
  cbInAccountOutlet->setState(0);
  In_ACCT.clear();
  ShowIn_ACCT.clear();
  if (index <= 0) return;
  if (row_.payeeBankList) cmbBankNoOutlet->selectItemAtIndex(0);
  const PayeePick pick = kind == kFromAgreedList ? agreedPick(item) : bookPick(item);
  if (takePick(pick)) return;
  // A pick that is no account of 1 to 16 digits is refused whole: the list goes back to its header and
  // the payee is to be typed.
  list.selectItemAtIndex(0);
  nInAcctCntType = kTyped;
  tell(payeeLengthMessage());
}

void TransferForm::cmbPreAccount(appkit::View*) {
  if (!hasEnded()) pickFromList(kFromAgreedList);
}

void TransferForm::cmbCommonAccount(appkit::View*) {
  if (!hasEnded()) pickFromList(kFromAccountBook);
}

void TransferForm::cmbBankNo(appkit::View*) {
  // The header names no bank.
  const int index = cmbBankNoOutlet->indexOfSelectedItem();
  const std::string item = cmbBankNoOutlet->objectValueOfSelectedItem();
  if (index <= 0 || item.size() < 3) {
    InBankID.clear();
    InBankIDName.clear();
    return;
  }
  InBankID = item.substr(0, 3) + "00000";
  InBankIDName = item.substr(3);
}

void TransferForm::cbInAccountStateOn() {
  KeypadDialog::cbInAccountStateOn();
  if (!row_.paidFromPostalCard) return;
  cmbPreAccountOutlet->selectItemAtIndex(0);
  cmbCommonAccountOutlet->selectItemAtIndex(0);
}

void TransferForm::cbInAccount(appkit::View*) {
  if (hasEnded()) return;
  if (row_.payeeBankList && cmbBankNoOutlet->indexOfSelectedItem() <= 0 && !tell(kNoBankChosen)) return;
  cbInAccountStateOn();
  nInAcctCntType = kTyped;
  cmbPreAccountOutlet->selectItemAtIndex(0);
  cmbCommonAccountOutlet->selectItemAtIndex(0);
  In_ACCT = ShowIn_ACCT;
}

int TransferForm::payeeKind() {
  if (nInAcctCntType == kFromAgreedList && cmbPreAccountOutlet->indexOfSelectedItem() >= 1) return kFromAgreedList;
  if (nInAcctCntType == kFromAccountBook && cmbCommonAccountOutlet->indexOfSelectedItem() >= 1) return kFromAccountBook;
  return kTyped;
}

// ---- the OK frame ----

bool TransferForm::tell(const std::string& message, const std::string& title) {
  MessageBox(message, title, 1);
  return !hasEnded();
}

void TransferForm::clearField(Field field) {
  activate(field);
  ClearInput();
}

bool TransferForm::reconnectCard(ZododovuRavuVODCtrl& card) {
  const long result = card.InnerConnectCard(ReaderName.c_str(), hCardHandle);
  if (hasEnded()) return false;
  if (result == 0) return true;
  endDialog(kCancelled);
  return false;
}

bool TransferForm::pinAccepted(ZododovuRavuVODCtrl& card) {
  card::WipedText pin(GetCardPIN());
  if (pin.text.empty()) {
    tell(kEnterPin);
    return false;
  }
  if (pin.text.size() <= 5) {
    if (tell(kPinLength)) clearField(kPin);
    return false;
  }
  const long result = card.InnerVerifyPIN(pin.text.c_str(), hCardHandle);
  if (hasEnded()) return false;
  const std::uint64_t sw = card.GetuiSW12();
  if (result == 0 && sw == kSwOk) return true;
  if (result == kSwPinBlocked && sw == static_cast<std::uint64_t>(kSwPinBlocked)) {
    SetReturnCode(kPinBlocked);
    return false;
  }
  // A refused PIN is cleared for another try; any other outcome means the card could not be asked.
  const bool wrongPin = result == kSwWrongPin && sw == static_cast<std::uint64_t>(kSwWrongPin);
  if (tell(wrongPin ? kWrongPin : kCardReadError)) clearField(kPin);
  return false;
}

const char* TransferForm::payeeLengthMessage() const { return kPayeeLength; }

bool TransferForm::payeeAccepted(const std::string& account) {
  if (account.empty()) {
    tell(kEnterPayee);
    return false;
  }
  if (account.size() > 16) {
    if (tell(kPayeeLength)) clearField(kPayeeAccount);
    return false;
  }
  return true;
}

bool TransferForm::payeeBankChosen() {
  if (payeeKind() != kTyped) {
    // The pick named its bank.
    if (!InBankID.empty()) return true;
    tell(kNoBankChosen);
    return false;
  }
  // A typed payee's bank is the one the bank list shows now.
  const int index = cmbBankNoOutlet->indexOfSelectedItem();
  const std::string item = cmbBankNoOutlet->objectValueOfSelectedItem();
  if (index <= 0 || item.size() < 3) {
    tell(kNoBankChosen);
    return false;
  }
  InBankID = item.substr(0, 3) + "00000";
  InBankIDName = item.substr(3);
  return true;
}

bool TransferForm::amountAccepted(const std::string& amount) {
  if (amount.empty()) {
    tell(kEnterAmount);
    return false;
  }
  if (amountValue(amount) == 0) {
    if (tell(kWrongAmount)) clearField(kAmount);
    return false;
  }
  return true;
}

bool TransferForm::withinLimit(const std::string& amount) {
  const int kind = payeeKind();
  nInAcctCntType = kind;
  if (row_.limitTitle) {
    const long long limit = limitValue(kind == kFromAgreedList ? AGSELFAMT : NAGSELFAMT);
    const std::uint64_t value = amountValue(amount);
    if (limit < 0 || value > static_cast<std::uint64_t>(limit)) {
      char message[128];
      std::snprintf(message, sizeof message, "轉帳金額不可超過 %05lld, 請重新輸入", limit);
      if (tell(message, row_.limitTitle)) clearField(kAmount);
      return false;
    }
  }
  auto entryOf = [](const std::vector<int>& map, int item) {
    return item > 0 && item < static_cast<int>(map.size()) ? map[item] : -1;
  };
  if (kind == kFromAgreedList) nInAcctCntIdx = entryOf(agreedEntryOfItem_, cmbPreAccountOutlet->indexOfSelectedItem());
  if (kind == kFromAccountBook)
    nInAcctCntIdx = entryOf(bookEntryOfItem_, cmbCommonAccountOutlet->indexOfSelectedItem());
  return true;
}

void TransferForm::confirmWithVerificationCode() {
  card::WipedText typed(GetGRCode());
  if (!CaptchaValue.empty() && typed.text == CaptchaValue) {
    const int answer = MessageBox(kFraudWarning, "", 3);
    if (hasEnded()) return;
    // Only the confirming button confirms.
    endDialog(answer == 6 ? kConfirmed : kCancelled);
    return;
  }
  if (tell(GRCode.empty() ? kEnterCode : kWrongCode)) clearField(kVerificationCode);
}

void TransferForm::btnOK(appkit::View*) {
  if (hasEnded()) return;
  ZododovuRavuVODCtrl card;  // the handler's own controller; it shares only the card handle
  if (!reconnectCard(card)) return;
  if (ReaderType == "1" && !pinAccepted(card)) return;
  card::WipedText account(GetIn_Acct());
  if (!payeeAccepted(account.text)) return;
  if (row_.payeeBankList && !payeeBankChosen()) return;
  card::WipedText amount(GetAmount());
  if (!amountAccepted(amount.text) || !withinLimit(amount.text)) return;
  ownChoicesAtOk();
  confirmWithVerificationCode();
}
