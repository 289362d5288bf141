#pragma once

#include "BankCardTransferForm.h"

// The transfer form for a payment from another bank's card to a postal giro account (transfer kind
// "0310"): as the bank-to-postal form, but the payee is 15 characters, "7000010" and the 8-digit giro
// account with its check digit.
class TransFBANK2POSTTRANSFER : public BankCardTransferForm {
 public:
  static const FormRow kRow;
  TransFBANK2POSTTRANSFER() : BankCardTransferForm(kRow, &kGiroPayeeFromBankRule, 14) {}
};
