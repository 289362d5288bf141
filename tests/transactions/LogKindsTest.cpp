// Every kind of the card's log read back through the reader: a record's row depends only on the bytes its
// kind reads, never on what the card keeps in bytes 0 to 2 and 11; a record fails only when it does not
// reach its TAC length or its TAC runs past the bytes received; its TAC is as long as its length says.
// Expected rows are written out from the kinds' layouts (tests/support/logrecords).
#include <cctype>
#include <tuple>

#include "TransactionBench.h"
#include "logrecords/LogRecords.h"

namespace txbench {
namespace {

using namespace logrecords;

constexpr unsigned char kReadRecordIns = 0xB2;

class LogKinds : public TransactionTest {
 protected:
  // A card whose ten log records are the kind's record with `code` under ten framings.
  void connectWithKind(const LogKind& kind, const std::string& code, const TacBytes& tacBytes = {}) {
    std::vector<Bytes> records;
    const std::size_t length = storedRecord(kind, code, Framing{}, tacBytes).size();
    for (const Framing& framing : framings(length, kind.tacLengthAt - 12))
      records.push_back(storedRecord(kind, code, framing, tacBytes));
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

// What follows a record's data: its TAC length, the TAC and the bytes after it, with what the row shows
// of them, written out by hand (payee: the P014A1 group's bytes 97 to 112; date: the P611A1 group's
// bytes 62 to 75; either is cut where the record ends).
struct TacCase {
  std::string name;
  TacBytes tacBytes;
  std::string tacLen;  // baTACLen
  RowTail shows;
};

const std::vector<TacCase>& tacCases() {
  const Bytes tac4{0xC1, 0xC2, 0xC3, 0xC4};
  const Bytes tac16{0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8};
  const Bytes after = ebcdic("STUVWXYZ0123456789");
  static const std::vector<TacCase> cases = {
      {"EmptyTacEndingTheRecord", {0x0000, {}, {}}, "0000", {"", "", ""}},
      {"EmptyTacThenBytes", {0x0000, {}, after}, "0000", {"", "XYZ0123456789", "STUVWXYZ012345"}},
      {"FourByteTac", {0x0004, tac4, {}}, "0004", {"C1C2C3C4", "", "ABCD"}},
      {"FourByteTacThenBytes", {0x0004, tac4, after}, "0004", {"C1C2C3C4", "TUVWXYZ012345678", "ABCDSTUVWXYZ01"}},
      {"EightByteTac", {0x0008, kTac, {}}, "0008", {"C1C2C3C4C5C6C7C8", "FGH", "ABCDEFGH"}},
      {"EightByteTacThenBytes",
       {0x0008, kTac, after},
       "0008",
       {"C1C2C3C4C5C6C7C8", "FGHSTUVWXYZ01234", "ABCDEFGHSTUVWX"}},
      {"SixteenByteTac",
       {0x0010, tac16, {}},
       "0010",
       {"C1C2C3C4C5C6C7C8D1D2D3D4D5D6D7D8", "FGHJKLMNOPQ", "ABCDEFGHJKLMNO"}},
  };
  return cases;
}

// One test for each kind and case: each finds the previous test's card parked in its slot and swaps it,
// where a second card within one test would cost a removal and an insertion.
class LogKindTac : public LogKinds, public ::testing::WithParamInterface<std::tuple<std::size_t, std::size_t>> {
 protected:
  const LogKind& kind() const { return logKinds().at(std::get<0>(GetParam())); }
  const TacCase& tacCase() const { return tacCases().at(std::get<1>(GetParam())); }
};

// The TAC is as long as its length says, an empty one too; the bytes a record holds after it are not
// the TAC's. Fields that end before the TAC length never show those bytes; the P014A1 group's payee
// account and the P611A1 group's date lie over the TAC and are read as far as the record goes, so they
// show the TAC and what follows it. baTACLen is the length as stored.
TEST_P(LogKindTac, TheTacIsAsLongAsItsLengthSays) {
  const std::string& code = kind().codes.front();
  const TacCase& c = tacCase();
  connectWithKind(kind(), code, c.tacBytes);
  EXPECT_EQ(ctrl->ReadRecord(), 0);
  EXPECT_EQ(ctrl->GetuiSW12(), 0x9000u);
  ASSERT_EQ(ctrl->GetiRec(), 10);
  for (int n = 0; n < ctrl->GetiRec(); ++n)
    EXPECT_EQ(ctrl->GetbaRecord(n), kind().rowWith(code, c.shows)) << "row " << n;
  EXPECT_EQ(ctrl->GetbaTACLen(), c.tacLen);
  EXPECT_EQ(ctrl->GetbaTAC(), c.shows.tsac);
}

std::string identifier(std::string text) {
  for (char& ch : text)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return text;
}

INSTANTIATE_TEST_SUITE_P(EveryKind, LogKindTac,
                         ::testing::Combine(::testing::Range<std::size_t>(0, logKinds().size()),
                                            ::testing::Range<std::size_t>(0, tacCases().size())),
                         [](const ::testing::TestParamInfo<LogKindTac::ParamType>& info) {
                           return identifier(logKinds().at(std::get<0>(info.param)).name) + "_" +
                                  tacCases().at(std::get<1>(info.param)).name;
                         });

// Record 10 damaged by the card: cut inside the kind's fields or its TAC length, its TAC cut short, or a
// TAC length past the bytes sent, it gives no row and the call 8400; the nine before it keep their rows.
// Zero bytes after the TAC change nothing (the two kinds whose text fields run into the TAC end them there).
TEST_F(LogKinds, ARecordCutInsideItsFieldsOrWithItsTacPastItsEndGives8400) {
  const Bytes kOk{0x90, 0x00};
  for (const LogKind& kind : logKinds()) {
    const std::string& code = kind.codes.front();
    const std::size_t tacAt = kind.tacLengthAt;
    auto withTacLength = [&](std::uint16_t tacLength) {
      Bytes answer = storedRecord(kind, code, Framing{}, {tacLength, kTac, {}});
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
