#include "crypto/rsaseal.h"

#include <atomic>
#include <cstring>
#include <vector>

#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include "crypto/base64.h"
#include "crypto/selectkey.h"

PKeyPtr readPublicKeyPem(const std::string& pem) {
  BIO* source = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
  if (!source) return nullptr;
  PKeyPtr key(PEM_read_bio_PUBKEY(source, nullptr, nullptr, nullptr));
  BIO_free(source);
  return key;
}

namespace {
constexpr std::size_t kChunk = 96;
std::atomic<unsigned long> keyReads{0};

std::string sealChunk(EVP_PKEY* key, const std::string& chunk) {
  std::unique_ptr<EVP_PKEY_CTX, void (*)(EVP_PKEY_CTX*)> ctx(EVP_PKEY_CTX_new(key, nullptr), EVP_PKEY_CTX_free);
  if (!ctx || EVP_PKEY_encrypt_init(ctx.get()) <= 0 || EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING) <= 0)
    return std::string();
  const auto* in = reinterpret_cast<const unsigned char*>(chunk.data());
  std::size_t outLen = 0;
  if (EVP_PKEY_encrypt(ctx.get(), nullptr, &outLen, in, chunk.size()) <= 0) return std::string();
  std::vector<unsigned char> out(outLen);
  if (EVP_PKEY_encrypt(ctx.get(), out.data(), &outLen, in, chunk.size()) <= 0) return std::string();
  return base64Encode(out.data(), outLen);
}
}  // namespace

PKeyPtr readRSAPuK() {
  keyReads.fetch_add(1, std::memory_order_relaxed);
  return readPublicKeyPem(readRSAKey());
}

unsigned long builtInKeyReads() { return keyReads.load(std::memory_order_relaxed); }

std::string RSADataEncrypt(const std::string& clear, EVP_PKEY* key) {
  std::string text = clear.substr(0, std::strlen(clear.c_str()));
  if (!key || text.empty()) return std::string();
  std::string sealed;
  for (std::size_t off = 0; off < text.size(); off += kChunk) {
    std::string piece = sealChunk(key, text.substr(off, kChunk));
    if (piece.empty()) return std::string();
    sealed += piece + "%";
  }
  return sealed;
}

EVP_PKEY* serverPublicKey() {
  // Read once, on first use (thread-safe); a key that cannot be read stays null and every seal fails.
  static const PKeyPtr key = readRSAPuK();
  return key.get();
}

std::string RSADataEncrypt(const std::string& clear) { return RSADataEncrypt(clear, serverPublicKey()); }
