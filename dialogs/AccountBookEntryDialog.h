#pragma once

#include <string>
#include <vector>

#include "KeypadDialog.h"
#include "appkit/Layout.h"

// What the two account-book entry dialogs share: one payee entry, its bank chosen from the bank list
// (corrected by the page's bank-change records), its account typed only on the scrambled keypad (or
// prefilled), a comment and an e-mail field typed as text. OK tests the entry and ends with 0 so the
// owner reads the four values; the owner sets the countdown (SetCounter) before it runs the dialog.
//
// Modes: added from the list (nToAdd 1: empty fields, comment syntax tested), modified from the list
// (both 0: prefilled, no comment syntax test), proposed by the page (nResultPageToAdd 1).
class AccountBookEntryDialog : public KeypadDialog {
 public:
  AccountBookEntryDialog();
  ~AccountBookEntryDialog() override;

  void windowDidLoad() override;

  // Copies the bank list ("#"-separated entries of a 3-digit code and a name) and rebuilds the combo.
  void SetBankIDList(const std::string& list);
  void SetflagBankDiff(int flag) { flagBankDiff = flag; }
  // Bank-change records: code, "A" (add), "U" (update) or "D" (delete), name. Rebuilds the combo.
  void SetBankDiffData(const std::vector<std::string>& records);
  void SetnSelectedBankID(int value) { nSelectedBankID = value; }
  void SetnToAdd(int value) { nToAdd = value; }
  void SetnResultPageToAdd(int value) { nResultPageToAdd = value; }
  // Keeps the first 3 characters as the bank and their value as the bank to select.
  void SetBankID(const std::string& bank);
  // The plain account: selects the entry's bank and shows the account, or (when adding) empties both.
  // Only 1 to 16 ASCII digits are taken; anything else leaves the account empty for the customer.
  void SetIn_Acct(const std::string& account);
  void SetcsComment(const std::string& comment);
  void SetcsEmail(const std::string& email);

  std::string GetBankID() const { return BankID; }
  std::string GetcsComment() const { return csComment; }
  std::string GetcsEmail() const { return csEmail; }

  void btnOK(appkit::View* sender);
  // The customer picks a bank: its code is taken and the account display stops taking digits (until
  // it is clicked again: action cbInAccount:).
  void cmbBankID(appkit::View* sender);

  static const char* const kBankPlaceholder;
  static constexpr int kItemPadding = 60;

 protected:
  // The bank combo from the list and, when flagged, the change records.
  void PutBankNoToList();
  // The check after the add or modify question: false with its message shown when the entry is refused.
  bool entryAccepted();
  bool testsCommentSyntax() const { return nToAdd != 0 || nResultPageToAdd == 1; }

  int nSelectedBankID = 0;
  std::string BankID;
  std::string csComment;
  std::string csEmail;
  std::vector<std::string> BankDiffData;
  int flagBankDiff = 0;
  std::string csBankIDList;
  std::vector<std::string> BankNO_List;
  int nResultPageToAdd = 0;
  int nToAdd = 0;

 public:
  appkit::Outlet<appkit::ComboBox> cmbBankIDOutlet{this, "cmbBankID"};
  appkit::Outlet<appkit::TextField> edtComment{this, "edtComment"};
  appkit::Outlet<appkit::TextField> edtEmail{this, "edtEmail"};
};

// The window both entry dialogs show, under the name of each.
appkit::Layout accountBookEntryLayout(const std::string& name);
