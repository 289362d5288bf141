#include "crypto/softcbc.h"

#include "crypto/softdes.h"

namespace {
const unsigned char* bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }
unsigned char* bytes(std::string& s) { return reinterpret_cast<unsigned char*>(&s[0]); }
}  // namespace

std::string softTdesEncryptPadded(const unsigned char key[16], const unsigned char iv[8], const std::string& clear) {
  std::size_t pad = 8 - clear.size() % 8;
  std::string padded = clear + std::string(pad, static_cast<char>(pad));
  std::string cipher(padded.size(), '\0');
  Des2_Encrypt_CBC(key, iv, bytes(padded), padded.size(), bytes(cipher));
  return cipher;
}

std::optional<std::string> softTdesDecryptPadded(const unsigned char key[16], const unsigned char iv[8],
                                                 const std::string& cipher) {
  if (cipher.empty() || cipher.size() % 8 != 0) return std::nullopt;
  std::string clear(cipher.size(), '\0');
  Des2_Decrypt_CBC(key, iv, bytes(cipher), cipher.size(), bytes(clear));
  unsigned pad = static_cast<unsigned char>(clear.back());
  if (pad > 8) return std::nullopt;
  clear.resize(clear.size() - pad);
  return clear;
}
