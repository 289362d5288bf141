#include "TransFPT2PT.h"

#include "appkit/Layout.h"

const TransferForm::FormRow TransFPT2PT::kRow = {
    "TransFPT2PT",
    "PT to PT",  // limitTitle
    true,        // paidFromPostalCard
    false,       // payeeBankList
    false,       // recentresOnResignMain
    true,        // postalBookEntriesOnly
};

namespace {
appkit::Layout layout() {
  transfer_form_layout::Options options;
  options.contentView = "TransFPT2PTView";
  return transfer_form_layout::build("TransFPT2PT", "郵政劃撥轉帳至劃撥帳戶",
                                     {PostalPayeeTransferForm::payingAccountRow()}, options);
}

const appkit::LayoutRegistration kLayout(&layout);
}  // namespace
