#pragma once

#include "PostalSavingsTransferForm.h"

// The transfer form for a payment from the customer's postal card account to a postal savings account
// (transfer kind "P014A1").
class TransFPOST2RODA : public PostalSavingsTransferForm {
 public:
  static const FormRow kRow;
  TransFPOST2RODA() : PostalSavingsTransferForm(kRow, 14) {}
};
