// The card's log read from a page: a page of the bank calls ReadRecord in the test browser against the
// built plug-in, with the virtual card's log holding records of one kind under ten framings of the bytes
// a card keeps for itself (zeros, FF, a length byte and others). Every row is the kind's, written out from
// its layout (tests/support/logrecords).
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "BankPageRun.h"
#include "cardbench/CardBench.h"
#include "logrecords/LogRecords.h"

namespace {

using namespace rvp::cardbench;
using namespace logrecords;

class LogPage : public CardBenchTest {};

TEST_F(LogPage, APageReadsEveryRowOfEveryKindWhateverTheCardKeepsInItsOwnBytes) {
  for (const LogKind& kind : logKinds()) {
    const std::string& code = kind.codes.back();
    SCOPED_TRACE(code);
    std::vector<Bytes> records;
    const std::size_t length = storedRecord(kind, code, Framing{}).size();
    for (const Framing& framing : framings(length, kind.tacLengthAt - 12))
      records.push_back(storedRecord(kind, code, framing));
    BenchCard& card = startCard(0, parseProfile(profileWithLog(records)));

    std::ostringstream js;
    js << "assertEqual(plugin.ConnectReader(), \"0\");\n"
       << "plugin.baReaderName = \"" << card.readerName() << "\";\n"
       << "assertEqual(plugin.ConnectCard(), \"0\");\n"
       << "plugin.baMoney = \"" << kPageMoney << "\"; plugin.baIFD_ID = \"" << kPageTerminal
       << "\"; plugin.baCancelNo = \"" << kPageCancelNo << "\";\n"
       << "plugin.iRec = 0;\n"
       << "console.log(\"RESULT \" + plugin.ReadRecord());\n"
       << "console.log(\"ROWS \" + plugin.iRec);\n"
       << "for (var i = 0; i < plugin.iRec; i++) console.log(\"ROW\" + i + \" \" + plugin.baRecordGet(i));\n"
       << "assertEqual(plugin.DisConnectCard(), \"0\");\n"
       << "assertEqual(plugin.DisConnectReader(), \"0\");\n";
    const rvp::programrun::RunResult r = bankpage::run("log", js.str());
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("log done"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("0 script error(s), 0 misuse(s), 0 leak(s)"), std::string::npos) << r.output;
    EXPECT_EQ(bankpage::printed(r.output, "RESULT"), "0");
    ASSERT_EQ(bankpage::printed(r.output, "ROWS"), "10");
    for (int n = 0; n < 10; ++n)
      EXPECT_EQ(bankpage::printed(r.output, "ROW" + std::to_string(n)), kind.row(code)) << "row " << n;
  }
}

}  // namespace
