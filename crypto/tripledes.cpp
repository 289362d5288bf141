#include "crypto/tripledes.h"

#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "crypto/base64.h"
#include "crypto/selectkey.h"

const unsigned char kZeroTextIV[8] = {'0', '0', '0', '0', '0', '0', '0', '0'};

namespace {
using CipherCtx = std::unique_ptr<EVP_CIPHER_CTX, void (*)(EVP_CIPHER_CTX*)>;

std::string upToNul(const std::string& s) { return s.substr(0, std::strlen(s.c_str())); }
}  // namespace

std::optional<std::string> tripleDesCbc(bool encrypt, const unsigned char key[16], const unsigned char iv[8],
                                        const std::string& data, bool padding) {
  if (data.size() > static_cast<std::size_t>(INT_MAX - 16)) return std::nullopt;
  if (!padding && data.size() % 8 != 0) return std::nullopt;
  CipherCtx ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  if (!ctx || EVP_CipherInit_ex(ctx.get(), EVP_des_ede_cbc(), nullptr, key, iv, encrypt ? 1 : 0) != 1)
    return std::nullopt;
  EVP_CIPHER_CTX_set_padding(ctx.get(), padding ? 1 : 0);
  std::vector<unsigned char> out(data.size() + 16);
  int n = 0, tail = 0;
  if (EVP_CipherUpdate(ctx.get(), out.data(), &n, reinterpret_cast<const unsigned char*>(data.data()),
                       static_cast<int>(data.size())) != 1)
    return std::nullopt;
  if (EVP_CipherFinal_ex(ctx.get(), out.data() + n, &tail) != 1) return std::nullopt;
  return std::string(reinterpret_cast<char*>(out.data()), static_cast<std::size_t>(n + tail));
}

std::string DESEncrypt(const std::string& clear, const std::string& keyText) {
  unsigned char key[32] = {};
  std::memcpy(key, keyText.data(), keyText.size() < sizeof key ? keyText.size() : sizeof key);
  std::optional<std::string> cipher = tripleDesCbc(true, key, kZeroTextIV, upToNul(clear), true);
  if (!cipher) return std::string();
  return base64EncodeLine(reinterpret_cast<const unsigned char*>(cipher->data()), cipher->size());
}

std::string DESDecrypt(const std::string& base64Text) {
  std::string key = base64Decode(readDESKey());
  std::string cipher = base64Decode(base64Text);
  if (key.size() < 16 || cipher.empty() || cipher.size() % 8 != 0) return std::string();
  const auto* k = reinterpret_cast<const unsigned char*>(key.data());
  std::optional<std::string> clear = tripleDesCbc(false, k, kZeroTextIV, cipher, false);
  if (!clear) return std::string();

  std::string leading = upToNul(clear->substr(0, clear->size() - 8));
  std::string last = clear->substr(clear->size() - 8);
  unsigned pad = static_cast<unsigned char>(last[7]);
  bool padOk = pad >= 1 && pad <= 8;
  for (unsigned i = 0; padOk && i < pad; ++i) padOk = static_cast<unsigned char>(last[7 - i]) == pad;
  if (!padOk) return leading;
  return leading + upToNul(last.substr(0, 8 - pad));
}

std::optional<std::string> encrypt_data(EVP_CIPHER_CTX* ctx, const unsigned char* data, std::size_t len) {
  if (!ctx || len > static_cast<std::size_t>(INT_MAX - 64)) return std::nullopt;
  std::vector<unsigned char> out(len + 64);
  int n = 0, tail = 0;
  if (EVP_EncryptUpdate(ctx, out.data(), &n, data, static_cast<int>(len)) != 1) return std::nullopt;
  if (EVP_EncryptFinal_ex(ctx, out.data() + n, &tail) != 1) return std::nullopt;
  return std::string(reinterpret_cast<char*>(out.data()), static_cast<std::size_t>(n + tail));
}

std::optional<std::string> decrypt_data(EVP_CIPHER_CTX* ctx, const unsigned char* data, std::size_t len) {
  if (!ctx || len > static_cast<std::size_t>(INT_MAX - 64)) return std::nullopt;
  std::vector<unsigned char> out(len + 64);
  int n = 0;
  if (EVP_DecryptUpdate(ctx, out.data(), &n, data, static_cast<int>(len)) != 1 || n <= 0) return std::nullopt;
  return std::string(reinterpret_cast<char*>(out.data()), static_cast<std::size_t>(n));
}
