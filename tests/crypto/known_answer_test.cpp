// Known answers (tests/crypto/known_answers.h) for the plug-in's crypto helpers and the bank-side tool.
#include <string>

#include <gtest/gtest.h>

#include "crypto/base64.h"
#include "crypto/mac.h"
#include "crypto/selectkey.h"
#include "crypto/tripledes.h"
#include "tests/crypto/known_answers.h"
#include "tools/banktool/banktool.h"

namespace {

using namespace kat;

std::string bytes0To127() {
  std::string b;
  for (int i = 0; i < 128; ++i) b += static_cast<char>(i);
  return b;
}
// openssl base64 (lines of 64, each ended by "\n") and openssl base64 -A (one line) of bytes 00..7F.
const std::string kBase64Lines =
    "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4v\n"
    "MDEyMzQ1Njc4OTo7PD0+P0BBQkNERUZHSElKS0xNTk9QUVJTVFVWV1hZWltcXV5f\n"
    "YGFiY2RlZmdoaWprbG1ub3BxcnN0dXZ3eHl6e3x9fn8=\n";
const std::string kBase64Line =
    "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4OTo7PD0+P0BBQkNERUZHSElKS0xNTk9Q"
    "UVJTVFVWV1hZWltcXV5fYGFiY2RlZmdoaWprbG1ub3BxcnN0dXZ3eHl6e3x9fn8=";

const unsigned char kPageIv[8] = {1, 2, 3, 4, 5, 6, 7, 8};

std::string hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char b : bytes) out += {digits[b >> 4], digits[b & 0x0F]};
  return out;
}

const unsigned char* u8(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

TEST(KnownAnswers, RequestAndChallengeMacs) {
  EXPECT_EQ(HMAC_Data(kRequest), kRequestMac);
  EXPECT_EQ(HMAC_CR("A1B2C3D4E5F6G7H8"), kChallengeMac);
}

TEST(KnownAnswers, TwoKeyTripleDesWithItsIv) {
  // printf ABCDEFGH | openssl enc -des-ede-cbc -K d4f50f004b5c203cc9aa5068edf29d00 -iv 3030303030303030
  const std::string key = base64Decode(readDESKey());
  ASSERT_EQ(hex(key), "d4f50f004b5c203cc9aa5068edf29d00");
  EXPECT_EQ(hex(tripleDesCbc(true, u8(key), kZeroTextIV, "ABCDEFGH", true).value()),
            "327fb4253880fa8069a6e566d307b0b7");
  EXPECT_EQ(DESDecrypt(kChallenge + "\n"), "A1B2C3D4E5F6G7H8");
  EXPECT_EQ(banktool::makeChallenge("A1B2C3D4E5F6G7H8"), kChallenge);
}

TEST(KnownAnswers, Base64InBothLineShapes) {
  const std::string data = bytes0To127();
  EXPECT_EQ(base64Encode(data), kBase64Lines);
  EXPECT_EQ(base64EncodeLine(u8(data), data.size()), kBase64Line);
  EXPECT_EQ(base64Decode(kBase64Lines), data);
  EXPECT_EQ(base64Decode(kBase64Line + "\n"), data);
}

TEST(KnownAnswers, PageParameterBlocksOfTheBankSide) {
  // printf 1234567890 | openssl enc -des-ede-cbc -K 12d751489857d53fc29708a51e97d107 -iv 0102030405060708
  EXPECT_EQ(banktool::makeParamBlock("1234567890", kPageIv), "0E68CA52BFD6513A126FCFD820F718F5");
  // the same without padding, of ABCDEFGH12345678
  EXPECT_EQ(banktool::makeRawParamBlock("ABCDEFGH12345678", kPageIv), "BF8E785C068E4D2A6A86C6F205BA6053");
  // printf '\x01...\x08' | openssl enc -des-ede-cbc -K d4f50f004b5c203cc9aa5068edf29d00 -iv 3030303030303030
  EXPECT_EQ(banktool::makeIvBlock(kPageIv), "817E0829225226D98856937E79AF266F");
}

}  // namespace
