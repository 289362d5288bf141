#include <string>

#include <gtest/gtest.h>

#include "crypto/base64.h"
#include "crypto/mac.h"
#include "crypto/selectkey.h"

namespace {

// The MAC computed independently from the decoded key and the given input.
std::string expectedMac(const std::string& keyText, const std::string& input) {
  std::string key = base64Decode(keyText);
  return base64Encode(doHMAC(reinterpret_cast<const unsigned char*>(input.data()), input.size(),
                             reinterpret_cast<const unsigned char*>(key.data())));
}

const std::string kRequest =
    "<Vennoral><tx_code>2920</tx_code><card>12345678901234567890</card><amt>00000000010000</amt></Vennoral>";

TEST(RequestMac, CoversOnlyBytes32To61) {
  std::string mac = HMAC_Data(kRequest);
  ASSERT_EQ(mac.size(), 29u);
  EXPECT_EQ(mac.back(), '\n');
  EXPECT_EQ(mac, expectedMac(readMACKey(), kRequest.substr(32, 30)));

  std::string outside = kRequest;
  outside[0] = 'X';
  outside[31] = 'X';
  outside[62] = 'X';
  outside += "tail";
  EXPECT_EQ(HMAC_Data(outside), mac);

  std::string inside = kRequest;
  inside[61] = 'X';
  EXPECT_NE(HMAC_Data(inside), mac);
}

TEST(RequestMac, NulInsideTheWindowEndsTheInput) {
  std::string atStart = kRequest, at40 = kRequest;
  atStart[32] = '\0';
  at40[40] = '\0';
  EXPECT_EQ(HMAC_Data(atStart), expectedMac(readMACKey(), ""));
  EXPECT_EQ(HMAC_Data(at40), expectedMac(readMACKey(), kRequest.substr(32, 8)));
}

TEST(RequestMac, ShortRequestIsNotReadPastItsEnd) {
  EXPECT_EQ(HMAC_Data(kRequest.substr(0, 40)), expectedMac(readMACKey(), kRequest.substr(32, 8)));
  EXPECT_EQ(HMAC_Data("short"), expectedMac(readMACKey(), ""));
}

TEST(ChallengeMac, CoversTheFirstTenBytesUnderItsOwnKey) {
  std::string challenge = "0123456789ABCDEF";
  std::string mac = HMAC_CR(challenge);
  EXPECT_EQ(mac, expectedMac(readCRKey(), "0123456789"));
  EXPECT_NE(mac, expectedMac(readMACKey(), "0123456789"));
  EXPECT_EQ(HMAC_CR(std::string("01234\0"
                                "6789",
                                10)),
            expectedMac(readCRKey(), "01234"));
  EXPECT_EQ(HMAC_CR(""), expectedMac(readCRKey(), ""));
}

TEST(KeyMaterial, PiecesJoinIntoSixteenByteKeysAndAPemKey) {
  for (const std::string& text : {readMACKey(), readCRKey(), readDESKey()}) {
    ASSERT_EQ(text.size(), 25u);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_GE(base64Decode(text).size(), 16u);
  }
  EXPECT_EQ(joinedBHOKey().size(), 24u);
  EXPECT_EQ(RSAI.size(), 76u);
  EXPECT_EQ(RSAII.size(), 76u);
  EXPECT_EQ(RSAIII.size(), 64u);
  std::string pem = readRSAKey();
  EXPECT_EQ(pem.rfind("-----BEGIN PUBLIC KEY-----\r\n", 0), 0u);
  EXPECT_EQ(pem.substr(pem.size() - 26), "\r\n-----END PUBLIC KEY-----");
  EXPECT_EQ(base64Decode(RSAI + RSAII + RSAIII).size(), 162u);
}

}  // namespace
