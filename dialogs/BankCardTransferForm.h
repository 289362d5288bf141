#pragma once

#include <string>
#include <vector>

#include "RuledTransferForm.h"
#include "TransferFormLayout.h"

// The forms paid from another bank's card (TransFBANK2BANK, TransFBANK2RODA, TransFBANK2POSTTRANSFER):
// the paying bank's name, and the card's accounts in cmbOutAccount. The account the customer selects
// there is the one that pays: GetCardAccount gives it (trailing blanks removed) and AccountIdx its place
// in the card's list (1 for the first), which becomes the card account index of the card step. Agreed
// payees are the card's application accounts ("bank code, 5 characters, account"), shown as
// "bank-account"; a form whose payee is postal offers only those of bank 700.
class BankCardTransferForm : public RuledTransferForm {
 public:
  BankCardTransferForm(const FormRow& row, const PayeeRule* rule, std::size_t payeePlaceholder);

  void windowDidLoad() override;

  // Stores the paying bank's code and shows its entry of the bank list.
  void SetBankID(const std::string& id) override;
  // Appends the card's accounts and lists them all; the first is selected and pays until another is.
  void AppendCardAccountAry(const std::vector<std::string>& accounts) override;
  void cmbOutAccount(appkit::View* sender);

  int AccountIdx() const { return nAccountIdx; }
  void setAccountIdx(int index) { nAccountIdx = index; }

  // The rows these forms have above the family's: paying bank, paying account (and the payee bank).
  static std::vector<transfer_form_layout::OwnRow> ownRows(bool payeeBankList);

 protected:
  std::string agreedItem(const std::string& entry) const override;

  int nAccountIdx = 1;

 public:
  appkit::Outlet<appkit::TextField> tfBankID_Name{this, "tfBankID_Name"};
  appkit::Outlet<appkit::ComboBox> cmbOutAccountOutlet{this, "cmbOutAccount"};

 private:
  void PutOut_AcctToList();
  void payFromItem(int index);

  const std::size_t payeePlaceholder_;
};
