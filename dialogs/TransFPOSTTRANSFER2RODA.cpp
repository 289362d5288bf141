#include "TransFPOSTTRANSFER2RODA.h"

#include "appkit/Layout.h"

const TransferForm::FormRow TransFPOSTTRANSFER2RODA::kRow = {
    "TransFPOSTTRANSFER2RODA",
    "POSTTRANSFER to RODA",  // limitTitle
    true,                    // paidFromPostalCard
    false,                   // payeeBankList
    false,                   // recentresOnResignMain
    true,                    // postalBookEntriesOnly
};

namespace {
appkit::Layout layout() {
  transfer_form_layout::Options options;
  options.okOutlet = "btbOK";
  options.contentView = "TransFP2PTView";
  return transfer_form_layout::build("TransFPOSTTRANSFER2RODA", "郵政劃撥轉帳至存簿",
                                     PostalSavingsTransferForm::ownRows(), options);
}

const appkit::LayoutRegistration kLayout(&layout);
}  // namespace
