#include "card/SecureWipe.h"

#include <openssl/crypto.h>

namespace card {

void wipe(void* bytes, std::size_t n) {
  if (bytes != nullptr && n > 0) OPENSSL_cleanse(bytes, n);
}

void wipe(std::string& text) {
  // Growing to the capacity never reallocates, and makes the spare bytes part of what is wiped.
  text.resize(text.capacity());
  wipe(text.data(), text.size());
  std::string().swap(text);
}

}  // namespace card
