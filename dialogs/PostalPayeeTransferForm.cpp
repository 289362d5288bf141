#include "PostalPayeeTransferForm.h"

PostalPayeeTransferForm::PostalPayeeTransferForm(const FormRow& row, const PayeeRule* rule,
                                                 std::size_t payeePlaceholder)
    : RuledTransferForm(row, rule), payeePlaceholder_(payeePlaceholder) {}

void PostalPayeeTransferForm::windowDidLoad() {
  RuledTransferForm::windowDidLoad();
  show(cbInAccountOutlet.operator->(), "", payeePlaceholder_);
}

// "account$text" is shown as "account text"; an entry without its text is not offered.
std::string PostalPayeeTransferForm::agreedItem(const std::string& entry) const {
  const std::string::size_type dollar = entry.find('$');
  if (dollar == std::string::npos || dollar == 0 || dollar + 1 >= entry.size()) return std::string();
  std::string text = entry.substr(dollar + 1);
  const std::string::size_type second = text.find('$');
  if (second != std::string::npos) text.erase(second);
  if (text.empty()) return std::string();
  return entry.substr(0, dollar) + " " + text;
}

// The account is the item's text before its first blank.
TransferForm::PayeePick PostalPayeeTransferForm::agreedPick(const std::string& item) const {
  PayeePick pick;
  pick.account = item.substr(0, item.find(' '));
  return pick;
}

transfer_form_layout::OwnRow PostalPayeeTransferForm::payingAccountRow() {
  using namespace appkit::layout;
  return {"轉出帳號", textField("edtOutAccount", rect(0, 0, 300, 30))};
}
