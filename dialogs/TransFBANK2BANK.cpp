#include "TransFBANK2BANK.h"

#include "appkit/Layout.h"

const TransferForm::FormRow TransFBANK2BANK::kRow = {
    "TransFBANK2BANK",
    nullptr,  // limitTitle: stored, not applied
    false,    // paidFromPostalCard
    true,     // payeeBankList
    false,    // recentresOnResignMain
    false,    // postalBookEntriesOnly
};

namespace {
appkit::Layout layout() {
  transfer_form_layout::Options options;
  options.okOutlet = "btnConfirm";
  options.contentView = "TransFB2BView";
  appkit::Layout built =
      transfer_form_layout::build("TransFBANK2BANK", "金融卡跨行轉帳", BankCardTransferForm::ownRows(true), options);
  // This form's clear button has an action of its own name.
  for (appkit::LayoutItem& item : built.items) {
    if (item.outlet == "btnClear") item.withAction("cbBtnClear:");
  }
  return built;
}

const appkit::LayoutRegistration kLayout(&layout);
}  // namespace

TransFBANK2BANK::TransFBANK2BANK() : BankCardTransferForm(kRow, nullptr, 16) {
  addAction("cbBtnClear:", [this](appkit::View*) { ClearInput(); });
}
