#pragma once

#include "PayeeAccountRules.h"
#include "TransferForm.h"

// A transfer form that holds the payee account to a rule of its own (length and check digits): a wrong
// length clears the payee account (a list pick it came from is dropped: the next one is typed), a wrong
// check digit clears the PIN entry, so the customer types the PIN again before the account is tried once
// more. Without a rule the family's applies (1 to 16 digits).
class RuledTransferForm : public TransferForm {
 public:
  RuledTransferForm(const FormRow& row, const PayeeRule* rule) : TransferForm(row), rule_(rule) {}

 protected:
  bool payeeAccepted(const std::string& account) override;
  const char* payeeLengthMessage() const override;

 private:
  const PayeeRule* rule_;
};
