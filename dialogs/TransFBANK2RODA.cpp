#include "TransFBANK2RODA.h"

#include "appkit/Layout.h"

const TransferForm::FormRow TransFBANK2RODA::kRow = {
    "TransFBANK2RODA",
    nullptr,  // limitTitle: stored, not applied
    false,    // paidFromPostalCard
    false,    // payeeBankList
    false,    // recentresOnResignMain
    true,     // postalBookEntriesOnly
};

namespace {
appkit::Layout layout() {
  transfer_form_layout::Options options;
  options.contentView = "TransFB2PView";
  return transfer_form_layout::build("TransFBANK2RODA", "金融卡轉帳至郵政存簿", BankCardTransferForm::ownRows(false),
                                     options);
}

const appkit::LayoutRegistration kLayout(&layout);
}  // namespace
