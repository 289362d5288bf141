#pragma once

#include <string>
#include <vector>

#include "RuledTransferForm.h"
#include "TransferFormLayout.h"

// The forms whose payee is a postal account, paid from a postal card or its giro account (the postal
// savings forms, the giro-payee forms and the donation): the payee is held to the form's postal rule, agreed payees are
// "account$text" entries shown as "account text", the account book offers its entries of bank 700, and the limits apply
// by how the payee was given.
class PostalPayeeTransferForm : public RuledTransferForm {
 public:
  PostalPayeeTransferForm(const FormRow& row, const PayeeRule* rule, std::size_t payeePlaceholder);

  void windowDidLoad() override;

  // The paying account, the row these forms have above the family's.
  static transfer_form_layout::OwnRow payingAccountRow();

 protected:
  std::string agreedItem(const std::string& entry) const override;
  PayeePick agreedPick(const std::string& item) const override;

 private:
  const std::size_t payeePlaceholder_;
};
