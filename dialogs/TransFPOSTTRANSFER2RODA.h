#pragma once

#include "PostalSavingsTransferForm.h"

// The transfer form for a payment from the customer's postal giro account to a postal savings account
// (transfer kind "G004A4"); its OK button's outlet is btbOK.
class TransFPOSTTRANSFER2RODA : public PostalSavingsTransferForm {
 public:
  static const FormRow kRow;
  TransFPOSTTRANSFER2RODA() : PostalSavingsTransferForm(kRow, 16) {}
};
