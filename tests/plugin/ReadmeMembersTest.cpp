// The README's table of the page object's members says what the code registers: every member has a row
// with its kind and reach, and every row names a member. Page authors check their names against that
// table (a misspelt property is silently kept as an attribute), so a stale row misleads them.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <string>

#include "ZODODOVURAVUVOD.h"

namespace {

struct Row {
  std::string kind;
  std::string reach;
};

// The rows of the section "## The page object's members", by member name. A name given twice is
// reported through `twice`.
std::map<std::string, Row> readmeRows(const std::string& path, std::string& twice) {
  std::ifstream in(path);
  std::map<std::string, Row> rows;
  const std::regex row(R"(^\| `([^`]+)` \| ([^|]+?) \| ([^|]+?) \|.*)");
  bool inSection = false;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("## ", 0) == 0) inSection = line == "## The page object's members";
    std::smatch m;
    if (!inSection || !std::regex_match(line, m, row)) continue;
    if (!rows.emplace(m[1].str(), Row{m[2].str(), m[3].str()}).second) twice += " " + m[1].str();
  }
  return rows;
}

std::string kindWord(PageMember::Kind kind) {
  switch (kind) {
    case PageMember::Method:
      return "method";
    case PageMember::Property:
      return "property";
    case PageMember::ReadOnlyProperty:
      return "read-only property";
  }
  return "?";
}

std::string reachWord(PageMember::Reach reach) { return reach == PageMember::Guarded ? "guarded" : "open"; }

TEST(ReadmeMembers, TheTableNamesEveryMemberWithItsKindAndReachAndNothingElse) {
  std::string twice;
  std::map<std::string, Row> rows = readmeRows(RVP_README, twice);
  ASSERT_FALSE(rows.empty()) << RVP_README << " has no rows under \"## The page object's members\"";
  EXPECT_EQ(twice, "") << "README rows given twice";

  for (const PageMember& member : ZODODOVURAVUVOD::pageMembers()) {
    auto it = rows.find(member.name);
    if (it == rows.end()) {
      ADD_FAILURE() << "the README has no row for the page member " << member.name;
      continue;
    }
    EXPECT_EQ(it->second.kind, kindWord(member.kind)) << member.name;
    EXPECT_EQ(it->second.reach, reachWord(member.reach)) << member.name;
    rows.erase(it);
  }
  for (const auto& [name, row] : rows)
    ADD_FAILURE() << "the README has a row for " << name << ", which is no page member";
}

}  // namespace
