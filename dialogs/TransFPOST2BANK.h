#pragma once

#include <string>

#include "TransferForm.h"

// The transfer form for a payment from the customer's postal card account to an account at another
// bank (transfer kind "0307"). The payee is typed on the keypad, picked from the agreed accounts
// ("account$bank" entries, shown as "bank account") or from the account book, and a payee bank is
// required. Its limits apply: AGSELFAMT to an agreed payee, NAGSELFAMT to any other.
class TransFPOST2BANK : public TransferForm {
 public:
  static const FormRow kRow;
  TransFPOST2BANK() : TransferForm(kRow) {}

 protected:
  std::string agreedItem(const std::string& entry) const override;
  PayeePick agreedPick(const std::string& item) const override;
};
