#pragma once

#include <string>

// Check digits of postal account numbers, as the forms and the account-book dialogs test what was typed
// on the keypad. Pure functions of one text; they keep no state.
//
// A digit group ends in its check digit: weigh the digits before it 2, 3, 4, ... from the left, take the
// sum modulo 11 (r) and the check digit is (11 - r) mod 10. A text that is empty or holds anything but
// the digits 0-9 never passes: a check digit says nothing about such a text.
bool postalCheckDigitPasses(const std::string& digits);

// The form of a giro account as another bank names it: "7000010" followed by the 8-digit giro account,
// whose last digit is its check digit.
bool giroTransferAccountPasses(const std::string& text);

// The names each dialog knows these rules by; all of them are the two rules above.
inline bool CheckRodaAcctID_1(const std::string& text) { return postalCheckDigitPasses(text); }
inline bool CheckRodaAcctID_2(const std::string& text) { return postalCheckDigitPasses(text); }
inline bool CheckRodaAcctID_3(const std::string& text) { return postalCheckDigitPasses(text); }
inline bool CheckRodaAcctID_4(const std::string& text) { return postalCheckDigitPasses(text); }
inline bool CheckRodaAcctIDX_ADD(const std::string& text) { return postalCheckDigitPasses(text); }
inline bool CheckRodaAcctIDX(const std::string& text) { return postalCheckDigitPasses(text); }
inline bool CheckRodaAcctID_15(const std::string& text) { return giroTransferAccountPasses(text); }
inline bool CheckRodaAcctIDX_15(const std::string& text) { return giroTransferAccountPasses(text); }
inline bool CheckRodaAcctIDX_MDFY_15(const std::string& text) { return giroTransferAccountPasses(text); }
// The 8-digit giro payee's check (checkGiroPayee in PayeeAccountRules.cpp, the forms' kGiroPayeeRule).
inline bool CheckRodaAcctID_5(const std::string& text) { return postalCheckDigitPasses(text); }
