// The payee rules of the transfer forms, as tables. Valid accounts are built from check digits worked
// out by hand: 1234569 (weighted sum 112, remainder 2, check 9), 0000001 and 00000001 (remainder 0,
// check 1), and the giro account 12345678 (sum 168, remainder 3, check 8).
#include <gtest/gtest.h>

#include "PayeeAccountRules.h"

namespace {

struct PayeeCase {
  const char* account;
  PayeeVerdict verdict;
};

void expectVerdicts(PayeeVerdict (*rule)(const std::string&), const std::vector<PayeeCase>& cases) {
  for (const PayeeCase& c : cases) EXPECT_EQ(rule(c.account), c.verdict) << "account \"" << c.account << "\"";
}

TEST(PayeeAccountRules, BankPayeeIsOneToSixteenDigitsWithoutCheckDigit) {
  expectVerdicts(checkBankPayee, {
                                     {"", PayeeVerdict::Missing},
                                     {"1", PayeeVerdict::Accepted},
                                     {"1234567890123456", PayeeVerdict::Accepted},
                                     {"12345678901234567", PayeeVerdict::WrongLength},
                                 });
}

TEST(PayeeAccountRules, PostalSavingsPayeeIsFourteenDigitsWithBothGroupsChecked) {
  expectVerdicts(checkPostalSavingsPayee, {
                                              {"", PayeeVerdict::Missing},
                                              {"12345690000001", PayeeVerdict::Accepted},
                                              {"60000000000001", PayeeVerdict::Accepted},
                                              {"12345680000001", PayeeVerdict::WrongCheckDigit},  // first group
                                              {"12345690000000", PayeeVerdict::WrongCheckDigit},  // second group
                                              {"1234569000001", PayeeVerdict::WrongLength},
                                              {"123456900000001", PayeeVerdict::WrongLength},
                                              {"0012345690000001", PayeeVerdict::WrongLength},  // no zeros dropped
                                          });
}

TEST(PayeeAccountRules, PostalSavingsPayeeFromABankDropsLeadingZerosForTheCheckOnly) {
  expectVerdicts(checkPostalSavingsPayeeFromBank,
                 {
                     {"", PayeeVerdict::Missing},
                     {"12345690000001", PayeeVerdict::Accepted},
                     {"0012345690000001", PayeeVerdict::Accepted},  // 16 with "00": 14 tested
                     {"012345690000001", PayeeVerdict::Accepted},   // 15 with "0": 14 tested
                     {"123456900000001", PayeeVerdict::Accepted},   // 15 without: 7 + 8
                     {"1234569000000001", PayeeVerdict::Accepted},  // 16 without "00": 7 + 9
                     {"0012345680000001", PayeeVerdict::WrongCheckDigit},
                     {"0112345690000001", PayeeVerdict::WrongCheckDigit},  // one zero only: 7 + 9 tested
                     {"12345690000000", PayeeVerdict::WrongCheckDigit},
                     {"1234569000001", PayeeVerdict::WrongLength},
                     {"00012345690000001", PayeeVerdict::WrongLength},
                 });
}

TEST(PayeeAccountRules, GiroPayeeFromABankIsThePrefixAndACheckedGiroAccount) {
  expectVerdicts(checkGiroPayeeFromBank, {
                                             {"", PayeeVerdict::Missing},
                                             {"700001012345678", PayeeVerdict::Accepted},
                                             {"700001112345678", PayeeVerdict::WrongCheckDigit},  // prefix
                                             {"700001012345679", PayeeVerdict::WrongCheckDigit},
                                             {"12345678", PayeeVerdict::WrongLength},          // giro number alone
                                             {"0070000101234567", PayeeVerdict::WrongLength},  // no zeros dropped
                                             {"70000101234567", PayeeVerdict::WrongLength},
                                         });
}

}  // namespace
