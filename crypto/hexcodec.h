// Hex text <-> bytes for the page parameters and keypad labels. Only hex digits are accepted: a pair
// that is not hex has no byte value, so the text is refused instead of being read as whatever was there.
#ifndef RVP_CRYPTO_HEXCODEC_H
#define RVP_CRYPTO_HEXCODEC_H

#include <optional>
#include <string>

namespace hexcodec {

// len / 2 bytes from len hex characters; -1 (nothing written) for an odd length or a non-hex character.
int Hex2Bin(const char* hex, int len, unsigned char* out);
// Two upper-case hex characters per byte; no terminator.
int Bin2Hex(const unsigned char* bytes, int count, char* out);
// 0 when the first len characters are hex digits, else -1.
int checkHexString(const char* text, int len);

std::optional<std::string> toBytes(const std::string& hex);
std::string toHex(const std::string& bytes);

}  // namespace hexcodec

#endif
