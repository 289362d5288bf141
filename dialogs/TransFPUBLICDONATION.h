#pragma once

#include "PostalPayeeTransferForm.h"

// The form of the donation (PublicDonation): from the customer's postal card account to the 8-digit
// postal account of the cause, closed by the postal check digit.
class TransFPUBLICDONATION : public PostalPayeeTransferForm {
 public:
  static const FormRow kRow;
  TransFPUBLICDONATION() : PostalPayeeTransferForm(kRow, &kGiroPayeeRule, 16) {}
};
