#pragma once

#include "PostalPayeeTransferForm.h"

// The transfer form for a payment from the customer's giro account to another postal giro account
// (transfer kind "G004A2"): the postal-to-giro form with its own limit title and a wider payee display.
class TransFPT2PT : public PostalPayeeTransferForm {
 public:
  static const FormRow kRow;
  TransFPT2PT() : PostalPayeeTransferForm(kRow, &kGiroPayeeRule, 16) {}
};
