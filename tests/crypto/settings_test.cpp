#include <cctype>
#include <string>

#include <gtest/gtest.h>

#include "crypto/Setting.h"

namespace {

bool isDottedQuad(const std::string& s) {
  int dots = 0;
  for (char c : s) {
    if (c == '.')
      ++dots;
    else if (!std::isdigit(static_cast<unsigned char>(c)))
      return false;
  }
  return dots == 3 && s.back() != '.';
}

TEST(Settings, BankCodeAndTransactionCodes) {
  EXPECT_EQ(SKBC, "700");
  EXPECT_EQ(TRANSFER, 2920);
  EXPECT_EQ(CARDSTART, 6100);
  EXPECT_EQ(std::string(P_TRANSFER_6), "I03533");
}

TEST(Settings, OriginTableHasTheEightKinds) {
  ASSERT_EQ(WEBURLCNT, 8);
  EXPECT_TRUE(isDottedQuad(WEBURL[0]));
  EXPECT_EQ(WEBURL[1].find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-"),
            std::string::npos);
  EXPECT_NE(WEBURL[2].find("localhost:"), std::string::npos);
  EXPECT_EQ(WEBURL[3].back(), '.');
  EXPECT_TRUE(isDottedQuad(WEBURL[3] + "1"));
  EXPECT_TRUE(isDottedQuad(WEBURL[4]));
  EXPECT_NE(WEBURL[5], WEBURL[6]);
  EXPECT_TRUE(isDottedQuad(WEBURL[7]));
  EXPECT_NE(WEBURL[7].substr(0, 4), WEBURL[0].substr(0, 4));
}

}  // namespace
