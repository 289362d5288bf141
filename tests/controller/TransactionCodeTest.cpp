// The request code (tx_code) the form-driven transfers and the donation send for the code their card step
// reported; the bank routes the request by it.
#include <gtest/gtest.h>

#include "transactions/TransactionCodes.h"

namespace {

TEST(FormTransferTxCode, FollowsTheCardStepsCode) {
  const struct {
    const char* reported;
    const char* txCode;
  } cases[] = {
      {"2521", "MSG2521U"},     {"2522", "MSG2522U"},
      {"2523", "MSG2523U"},     {"2524", "MSG2524U"},
      {" 2523", "MSG2523U"},    {"2524 ", "MSG2524U"},
      {"2920", "MSG2920U"},     {"2580", "MSG2580U"},
      {"P014A1", "2580"},       {"P014A2", "2580"},
      {"P014A8", "2580"},       {"G004A2", "2583"},
      {"G004A4", "2583"},       {"G103E9", "2583"},
      {"G103EA", "2583"},       {"I03533", "2582"},
      {"I03537", "2582"},       {"P014A5", "MSGP014A5U"},
      {"P014AI", "MSGP014AIU"}, {"", "MSGU"},
      {"+2521", "MSG+2521U"},   {"99999999999", "MSG99999999999U"},
  };
  for (const auto& c : cases) EXPECT_EQ(formTransferTxCode(c.reported), c.txCode) << '"' << c.reported << '"';
}

// The page-driven transfer keeps its own table, where P014AI has a postal code.
TEST(TransferTxCode, KnowsP014AI) { EXPECT_EQ(transferTxCode("P014AI"), "2581"); }

}  // namespace
