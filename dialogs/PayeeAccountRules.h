#pragma once

#include <string>

// The rules a transfer form holds the payee account to before it looks at the amount: how long the
// account may be and which check digits it must carry. Pure functions of the clear digits.
//
// A verdict says which message the form shows and what it clears: a wrong length clears the payee
// account, a wrong check digit clears the PIN entry (the customer must type the PIN again before the
// account is tried once more).
enum class PayeeVerdict { Accepted, Missing, WrongLength, WrongCheckDigit };

// 1 to 16 digits, no check digit (a bank account).
PayeeVerdict checkBankPayee(const std::string& account);
// Exactly 14 digits: two 7-digit groups, each closed by its postal check digit (a postal savings
// account paid from a postal card or giro).
PayeeVerdict checkPostalSavingsPayee(const std::string& account);
// A postal savings account as another bank's card names it: 14 to 16 digits, where a 16-digit account
// starting "00" and a 15-digit one starting "0" drop those zeros for the check only; then the first 7
// characters and the rest each end in their check digit.
PayeeVerdict checkPostalSavingsPayeeFromBank(const std::string& account);
// A postal giro account: exactly 8 digits, the last its postal check digit (paid from a postal card or
// giro, and the donation).
PayeeVerdict checkGiroPayee(const std::string& account);
// A giro account as another bank's card names it: exactly 15 characters, "7000010" and the 8-digit
// giro account closed by its check digit.
PayeeVerdict checkGiroPayeeFromBank(const std::string& account);

// The message a form shows for a wrong check digit (any of the postal rules).
extern const char* const kPayeeCheckDigitMessage;

// A form's payee rule: the verdict and the message of a wrong length.
struct PayeeRule {
  PayeeVerdict (*check)(const std::string& account);
  const char* wrongLengthMessage;
};

// The rules of the forms that pay a postal savings or giro account.
extern const PayeeRule kPostalSavingsPayeeRule;          // from a postal card or giro: 14 digits
extern const PayeeRule kPostalSavingsPayeeFromBankRule;  // from another bank's card: 14 to 16
extern const PayeeRule kGiroPayeeFromBankRule;           // from another bank's card: 15 with the prefix
extern const PayeeRule kGiroPayeeRule;                   // from a postal card or giro: 8 digits
