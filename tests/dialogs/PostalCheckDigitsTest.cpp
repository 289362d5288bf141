#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PostalCheckDigits.h"

namespace {

struct Rule {
  const char* name;
  std::function<bool(const std::string&)> check;
};

// Worked by hand: weights 2, 3, ... on every digit but the last, sum modulo 11 = r, check (11 - r) mod 10.
struct Case {
  const char* text;
  bool passes;
  const char* why;
};

const Case kPlainCases[] = {
    {"1234569", true, "sum 112, r 2, check 9"},
    {"1234568", false, "wrong check digit"},
    {"0000001", true, "all zeros: r 0, check 1"},
    {"0000000", false, "seven zeros"},
    {"6000000", true, "sum 12, r 1, check 0"},
    {"12345678", true, "8-digit giro account: sum 168, r 3, check 8"},
    {"12345679", false, "8-digit giro account, wrong check digit"},
    {"1", true, "one digit: empty sum, check 1"},
    {"0", false, "one digit other than 1"},
    {"0000010", false, "the 1 at weight 7: r 7, check 4"},
    {"0000014", true, "the 1 at weight 7: r 7, check 4"},
    {"51", true, "sum 10, r 10, check 1 (not 11 - r)"},
    {"50", false, "r 10 never gives check 0"},
    {"", false, "empty text"},
    {"123456A", false, "a letter as check digit"},
    {"12 4569", false, "a blank inside"},
    {"1234569\n", false, "a trailing line break"},
};

const Case kGiroTransferCases[] = {
    {"700001012345678", true, "prefix and a passing giro account"},
    {"700001112345678", false, "seventh character differs, though the last 8 pass"},
    {"70000101234567", false, "14 characters: the plain rule then tests 1234567"},
    {"700001012345679", false, "prefix right, check digit wrong"},
    {"7000010", false, "the prefix alone"},
    {"700001", false, "shorter than the prefix"},
    {"", false, "empty"},
    {"800001012345678", false, "first character differs"},
};

void runTable(const std::vector<Rule>& rules, const Case* begin, const Case* end) {
  for (const Rule& rule : rules) {
    for (const Case* c = begin; c != end; ++c) {
      EXPECT_EQ(rule.check(c->text), c->passes) << rule.name << "(\"" << c->text << "\"): " << c->why;
    }
  }
}

TEST(PostalCheckDigits, EveryNameOfThePlainRuleAnswersTheTable) {
  runTable({{"CheckRodaAcctID_1", CheckRodaAcctID_1},
            {"CheckRodaAcctID_2", CheckRodaAcctID_2},
            {"CheckRodaAcctID_3", CheckRodaAcctID_3},
            {"CheckRodaAcctID_4", CheckRodaAcctID_4},
            {"CheckRodaAcctID_5", CheckRodaAcctID_5},
            {"CheckRodaAcctIDX_ADD", CheckRodaAcctIDX_ADD},
            {"CheckRodaAcctIDX", CheckRodaAcctIDX}},
           std::begin(kPlainCases), std::end(kPlainCases));
}

TEST(PostalCheckDigits, EveryNameOfTheGiroTransferRuleAnswersTheTable) {
  runTable({{"CheckRodaAcctID_15", CheckRodaAcctID_15},
            {"CheckRodaAcctIDX_15", CheckRodaAcctIDX_15},
            {"CheckRodaAcctIDX_MDFY_15", CheckRodaAcctIDX_MDFY_15}},
           std::begin(kGiroTransferCases), std::end(kGiroTransferCases));
}

TEST(PostalCheckDigits, LongTextsNeverOverflowTheSum) {
  // A text from the page may be of any length; the answer must still be the rule's.
  std::string nines(100000, '9');
  // Find the check digit of the long prefix by the same rule written with big numbers apart.
  unsigned long long sum = 0;
  for (std::size_t i = 0; i + 1 < nines.size(); ++i) sum += 9ULL * (i + 2);
  char check = static_cast<char>('0' + (11 - sum % 11) % 10);
  nines.back() = check;
  EXPECT_TRUE(postalCheckDigitPasses(nines));
  nines.back() = check == '9' ? '0' : static_cast<char>(check + 1);
  EXPECT_FALSE(postalCheckDigitPasses(nines));
}

}  // namespace
