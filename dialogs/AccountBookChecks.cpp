#include "AccountBookChecks.h"

#include <cstring>

#include "PostalCheckDigits.h"
#include "card/TextHelpers.h"

namespace {
// Searched in this order; the first found gives its code. "delete" stands twice, so -10 is never given.
const char* const kKeywords[] = {"select", "update", "delete", "drop",   "exec",   "where",
                                 "insert", "create", "backup", "delete", "having", "truncate"};
constexpr int kSpecialCharacter = -13;
constexpr int kEmailRefused = 100;

const char kCommentCharacters[] = {'~', '`', '!', '@', '#',  '$', '%', '^', '&',  '*', '(', ')', '_', '+', '-', '=',
                                   '{', '}', '[', ']', '\\', '|', '"', '"', '\'', '<', '>', ',', '.', '?', '/'};
const char kEmailCharacters[] = {'~', '`', '!', '#', '$',  '%', '^', '&',  '*', '(', ')', '+', '-', '=',
                                 '{', '}', '[', ']', '\\', '|', '"', '\'', '<', '>', ',', '?', '/'};
// Characters an address may hold only inside a quoted string.
const char kEmailSpecials[] = {'(', ')', '<', '>', '@', ',', ':', '\\', '"', '[', ']'};

// The code of the first keyword in the lower-cased text (-1 for the first entry), or 0.
int keywordCode(const std::string& text) {
  const std::string lower = toLowerReturn(text);
  int code = 0;
  for (const char* keyword : kKeywords) {
    --code;
    if (lower.find(keyword) != std::string::npos) return code;
  }
  return 0;
}

template <std::size_t N>
bool holdsAnyOf(const std::string& text, const char (&characters)[N]) {
  return text.find_first_of(characters, 0, N) != std::string::npos;
}

// A control character, a blank, DEL or any byte of 0x80 and above.
bool isControlOrWide(char c) { return static_cast<signed char>(c) < '!' || c == 127; }

bool isUnfit(char c) { return isControlOrWide(c) || std::memchr(kEmailSpecials, c, sizeof kEmailSpecials) != nullptr; }

// Walks a quoted string that opens at `at`; returns the position of its closing quote, or nullptr.
const char* closingQuote(const char* at) {
  for (++at; *at != '\0' && *at != '"'; ++at) {
    if (*at == '\\' && at[1] == ' ') {
      ++at;
      continue;
    }
    if (isControlOrWide(*at)) return nullptr;
  }
  return *at == '"' ? at : nullptr;
}

// The end of the local part (its "@" or the end of the text), or nullptr when the local part is unfit.
const char* localPartEnd(const char* address) {
  const char* at = address;
  while (*at != '\0' && *at != '@') {
    const bool opensQuote = *at == '"' && (at == address || at[-1] == '.' || at[-1] == '"');
    if (opensQuote) {
      at = closingQuote(at);
      if (at == nullptr) return nullptr;
      if (at[1] != '@' && at[1] != '.') return nullptr;
      ++at;
      continue;
    }
    if (isUnfit(*at)) return nullptr;
    ++at;
  }
  return at;
}

bool domainFits(const char* domain) {
  if (*domain == '\0') return false;
  bool dotted = false;
  for (const char* at = domain; *at != '\0'; ++at) {
    if (*at == '.') {
      if (at == domain || at[-1] == '.') return false;
      dotted = true;
    }
    if (isUnfit(*at)) return false;
  }
  return dotted;
}

bool allDigits(const std::string& text) { return text.find_first_not_of("0123456789") == std::string::npos; }
}  // namespace

int CheckCommentSyntax(const std::string& comment) {
  if (int code = keywordCode(comment)) return code;
  return holdsAnyOf(comment, kCommentCharacters) ? kSpecialCharacter : 0;
}

int CheckInvaildKeyWord(const std::string& address) {
  if (keywordCode(address) != 0 || holdsAnyOf(address, kEmailCharacters)) return kEmailRefused;
  return 0;
}

bool CheckEmailFormat(const char* address) {
  if (address == nullptr) return false;
  const char* end = localPartEnd(address);
  if (end == nullptr || end == address || end[-1] == '.') return false;
  if (*end != '@') return false;
  return domainFits(end + 1);
}

bool postalBookAccountPasses(const std::string& digits) {
  switch (digits.size()) {
    case 8:
      return CheckRodaAcctIDX(digits);
    case 14:
      return CheckRodaAcctIDX(digits.substr(0, 7)) && CheckRodaAcctIDX(digits.substr(7));
    case 15:
      return CheckRodaAcctIDX_15(digits);
    default:
      return false;
  }
}

bool isBookAccount(const std::string& text) { return !text.empty() && text.size() <= 16 && allDigits(text); }
