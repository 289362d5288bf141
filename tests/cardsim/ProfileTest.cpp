#include <gtest/gtest.h>

#include "cardsim/Profile.h"

namespace rvp::cardsim {
namespace {

TEST(Profile, BuildsRecordsFromTlvTextsAndHex) {
  Profile p = Profile::parse(R"(
    pin = 1234       # comment
    serial = 42
    [ef 1001]
    1 = tlv 01 "70000019"
    2 = tlv 02 "AB":4       # padded with blanks
    3 = 01 02 "#x" FF       # '#' inside a text is no comment
    binary = 0A0B
  )");
  const auto& f = p.files.at(0x1001);
  ASSERT_EQ(f.records.size(), 3u);
  EXPECT_EQ(f.records[0], fromHex("01 08 3730303030303139"));
  EXPECT_EQ(f.records[1], fromHex("02 04 41422020"));
  EXPECT_EQ(f.records[2], fromHex("01 02 2378 FF"));
  EXPECT_EQ(f.binary, fromHex("0A0B"));
  EXPECT_EQ(p.files.at(0x00C2).records.at(0), fromHex("1234FFFFFFFFFFFF"));
  EXPECT_EQ(p.nextSerial, 42u);
  EXPECT_TRUE(p.files.count(0x1080)) << "the log file always exists";
}

TEST(Profile, ExampleProfilesLoad) {
  for (const char* name : {"bank", "postal"}) {
    Profile p = Profile::load(std::string(RVP_CARDSIM_PROFILE_DIR) + "/" + name + ".profile");
    EXPECT_EQ(p.files.at(0x1001).records.size(), 10u) << name;
    EXPECT_EQ(p.files.at(0x1002).records.size(), 8u) << name;
    EXPECT_EQ(p.files.at(0x1001).records[1].size(), 32u) << name << ": remark record is tag, length, 30 bytes";
  }
}

TEST(Profile, RejectsBadLinesNamingTheLine) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"nonsense = 1", "profile:1: unknown setting"},
      {"\natr = 3B 8", "profile:2: odd number of hex digits"},
      {"[ef 1001]\n2 = 00", "profile:2: records are numbered from 1"},
      {"[ef 1001]\n1 = \"abc", "unterminated text"},
      {"[ef 1001]\n1 = \"abcdef\":3", "longer than its width"},
      {"[df 1001]", "expected [ef XXXX]"},
      {"pin = 12a4", "a PIN is 1 to 16 digits"},
      {"tac_key = 0011", "tac_key needs 16 bytes"},
      {"just words", "expected key = value"},
      {"pin_tries = -1", "profile:1"},
      {"log_framing = tlv", "profile:1: expected zeros, ff, length or whole_length"},
  };
  for (const auto& c : cases) {
    try {
      Profile::parse(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const ProfileError& e) {
      EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
    }
  }
}

TEST(Profile, MissingFileIsAClearError) { EXPECT_THROW(Profile::load("/nonexistent/card.profile"), ProfileError); }

}  // namespace
}  // namespace rvp::cardsim
