// Steps that every transaction's card step shares, and the controller's log entry.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "ZododovuRavuVODCtrl.h"
#include "crypto/random.h"

namespace {
// Letter values of the account letters ("A" 10 ... "Z" 33; I and O come last).
constexpr int kLetterValue[26] = {10, 11, 12, 13, 14, 15, 16, 17, 34, 18, 19, 20, 21,
                                  22, 35, 23, 24, 25, 26, 27, 28, 29, 32, 30, 31, 33};

// atoi's reading (leading blanks, a sign, the digits) without its overflow: clamped to long.
long leadingNumber(const std::string& text) { return std::strtol(text.c_str(), nullptr, 10); }
}  // namespace

std::string ZododovuRavuVODCtrl::doNumString(const std::string& digits, int n) {
  std::string head;
  if (n >= 0 && static_cast<std::size_t>(n) < digits.size()) head = digits.substr(0, digits.size() - n);
  return format("%ld", leadingNumber(head));
}

std::string ZododovuRavuVODCtrl::doChangesWord(std::string text) {
  std::size_t at = text.find_first_not_of("0123456789");
  if (at == std::string::npos) return std::string();
  unsigned char c = static_cast<unsigned char>(text[at]);
  int value = c;
  if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') value = kLetterValue[c - 'A'];
  return format("%02d", value) + text.substr(at + 1);
}

std::string ZododovuRavuVODCtrl::addEmpty(std::string text, int width) {
  if (width > 0 && text.size() < static_cast<std::size_t>(width))
    text.append(static_cast<std::size_t>(width) - text.size(), ' ');
  return text;
}

bool ZododovuRavuVODCtrl::AccInCard(const std::string&) { return true; }

int ZododovuRavuVODCtrl::MagicNum() {
  std::optional<int> draw = ::MagicNum();
  return draw ? *draw : -1;  // a failing random source is reported, never read as 0
}

long ZododovuRavuVODCtrl::cardCallFailed(const char* where, const char* call, long code) {
  LogMsg(2, where, "%s error with error code:[0x%08x].", call, code);
  return code;
}
