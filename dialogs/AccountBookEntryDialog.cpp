#include "AccountBookEntryDialog.h"

#include "AccountBookChecks.h"
#include "KeypadLayout.h"
#include "MessageBox.h"
#include "card/StringFormat.h"
#include "card/TextHelpers.h"
#include "crypto/ParseEncParam.h"

namespace {
constexpr std::size_t kAccountWidth = 16;
constexpr std::size_t kMaxCommentCharacters = 10;
constexpr std::size_t kBankCodeLength = 3;
constexpr std::size_t kShortestBankItem = 8;
const char* const kPostalBank = "700";

const char* const kAddQuestion = "是否確定新增此筆常用轉入帳號資料";
const char* const kModifyQuestion = "是否確定修改此筆常用轉入帳號資料";
const char* const kNoBank = "請輸入轉入銀行代號";
const char* const kNoAccount = "請輸入轉入帳號";
const char* const kWrongPostalAccount = "您輸入的帳號資料錯誤，請查明後再做！";
const char* const kAccountTooLong = "轉入帳號輸入錯誤";
const char* const kCommentTooLong = "轉入備註長度超過10個中文字或英文字母，請重新輸入";
const char* const kNoComment = "請輸入備註/別名";
const char* const kCommentRefused =
    "「備註/別名」欄位：\n一、須正體中文或英文字母。\n二、不得含有;+--=等特殊符號，或程式語法";
const char* const kEmailMalformed = "Email格式錯誤，請重新輸入";
const char* const kEmailRefused = "「Email」欄位不得含有:+--=等特殊符號，或程式語法";

std::string padded(const std::string& text) { return text + std::string(AccountBookEntryDialog::kItemPadding, ' '); }

void tell(const char* message) { MessageBox(message, "", 1); }

// The first item after the placeholder whose text holds the code, or -1.
int itemHolding(const appkit::ComboBox& combo, const std::string& code) {
  for (int i = 1; i < combo.numberOfItems(); ++i)
    if (combo.itemObjectValueAtIndex(i).find(code) != std::string::npos) return i;
  return -1;
}
}  // namespace

const char* const AccountBookEntryDialog::kBankPlaceholder = "==選擇銀行代號==";

AccountBookEntryDialog::AccountBookEntryDialog() : KeypadDialog(kPayeeAccount) {
  addAction("btnOK:", [this](appkit::View* sender) { btnOK(sender); });
  addAction("cmbBankID:", [this](appkit::View* sender) { cmbBankID(sender); });
  addAction("cbInAccount:", [this](appkit::View*) { cbInAccountStateOn(); });
  // The text fields take typed text; their actions do nothing.
  addAction("edtComment:", [](appkit::View*) {});
  addAction("edtEmail:", [](appkit::View*) {});
}

AccountBookEntryDialog::~AccountBookEntryDialog() = default;

void AccountBookEntryDialog::windowDidLoad() {
  KeypadDialog::windowDidLoad();
  // The owner sets the seconds; until it does, the first tick ends the dialog.
  startCountdownTimer();
  if (!setUpKeypad()) return;
  nSelectedBankID = nToAdd = nResultPageToAdd = 0;
  returnValue = 0;
}

void AccountBookEntryDialog::SetBankIDList(const std::string& list) {
  csBankIDList = list;
  PutBankNoToList();
}

void AccountBookEntryDialog::SetBankDiffData(const std::vector<std::string>& records) {
  BankDiffData = records;
  PutBankNoToList();
}

void AccountBookEntryDialog::PutBankNoToList() {
  appkit::ComboBox& combo = *cmbBankIDOutlet;
  combo.removeAllItems();
  combo.addItemWithObjectValue(padded(kBankPlaceholder));
  combo.selectItemAtIndex(0);
  CParseEncParam().SplitString_1(csBankIDList.c_str(), '#', BankNO_List);
  for (const std::string& bank : BankNO_List)
    if (bank.size() >= kShortestBankItem) combo.addItemWithObjectValue(padded(bank));
  if (!flagBankDiff) return;
  for (const std::string& record : BankDiffData) {
    if (record.size() < kBankCodeLength + 1) continue;
    const std::string code = record.substr(0, kBankCodeLength);
    const char operation = record[kBankCodeLength];
    const std::string item = padded(code + record.substr(kBankCodeLength + 1));
    const int at = itemHolding(combo, code);
    if (operation == 'A') {
      combo.addItemWithObjectValue(item);
    } else if (operation == 'U' && at > 0) {
      combo.removeItemAtIndex(at);
      combo.insertItemWithObjectValue(item, at);
    } else if (operation == 'D' && at > 0) {
      combo.removeItemAtIndex(at);
    }
  }
  combo.selectItemAtIndex(0);
}

void AccountBookEntryDialog::SetBankID(const std::string& bank) {
  BankID = bank.substr(0, kBankCodeLength);
  nSelectedBankID = std::atoi(BankID.c_str());
}

void AccountBookEntryDialog::SetIn_Acct(const std::string& account) {
  if (nToAdd == 1) {
    cmbBankIDOutlet->selectItemAtIndex(0);
    In_ACCT.clear();
    show(cbInAccountOutlet.operator->(), "", kAccountWidth);
    return;
  }
  const std::string code = string_format("%03d", nSelectedBankID);
  appkit::ComboBox& combo = *cmbBankIDOutlet;
  for (int i = 0; i < combo.numberOfItems(); ++i) {
    if (combo.itemObjectValueAtIndex(i).compare(0, kBankCodeLength, code) == 0) {
      combo.selectItemAtIndex(i);
      break;
    }
  }
  if (!isBookAccount(account)) {
    // Never cut or replace digits of a proposed account: the customer types it instead.
    In_ACCT.clear();
    ShowIn_ACCT.clear();
    show(cbInAccountOutlet.operator->(), "", kAccountWidth);
    return;
  }
  In_ACCT = labelsOf(account);
  ShowIn_ACCT = In_ACCT;
  cbInAccountOutlet->setState(1);
  show(cbInAccountOutlet.operator->(), account, kAccountWidth);
}

void AccountBookEntryDialog::SetcsComment(const std::string& comment) {
  csComment = comment;
  edtComment->setStringValue(comment);
}

void AccountBookEntryDialog::SetcsEmail(const std::string& email) {
  csEmail = email;
  edtEmail->setStringValue(email);
}

void AccountBookEntryDialog::cmbBankID(appkit::View*) {
  const appkit::ComboBox& combo = *cmbBankIDOutlet;
  BankID = combo.objectValueOfSelectedItem().substr(0, kBankCodeLength);
  nSelectedBankID = combo.indexOfSelectedItem();
  cbInAccountOutlet->setState(0);
}

void AccountBookEntryDialog::btnOK(appkit::View*) {
  if (hasEnded()) return;
  const bool adding = nResultPageToAdd == 1 || nToAdd == 1;
  if (MessageBox(adding ? kAddQuestion : kModifyQuestion, "", 3) != 6) return;
  if (hasEnded() || !entryAccepted()) return;
  endDialog(kConfirmed);
}

bool AccountBookEntryDialog::entryAccepted() {
  if (cmbBankIDOutlet->indexOfSelectedItem() <= 0) return tell(kNoBank), false;
  if (In_ACCT.empty()) return tell(kNoAccount), false;
  const std::string account = GetIn_Acct();
  const bool postalRefused = BankID == kPostalBank && !postalBookAccountPasses(account);
  if (postalRefused || account.size() > kAccountWidth) {
    tell(postalRefused ? kWrongPostalAccount : kAccountTooLong);
    cbInAccountStateOn();
    ClearInput();
    return false;
  }

  csComment = edtComment->stringValue();
  if (strLength(csComment) > kMaxCommentCharacters) {
    tell(kCommentTooLong);
    edtComment->setStringValue("");
    return false;
  }
  trimLeft(csComment, ' ');
  trimRight(csComment, ' ');
  if (csComment.empty()) return tell(kNoComment), false;
  if (testsCommentSyntax() && CheckCommentSyntax(csComment) != 0) return tell(kCommentRefused), false;

  csEmail = edtEmail->stringValue();
  if (csEmail.empty()) return true;
  std::vector<std::string> addresses;
  CParseEncParam().SplitString_1(csEmail.c_str(), ';', addresses);
  for (const std::string& address : addresses) {
    if (!CheckEmailFormat(address.c_str())) return tell(kEmailMalformed), false;
    if (CheckInvaildKeyWord(address) == 100) return tell(kEmailRefused), false;
  }
  return true;
}

appkit::Layout accountBookEntryLayout(const std::string& name) {
  using namespace appkit::layout;
  std::vector<appkit::LayoutItem> items = {
      label("", rect(20, 16, 420, 26), "常用轉入帳號").withFontSize(16).withBold(),
      label("", rect(20, 60, 100, 26), "轉入銀行"),
      comboBox("cmbBankID", rect(120, 58, 360, 28), "cmbBankID:", {}),
      label("", rect(20, 102, 100, 26), "轉入帳號"),
      keypad_layout::display("cbInAccount", rect(120, 96, 260, 40), "cbInAccount:"),
      label("", rect(20, 150, 100, 26), "備註/別名"),
      textField("edtComment", rect(120, 148, 260, 28)).withEditable().withAction("edtComment:"),
      label("", rect(20, 192, 100, 26), "Email"),
      textField("edtEmail", rect(120, 190, 360, 28)).withEditable().withAction("edtEmail:"),
      label("", rect(20, 238, 100, 26), "剩餘秒數"),
      textField("tfTimer", rect(120, 236, 80, 28)),
      button("btnOK", rect(20, 300, 120, 36), "確定", "btnOK:"),
      button("btnCancel", rect(150, 300, 120, 36), "取消", "CloseWindow:"),
  };
  keypad_layout::append(items, keypad_layout::keysWithoutBackspace(300, 236));
  return appkit::Layout{name, "常用轉入帳號", {520, 480}, std::move(items), "CloseWindow:"};
}
