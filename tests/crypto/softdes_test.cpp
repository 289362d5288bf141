#include <random>
#include <string>

#include <gtest/gtest.h>

#include "crypto/hexcodec.h"
#include "crypto/softdes.h"
#include "crypto/tripledes.h"

namespace {

std::string bytes(const std::string& hex) { return *hexcodec::toBytes(hex); }
unsigned char* u8(std::string& s) { return reinterpret_cast<unsigned char*>(&s[0]); }

struct KnownAnswer {
  const char* key;
  const char* plain;
  const char* cipher;
};

// Published single-DES answers (the classic worked example and the FIPS 81 ECB sample).
const KnownAnswer kKnown[] = {
    {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
    {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
    {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
};

TEST(SoftDes, SingleBlockKnownAnswersBothWays) {
  for (const KnownAnswer& k : kKnown) {
    std::string key = bytes(k.key), plain = bytes(k.plain), out(8, '\0'), back(8, '\0');
    soft_des(1, u8(key), u8(plain), u8(out));
    EXPECT_EQ(hexcodec::toHex(out), k.cipher) << k.key;
    soft_des(0, u8(key), u8(out), u8(back));
    EXPECT_EQ(back, plain);
    Des_Encrypt_ECB(u8(key), u8(plain), 8, u8(out));
    EXPECT_EQ(hexcodec::toHex(out), k.cipher);
  }
}

TEST(SoftDes, ParityBitsAreIgnored) {
  std::string key = bytes("133457799BBCDFF1"), flipped = key, plain = bytes("0123456789ABCDEF");
  for (char& c : flipped) c ^= 1;
  std::string a(8, '\0'), b(8, '\0');
  soft_des(1, u8(key), u8(plain), u8(a));
  soft_des(1, u8(flipped), u8(plain), u8(b));
  EXPECT_EQ(a, b);
}

TEST(SoftDes, OnlyWholeBlocksAreWritten) {
  std::string key(16, '\x5A'), iv(8, '0'), in(15, 'x');
  std::string out(16, '\xEE');
  Des2_Encrypt_CBC(u8(key), u8(iv), u8(in), 7, u8(out));
  EXPECT_EQ(out, std::string(16, '\xEE'));
  Des2_Encrypt_CBC(u8(key), u8(iv), u8(in), 15, u8(out));
  EXPECT_NE(out.substr(0, 8), std::string(8, '\xEE'));
  EXPECT_EQ(out.substr(8), std::string(8, '\xEE'));
}

TEST(SoftDes, TwoKeyWithEqualHalvesIsSingleDes) {
  std::string k8 = bytes("0123456789ABCDEF"), k16 = k8 + k8, iv = bytes("1234567890ABCDEF");
  std::string in = "Now is the time for all ", single(24, '\0'), triple(24, '\0');
  Des_Encrypt_CBC(u8(k8), u8(iv), u8(in), 24, u8(single));
  Des2_Encrypt_CBC(u8(k16), u8(iv), u8(in), 24, u8(triple));
  EXPECT_EQ(single, triple);
  // FIPS 81 CBC sample.
  EXPECT_EQ(hexcodec::toHex(single), "E5C7CDDE872BF27C43E934008C389C0F683788499A7C05F6");
}

TEST(SoftDes, TwoKeyCbcEqualsTheCryptoLibrary) {
  std::mt19937 rng(2026);
  auto randomBytes = [&](std::size_t n) {
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(rng() & 0xFF);
    return s;
  };
  for (int keyCase = 0; keyCase < 6; ++keyCase) {
    std::string key = keyCase == 0 ? std::string(16, '\0') : randomBytes(16);
    std::string iv = keyCase % 2 ? std::string(8, '0') : randomBytes(8);
    for (std::size_t len : {8u, 16u, 24u, 64u, 256u}) {
      std::string plain = randomBytes(len), mine(len, '\0'), back(len, '\0');
      Des2_Encrypt_CBC(u8(key), u8(iv), u8(plain), len, u8(mine));
      auto library = tripleDesCbc(true, u8(key), u8(iv), plain, false);
      ASSERT_TRUE(library);
      EXPECT_EQ(mine, *library) << "key case " << keyCase << " length " << len;
      Des2_Decrypt_CBC(u8(key), u8(iv), u8(mine), len, u8(back));
      EXPECT_EQ(back, plain);
    }
  }
}

TEST(SoftDes, EcbAndThreeKeyVariantsRoundTrip) {
  std::string k24 = bytes("0123456789ABCDEF23456789ABCDEF010123456789ABCDEF");  // K3 = K1
  std::string iv = bytes("0000000000000000"), plain = "sixteen bytes!!!", c(16, '\0'), p(16, '\0');
  Des3_Encrypt_CBC(u8(k24), u8(iv), u8(plain), 16, u8(c));
  Des3_Decrypt_CBC(u8(k24), u8(iv), u8(c), 16, u8(p));
  EXPECT_EQ(p, plain);
  Des3_Encrypt_ECB(u8(k24), u8(plain), 16, u8(c));
  Des3_Decrypt_ECB(u8(k24), u8(c), 16, u8(p));
  EXPECT_EQ(p, plain);
  Des2_Encrypt_ECB(u8(k24), u8(plain), 16, u8(c));
  Des2_Decrypt_ECB(u8(k24), u8(c), 16, u8(p));
  EXPECT_EQ(p, plain);
  Des_Decrypt_CBC(u8(k24), u8(iv), u8(c), 16, u8(p));
  std::string again(16, '\0');
  Des_Encrypt_CBC(u8(k24), u8(iv), u8(p), 16, u8(again));
  EXPECT_EQ(again, c);
}

TEST(SoftDes, ThreeKeyVariantsApplyTheKeysInOrderInBothDirections) {
  std::string k24 = bytes("0123456789ABCDEF23456789ABCDEF01456789ABCDEF0123");  // K1, K2, K3 all differ
  std::string plain = bytes("4E6F772069732074"), iv = bytes("1234567890ABCDEF");
  auto chain = [&](int mode, std::string block) {
    std::string out(8, '\0');
    for (int k = 0; k < 3; ++k) {
      std::string key = k24.substr(k * 8, 8);
      soft_des(mode, u8(key), u8(block), u8(out));
      block = out;
    }
    return block;
  };
  std::string c(8, '\0'), p(8, '\0');
  Des3_Encrypt_ECB(u8(k24), u8(plain), 8, u8(c));
  EXPECT_EQ(c, chain(1, plain));  // E(K1), then E(K2), then E(K3)
  Des3_Decrypt_ECB(u8(k24), u8(c), 8, u8(p));
  EXPECT_EQ(p, chain(0, c));  // D(K1), then D(K2), then D(K3)
  EXPECT_NE(p, plain);        // so with K1 != K3 deciphering does not undo enciphering

  std::string x(8, '\0');
  for (int i = 0; i < 8; ++i) x[i] = static_cast<char>(plain[i] ^ iv[i]);
  Des3_Encrypt_CBC(u8(k24), u8(iv), u8(plain), 8, u8(c));
  EXPECT_EQ(c, chain(1, x));
  Des3_Decrypt_CBC(u8(k24), u8(iv), u8(c), 8, u8(p));
  std::string expected = chain(0, c);
  for (int i = 0; i < 8; ++i) expected[i] = static_cast<char>(expected[i] ^ iv[i]);
  EXPECT_EQ(p, expected);
}

}  // namespace
