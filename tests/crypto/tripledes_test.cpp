#include <string>

#include <gtest/gtest.h>

#include "crypto/base64.h"
#include "crypto/selectkey.h"
#include "crypto/tripledes.h"
#include "tools/banktool/banktool.h"

namespace {

const unsigned char* u8(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

std::string openWith(const std::string& keyText, const std::string& base64Line) {
  auto clear = tripleDesCbc(false, u8(keyText), kZeroTextIV, base64Decode(base64Line), true);
  return clear ? *clear : "<failed>";
}

TEST(DesEncrypt, CipherLengthRoundsUpWithAFullPadBlock) {
  const std::string key = "ABCDEFGHIJKLMNOP";
  EXPECT_EQ(DESEncrypt("12345678", key).size(), 24u);
  EXPECT_EQ(DESEncrypt("", key).size(), 12u);
  EXPECT_EQ(DESEncrypt("1234567", key).size(), 12u);
  std::string line = DESEncrypt("a request of some length", key);
  EXPECT_EQ(line.find('\n'), std::string::npos);
  EXPECT_EQ(openWith(key, line), "a request of some length");
}

TEST(DesEncrypt, StopsAtNulAndZeroFillsAShortKey) {
  EXPECT_EQ(DESEncrypt(std::string("abc\0def", 7), "K"), DESEncrypt("abc", "K"));
  std::string padded("K\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16);
  EXPECT_EQ(openWith(padded, DESEncrypt("text", "K")), "text");
}

TEST(DesDecrypt, OpensServerChallengesOfOneAndTwoBlocksAndMore) {
  for (const std::string clear : {"0123456789", "0123456789ABCDEF0123", "a challenge longer than 32 bytes!!!!"}) {
    std::string challenge = banktool::makeChallenge(clear);
    EXPECT_EQ(DESDecrypt(challenge + "\n"), clear);
    EXPECT_EQ(DESDecrypt(challenge), clear);
  }
}

TEST(DesDecrypt, BadPadDropsOnlyTheLastBlock) {
  std::string key = base64Decode(readDESKey());
  std::string clear = std::string("leading!") + "lastblk" + '\x09';
  auto cipher = tripleDesCbc(true, u8(key), kZeroTextIV, clear, false);
  ASSERT_TRUE(cipher);
  EXPECT_EQ(DESDecrypt(base64Encode(*cipher)), "leading!");
}

TEST(DesDecrypt, ClearTextStopsAtNulInEachPart) {
  std::string key = base64Decode(readDESKey());
  std::string clear = std::string("ab\0defgh", 8) + std::string("xy\0\x05\x05\x05\x05\x05", 8);
  auto cipher = tripleDesCbc(true, u8(key), kZeroTextIV, clear, false);
  ASSERT_TRUE(cipher);
  EXPECT_EQ(DESDecrypt(base64Encode(*cipher)), "abxy");
}

TEST(DesDecrypt, MalformedInputGivesNothing) {
  EXPECT_EQ(DESDecrypt(""), "");
  EXPECT_EQ(DESDecrypt("not base64 at all!\n"), "");
  EXPECT_EQ(DESDecrypt(base64Encode(std::string("12345"))), "");  // not whole blocks
}

}  // namespace
