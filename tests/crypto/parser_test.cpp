#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "crypto/ParseEncParam.h"
#include "tools/banktool/banktool.h"

namespace {

using Strings = std::vector<std::string>;

class PageParams : public ::testing::Test {
 protected:
  const unsigned char pageIv[8] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
  CParseEncParam parser;
  unsigned char iv[8] = {};

  void SetUp() override { ASSERT_EQ(parser.GetParam_IV(banktool::makeIvBlock(pageIv), iv), 0); }
  std::string open(const std::string& text) {
    return parser.GetStringFromEncData(banktool::makeParamBlock(text, pageIv), iv);
  }
  std::string openRaw(const std::string& blocks) {
    return parser.GetStringFromEncData(banktool::makeRawParamBlock(blocks, pageIv), iv);
  }
};

TEST_F(PageParams, IvComesFromBlockFive) {
  EXPECT_EQ(std::string(reinterpret_cast<char*>(iv), 8), std::string(reinterpret_cast<const char*>(pageIv), 8));
  unsigned char other[8];
  EXPECT_EQ(parser.GetParam_IV("0123", other), -1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(other), 8), std::string(8, '\0'));
  EXPECT_EQ(parser.GetParam_IV("ZZ23456789ABCDEF", other), -1);
}

TEST_F(PageParams, BlocksOpenToTheirClearText) {
  EXPECT_EQ(open("0700000011234567890123456Virtual PCD 00 00"), "0700000011234567890123456Virtual PCD 00 00");
  EXPECT_EQ(open("1234567"), "1234567");
  EXPECT_EQ(open("12345678"), "12345678");
}

TEST_F(PageParams, Big5BlocksComeBackInUtf8) { EXPECT_EQ(open("700#郵局帳戶#轉帳"), "700#郵局帳戶#轉帳"); }

TEST_F(PageParams, PaddingRules) {
  EXPECT_EQ(openRaw(std::string("ABCDEFG") + '\x00'), "ABCDEFG");  // pad 0 drops nothing
  EXPECT_EQ(openRaw(std::string("ABCDEFG") + '\x09'), "");         // pad above 8
  EXPECT_EQ(openRaw(std::string("ABCDEFGH") + std::string(8, '\x08')), "ABCDEFGH");
  EXPECT_EQ(openRaw(std::string("AB\0DE", 5) + "\x03\x03\x03"), "AB");  // stops at NUL
}

TEST_F(PageParams, UnopenableBlocksGiveNothing) {
  std::string good = banktool::makeParamBlock("value", pageIv);
  EXPECT_EQ(parser.GetStringFromEncData("", iv), "");
  EXPECT_EQ(parser.GetStringFromEncData(good.substr(0, 15), iv), "");
  EXPECT_EQ(parser.GetStringFromEncData(good + "00", iv), "");
  std::string notHex = good;
  notHex[3] = 'G';
  EXPECT_EQ(parser.GetStringFromEncData(notHex, iv), "");
}

// Pages may write the hexadecimal digits of their blocks in either case.
TEST_F(PageParams, LowerCaseBlocksOpenAsUpperCaseOnes) {
  auto lower = [](std::string hex) {
    for (char& c : hex)
      if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
    return hex;
  };
  const std::string block = banktool::makeParamBlock("0700000011234567890123456", pageIv);
  ASSERT_NE(lower(block), block);
  EXPECT_EQ(parser.GetStringFromEncData(lower(block), iv), "0700000011234567890123456");
  unsigned char fromLower[8] = {};
  ASSERT_EQ(parser.GetParam_IV(lower(banktool::makeIvBlock(pageIv)), fromLower), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(fromLower), 8), std::string(reinterpret_cast<const char*>(pageIv), 8));
}

TEST_F(PageParams, ReturnValuesRoundTripAtAnyLength) {
  for (const std::string& value : std::vector<std::string>{"", "M0", "P12", "1", "1234567", "12345678",
                                                           "123456789012345", std::string(200, 'x')}) {
    std::string hex = parser.SetStringToEncData(value, iv);
    EXPECT_EQ(hex.size(), (value.size() / 8 + 1) * 16) << value;
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(parser.GetStringFromEncData(hex, iv), value);
  }
}

TEST(ParseBlocks, ReaderBlockFieldsAndShortBlock) {
  CParseEncParam p;
  p.Parse_BH_D1(
      "1"
      "00700000"
      "0001234567890123"
      "Virtual PCD 00 00");
  EXPECT_EQ(p.D1ReaderType, "1");
  EXPECT_EQ(p.D1IssuerId, "00700000");
  EXPECT_EQ(p.D1IssuerAccount, "0001234567890123");
  EXPECT_EQ(p.D1ReaderName, "Virtual PCD 00 00");
  p.Parse_BH_D1(std::string(25, '9'));
  EXPECT_EQ(p.D1ReaderName, "");
  EXPECT_THROW(p.Parse_BH_D1(std::string(24, '9')), std::out_of_range);
  EXPECT_EQ(p.D1IssuerId, "99999999");  // a refused block changes nothing
}

TEST(ParseBlocks, TerminalBlockWithAndWithoutCardAccount) {
  CParseEncParam p;
  const std::string base =
      "TERM0001"
      "CHK00001"
      "AGENT001"
      "20261210130500";
  p.D3CardAccount = "keep";
  p.Parse_BH_D3(base);
  EXPECT_EQ(p.D3TerminalId, "TERM0001");
  EXPECT_EQ(p.D3CheckCode, "CHK00001");
  EXPECT_EQ(p.D3AgentNo, "AGENT001");
  EXPECT_EQ(p.D3TransDateTime, "20261210130500");
  EXPECT_EQ(p.D3CardAccount, "keep");
  p.Parse_BH_D3(base + "7");
  EXPECT_EQ(p.D3CardAccount, "7");
  p.Parse_BH_D3(base + "12345678XYZ");
  EXPECT_EQ(p.D3CardAccount, "12345678");
  p.Parse_BH_D3(std::string(24, '0'));
  EXPECT_EQ(p.D3TransDateTime, "");
  EXPECT_THROW(p.Parse_BH_D3(std::string(23, '0')), std::out_of_range);
}

TEST(ParseBlocks, ListsAndWholeBlocks) {
  CParseEncParam p;
  p.Parse_BH_D0("#700#812##");
  EXPECT_EQ(p.D0List, (Strings{"700", "812", ""}));
  p.Parse_BH_D6("0001#0002");
  EXPECT_EQ(p.D6AgreeAccounts, (Strings{"0001", "0002"}));
  p.Parse_BH_D7("");
  EXPECT_TRUE(p.D7CommonAccounts.empty());
  p.Parse_BH_D9("a\nb\nc#d");
  EXPECT_EQ(p.D9BookEntries, (Strings{"a\nb\nc", "d"}));
  p.Parse_BH_D2("SESSION-1");
  p.Parse_BH_D4("P014A1");
  p.Parse_BH_D10("50");
  EXPECT_EQ(p.D2SessionId, "SESSION-1");
  EXPECT_EQ(p.D4PCode, "P014A1");
  EXPECT_EQ(p.D10CountLimit, "50");
}

TEST(ParseBlocks, AmountBlock) {
  struct Case {
    const char* block;
    const char* ag;
    const char* nag;
  };
  const Case cases[] = {
      {"50000", "0", "50000"},  {"30000$50000", "30000", "50000"}, {"##30000$50000##", "30000", "50000"},
      {"$50000", "0", "50000"}, {"30000$", "30000", "0"},          {"1$2$3", "1", "2"},
  };
  for (const Case& c : cases) {
    CParseEncParam p;
    p.Parse_BH_D8(c.block);
    EXPECT_EQ(p.D8AgSelfAmt, c.ag) << c.block;
    EXPECT_EQ(p.D8NagSelfAmt, c.nag) << c.block;
  }
}

TEST(SplitText, SplitString1Table) {
  struct Case {
    const char* text;
    Strings pieces;
  };
  const Case cases[] = {
      {"", {}}, {"#", {}}, {"a#b", {"a", "b"}}, {"#a#b#", {"a", "b"}}, {"a##b", {"a", "", "b"}}, {"##a", {"", "a"}},
  };
  CParseEncParam p;
  for (const Case& c : cases) {
    Strings list{"stale"};
    EXPECT_EQ(p.SplitString_1(c.text, '#', list), static_cast<int>(c.pieces.size())) << c.text;
    EXPECT_EQ(list, c.pieces) << c.text;
  }
  Strings list{"stale"};
  EXPECT_EQ(p.SplitString_1(nullptr, '#', list), 0);
  EXPECT_TRUE(list.empty());
}

TEST(SplitText, SplitStringCountsOccurrences) {
  CParseEncParam p;
  Strings list;
  EXPECT_EQ(p.SplitString("a::b::::c", "::", list), 3);
  EXPECT_EQ(list, (Strings{"a", "b", "c"}));
  list.clear();
  EXPECT_EQ(p.SplitString("abc", "x", list), 0);
  EXPECT_EQ(p.SplitString("ab", "abc", list), 0);
  EXPECT_EQ(p.SplitString("abc", "", list), 0);
  EXPECT_TRUE(list.empty());
}

TEST(HexHelpers, StrictHexOnly) {
  CParseEncParam p;
  unsigned char out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_EQ(p.Hex2Bin("0a1B", 4, out), 0);
  EXPECT_EQ(out[0], 0x0A);
  EXPECT_EQ(out[1], 0x1B);
  EXPECT_EQ(p.Hex2Bin("0a1", 3, out), -1);
  EXPECT_EQ(p.Hex2Bin("0x12", 4, out), -1);
  EXPECT_EQ(p.Hex2Bin("+1", 2, out), -1);
  EXPECT_EQ(out[2], 0xEE);
  char hex[4];
  EXPECT_EQ(p.Bin2Hex(out, 2, hex), 0);
  EXPECT_EQ(std::string(hex, 4), "0A1B");
}

}  // namespace
