#include "card/GP.h"

#include "card/TextHelpers.h"

namespace {

unsigned char hexValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned char>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<unsigned char>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<unsigned char>(c - 'a' + 10);
  return 0;
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

unsigned char GP_Pack2To1(char high, char low) {
  return static_cast<unsigned char>((hexValue(high) << 4) | hexValue(low));
}

std::size_t GP_PackData(const char* hex, std::size_t n, unsigned char* out, std::size_t outCapacity) {
  if (hex == nullptr || out == nullptr) return 0;
  // A terminating zero inside the n characters ends the text: what follows packs as '0' (as the zero
  // itself does) and is never read, so a count longer than the text cannot run past it. With an odd
  // n the last low nibble is the character after the n: the text's next character, or its zero.
  std::size_t textLength = 0;
  while (textLength < n && hex[textLength] != '\0') ++textLength;
  const std::size_t readable = textLength == n ? n + (n % 2) : textLength;
  const auto at = [&](std::size_t i) { return i < readable ? hex[i] : '0'; };
  std::size_t written = 0;
  for (std::size_t i = 0; i < n && written < outCapacity; i += 2) out[written++] = GP_Pack2To1(at(i), at(i + 1));
  return written;
}

std::size_t GP_UnpackData(const unsigned char* bytes, std::size_t n, char* out, std::size_t outCapacity) {
  if (out == nullptr || outCapacity == 0) return 0;
  out[0] = '\0';
  if (bytes == nullptr) return 0;
  std::size_t written = 0;
  for (std::size_t i = 0; i < n && written + 2 <= outCapacity; ++i) {
    out[written++] = kHexDigits[bytes[i] >> 4];
    out[written++] = kHexDigits[bytes[i] & 0x0F];
  }
  return written;
}

std::string GP_UnpackData(const unsigned char* bytes, std::size_t n) {
  std::string text(2 * n, '\0');
  text.resize(GP_UnpackData(bytes, n, text.data(), text.size()));
  return text;
}

void GP_GetAPIVersion(char* version, std::size_t versionSize, char* date, std::size_t dateSize) {
  copyText("GPAPI V1.2", version, versionSize);
  copyText("2002.09.26", date, dateSize);
}
