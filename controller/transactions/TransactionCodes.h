// The tables that give a transaction its card transaction code and its request code (tx_code).
#pragma once

#include <string>

// The bank of an account text: its first three characters (a shorter text whole).
std::string bankOf(const std::string& text);

// How the card's bank (A), the payee bank (B) and the own bank (C) relate.
enum class BankCombo { OwnToOther, OtherToOwn, SameOtherBank, OwnToOwn, AllDifferent };
BankCombo bankCombo(const std::string& cardBank, const std::string& payeeBank);

// Card transaction codes of the bank steps by their banks; "" where the combination has none.
std::string transferCardCode(int kind, BankCombo combo);  // kinds 1361, 1365, 12522
std::string wideFeeCardCode(BankCombo combo);
std::string taxCardCode(const std::string& cardBank);

// Postal transfers: card code and tx_code of a processing code ("" when it has none).
std::string postalTransferCode(const std::string& processingCode);
// tx_code of a transfer: "MSG" code "U", or the postal code of a processing code that has one.
std::string transferTxCode(const std::string& tacId);
// tx_code of a form-driven transfer or donation from the code its card step reported: 2521-2524 read as a
// number, "MSG" code "U" otherwise, or the postal code of a 6-character transfer kind the forms know.
std::string formTransferTxCode(const std::string& code);
// Postal inquiries: card code and tx_code of a processing code ("" when it has none).
std::string postalInquiryCode(const std::string& processingCode);
// Postal account services: card code and tx_code ("" when it has none).
std::string accountServiceCode(const std::string& processingCode);
// Account setting: the record's card code ("" for four zero bytes); its request is always 2581.
std::string accountSettingCardCode(const std::string& processingCode);

// Postal payments: what each processing code writes and sends.
enum class PaymentField { None, CancelNo, UserReference };
struct PostalPaymentCode {
  const char* processingCode;
  const char* cardCode;  // "" for four zero bytes
  PaymentField field;    // the record's 16-byte field and the request body
  const char* txCode;
};
// The row of a processing code, or nullptr for a code outside the table.
const PostalPaymentCode* postalPaymentCode(const std::string& processingCode);

// The number at the start of a text (blanks and a sign allowed), 0 when there is none; clamped.
long numberValue(const std::string& text);
