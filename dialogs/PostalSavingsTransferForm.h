#pragma once

#include <string>
#include <vector>

#include "PostalPayeeTransferForm.h"
#include "TransferFormLayout.h"

// The forms that pay a postal savings account from a postal card (TransFPOST2RODA) or from its giro
// account (TransFPOSTTRANSFER2RODA): the payee is 14 digits, each 7-digit half closed by its postal check
// digit; the lists and limits are the postal-payee forms'; and the transaction type picked in cmbTxType
// goes back to the page (TxTypeIdx, read when OK passed the amount).
class PostalSavingsTransferForm : public PostalPayeeTransferForm {
 public:
  // The transaction types, by the index the form reports (0, the first, is the default).
  static const std::vector<std::string> kTxTypes;

  PostalSavingsTransferForm(const FormRow& row, std::size_t payeePlaceholder);

  void windowDidLoad() override;

  int TxTypeIdx() const { return nTxTypeIdx; }

  // The rows these forms have above the family's: the paying account and the transaction type.
  static std::vector<transfer_form_layout::OwnRow> ownRows();

 protected:
  void ownChoicesAtOk() override;

  int nTxTypeIdx = 0;

 public:
  appkit::Outlet<appkit::ComboBox> cmbTxType{this, "cmbTxType"};
};
