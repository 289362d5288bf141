#include "TransactionCodes.h"

#include <cstdlib>
#include <iterator>

#include "crypto/Setting.h"

namespace {
struct CodeOf {
  const char* key;
  const char* code;
};

template <std::size_t N>
std::string lookup(const CodeOf (&table)[N], const std::string& key) {
  for (const CodeOf& row : table)
    if (key == row.key) return row.code;
  return std::string();
}

const CodeOf kPostalTransfer[] = {
    {"P014AI", "2581"}, {"P014A1", "2580"}, {"P014A2", "2580"}, {"P014A8", "2580"}, {"G004A2", "2583"},
    {"G004A4", "2583"}, {"G103E9", "2583"}, {"G103EA", "2583"}, {"I03533", "2582"}, {"I03537", "2582"},
};

const CodeOf kPostalInquiry[] = {
    {"P611A1", "2590"}, {"P611A2", "2590"}, {"P611A6", "2590"}, {"P611A9", "2590"}, {"GJ01A2", "2593"},
};

const CodeOf kAccountService[] = {
    {"P116A1", "2584"},
    {"P116A2", "2584"},
    {"D38713", "2584"},
    {"P116A4", "2581"},
};

const CodeOf kAccountSetting[] = {
    {"P116A3", "2581"},
    {"P116A5", "2581"},
    {"P116A6", "2581"},
};

const PostalPaymentCode kPostalPayment[] = {
    {"P014A5", "2580", PaymentField::CancelNo, "2580"}, {"P014A6", "2580", PaymentField::UserReference, "2580"},
    {"P014A9", "2580", PaymentField::CancelNo, "2580"}, {"P014AA", "2581", PaymentField::CancelNo, "2581"},
    {"P014AB", "2581", PaymentField::CancelNo, "2581"}, {"P014AC", "2581", PaymentField::CancelNo, "2581"},
    {"P014AD", "2581", PaymentField::CancelNo, "2581"}, {"I03533", "", PaymentField::None, "2582"},
    {"I03537", "", PaymentField::None, "2582"},
};

// Card codes by bank combination, in the order of BankCombo.
using ComboCodes = const char* [5];
const ComboCodes kTransferCodes = {"2521", "2522", "2523", "", "2524"};  // "" for own-to-own: TRANSFER
const ComboCodes kPayCreditCodes = {"", "2522", "", "", ""};
const ComboCodes kWideFeeCodes = {"2561", "2562", "2563", "2563", "2564"};
}  // namespace

std::string bankOf(const std::string& text) { return text.substr(0, 3); }

BankCombo bankCombo(const std::string& cardBank, const std::string& payeeBank) {
  const std::string a = bankOf(cardBank), b = bankOf(payeeBank), c = SKBC;
  if (a == c && b == c) return BankCombo::OwnToOwn;
  if (a == c) return BankCombo::OwnToOther;
  if (b == c) return BankCombo::OtherToOwn;
  if (a == b) return BankCombo::SameOtherBank;
  return BankCombo::AllDifferent;
}

std::string transferCardCode(int kind, BankCombo combo) {
  const auto at = static_cast<std::size_t>(combo);
  switch (kind) {
    case 1361:
      return combo == BankCombo::OwnToOwn ? std::to_string(TRANSFER) : kTransferCodes[at];
    case 1365:
      return "2525";
    case 12522:
      return combo == BankCombo::OwnToOwn ? std::to_string(TRANSFER) : kPayCreditCodes[at];
    default:
      return std::string();
  }
}

std::string wideFeeCardCode(BankCombo combo) { return kWideFeeCodes[static_cast<std::size_t>(combo)]; }

std::string taxCardCode(const std::string& cardBank) { return bankOf(cardBank) == SKBC ? "2532" : "2531"; }

std::string postalTransferCode(const std::string& processingCode) { return lookup(kPostalTransfer, processingCode); }

std::string transferTxCode(const std::string& tacId) {
  if (tacId.size() == 6) {
    std::string postal = postalTransferCode(tacId);
    if (!postal.empty()) return postal;
  }
  return "MSG" + tacId + "U";
}

std::string formTransferTxCode(const std::string& code) {
  std::size_t i = code.find_first_not_of(' ');
  long number = 0;
  for (; i < code.size() && code[i] >= '0' && code[i] <= '9' && number < 100000; ++i)
    number = number * 10 + (code[i] - '0');
  std::string txCode = number >= 2521 && number <= 2524 ? "MSG" + std::to_string(number) + "U" : "MSG" + code + "U";
  // "P014AI" has a postal code only in the page-driven transfer; the forms' request keeps "MSG" code "U".
  if (code.size() == 6 && code != "P014AI") {
    const std::string postal = postalTransferCode(code);
    if (!postal.empty()) txCode = postal;
  }
  return txCode;
}

std::string postalInquiryCode(const std::string& processingCode) { return lookup(kPostalInquiry, processingCode); }

std::string accountServiceCode(const std::string& processingCode) { return lookup(kAccountService, processingCode); }

std::string accountSettingCardCode(const std::string& processingCode) {
  return lookup(kAccountSetting, processingCode);
}

const PostalPaymentCode* postalPaymentCode(const std::string& processingCode) {
  for (const PostalPaymentCode& row : kPostalPayment)
    if (processingCode == row.processingCode) return &row;
  return nullptr;
}

long numberValue(const std::string& text) { return std::strtol(text.c_str(), nullptr, 10); }
