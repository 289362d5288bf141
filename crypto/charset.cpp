#include "crypto/charset.h"

#include <cerrno>
#include <vector>

#include <iconv.h>

std::optional<std::string> convertCharset(const std::string& text, const char* toCode, const char* fromCode) {
  iconv_t cd = iconv_open(toCode, fromCode);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::vector<char> in(text.begin(), text.end());
  std::vector<char> out(text.size() * 4 + 16);
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  if (rc != static_cast<std::size_t>(-1)) rc = iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  return std::string(out.data(), static_cast<std::size_t>(outPtr - out.data()));
}

bool needsCharsetConversion(const std::string& text) {
  for (unsigned char c : text) {
    if (c == 0x0A || c == 0xFF || (c >= 0x20 && c <= 0x7E)) continue;
    return true;
  }
  return false;
}
