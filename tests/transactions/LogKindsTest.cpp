// Every kind of the card's log read back through the reader: a record's row depends only on the bytes its
// kind reads, never on what the card keeps in bytes 0 to 2 and 11; a record fails only when it does not
// reach its TAC length or its TAC runs past the bytes received. Expected rows are written out from the
// kinds' layouts (tests/support/logrecords).
#include "TransactionBench.h"
#include "logrecords/LogRecords.h"

namespace txbench {
namespace {

using namespace logrecords;

constexpr unsigned char kReadRecordIns = 0xB2;

class LogKinds : public TransactionTest {
 protected:
  // A card whose ten log records are the kind's record with `code` under ten framings.
  void connectWithKind(const LogKind& kind, const std::string& code) {
    std::vector<Bytes> records;
    const std::size_t length = storedRecord(kind, code, Framing{}).size();
    for (const Framing& framing : framings(length, kind.tacLengthAt - 12))
      records.push_back(storedRecord(kind, code, framing));
    connect(kBankCard, parseProfile(profileWithLog(records)));
    ctrl->SetbaMoney(kPageMoney);
    ctrl->SetbaIFD_ID(kPageTerminal);
    ctrl->SetbaCancelNo(kPageCancelNo);
  }
};

TEST_F(LogKinds, EveryRecordGivesItsRowWhateverTheCardKeepsInItsOwnBytes) {
  for (const LogKind& kind : logKinds()) {
    for (const std::string& code : kind.codes) {
      SCOPED_TRACE(code);
      connectWithKind(kind, code);
      EXPECT_EQ(ctrl->ReadRecord(), 0);
      EXPECT_EQ(ctrl->GetuiSW12(), 0x9000u);
      EXPECT_EQ(ctrl->GetiRec(), 10);
      for (int n = 0; n < ctrl->GetiRec(); ++n) EXPECT_EQ(ctrl->GetbaRecord(n), kind.row(code)) << "row " << n;
      EXPECT_EQ(ctrl->GetbaTACLen(), "0008");
      EXPECT_EQ(ctrl->GetbaTAC(), kTacHex);
    }
  }
}

// Record 10 damaged by the card: cut inside the kind's fields or its TAC length, its TAC cut short, or a
// TAC length past the bytes sent, it gives no row and the call 8400; the nine before it keep their rows.
// Zero bytes after the TAC change nothing (the two kinds whose text fields run into the TAC end them there).
TEST_F(LogKinds, ARecordCutInsideItsFieldsOrWithItsTacPastItsEndGives8400) {
  const Bytes kOk{0x90, 0x00};
  for (const LogKind& kind : logKinds()) {
    const std::string& code = kind.codes.front();
    const std::size_t tacAt = kind.tacLengthAt;
    auto withTacLength = [&](std::uint16_t tacLength) {
      Bytes answer = storedRecord(kind, code, Framing{}, tacLength);
      answer.insert(answer.end(), kOk.begin(), kOk.end());
      return answer;
    };
    const struct {
      std::string name;
      Fault damage;
      bool readable;
    } cases[] = {
        {"cut at byte 40", Fault::cutData(40, 10, kReadRecordIns), false},
        {"cut just before its TAC length", Fault::cutData(tacAt - 1, 10, kReadRecordIns), false},
        {"cut inside its TAC length", Fault::cutData(tacAt + 1, 10, kReadRecordIns), false},
        {"TAC cut by one byte", Fault::cutData(tacAt + 2 + 7, 10, kReadRecordIns), false},
        {"TAC length 9 over 8 bytes", Fault::replace(withTacLength(9), 10, kReadRecordIns), false},
        {"TAC length FFFF", Fault::replace(withTacLength(0xFFFF), 10, kReadRecordIns), false},
        {"two zero bytes after its TAC", Fault::extend(Bytes{0x00, 0x00}, 10, kReadRecordIns), true},
    };
    connectWithKind(kind, code);
    for (const auto& c : cases) {
      SCOPED_TRACE(code + ": " + c.name);
      card->inject(c.damage);
      EXPECT_EQ(ctrl->ReadRecord(), c.readable ? 0 : 8400);
      EXPECT_EQ(ctrl->GetiRec(), c.readable ? 10 : 9);
      for (int n = 0; n < ctrl->GetiRec(); ++n) EXPECT_EQ(ctrl->GetbaRecord(n), kind.row(code)) << "row " << n;
    }
  }
}

// Only the tenth record decides the result: an unreadable record before it is missing from the rows, the
// rows after it move up, and the call still gives 0 with the tenth read's 9000. The row slots past iRec
// keep what they held.
TEST_F(LogKinds, AnUnreadableRecordBeforeTheTenthIsOnlyMissingFromTheRows) {
  for (const LogKind& kind : logKinds()) {
    const std::string& code = kind.codes.front();
    const std::size_t tacAt = kind.tacLengthAt;
    const struct {
      std::string name;
      Fault damage;
    } cases[] = {
        {"record 1 refused", Fault::statusWord(0x6A83, 1, kReadRecordIns)},
        {"record 5 cut inside its TAC length", Fault::cutData(tacAt + 1, 5, kReadRecordIns)},
        {"record 9 with its TAC cut by one byte", Fault::cutData(tacAt + 2 + 7, 9, kReadRecordIns)},
    };
    connectWithKind(kind, code);
    for (const auto& c : cases) {
      SCOPED_TRACE(code + ": " + c.name);
      ctrl->SetbaRecord(9, "a row of an earlier call");
      card->inject(c.damage);
      EXPECT_EQ(ctrl->ReadRecord(), 0);
      EXPECT_EQ(ctrl->GetuiSW12(), 0x9000u);
      EXPECT_EQ(ctrl->GetiRec(), 9);
      for (int n = 0; n < ctrl->GetiRec(); ++n) EXPECT_EQ(ctrl->GetbaRecord(n), kind.row(code)) << "row " << n;
      EXPECT_EQ(ctrl->GetbaRecord(9), "a row of an earlier call");
    }
  }
}

// A tenth read that fails in PC/SC (the card gone) is an unreadable record too: 8400, not the PC/SC result.
TEST_F(LogKinds, ATenthReadThatFailsGives8400WithTheNineRowsBeforeIt) {
  const LogKind& kind = logKinds().front();
  const std::string& code = kind.codes.front();
  connectWithKind(kind, code);
  card->inject(Fault::drop(10, kReadRecordIns));
  EXPECT_EQ(ctrl->ReadRecord(), 8400);
  EXPECT_EQ(ctrl->GetiRec(), 9);
  for (int n = 0; n < ctrl->GetiRec(); ++n) EXPECT_EQ(ctrl->GetbaRecord(n), kind.row(code)) << "row " << n;
}

}  // namespace
}  // namespace txbench
