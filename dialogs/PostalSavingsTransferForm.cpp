#include "PostalSavingsTransferForm.h"

const std::vector<std::string> PostalSavingsTransferForm::kTxTypes = {"一般轉帳", "薪資轉帳", "繳納費用"};

PostalSavingsTransferForm::PostalSavingsTransferForm(const FormRow& row, std::size_t payeePlaceholder)
    : PostalPayeeTransferForm(row, &kPostalSavingsPayeeRule, payeePlaceholder) {}

void PostalSavingsTransferForm::windowDidLoad() {
  PostalPayeeTransferForm::windowDidLoad();
  cmbTxType->selectItemAtIndex(0);
}

void PostalSavingsTransferForm::ownChoicesAtOk() { nTxTypeIdx = cmbTxType->indexOfSelectedItem(); }

std::vector<transfer_form_layout::OwnRow> PostalSavingsTransferForm::ownRows() {
  using namespace appkit::layout;
  return {
      payingAccountRow(),
      {"交易類別", comboBox("cmbTxType", rect(0, 0, 0, 0), "", kTxTypes)},
  };
}
