#include "TransFPOST2POSTTRANSFER.h"

#include "appkit/Layout.h"

const TransferForm::FormRow TransFPOST2POSTTRANSFER::kRow = {
    "TransFPOST2POSTTRANSFER",
    "RODA to POSTTRANSFER",  // limitTitle
    true,                    // paidFromPostalCard
    false,                   // payeeBankList
    false,                   // recentresOnResignMain
    true,                    // postalBookEntriesOnly
};

namespace {
appkit::Layout layout() {
  transfer_form_layout::Options options;
  options.contentView = "TransFP2PTView";
  return transfer_form_layout::build("TransFPOST2POSTTRANSFER", "郵政存簿轉帳至劃撥帳戶",
                                     {PostalPayeeTransferForm::payingAccountRow()}, options);
}

const appkit::LayoutRegistration kLayout(&layout);
}  // namespace
