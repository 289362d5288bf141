#include "TransFPOST2BANK.h"

#include "TransferFormLayout.h"
#include "appkit/Layout.h"

const TransferForm::FormRow TransFPOST2BANK::kRow = {
    "TransFPOST2BANK",
    "RODA to Bank",  // limitTitle
    true,            // paidFromPostalCard
    true,            // payeeBankList
    true,            // recentresOnResignMain
    false,           // postalBookEntriesOnly
};

namespace {
using namespace appkit::layout;

appkit::Layout layout() {
  transfer_form_layout::Options options;
  options.contentView = "TransFP2BView";
  return transfer_form_layout::build("TransFPOST2BANK", "郵政帳戶轉帳至他行",
                                     {{"轉出帳號", textField("edtOutAccount", rect(0, 0, 300, 30))},
                                      {"轉入銀行", comboBox("cmbBankNo", rect(0, 0, 0, 0), "cmbBankNo:")}},
                                     options);
}

const appkit::LayoutRegistration kLayout(&layout);
}  // namespace

// An agreed entry is "account$bank"; its item shows the bank, a blank and the account.
std::string TransFPOST2BANK::agreedItem(const std::string& entry) const {
  const std::string::size_type dollar = entry.find('$');
  if (dollar == std::string::npos || dollar + 1 >= entry.size()) return std::string();
  const std::string account = entry.substr(0, dollar);
  std::string bank = entry.substr(dollar + 1);
  const std::string::size_type second = bank.find('$');
  if (second != std::string::npos) bank.erase(second);
  return bank + " " + account;
}

// The bank piece is the code, one separating character and the bank's name; the account follows the
// last blank.
TransferForm::PayeePick TransFPOST2BANK::agreedPick(const std::string& item) const {
  PayeePick pick;
  const std::string::size_type blank = item.rfind(' ');
  if (blank == std::string::npos) return pick;
  const std::string bank = item.substr(0, blank);
  if (bank.size() >= 3) pick.bankCode = bank.substr(0, 3);
  pick.bankName = bank.size() > 4 ? bank.substr(4) : std::string();
  pick.hasBankName = true;
  pick.account = item.substr(blank + 1);
  return pick;
}
