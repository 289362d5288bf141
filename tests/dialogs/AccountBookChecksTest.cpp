// The tests an account-book entry passes: comment syntax, e-mail keywords and format, the account forms
// of the postal bank.
#include <gtest/gtest.h>

#include "AccountBookChecks.h"

namespace {

struct CommentCase {
  const char* comment;
  int code;
};

TEST(AccountBookChecks, CommentSyntax) {
  const CommentCase cases[] = {
      {"Mom", 0},      {"媽媽", 0},       {"a b", 0},           {"a;b", 0},  // ';' is not in the list
      {"a:b", 0},      {"", 0},           {"selection", -1},    {"SeLeCt", -1}, {"xupdate", -2}, {"delete", -3},
      {"drop", -4},    {"exec", -5},      {"where", -6},        {"insert", -7}, {"create", -8},  {"backup", -9},
      {"having", -11}, {"truncate", -12}, {"updateselect", -1},  // the list's order decides
      {"drop.", -4},   {"a.b", -13},      {"a@b", -13},         {"a_b", -13},   {"a\"b", -13},   {"it's", -13},
      {"<b>", -13},    {"a,b", -13},      {"a?b", -13},         {"a/b", -13},   {"~", -13},      {"100%", -13},
  };
  for (const CommentCase& c : cases) {
    EXPECT_EQ(CheckCommentSyntax(c.comment), c.code) << c.comment;
    EXPECT_EQ(CheckCommentSyntax_ADD(c.comment), c.code) << c.comment;
  }
}

TEST(AccountBookChecks, EmailKeywordsAndCharacters) {
  const CommentCase cases[] = {
      {"a@b.example", 0},
      {"first_last@b.example", 0},
      {"a:b@c.example", 0},
      {"a+b@c.example", 100},
      {"a-b@c.example", 100},
      {"dropbox@c.example", 100},
      {"a@WHERE.example", 100},
      {"a/b@c.example", 100},
      {"a\"b\"@c.example", 100},
      {"a,b@c.example", 100},
      {"", 0},
  };
  for (const CommentCase& c : cases) EXPECT_EQ(CheckInvaildKeyWord(c.comment), c.code) << c.comment;
}

struct EmailCase {
  const char* address;
  bool ok;
};

TEST(AccountBookChecks, EmailFormat) {
  const EmailCase cases[] = {
      {"a@b.example", true},
      {"first.last@mail.b.example", true},
      {"a@b", false},           // no "." in the domain
      {"a@b..example", false},  // two in a row
      {"a@.b.example", false},  // a "." first
      {"@b.example", false},    // empty local part
      {"a.@b.example", false},  // local part ends with "."
      {"ab.example", false},    // no "@"
      {"", false},
      {"a@", false},
      {"a b@c.example", false},  // a blank
      {"a@b c.example", false},
      {"a@b@c.example", false},   // "@" in the domain
      {"a(b)@c.example", false},  // specials outside quotes
      {"a:b@c.example", false},
      {"媽媽@b.example", false},      // bytes of 0x80 and above
      {"\"a@b\"@c.example", true},    // specials inside quotes
      {"\"a\\ b\"@c.example", true},  // a backslash lets a blank through
      {"\"a b\"@c.example", false},
      {"\"ab\".cd@e.example", true},
      {"x.\"ab\"@e.example", true},
      {"\"ab\"cd@e.example", false},  // after the closing quote only "@" or "."
      {"\"ab@e.example", false},      // no closing quote
  };
  for (const EmailCase& c : cases) {
    EXPECT_EQ(CheckEmailFormat(c.address), c.ok) << c.address;
    EXPECT_EQ(CheckEmailFormat_ADD(c.address), c.ok) << c.address;
  }
  EXPECT_FALSE(CheckEmailFormat(nullptr));
}

TEST(AccountBookChecks, PostalAccountForms) {
  const EmailCase cases[] = {
      {"12345678", true},          {"12345670", false},                      // 8 digits, checked whole
      {"12345696000000", true},    {"12345686000000", false},                // 14: two groups of 7
      {"12345696000001", false},                                             //     the second group fails
      {"700001012345678", true},   {"700001112345678", false},               // 15: the giro-transfer form
      {"1234567890", false},       {"1234569", false},         {"", false},  // any other length
      {"1234567890123456", false},
  };
  for (const EmailCase& c : cases) EXPECT_EQ(postalBookAccountPasses(c.address), c.ok) << c.address;
}

TEST(AccountBookChecks, BookAccountsAreOneToSixteenDigits) {
  const EmailCase cases[] = {
      {"1", true},     {"1234567890123456", true}, {"", false},     {"12345678901234567", false},
      {"12a4", false}, {" 1234", false},           {"１２", false}, {"-12", false},
  };
  for (const EmailCase& c : cases) EXPECT_EQ(isBookAccount(c.address), c.ok) << c.address;
}

}  // namespace
