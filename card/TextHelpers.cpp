#include "card/TextHelpers.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

unsigned char lower(unsigned char c) { return static_cast<unsigned char>(std::tolower(c)); }
unsigned char upper(unsigned char c) { return static_cast<unsigned char>(std::toupper(c)); }

}  // namespace

void trim(std::string& text, char c) {
  const std::size_t first = text.find_first_not_of(c);
  if (first == std::string::npos) return;
  const std::size_t last = text.find_last_not_of(c);
  text = text.substr(first, last - first + 1);
}

void trimRight(std::string& text, char c) { trim(text, c); }

void trimLeft(std::string& text, char c) {
  const std::size_t first = text.find_first_not_of(c);
  if (first == std::string::npos) return;
  text.erase(0, first);
}

void truncate(std::string& text, std::size_t n) {
  if (text.size() > n) text.resize(n);
}

void toLoweer(std::string& text) { std::transform(text.begin(), text.end(), text.begin(), lower); }

void toUpper(std::string& text) { std::transform(text.begin(), text.end(), text.begin(), upper); }

std::string trimReturn(const std::string& text, char c) {
  std::string copy = text;
  trim(copy, c);
  return copy;
}

std::string trimRightReturn(const std::string& text, char c) { return trimReturn(text, c); }

std::string trimLeftReturn(const std::string& text, char c) {
  std::string copy = text;
  trimLeft(copy, c);
  return copy;
}

std::string truncateReturn(const std::string& text, std::size_t n) { return text.substr(0, n); }

std::string toLowerReturn(const std::string& text) {
  std::string copy = text;
  toLoweer(copy);
  return copy;
}

std::string toUpperReturn(const std::string& text) {
  std::string copy = text;
  toUpper(copy);
  return copy;
}

int compareNoCase(const std::string& a, const std::string& b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int ca = lower(static_cast<unsigned char>(a[i]));
    const int cb = lower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca - cb;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int compareNoCase(const char* a, const char* b) {
  return compareNoCase(std::string(a ? a : ""), std::string(b ? b : ""));
}

std::size_t strLength(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++count) {
    i += (static_cast<unsigned char>(text[i]) & 0x80) ? 3 : 1;
  }
  return count;
}

std::size_t copyText(std::string_view text, char* out, std::size_t size) {
  if (out == nullptr || size == 0) return 0;
  const std::size_t n = std::min(text.size(), size - 1);
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return n;
}
