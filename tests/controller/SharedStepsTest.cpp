// Text steps the transactions share, and the request formatter's zero-padded texts.
#include <gtest/gtest.h>

#include "ZododovuRavuVODCtrl.h"

namespace {
using Ctrl = ZododovuRavuVODCtrl;

TEST(SharedSteps, DoNumStringDropsTheCentsDigits) {
  EXPECT_EQ(Ctrl::doNumString("00000000012300", 2), "123");
  EXPECT_EQ(Ctrl::doNumString("5", 2), "0");
  EXPECT_EQ(Ctrl::doNumString("", 0), "0");
  EXPECT_EQ(Ctrl::doNumString("12ab", 0), "12");
  EXPECT_EQ(Ctrl::doNumString("-4200", 2), "-42");
  EXPECT_EQ(Ctrl::doNumString("12345", -1), "0");
  // A text too long for a number does not overflow.
  EXPECT_FALSE(Ctrl::doNumString(std::string(40, '9'), 0).empty());
}

TEST(SharedSteps, DoChangesWordTurnsTheFirstLetterIntoItsNumber) {
  EXPECT_EQ(Ctrl::doChangesWord("123456"), "");
  EXPECT_EQ(Ctrl::doChangesWord(""), "");
  EXPECT_EQ(Ctrl::doChangesWord("a12"), "1012");
  EXPECT_EQ(Ctrl::doChangesWord("A123456789"), "10123456789");
  EXPECT_EQ(Ctrl::doChangesWord("I1"), "341");
  EXPECT_EQ(Ctrl::doChangesWord("O1"), "351");
  EXPECT_EQ(Ctrl::doChangesWord("Z9"), "339");
  EXPECT_EQ(Ctrl::doChangesWord("99W5"), "325");  // digits in front are dropped
  EXPECT_EQ(Ctrl::doChangesWord("-7"), "457");    // not a letter: its character code
}

TEST(SharedSteps, AddEmptyPadsWithBlanks) {
  EXPECT_EQ(Ctrl::addEmpty("abc", 5), "abc  ");
  EXPECT_EQ(Ctrl::addEmpty("abcdef", 5), "abcdef");
  EXPECT_EQ(Ctrl::addEmpty("abc", -3), "abc");
}

TEST(SharedSteps, FormatPadsTextsWithZerosAndKeepsLongOnesWhole) {
  EXPECT_EQ(Ctrl::format("%016s", "12345"), "0000000000012345");
  EXPECT_EQ(Ctrl::format("%014s", std::string("12345678901234567890")), "12345678901234567890");
  EXPECT_EQ(Ctrl::format("%02s", "1"), "01");
  EXPECT_EQ(Ctrl::format("%d", 42), "42");
  std::string longText(600, 'x');
  EXPECT_EQ(Ctrl::format("%s", longText), longText);
}

TEST(SharedSteps, CocxIsTheComponentToken) { EXPECT_EQ(Ctrl::Cocx(), "Hk4nZp7Q"); }

}  // namespace
