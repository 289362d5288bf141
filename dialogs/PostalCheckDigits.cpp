#include "PostalCheckDigits.h"

namespace {
const char kGiroPrefix[] = "7000010";
constexpr std::string::size_type kGiroPrefixLength = sizeof kGiroPrefix - 1;
}  // namespace

bool postalCheckDigitPasses(const std::string& digits) {
  if (digits.empty()) return false;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
  }
  // Kept modulo 11 as it grows, so no length of text can overflow it.
  long remainder = 0;
  for (std::string::size_type i = 0; i + 1 < digits.size(); ++i) {
    long weight = static_cast<long>((i + 2) % 11);
    remainder = (remainder + (digits[i] - '0') * weight) % 11;
  }
  int check = static_cast<int>((11 - remainder) % 10);
  return check == digits.back() - '0';
}

bool giroTransferAccountPasses(const std::string& text) {
  if (text.compare(0, kGiroPrefixLength, kGiroPrefix) != 0 || text.size() < kGiroPrefixLength) return false;
  return postalCheckDigitPasses(text.substr(kGiroPrefixLength));
}
