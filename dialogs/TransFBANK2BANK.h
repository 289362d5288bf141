#pragma once

#include "BankCardTransferForm.h"

// The transfer form for a payment from another bank's card to an account at any bank (transfer kind
// "0306"): the paying account picked from the card's accounts, a payee bank required, the payee
// account 1 to 16 digits. Its limits are stored, not applied.
class TransFBANK2BANK : public BankCardTransferForm {
 public:
  static const FormRow kRow;
  TransFBANK2BANK();
};
