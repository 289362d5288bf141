#pragma once

#include <string>
#include <vector>

#include "RuledTransferForm.h"
#include "TransferFormLayout.h"

// The forms that pay a postal savings account from a postal card (TransFPOST2RODA) or from its giro
// account (TransFPOSTTRANSFER2RODA): the payee is 14 digits, each 7-digit half closed by its postal check
// digit; agreed payees are "account$text" entries shown as "account text"; the account book offers its
// entries of bank 700; the limits apply by how the payee was given; and the transaction type picked in
// cmbTxType goes back to the page (TxTypeIdx, read when OK passed the amount).
class PostalSavingsTransferForm : public RuledTransferForm {
 public:
  // The transaction types, by the index the form reports (0, the first, is the default).
  static const std::vector<std::string> kTxTypes;

  PostalSavingsTransferForm(const FormRow& row, std::size_t payeePlaceholder);

  void windowDidLoad() override;

  int TxTypeIdx() const { return nTxTypeIdx; }

  // The rows these forms have above the family's: the paying account and the transaction type.
  static std::vector<transfer_form_layout::OwnRow> ownRows();

 protected:
  std::string agreedItem(const std::string& entry) const override;
  PayeePick agreedPick(const std::string& item) const override;
  void ownChoicesAtOk() override;

  int nTxTypeIdx = 0;

 public:
  appkit::Outlet<appkit::ComboBox> cmbTxType{this, "cmbTxType"};

 private:
  const std::size_t payeePlaceholder_;
};
