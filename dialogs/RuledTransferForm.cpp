#include "RuledTransferForm.h"

bool RuledTransferForm::payeeAccepted(const std::string& account) {
  if (!rule_) return TransferForm::payeeAccepted(account);
  switch (rule_->check(account)) {
    case PayeeVerdict::Accepted:
      return true;
    case PayeeVerdict::Missing:
      return TransferForm::payeeAccepted(account);  // the family's "請輸入轉入帳號"
    case PayeeVerdict::WrongLength:
      if (tell(rule_->wrongLengthMessage)) clearField(kPayeeAccount);
      return false;
    case PayeeVerdict::WrongCheckDigit:
      if (tell(kPayeeCheckDigitMessage)) clearField(kPin);
      return false;
  }
  return false;
}
