#pragma once

#include "PostalPayeeTransferForm.h"

// The transfer form for a payment from the customer's postal card account to a postal giro account
// (transfer kind "P014A2"): the payee is 8 digits closed by the postal check digit.
class TransFPOST2POSTTRANSFER : public PostalPayeeTransferForm {
 public:
  static const FormRow kRow;
  TransFPOST2POSTTRANSFER() : PostalPayeeTransferForm(kRow, &kGiroPayeeRule, 8) {}
};
