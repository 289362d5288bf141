// The numbers pages compare: every result code a page can be given, written out as the number the page
// sees. A code whose number changes breaks every bank page that tests for it, so this table is the one
// place that says what each is (README.md shows the same table to the bank's page developers).
#include <gtest/gtest.h>

#include "DialogFrame.h"
#include "ResultCodes.h"

namespace {

TEST(ResultCodes, EveryCodeHasTheNumberPagesCompare) {
  const struct {
    const char* name;
    long code;
    long number;
  } codes[] = {
      {"success", rc::kOk, 0},
      {"no reader name", rc::kNoReaderName, 22},
      {"no answer to the application's selection", rc::kNoApplicationAnswer, 7900},
      {"card-log record unreadable", rc::kLogUnreadable, 8400},
      {"page input missing or too long", rc::kInputMissing, 8600},
      {"no card transaction code", rc::kNoTransactionCode, 8700},
      {"card record unreadable", rc::kRecordUnreadable, 8800},
      {"card write failed", rc::kWriteFailed, 8900},
      {"cancelled", rc::kCancelled, 8990},
      {"another card", rc::kWrongCard, 9940},
      {"dialog timed out", rc::kTimedOut, 9950},
      {"dialog frame timed out", DialogFrame::kTimedOut, 9950},
      {"request not sealed", rc::kSealFailed, 9970},
      {"refused", rc::kRefused, 9980},
      {"parameter block bh_d0 empty", rc::kParameterEmptyBase + 0, 9810},
      {"parameter block bh_d10 empty", rc::kParameterEmptyBase + 10, 9820},
      {"page parameters unparsable", rc::kParameterUnparsable, 9821},
      {"user gave up", rc::kUserGaveUp, -1},
      {"reconnection failed", rc::kReconnectFailed, -2},
  };
  for (const auto& c : codes) EXPECT_EQ(c.code, c.number) << c.name;
}

}  // namespace
