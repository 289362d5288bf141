#include "TransFBANK2POSTTRANSFER.h"

#include "appkit/Layout.h"

const TransferForm::FormRow TransFBANK2POSTTRANSFER::kRow = {
    "TransFBANK2POSTTRANSFER",
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
  return transfer_form_layout::build("TransFBANK2POSTTRANSFER", "金融卡轉帳至郵政劃撥",
                                     BankCardTransferForm::ownRows(false), options);
}

const appkit::LayoutRegistration kLayout(&layout);
}  // namespace
