#include "crypto/mac.h"

#include <cstring>

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include "crypto/base64.h"
#include "crypto/selectkey.h"

std::string doHMAC(const unsigned char* data, std::size_t len, const unsigned char key[16]) {
  unsigned char mac[EVP_MAX_MD_SIZE];
  unsigned int macLen = 0;
  static const unsigned char none = 0;
  if (!HMAC(EVP_sha1(), key, 16, len ? data : &none, len, mac, &macLen) || macLen != 20) return std::string();
  return std::string(reinterpret_cast<char*>(mac), macLen);
}

std::string macWindow(const std::string& text, std::size_t from, std::size_t count) {
  if (from >= text.size()) return std::string();
  std::string window = text.substr(from, count);
  return window.substr(0, std::strlen(window.c_str()));
}

namespace {
std::string keyedMac(const std::string& joinedKey, const std::string& input) {
  std::string key = base64Decode(joinedKey);
  if (key.size() < 16) return std::string();
  std::string mac = doHMAC(reinterpret_cast<const unsigned char*>(input.data()), input.size(),
                           reinterpret_cast<const unsigned char*>(key.data()));
  return mac.empty() ? std::string() : base64Encode(mac);
}
}  // namespace

std::string HMAC_Data(const std::string& request) { return keyedMac(readMACKey(), macWindow(request, 32, 30)); }

std::string HMAC_CR(const std::string& clearChallenge) {
  return keyedMac(readCRKey(), macWindow(clearChallenge, 0, 10));
}
