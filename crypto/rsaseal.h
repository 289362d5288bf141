// Sealing with the bank server's RSA public key.
#ifndef RVP_CRYPTO_RSASEAL_H
#define RVP_CRYPTO_RSASEAL_H

#include <memory>
#include <string>

#include <openssl/evp.h>

struct PKeyFree {
  void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
using PKeyPtr = std::unique_ptr<EVP_PKEY, PKeyFree>;

// The built-in public key, read afresh from its PEM text; null (never an exit) when it cannot be read.
PKeyPtr readRSAPuK();
// The built-in public key read once for the whole process (null when it cannot be read); sealing uses it.
EVP_PKEY* serverPublicKey();
// How many times this process has read the built-in public key (readRSAPuK), so a check can see that
// sealing reads it once and not per call, per thread or once more for each thread racing to the first use.
unsigned long builtInKeyReads();
// Any PEM public key text; null when it cannot be read.
PKeyPtr readPublicKeyPem(const std::string& pem);

// For every 96-byte chunk of the text (up to its first NUL): base64 (64-character lines, each ended by
// "\n") of the 128-byte PKCS#1 v1.5 encryption, then "%". Empty for an empty text and on any failure.
// The first form seals under serverPublicKey().
std::string RSADataEncrypt(const std::string& clear);
std::string RSADataEncrypt(const std::string& clear, EVP_PKEY* key);

#endif
