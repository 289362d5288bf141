#pragma once

#include <string>
#include <vector>

#include "DialogFrame.h"

// One row of the account-book table: what the customer sees ("null" fields shown empty).
struct CommACCTObj {
  std::string BankID;
  std::string InAccount;
  std::string Comment;
  std::string Email;
};

// The account book's list window: the entries in a table (not editable in place), add and modify
// through the entry dialog CommACCTMDFY, delete after a question, all under one 600-second countdown
// that the entry dialog continues while it runs. OK writes the whole book as XML (GetxmlCommACCT).
//
// The window loads only when the owner first asks for it, after all the setters. The entry texts
// (CommACCT) and the rows (mContentArray) always hold the same entries in the same order.
class CommACCTSET : public DialogFrame, public appkit::TableDataSource {
 public:
  static constexpr int kSeconds = 600;

  CommACCTSET();

  // Remembers the layout; the window comes when window() is first asked for.
  bool initWithWindowNibName(const std::string& nibName) override;
  void windowDidLoad() override;
  // At zero the list ends with 9950 and stops its own session.
  void updateTimer() override;

  void SetflagBankDiff(int flag) { flagBankDiff = flag; }
  void SetBankDiffData(const std::vector<std::string>& records) { BankDiffData = records; }
  void SetCommACCT(const std::vector<std::string>& entries) { CommACCT = entries; }
  void SetCommACCT_count_limit(int limit) { CommACCT_count_limit = limit; }
  void SetBankIDList(const std::string& list) { csBankIDList = list; }
  std::string GetxmlCommACCT() const { return xmlCommACCT; }

  // The table's data source. Cells are not edited in place: an entry changes only through the entry
  // dialog, which tests it.
  int numberOfRowsInTableView(appkit::TableView& table) override;
  std::string tableViewObjectValue(appkit::TableView& table, const std::string& columnIdentifier, int row) override;

  void btnADD(appkit::View* sender);
  void btnMDFY(appkit::View* sender);
  void btnDEL(appkit::View* sender);
  void btnOK(appkit::View* sender);
  void btnCANCEL(appkit::View* sender);

  // -1 when another entry of the book already carries this comment (exactly), else 0.
  int CheckDuplicateComment(const std::string& comment) const;

  const std::vector<std::string>& entries() const { return CommACCT; }

  appkit::Outlet<appkit::TableView> mCommonAccount{this, "mCommonAccount"};
  appkit::Outlet<appkit::Button> btnADDOutlet{this, "btnADD"};
  appkit::Outlet<appkit::Button> btnMDFYOutlet{this, "btnMDFY"};
  appkit::Outlet<appkit::Button> btnDELOutlet{this, "btnDEL"};
  appkit::Outlet<appkit::Button> btnOKOutlet{this, "btnOK"};
  appkit::Outlet<appkit::Button> btnCANCELOutlet{this, "btnCANCEL"};

 private:
  struct EntryValues {
    int code = kCancelled;
    CommACCTObj row;
  };
  // Runs the entry dialog under the list's remaining seconds; its code and, after 0, its values.
  // `row` prefills it for a modify; none opens it empty for an add.
  EntryValues runEntryDialog(const CommACCTObj* row);
  // Rows and entry texts again from the table's rows.
  void PutListToComm_Acct();
  void addRow(const CommACCTObj& row);
  void removeRow(int index);
  bool oneRowSelected();
  void leaveScreen();

  std::vector<std::string> CommACCT;
  int CommACCT_count_limit = 0;
  std::string xmlCommACCT;
  std::vector<std::string> BankDiffData;
  int flagBankDiff = 0;
  std::string csBankIDList;
  std::vector<CommACCTObj> mContentArray;
};
