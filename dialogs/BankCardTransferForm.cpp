#include "BankCardTransferForm.h"

#include "card/TextHelpers.h"

namespace {
// An application account: the bank code, five characters the list skips, then the account.
constexpr std::string::size_type kAccountStart = 8;
}  // namespace

BankCardTransferForm::BankCardTransferForm(const FormRow& row, const PayeeRule* rule, std::size_t payeePlaceholder)
    : RuledTransferForm(row, rule), payeePlaceholder_(payeePlaceholder) {
  addAction("cmbOutAccount:", [this](appkit::View* sender) { cmbOutAccount(sender); });
}

void BankCardTransferForm::windowDidLoad() {
  RuledTransferForm::windowDidLoad();
  cmbOutAccountOutlet->removeAllItems();
  show(cbInAccountOutlet.operator->(), "", payeePlaceholder_);
}

void BankCardTransferForm::SetBankID(const std::string& id) {
  RuledTransferForm::SetBankID(id);
  BankIDName = GetBankNoName(id);
  tfBankID_Name->setStringValue(BankIDName);
}

void BankCardTransferForm::AppendCardAccountAry(const std::vector<std::string>& accounts) {
  RuledTransferForm::AppendCardAccountAry(accounts);
  PutOut_AcctToList();
  cmbOutAccountOutlet->selectItemAtIndex(0);
  payFromItem(0);
}

void BankCardTransferForm::PutOut_AcctToList() {
  cmbOutAccountOutlet->removeAllItems();
  for (const std::string& account : CardAccountAry) cmbOutAccountOutlet->addItemWithObjectValue(account);
}

void BankCardTransferForm::cmbOutAccount(appkit::View*) {
  if (hasEnded()) return;
  payFromItem(cmbOutAccountOutlet->indexOfSelectedItem());
}

// The selected account pays: its text for the confirmation, its place for the card record.
void BankCardTransferForm::payFromItem(int index) {
  if (index < 0 || index >= static_cast<int>(CardAccountAry.size())) {
    CardAccount.clear();
    return;
  }
  CardAccount = trimRightReturn(CardAccountAry[static_cast<std::size_t>(index)]);
  nAccountIdx = index + 1;
}

std::string BankCardTransferForm::agreedItem(const std::string& entry) const {
  // An entry with no account after the skipped characters names nobody.
  if (entry.size() <= kAccountStart) return std::string();
  const std::string bank = entry.substr(0, 3);
  if (row_.postalBookEntriesOnly && bank != "700") return std::string();
  return bank + "-" + entry.substr(kAccountStart);
}

std::vector<transfer_form_layout::OwnRow> BankCardTransferForm::ownRows(bool payeeBankList) {
  using namespace appkit::layout;
  std::vector<transfer_form_layout::OwnRow> rows = {
      {"轉出銀行", textField("tfBankID_Name", rect(0, 0, 300, 30))},
      {"轉出帳號", comboBox("cmbOutAccount", rect(0, 0, 0, 0), "cmbOutAccount:")},
  };
  if (payeeBankList) rows.push_back({"轉入銀行", comboBox("cmbBankNo", rect(0, 0, 0, 0), "cmbBankNo:")});
  return rows;
}
