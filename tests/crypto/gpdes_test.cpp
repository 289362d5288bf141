#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include "crypto/gpdes.h"
#include "crypto/hexcodec.h"
#include "crypto/softdes.h"

namespace {

std::vector<unsigned char> bytes(const std::string& hex) {
  std::string b = *hexcodec::toBytes(hex);
  return std::vector<unsigned char>(b.begin(), b.end());
}
std::string hex(const unsigned char* p, std::size_t n) {
  return hexcodec::toHex(std::string(reinterpret_cast<const char*>(p), n));
}

// The oracle: OpenSSL's E-D-E Triple DES (K3 = K1 for a 16-byte key) in CBC from iv over whole blocks;
// single DES lives only in OpenSSL's legacy provider, so an 8-byte key uses the software DES, whose known
// answers are checked elsewhere. ECB of one block is CBC from a zero iv.
std::vector<unsigned char> cbcOracle(const std::vector<unsigned char>& key, const unsigned char iv[8],
                                     const std::vector<unsigned char>& in) {
  if (key.size() == 8) {
    std::vector<unsigned char> out(in.size());
    Des_Encrypt_CBC(key.data(), iv, in.data(), in.size(), out.data());
    return out;
  }
  std::vector<unsigned char> k = key;
  if (k.size() == 16) k.insert(k.end(), key.begin(), key.begin() + 8);
  const EVP_CIPHER* cipher = EVP_des_ede3_cbc();
  std::vector<unsigned char> out(in.size() + 8);
  int len = 0, fin = 0;
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  EVP_EncryptInit_ex(ctx, cipher, nullptr, k.data(), iv);
  EVP_CIPHER_CTX_set_padding(ctx, 0);
  EVP_EncryptUpdate(ctx, out.data(), &len, in.data(), static_cast<int>(in.size()));
  EVP_EncryptFinal_ex(ctx, out.data() + len, &fin);
  EVP_CIPHER_CTX_free(ctx);
  out.resize(len + fin);
  return out;
}

const std::string kPlain = "0123456789ABCDEF";
const std::string k16 = "0123456789ABCDEFFEDCBA9876543210";
const std::string k24 = k16 + "89ABCDEF01234567";

TEST(GpDes, SingleKeyKnownAnswerAndUnknownModeLeavesOutputAlone) {
  auto key = bytes("133457799BBCDFF1"), in = bytes(kPlain);
  unsigned char out[8], back[8];
  GP_DES(1, 8, key.data(), in.data(), out);
  EXPECT_EQ(hex(out, 8), "85E813540F0AB405");
  GP_SDES(0, key.data(), out, back);
  EXPECT_EQ(hex(back, 8), kPlain);
  unsigned char untouched[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  GP_DES(5, 8, key.data(), in.data(), untouched);
  EXPECT_EQ(hex(untouched, 8), "0102030405060708");
}

TEST(GpDes, TripleDesAgreesWithTheBlockCiphersAndInverts) {
  for (const std::string& k : {k16, k24}) {
    auto key = bytes(k), in = bytes(kPlain);
    unsigned char out[8], back[8], zero[8] = {0};
    GP_DES(1, static_cast<int>(key.size()), key.data(), in.data(), out);
    EXPECT_EQ(hex(out, 8), hex(cbcOracle(key, zero, in).data(), 8)) << k;
    GP_DES(0, static_cast<int>(key.size()), key.data(), out, back);
    EXPECT_EQ(hex(back, 8), kPlain) << k;
  }
}

TEST(GpDes, ModeTwoDecryptsUnderEachKeyPart) {
  auto key = bytes(k24), in = bytes(kPlain);
  unsigned char out[24], part[8];
  GP_DES(2, 24, key.data(), in.data(), out);
  for (int i = 0; i < 3; ++i) {
    soft_des(0, key.data() + 8 * i, in.data(), part);
    EXPECT_EQ(hex(out + 8 * i, 8), hex(part, 8)) << i;
  }
}

TEST(GpMac, IsTheLastCbcBlockOverZeroPaddedData) {
  auto iv = bytes("1122334455667788");
  for (std::size_t n : {1u, 8u, 13u, 16u}) {
    std::vector<unsigned char> data(n);  // exact size: the MAC must not touch bytes past n
    for (std::size_t i = 0; i < n; ++i) data[i] = static_cast<unsigned char>(0x30 + i);
    std::vector<unsigned char> padded(data);
    padded.resize((n + 7) / 8 * 8, 0);
    for (const std::string& k : {std::string("133457799BBCDFF1"), k16, k24}) {
      auto key = bytes(k);
      std::vector<unsigned char> cbc = cbcOracle(key, iv.data(), padded);
      unsigned char mac[8];
      GP_MAC(static_cast<int>(key.size()), key.data(), iv.data(), n, data.data(), mac);
      EXPECT_EQ(hex(mac, 8), hex(cbc.data() + cbc.size() - 8, 8)) << k << " n=" << n;
    }
  }
}

TEST(GpMac, EmptyDataGivesTheInitialValue) {
  auto key = bytes(k16), iv = bytes("A1A2A3A4A5A6A7A8");
  unsigned char mac[8];
  GP_MAC(16, key.data(), iv.data(), 0, nullptr, mac);
  EXPECT_EQ(hex(mac, 8), "A1A2A3A4A5A6A7A8");
}

}  // namespace
