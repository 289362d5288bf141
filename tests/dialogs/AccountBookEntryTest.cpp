// Entry texts of the account book read and written, and the book's XML as the page gets it back.
#include <gtest/gtest.h>

#include "AccountBookEntry.h"

namespace {

struct XmlCase {
  const char* name;
  std::vector<std::string> entries;
  std::string xml;
};

const XmlCase kXmlCases[] = {
    {"TwoEntriesOfTheExample",
     {"7000001234567\nMom\nnull", "0081234567890\nnull\nnull"},
     "<Vennoral><rec><bank>700</bank><acc>0001234567</acc><comment>Mom</comment><email></email></rec>"
     "<rec><bank>008</bank><acc>1234567890</acc><comment></comment><email></email></rec></Vennoral>"},
    {"EmptyBook", {}, "<Vennoral></Vennoral>"},
    {"NoEmailPart",
     {"0081234\nMom"},
     "<Vennoral><rec><bank>008</bank><acc>1234</acc><comment>Mom</comment></rec></Vennoral>"},
    {"EmptyEmailPartAtTheEnd",
     {"0081234\nMom\n"},
     "<Vennoral><rec><bank>008</bank><acc>1234</acc><comment>Mom</comment></rec></Vennoral>"},
    {"EmptyCommentPart",
     {"0081234\n\na@b.example"},
     "<Vennoral><rec><bank>008</bank><acc>1234</acc><email>a@b.example</email></rec></Vennoral>"},
    {"NullInAnyCase",
     {"0081234\nNULL\nNuLl"},
     "<Vennoral><rec><bank>008</bank><acc>1234</acc><comment></comment><email></email></rec></Vennoral>"},
    {"SeveralAddresses",
     {"0081234\n媽媽\na@b.example;c@d.example"},
     "<Vennoral><rec><bank>008</bank><acc>1234</acc><comment>媽媽</comment>"
     "<email>a@b.example;c@d.example</email></rec></Vennoral>"},
    {"MarkupIsEscaped",
     {"0081234\n</comment><x>&\n<a>@b.example"},
     "<Vennoral><rec><bank>008</bank><acc>1234</acc><comment>&lt;/comment&gt;&lt;x&gt;&amp;</comment>"
     "<email>&lt;a&gt;@b.example</email></rec></Vennoral>"},
    {"EmptyEntryText", {""}, "<Vennoral><rec><bank></bank><acc></acc></rec></Vennoral>"},
    {"ShortFirstPart", {"00\nMom"}, "<Vennoral><rec><bank>00</bank><acc></acc><comment>Mom</comment></rec></Vennoral>"},
};

TEST(AccountBookXml, WritesEachEntryAsARecord) {
  for (const XmlCase& c : kXmlCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(accountBookXml(c.entries), c.xml);
  }
}

TEST(AccountBookXml, AProposedRecordAlwaysHasItsFourElements) {
  EXPECT_EQ(accountBookRecordXml("700", "12345678", "", ""),
            "<Vennoral><rec><bank>700</bank><acc>12345678</acc><comment></comment><email></email></rec></Vennoral>");
  EXPECT_EQ(accountBookRecordXml("008", "1", "A&B", "<x>"),
            "<Vennoral><rec><bank>008</bank><acc>1</acc><comment>A&amp;B</comment><email>&lt;x&gt;</email></rec>"
            "</Vennoral>");
}

TEST(AccountBookEntryText, ReadsItsPartsAndWritesNullForEmptyFields) {
  const AccountBookEntry full = readAccountBookEntry("0121234567\nNull\nx@y.example");
  EXPECT_EQ(full.bank, "012");
  EXPECT_EQ(full.account, "1234567");
  EXPECT_EQ(full.comment, "Null");
  EXPECT_EQ(full.shownComment(), "");
  EXPECT_EQ(full.shownEmail(), "x@y.example");
  EXPECT_TRUE(full.hasComment && full.hasEmail);

  const AccountBookEntry bare = readAccountBookEntry("012");
  EXPECT_EQ(bare.bank, "012");
  EXPECT_EQ(bare.account, "");
  EXPECT_FALSE(bare.hasComment || bare.hasEmail);

  EXPECT_EQ(writeAccountBookEntry("700", "12345678", "", ""), "70012345678\nnull\nnull");
  EXPECT_EQ(writeAccountBookEntry("008", "1", "Mom", "a@b.example"), "0081\nMom\na@b.example");
  // What is written reads back to the same values.
  const AccountBookEntry again = readAccountBookEntry(writeAccountBookEntry("008", "99", "", "a@b.example"));
  EXPECT_EQ(again.account, "99");
  EXPECT_EQ(again.shownComment(), "");
  EXPECT_EQ(again.email, "a@b.example");
}

}  // namespace
