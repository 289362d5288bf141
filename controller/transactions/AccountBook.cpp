// The account book of frequent payees: the page hands the book (or one proposed entry) over in its
// enciphered parameter blocks, the customer edits it in the account-book dialogs, and the edited book
// goes back sealed like a request. No card and no reader are touched.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>

#include "AccountBookEntry.h"
#include "CommACCTADD.h"
#include "CommACCTSET.h"
#include "MessageBox.h"
#include "TransactionCodes.h"
#include "ZododovuRavuVODCtrl.h"
#include "appkit/Application.h"
#include "card/TextHelpers.h"
#include "crypto/ParseEncParam.h"
#include "crypto/Setting.h"

namespace {
const char* const kParameterError = "元件參數錯誤，請確認元件版本是否正確";
constexpr int kCriticalMessage = 2;
constexpr int kEntrySeconds = 600;

// One parameter block: where the page left it, its number, and its clear text once opened.
struct Block {
  const std::string& cipherText;
  int number;
  std::string clearText;
};

// Opens each block the page set; 0, or 9810 + the number of the first one that opens to nothing
// (9815 when a block is set and the IV block is unreadable: a zero IV would garble only each block's
// first eight characters and let the rest through). A block the page left empty is simply absent.
long openBlocks(const std::string& ivBlock, std::initializer_list<Block*> blocks) {
  CParseEncParam parser;
  unsigned char iv[16] = {};
  const bool ivRead = parser.GetParam_IV(ivBlock, iv) == 0;
  for (Block* block : blocks) {
    if (block->cipherText.empty()) continue;
    if (!ivRead) return rc::kParameterEmptyBase + 5;
    block->clearText = parser.GetStringFromEncData(block->cipherText, iv);
    if (block->clearText.empty()) return rc::kParameterEmptyBase + block->number;
  }
  return 0;
}

std::vector<std::string> splitAtHash(const std::string& text) {
  std::vector<std::string> pieces;
  CParseEncParam().SplitString_1(text.c_str(), '#', pieces);
  return pieces;
}

// The leading digits of the limit, read as a 64-bit number and held within the int the list takes (no
// wrap-around: a book never holds INT_MAX entries, so a larger limit compares the same); 0 without digits.
int entryLimit(const std::string& text) {
  return static_cast<int>(std::clamp<long>(numberValue(text), INT_MIN, INT_MAX));
}

// Runs a dialog whose window loaded; a dialog without one counts as cancelled.
int runDialog(DialogFrame& dialog) {
  appkit::Window* window = dialog.window();
  if (window == nullptr) return DialogFrame::kCancelled;
  if (!dialog.hasEnded()) appkit::app().runModalForWindow(window);
  return dialog.GetReturnCode();
}
}  // namespace

long ZododovuRavuVODCtrl::LoadBankIDList() {
  BankIDListText = BankIDtxtList;
  return 0;
}

long ZododovuRavuVODCtrl::CommACCT_Set() {
  TrnsMsg.clear();
  Block changes{bh_d0, 0, {}}, book{bh_d9, 9, {}}, limit{bh_d10, 10, {}};
  if (long refused = openBlocks(bh_d5, {&changes, &book, &limit})) return refuseStep(refused);

  auto dialog = std::make_unique<CommACCTSET>();
  dialog->initWithWindowNibName("CommACCTSET");
  try {
    dialog->SetflagBankDiff(changes.clearText.empty() ? 0 : 1);
    if (!changes.clearText.empty()) dialog->SetBankDiffData(splitAtHash(changes.clearText));
    if (!book.clearText.empty()) dialog->SetCommACCT(splitAtHash(book.clearText));
    if (!limit.clearText.empty()) dialog->SetCommACCT_count_limit(entryLimit(limit.clearText));
  } catch (const std::exception&) {
    // Only the list's own window is dropped; whatever session runs beneath this call goes on.
    MessageBox(kParameterError, "", kCriticalMessage);
    return refuseStep(rc::kParameterUnparsable);
  }
  LoadBankIDList();
  dialog->SetBankIDList(BankIDListText);

  const int code = runDialog(*dialog);
  if (code == DialogFrame::kConfirmed) return lastResult = finishRequest(dialog->GetxmlCommACCT());
  return refuseStep(code == DialogFrame::kCancelled ? rc::kCancelled : code);
}

long ZododovuRavuVODCtrl::CommACCT_Add() {
  TrnsMsg.clear();
  Block changes{bh_d0, 0, {}}, proposal{bh_d9, 9, {}};
  if (long refused = openBlocks(bh_d5, {&changes, &proposal})) return refuseStep(refused);

  std::string entryText = proposal.clearText;
  trimRight(entryText, '#');
  const AccountBookEntry entry = readAccountBookEntry(entryText);

  auto dialog = std::make_unique<CommACCTADD>();
  dialog->initWithWindowNibName("CommACCTADD");
  LoadBankIDList();
  dialog->SetBankIDList(BankIDListText);
  dialog->SetnResultPageToAdd(1);
  dialog->SetnToAdd(0);
  dialog->SetCounter(kEntrySeconds);
  if (!changes.clearText.empty()) {
    dialog->SetflagBankDiff(1);
    dialog->SetBankDiffData(splitAtHash(changes.clearText));
  }
  // Without a proposed entry the dialog opens empty, as for a new entry of the list.
  if (!entryText.empty()) {
    dialog->SetnSelectedBankID(std::atoi(entry.bank.c_str()));
    dialog->SetBankID(entry.bank);
    dialog->SetIn_Acct(entry.account);
  }
  if (entry.hasComment) dialog->SetcsComment(entry.shownComment());
  if (entry.hasEmail) dialog->SetcsEmail(entry.shownEmail());

  const int code = runDialog(*dialog);
  if (code == DialogFrame::kConfirmed)
    return lastResult = finishRequest(accountBookRecordXml(dialog->GetBankID(), dialog->GetIn_Acct(),
                                                           dialog->GetcsComment(), dialog->GetcsEmail()));
  return refuseStep(code == DialogFrame::kCancelled ? rc::kCancelled : code);
}
