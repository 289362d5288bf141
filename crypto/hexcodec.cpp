#include "crypto/hexcodec.h"

namespace hexcodec {
namespace {
int nibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

int checkHexString(const char* text, int len) {
  if (!text || len < 0) return -1;
  for (int i = 0; i < len; ++i)
    if (nibble(text[i]) < 0) return -1;
  return 0;
}

int Hex2Bin(const char* hex, int len, unsigned char* out) {
  if (len < 0 || len % 2 != 0 || checkHexString(hex, len) != 0) return -1;
  for (int i = 0; i + 1 < len; i += 2)
    out[i / 2] = static_cast<unsigned char>(nibble(hex[i]) << 4 | nibble(hex[i + 1]));
  return 0;
}

int Bin2Hex(const unsigned char* bytes, int count, char* out) {
  static const char digits[] = "0123456789ABCDEF";
  for (int i = 0; i < count; ++i) {
    out[2 * i] = digits[bytes[i] >> 4];
    out[2 * i + 1] = digits[bytes[i] & 0x0F];
  }
  return 0;
}

std::optional<std::string> toBytes(const std::string& hex) {
  if (hex.size() > 0x7FFFFFFE) return std::nullopt;
  std::string bytes(hex.size() / 2, '\0');
  if (Hex2Bin(hex.data(), static_cast<int>(hex.size()), reinterpret_cast<unsigned char*>(&bytes[0])) != 0)
    return std::nullopt;
  return bytes;
}

std::string toHex(const std::string& bytes) {
  std::string hex(bytes.size() * 2, '\0');
  Bin2Hex(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()), &hex[0]);
  return hex;
}

}  // namespace hexcodec
