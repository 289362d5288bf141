#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "crypto/Setting.h"

namespace {

std::vector<std::string> entries() {
  std::vector<std::string> out;
  std::string text(BankIDtxtList);
  std::string::size_type start = 0, end;
  while ((end = text.find('#', start)) != std::string::npos) {
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  EXPECT_EQ(start, text.size()) << "the text must end with \"#\"";
  return out;
}

// The codes in the order the bank's pages and server know them.
const char kCodesInOrder[] =
    "004 005 006 007 008 009 011 012 013 016 017 018 021 022 025 039 050 052 053 054 072 075 081 101 102 103 "
    "104 108 114 115 118 119 120 124 127 130 132 146 147 158 161 162 163 165 178 188 204 215 216 222 223 224 "
    "503 504 505 506 507 512 515 517 518 520 521 523 524 525 603 605 606 607 608 609 610 611 612 613 614 616 "
    "617 618 619 620 621 622 623 624 625 627 700 803 805 806 807 808 809 810 812 814 815 816 822 901 903 904 "
    "910 912 916 922 928 951 954 997";

TEST(BankList, HoldsTheCodesInOrderEachOnceWithAName) {
  std::vector<std::string> list = entries();
  ASSERT_EQ(list.size(), 112u);
  std::istringstream codes(kCodesInOrder);
  std::set<std::string> seen;
  for (const std::string& entry : list) {
    std::string expected;
    codes >> expected;
    ASSERT_GE(entry.size(), 4u) << entry;
    EXPECT_EQ(entry.substr(0, 3), expected) << entry;
    EXPECT_TRUE(seen.insert(entry.substr(0, 3)).second) << "twice: " << entry;
    // Every name is Chinese text (or the company's name) and no entry carries a line break.
    EXPECT_EQ(entry.find_first_of("\r\n"), std::string::npos) << entry;
  }
}

TEST(BankList, NamedEntriesAreExact) {
  std::vector<std::string> list = entries();
  ASSERT_EQ(list.size(), 112u);
  EXPECT_EQ(list.front(), "004台灣銀行");
  EXPECT_EQ(list.back(), "997中華民國信用合作社南區中心");
  std::set<std::string> all(list.begin(), list.end());
  for (const char* named : {"700Lunmara股份有限公司", "039澳盛（台灣）商業銀行", "810星展〈台灣〉商業銀行"}) {
    EXPECT_EQ(all.count(named), 1u) << named;
  }
  for (const char* code : {"603", "606", "607", "610", "623"}) {
    EXPECT_EQ(all.count(std::string(code) + "北農中心"), 1u) << code;
  }
  for (const char* code : {"614", "616", "617", "618", "619", "620", "622"}) {
    EXPECT_EQ(all.count(std::string(code) + "南農中心所屬會員"), 1u) << code;
  }
}

}  // namespace
