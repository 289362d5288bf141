#include "RuledTransferForm.h"

const char* RuledTransferForm::payeeLengthMessage() const {
  return rule_ ? rule_->wrongLengthMessage : TransferForm::payeeLengthMessage();
}

bool RuledTransferForm::payeeAccepted(const std::string& account) {
  if (!rule_) return TransferForm::payeeAccepted(account);
  switch (rule_->check(account)) {
    case PayeeVerdict::Accepted:
      return true;
    case PayeeVerdict::Missing:
      return TransferForm::payeeAccepted(account);  // the family's "請輸入轉入帳號"
    case PayeeVerdict::WrongLength:
      if (tell(rule_->wrongLengthMessage)) {
        // The account is to be typed again: a pick it came from no longer holds, so neither the
        // list's limit nor its marker can follow the account typed next.
        cmbPreAccountOutlet->selectItemAtIndex(0);
        cmbCommonAccountOutlet->selectItemAtIndex(0);
        nInAcctCntType = kTyped;
        clearField(kPayeeAccount);
      }
      return false;
    case PayeeVerdict::WrongCheckDigit:
      // With the PIN hidden (reader type "2") the keypad must not type into it unseen: digits there
      // would reach the card as a PIN the customer never gave.
      if (tell(kPayeeCheckDigitMessage) && !cbCardPIN->isHidden()) clearField(kPin);
      return false;
  }
  return false;
}
