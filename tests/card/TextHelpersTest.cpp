#include "card/StringFormat.h"
#include "card/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

TEST(StringFormat, ZeroFlagPadsTextWithZerosOnTheLeft) {
  const struct {
    const char* format;
    const char* text;
    const char* expected;
  } cases[] = {
      {"%014s", "1500", "00000000001500"},
      {"%016s", "12345678901234", "0012345678901234"},
      {"%02s", "3", "03"},
      {"%02s", "", "00"},
      {"%02s", "12", "12"},                                   // as long as the width: whole
      {"%014s", "123456789012345678", "123456789012345678"},  // longer: whole, never cut
      {"%14s", "1500", "          1500"},                     // without the flag: blanks
      {"%-6s|", "ab", "ab    |"},
      {"%-06s|", "ab", "ab    |"},  // left-justified pads with blanks on the right
      {"%06.2s", "abcd", "0000ab"},
  };
  for (const auto& c : cases) EXPECT_EQ(string_format(c.format, c.text), c.expected) << c.format;
}

TEST(StringFormat, TextArgumentsOfEveryKind) {
  const unsigned char record[] = {'A', 'B', 'C', 0, 'D'};
  char buffer[8] = "xy";
  const std::string s = "str";
  EXPECT_EQ(string_format("%s", record), "ABC");  // ends at the first zero byte
  EXPECT_EQ(string_format("%s|%s|%s", buffer, s, std::string_view("view")), "xy|str|view");
  EXPECT_EQ(string_format("%s", std::string("a\0b", 3)), "a");
  EXPECT_EQ(string_format("[%s]", static_cast<const char*>(nullptr)), "[]");
}

TEST(StringFormat, ArrayWithoutTerminatorIsReadOnlyToItsEnd) {
  struct {
    unsigned char serial[8];
    char tag[3];
    unsigned char after[4];
  } record = {{'0', '0', '0', '0', '0', '0', '0', '1'}, {'T', 'A', 'G'}, {'X', 'X', 'X', 0}};
  EXPECT_EQ(string_format("%s|%s", record.serial, record.tag), "00000001|TAG");
  EXPECT_EQ(string_format("%s", "literal"), "literal");
}

TEST(StringFormat, NumbersFollowPrintf) {
  EXPECT_EQ(string_format("%04d%02d%02d%02d%02d%02d", 2026, 1, 2, 3, 4, 5), "20260102030405");
  EXPECT_EQ(string_format("%02X", static_cast<unsigned char>(0x0A)), "0A");
  EXPECT_EQ(string_format("[0x%08x]", std::uint64_t{0x8010001D}), "[0x8010001d]");
  EXPECT_EQ(string_format("%d", -7L), "-7");
  EXPECT_EQ(string_format("%lld|%llu", -1LL, ~0ULL), "-1|18446744073709551615");
  EXPECT_EQ(string_format("%hhx", 0x1FF), "ff");
  EXPECT_EQ(string_format("%.2f|%g", 2.5f, 1e3), "2.50|1000");
  EXPECT_EQ(string_format("%c%c", 'O', 'K'), "OK");
  EXPECT_EQ(string_format("%*d|%-*d|", 4, 7, 3, 8), "   7|8  |");
  EXPECT_EQ(string_format("100%%"), "100%");
}

TEST(StringFormat, MismatchedOrMissingArgumentsWriteNothing) {
  EXPECT_EQ(string_format("<%s><%d>", 12, "text"), "<><>");
  EXPECT_EQ(string_format("<%s><%d>"), "<><>");
  EXPECT_EQ(string_format("%n%s", "a", "b"), "b");
  EXPECT_EQ(string_format("50%"), "50%");
  EXPECT_EQ(string_format("%y%d", 3), "%y3");
}

TEST(StringFormat, LongResultFromShortFormat) {
  const std::string text(300, 'x');
  EXPECT_EQ(string_format("%s", text), text);
  EXPECT_EQ(string_format("%0300s", "1"), std::string(299, '0') + "1");
}

TEST(Trim, BothEndsAndUnchangedWhenOnlyTheCharacter) {
  const struct {
    const char* text;
    char c;
    const char* trimmed;
    const char* left;
  } cases[] = {
      {"##ab##", '#', "ab", "ab##"},    {"####", '#', "####", "####"}, {"", '#', "", ""},
      {"  a b  ", ' ', "a b", "a b  "}, {"ab", ' ', "ab", "ab"},       {"#", '#', "#", "#"},
  };
  for (const auto& c : cases) {
    std::string t = c.text, r = c.text, l = c.text;
    trim(t, c.c);
    trimRight(r, c.c);
    trimLeft(l, c.c);
    EXPECT_EQ(t, c.trimmed) << c.text;
    EXPECT_EQ(r, c.trimmed) << c.text;
    EXPECT_EQ(l, c.left) << c.text;
    EXPECT_EQ(trimReturn(c.text, c.c), c.trimmed);
    EXPECT_EQ(trimRightReturn(c.text, c.c), c.trimmed);
    EXPECT_EQ(trimLeftReturn(c.text, c.c), c.left);
  }
}

TEST(TruncateAndCase, CopiesAndInPlace) {
  std::string s = "abcdef";
  truncate(s, 3);
  EXPECT_EQ(s, "abc");
  truncate(s, 10);
  EXPECT_EQ(s, "abc");
  EXPECT_EQ(truncateReturn("abcdef", 9), "abcdef");
  EXPECT_EQ(truncateReturn("000001500", 4), "0000");
  std::string m = "MiXed1";
  toLoweer(m);
  EXPECT_EQ(m, "mixed1");
  toUpper(m);
  EXPECT_EQ(m, "MIXED1");
  EXPECT_EQ(toLowerReturn("AbC"), "abc");
  EXPECT_EQ(toUpperReturn("AbC"), "ABC");
}

TEST(CompareNoCase, ShorterSortsFirstAfterCommonPart) {
  EXPECT_LT(compareNoCase(std::string("ABC"), std::string("abcd")), 0);
  EXPECT_GT(compareNoCase(std::string("abcd"), std::string("ABC")), 0);
  EXPECT_EQ(compareNoCase(std::string("abc"), std::string("ABC")), 0);
  EXPECT_LT(compareNoCase("abc", "abd"), 0);
  EXPECT_EQ(compareNoCase("Bank", "bANK"), 0);
  EXPECT_LT(compareNoCase(nullptr, "a"), 0);
}

TEST(StrLength, CountsChineseCharactersAsOne) {
  EXPECT_EQ(strLength(""), 0u);
  EXPECT_EQ(strLength("ab\xE8\xBD\x89\xE5\xB8\xB3"), 4u);  // two letters, two Chinese characters
  EXPECT_EQ(strLength("\xE8\xBD"), 1u);                    // a cut character still counts once
  EXPECT_EQ(strLength("1234567890"), 10u);
}

TEST(CopyText, CutsAndTerminates) {
  char out[4];
  EXPECT_EQ(copyText("abcdef", out, sizeof out), 3u);
  EXPECT_STREQ(out, "abc");
  EXPECT_EQ(copyText("x", out, 0), 0u);
}

}  // namespace
