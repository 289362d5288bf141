#pragma once

#include "BankCardTransferForm.h"

// The transfer form for a payment from another bank's card to a postal savings account (transfer kind
// "0305"): the paying account picked from the card's accounts; the payee 14 to 16 digits carrying the
// postal check digits of both halves (leading zeros of a longer account dropped for the check); agreed
// and account-book payees of bank 700 only. Its limits are stored, not applied.
class TransFBANK2RODA : public BankCardTransferForm {
 public:
  static const FormRow kRow;
  TransFBANK2RODA() : BankCardTransferForm(kRow, &kPostalSavingsPayeeFromBankRule, 14) {}
};
