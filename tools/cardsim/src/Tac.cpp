#include "cardsim/Tac.h"

#include <openssl/evp.h>

#include <memory>
#include <stdexcept>

namespace rvp::cardsim {

Bytes computeTac(const Bytes& key, const Bytes& serial, const Bytes& record) {
  if (key.size() != 16) throw std::runtime_error("TAC key must be 16 bytes");
  Bytes message = serial;
  message.insert(message.end(), record.begin(), record.end());
  message.push_back(0x80);
  while (message.size() % 8) message.push_back(0x00);

  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  const unsigned char iv[8] = {0};
  Bytes out(message.size() + 8);
  int len = 0;
  if (!ctx || EVP_EncryptInit_ex(ctx.get(), EVP_des_ede_cbc(), nullptr, key.data(), iv) != 1 ||
      EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1 ||
      EVP_EncryptUpdate(ctx.get(), out.data(), &len, message.data(), static_cast<int>(message.size())) != 1 ||
      len != static_cast<int>(message.size()))
    throw std::runtime_error("triple DES failed while computing the TAC");
  return Bytes(out.begin() + (len - 8), out.begin() + len);
}

}  // namespace rvp::cardsim
