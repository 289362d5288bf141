#include "TransFPOST2RODA.h"

#include "appkit/Layout.h"

const TransferForm::FormRow TransFPOST2RODA::kRow = {
    "TransFPOST2RODA",
    "RODA to RODA",  // limitTitle
    true,            // paidFromPostalCard
    false,           // payeeBankList
    false,           // recentresOnResignMain
    true,            // postalBookEntriesOnly
};

namespace {
appkit::Layout layout() {
  transfer_form_layout::Options options;
  options.contentView = "TransFP2PView";
  return transfer_form_layout::build("TransFPOST2RODA", "郵政存簿轉帳", PostalSavingsTransferForm::ownRows(), options);
}

const appkit::LayoutRegistration kLayout(&layout);
}  // namespace
