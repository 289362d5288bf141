#include "CommACCTSET.h"

#include <cstdlib>
#include <memory>

#include "AccountBookEntry.h"
#include "CommACCTMDFY.h"
#include "MessageBox.h"
#include "appkit/Layout.h"
#include "appkit/WindowLevel.h"
#include "card/StringFormat.h"

namespace {
using namespace appkit::layout;

const appkit::LayoutRegistration kLayout(appkit::Layout{
    "CommACCTSET",
    "常用轉入帳號設定",
    {640, 420},
    {
        label("", rect(20, 14, 400, 26), "常用轉入帳號").withFontSize(16).withBold(),
        label("", rect(440, 16, 100, 24), "剩餘秒數"),
        textField("tfTimer", rect(540, 14, 80, 26)),
        tableView("mCommonAccount", rect(20, 50, 600, 290),
                  {{"BankID", "銀行代號", 80},
                   {"InAccount", "帳號", 170},
                   {"Comment", "備註/別名", 140},
                   {"Email", "Email", 210}}),
        button("btnADD", rect(20, 360, 90, 34), "新增", "btnADD:"),
        button("btnMDFY", rect(120, 360, 90, 34), "修改", "btnMDFY:"),
        button("btnDEL", rect(220, 360, 90, 34), "刪除", "btnDEL:"),
        button("btnOK", rect(420, 360, 90, 34), "確定", "btnOK:"),
        button("btnCANCEL", rect(530, 360, 90, 34), "取消", "btnCANCEL:"),
    },
    "btnCANCEL:"});

const char* const kLimitMessage = "已達系統允許資料筆數值(最大筆數為:%02d)";
const char* const kDuplicateComment = "備註/別名欄位資料重複！";
const char* const kSelectOne = "請選擇一個項目";
const char* const kDeleteQuestion = "是否確定刪除以上勾選１筆資料";

std::string entryText(const CommACCTObj& row) {
  return writeAccountBookEntry(row.BankID, row.InAccount, row.Comment, row.Email);
}
}  // namespace

CommACCTSET::CommACCTSET() {
  addAction("btnADD:", [this](appkit::View* sender) { btnADD(sender); });
  addAction("btnMDFY:", [this](appkit::View* sender) { btnMDFY(sender); });
  addAction("btnDEL:", [this](appkit::View* sender) { btnDEL(sender); });
  addAction("btnOK:", [this](appkit::View* sender) { btnOK(sender); });
  addAction("btnCANCEL:", [this](appkit::View* sender) { btnCANCEL(sender); });
}

bool CommACCTSET::initWithWindowNibName(const std::string& nibName) {
  return appkit::WindowController::initWithWindowNibName(nibName);
}

void CommACCTSET::windowDidLoad() {
  DialogFrame::windowDidLoad();
  startCountdown(kSeconds);
  mContentArray.clear();
  for (const std::string& text : CommACCT) {
    const AccountBookEntry entry = readAccountBookEntry(text);
    mContentArray.push_back({entry.bank, entry.account, entry.shownComment(), entry.shownEmail()});
  }
  mCommonAccount->reloadData();
}

void CommACCTSET::updateTimer() {
  if (hasEnded()) return;
  if (--Counter > 0) {
    tfTimer->setIntegerValue(static_cast<long>(Counter));
    return;
  }
  endDialog(kTimedOut, ModalEnd::Stop);
}

int CommACCTSET::numberOfRowsInTableView(appkit::TableView&) { return static_cast<int>(mContentArray.size()); }

std::string CommACCTSET::tableViewObjectValue(appkit::TableView&, const std::string& columnIdentifier, int row) {
  if (row < 0 || row >= static_cast<int>(mContentArray.size())) return std::string();
  const CommACCTObj& shown = mContentArray[static_cast<std::size_t>(row)];
  if (columnIdentifier == "BankID") return shown.BankID;
  if (columnIdentifier == "InAccount") return shown.InAccount;
  if (columnIdentifier == "Comment") return shown.Comment;
  if (columnIdentifier == "Email") return shown.Email;
  return std::string();
}

CommACCTSET::EntryValues CommACCTSET::runEntryDialog(const CommACCTObj* row) {
  auto child = std::make_unique<CommACCTMDFY>();
  child->initWithWindowNibName("CommACCTMDFY");
  child->SetBankIDList(csBankIDList);
  if (row == nullptr) {
    child->SetnSelectedBankID(-1);
    child->SetnToAdd(1);
    child->SetIn_Acct("");
    child->SetcsComment("");
    child->SetcsEmail("");
  }
  if (flagBankDiff == 1) {
    child->SetflagBankDiff(1);
    child->SetBankDiffData(BankDiffData);
  }
  if (row != nullptr) {
    // The bank list is complete now, so the entry's own bank can be selected in it.
    child->SetnSelectedBankID(std::atoi(row->BankID.substr(0, 3).c_str()));
    child->SetBankID(row->BankID);
    child->SetIn_Acct(row->InAccount);
    child->SetcsComment(row->Comment);
    child->SetcsEmail(row->Email);
    child->SetnToAdd(0);
  }

  // One countdown for the list and its child: the child counts on from the list's seconds.
  stopCountdown();
  child->SetCounter(static_cast<int>(Counter));
  if (!child->hasEnded()) appkit::app().runModalForWindow(child->window());
  EntryValues values;
  values.code = child->GetReturnCode();
  Counter = child->GetCounter();
  if (values.code == kTimedOut) {
    // The time of the whole book is up: the list ends at once, before anything else can happen.
    endDialog(kTimedOut, ModalEnd::Stop);
    return values;
  }
  startCountdownTimer();
  if (values.code == kConfirmed)
    values.row = {child->GetBankID(), child->GetIn_Acct(), child->GetcsComment(), child->GetcsEmail()};
  return values;
}

void CommACCTSET::btnADD(appkit::View*) {
  if (hasEnded()) return;
  if (static_cast<long>(mContentArray.size()) >= CommACCT_count_limit) {
    MessageBox(string_format(kLimitMessage, CommACCT_count_limit), "", 1);
    return;
  }
  const EntryValues added = runEntryDialog(nullptr);
  if (added.code != kConfirmed || hasEnded()) return;
  if (CheckDuplicateComment(added.row.Comment) != 0) {
    MessageBox(kDuplicateComment, "", 1);
    return;
  }
  CommACCT.push_back(entryText(added.row));
  addRow(added.row);
}

void CommACCTSET::btnMDFY(appkit::View*) {
  if (hasEnded() || !oneRowSelected()) return;
  const int index = mCommonAccount->selectedRow();
  if (index < 0 || index >= static_cast<int>(mContentArray.size())) return;
  const CommACCTObj old = mContentArray[static_cast<std::size_t>(index)];
  const EntryValues changed = runEntryDialog(&old);
  if (changed.code != kConfirmed || hasEnded()) return;
  if (changed.row.Comment != old.Comment && CheckDuplicateComment(changed.row.Comment) != 0) {
    MessageBox(kDuplicateComment, "", 1);
    return;
  }
  mContentArray[static_cast<std::size_t>(index)] = changed.row;
  mCommonAccount->reloadData();
  PutListToComm_Acct();
}

void CommACCTSET::btnDEL(appkit::View*) {
  if (hasEnded() || !oneRowSelected()) return;
  const int index = mCommonAccount->selectedRow();
  mCommonAccount->abortEditing();
  if (index >= 0 && index < static_cast<int>(mContentArray.size())) {
    if (MessageBox(kDeleteQuestion, "", 3) != 6 || hasEnded()) return;
    removeRow(index);
  }
  mCommonAccount->reloadData();
  PutListToComm_Acct();
}

void CommACCTSET::btnOK(appkit::View*) {
  if (hasEnded()) return;
  xmlCommACCT = accountBookXml(CommACCT);
  leaveScreen();
  endDialog(kConfirmed, ModalEnd::Stop);
}

void CommACCTSET::btnCANCEL(appkit::View*) {
  if (hasEnded()) return;
  leaveScreen();
  endDialog(kCancelled, ModalEnd::Abort);
}

int CommACCTSET::CheckDuplicateComment(const std::string& comment) const {
  for (const std::string& text : CommACCT) {
    const AccountBookEntry entry = readAccountBookEntry(text);
    if (entry.hasComment && entry.comment == comment) return -1;
  }
  return 0;
}

void CommACCTSET::PutListToComm_Acct() {
  CommACCT.clear();
  for (const CommACCTObj& row : mContentArray) CommACCT.push_back(entryText(row));
}

void CommACCTSET::addRow(const CommACCTObj& row) {
  mContentArray.push_back(row);
  mCommonAccount->reloadData();
}

void CommACCTSET::removeRow(int index) {
  mContentArray.erase(mContentArray.begin() + index);
  mCommonAccount->reloadData();
}

bool CommACCTSET::oneRowSelected() {
  if (mCommonAccount->numberOfSelectedRows() == 1) return true;
  MessageBox(kSelectOne, "", 1);
  return false;
}

void CommACCTSET::leaveScreen() {
  appkit::Window* w = isWindowLoaded() ? window() : nullptr;
  if (!w) return;
  w->setLevel(appkit::windowLevelForKey(appkit::kMinimumWindowLevelKey));
  w->orderOut();
}
