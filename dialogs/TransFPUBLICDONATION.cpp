#include "TransFPUBLICDONATION.h"

#include "appkit/Layout.h"

const TransferForm::FormRow TransFPUBLICDONATION::kRow = {
    "TransFPUBLICDONATION",
    "Public Donation",  // limitTitle
    true,               // paidFromPostalCard
    false,              // payeeBankList
    false,              // recentresOnResignMain
    true,               // postalBookEntriesOnly
};

namespace {
appkit::Layout layout() {
  transfer_form_layout::Options options;
  options.contentView = "TransFPDView";
  return transfer_form_layout::build("TransFPUBLICDONATION", "公益捐款", {PostalPayeeTransferForm::payingAccountRow()},
                                     options);
}

const appkit::LayoutRegistration kLayout(&layout);
}  // namespace
