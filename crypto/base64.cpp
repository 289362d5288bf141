#include "crypto/base64.h"

#include <climits>
#include <memory>
#include <vector>

#include <openssl/bio.h>
#include <openssl/evp.h>

namespace {
struct BioChainFree {
  void operator()(BIO* b) const { BIO_free_all(b); }
};
using BioChain = std::unique_ptr<BIO, BioChainFree>;
}  // namespace

std::string base64Encode(const unsigned char* data, std::size_t len) {
  if (len > static_cast<std::size_t>(INT_MAX)) return std::string();
  BIO* sink = BIO_new(BIO_s_mem());
  BIO* filter = BIO_new(BIO_f_base64());
  if (!sink || !filter) {
    BIO_free(sink);
    BIO_free(filter);
    return std::string();
  }
  BioChain chain(BIO_push(filter, sink));
  if (len > 0 && BIO_write(chain.get(), data, static_cast<int>(len)) != static_cast<int>(len)) return std::string();
  if (BIO_flush(chain.get()) != 1) return std::string();
  char* contents = nullptr;
  long n = BIO_get_mem_data(sink, &contents);
  return n > 0 ? std::string(contents, static_cast<std::size_t>(n)) : std::string();
}

std::string base64Encode(const std::string& data) {
  return base64Encode(reinterpret_cast<const unsigned char*>(data.data()), data.size());
}

std::string base64EncodeLine(const unsigned char* data, std::size_t len) {
  if (len > static_cast<std::size_t>(INT_MAX / 2)) return std::string();
  std::vector<unsigned char> out(4 * ((len + 2) / 3) + 1);
  int n = EVP_EncodeBlock(out.data(), data, static_cast<int>(len));
  return std::string(reinterpret_cast<char*>(out.data()), n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string base64Decode(const std::string& text) {
  if (text.size() > static_cast<std::size_t>(INT_MAX / 2)) return std::string();
  std::unique_ptr<EVP_ENCODE_CTX, void (*)(EVP_ENCODE_CTX*)> ctx(EVP_ENCODE_CTX_new(), EVP_ENCODE_CTX_free);
  if (!ctx) return std::string();
  std::vector<unsigned char> out(text.size() / 4 * 3 + 80);
  int written = 0, tail = 0;
  EVP_DecodeInit(ctx.get());
  if (EVP_DecodeUpdate(ctx.get(), out.data(), &written, reinterpret_cast<const unsigned char*>(text.data()),
                       static_cast<int>(text.size())) < 0)
    return std::string();
  if (EVP_DecodeFinal(ctx.get(), out.data() + written, &tail) < 0) return std::string();
  return std::string(reinterpret_cast<char*>(out.data()), static_cast<std::size_t>(written + tail));
}

std::string base64DecodeBlock(const std::string& text) {
  if (text.empty() || text.size() % 4 != 0 || text.size() > static_cast<std::size_t>(INT_MAX / 2)) return std::string();
  std::vector<unsigned char> out(text.size() / 4 * 3 + 1);
  int n =
      EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
  if (n < 0) return std::string();
  return std::string(reinterpret_cast<char*>(out.data()), static_cast<std::size_t>(n));
}
