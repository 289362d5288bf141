// The reader layer through the real pcscd, vpcd and the virtual card.
#include <reader.h>
#include <winscard.h>

#include <cstring>
#include <string>
#include <vector>

#include "CardLayerFixture.h"
#include "card/FISC.h"
#include "card/PcscCalls.h"

namespace cardtest {
namespace {

std::vector<std::string> listedNames(const stReaderList& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.count; ++i) names.emplace_back(reinterpret_cast<const char*>(list.names[i]));
  return names;
}

// A valid ATR offering T=0 and T=1, 32 bytes long (with `extraLevel`, 33).
Bytes longAtr(bool extraLevel) {
  Bytes atr = hex(extraLevel ? "3BFF110000E0000AF1FE4500F1FE450001" : "3BFF110000E0000AF1FE450071FE4500");
  const std::string history = "RVP BENCH CARD!";
  atr.insert(atr.end(), history.begin(), history.end());
  unsigned char check = 0;
  for (std::size_t i = 1; i < atr.size(); ++i) check ^= atr[i];
  atr.push_back(check);
  return atr;
}

using ReaderLayer = CardLayerTest;

TEST_F(ReaderLayer, ListsTheVirtualReaders) {
  stReaderList list;
  std::memset(&list, 0xAA, sizeof list);
  ASSERT_EQ(IFD_ListReaders(&list), 0u);
  EXPECT_EQ(ulRtn, 0u);
  const auto names = listedNames(list);
  EXPECT_EQ(names, (std::vector<std::string>{"Virtual PCD 00 00", "Virtual PCD 00 01"}));
  EXPECT_EQ(list.names[0][49], 0) << "slots are zero-padded";
}

TEST_F(ReaderLayer, ConnectsWithT1AndReadsTheAtr) {
  ASSERT_EQ(connect(), 0u);
  EXPECT_NE(hCard, 0u);
  EXPECT_EQ(status.protocol, static_cast<std::uint64_t>(SCARD_PROTOCOL_T1));
  EXPECT_EQ(Bytes(status.ATR, status.ATR + status.atrLength), hex("3B80800101"));
  EXPECT_NE(status.state & SCARD_PRESENT, 0u);

  stCardStatus again;
  ASSERT_EQ(IFD_GetCardStatus(hCard, reader.c_str(), &again), 0u);
  EXPECT_EQ(again.atrLength, 5u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(baRecBuf)), reader) << "reader name area";
}

TEST_F(ReaderLayer, AtrOfThirtyTwoBytesIsReportedWhole) {
  Profile profile = rvp::cardbench::loadProfile("bank");
  profile.atr = longAtr(false);
  ASSERT_EQ(profile.atr.size(), 32u);
  ASSERT_EQ(connect(profile), 0u);
  EXPECT_EQ(Bytes(status.ATR, status.ATR + status.atrLength), profile.atr);
}

TEST_F(ReaderLayer, AtrOfThirtyThreeBytesFailsWithTheRecordCleared) {
  Profile profile = rvp::cardbench::loadProfile("bank");
  profile.atr = longAtr(true);
  ASSERT_EQ(profile.atr.size(), 33u);
  const std::uint32_t rv = connect(profile);
  EXPECT_EQ(rv, static_cast<std::uint32_t>(SCARD_E_INSUFFICIENT_BUFFER));
  EXPECT_EQ(ulRtn, rv);
  EXPECT_EQ(status.atrLength, 0u);
  EXPECT_EQ(status.state, 0u);
}

// vpcd offers no reader attribute: pcscd's answer comes back as it is, and is kept as the last result.
TEST_F(ReaderLayer, ReaderAttributeAnswerIsPassedThrough) {
  ASSERT_EQ(connect(), 0u);
  for (const DWORD attribute : {SCARD_ATTR_ATR_STRING, SCARD_ATTR_VENDOR_IFD_SERIAL_NO}) {
    unsigned char value[32] = {};
    std::uint32_t length = sizeof value;
    ulRtn = 0;
    const std::uint32_t rv = IFD_GetReaderStatus(hCard, attribute, value, &length);
    EXPECT_EQ(rv, static_cast<std::uint32_t>(SCARD_E_UNSUPPORTED_FEATURE)) << std::hex << attribute;
    EXPECT_EQ(ulRtn, rv);
  }
}

TEST_F(ReaderLayer, CheckCardInsertFollowsRemovalAndInsertion) {
  ASSERT_EQ(connect(), 0u);
  int cardType = -1;
  ASSERT_EQ(IFD_CheckCardInsert(reader.c_str(), &cardType), 0u);
  EXPECT_EQ(cardType, kCardPresent);

  card->remove();
  ASSERT_EQ(IFD_CheckCardInsert(reader.c_str(), &cardType), 0u);
  EXPECT_EQ(cardType, kReaderEmpty);
  FiscSW sw = 1;
  EXPECT_EQ(FISC_SelectParentDF(hCard, &sw), static_cast<std::uint32_t>(SCARD_W_REMOVED_CARD));
  EXPECT_EQ(sw, 0u);

  card->insert();
  ASSERT_EQ(IFD_CheckCardInsert(reader.c_str(), &cardType), 0u);
  EXPECT_EQ(cardType, kCardPresent);
  // The old handle stays stale until it is reconnected.
  EXPECT_EQ(FISC_SelectParentDF(hCard, &sw), static_cast<std::uint32_t>(SCARD_W_REMOVED_CARD));
  ASSERT_EQ(IFD_ReConnectCard(hCard, reader.c_str(), 0, &status), 0u);
  EXPECT_EQ(selectApplication(), 0x9000u);
}

TEST_F(ReaderLayer, CheckCardInsertKeepsTheOutValueWhenTheCallFails) {
  int cardType = 77;
  const std::uint32_t rv = IFD_CheckCardInsert("No Such Reader 99", &cardType);
  EXPECT_NE(rv, 0u);
  EXPECT_EQ(ulRtn, rv);
  EXPECT_EQ(cardType, 77);
}

TEST_F(ReaderLayer, ContextIsRequiredAndCanBeReopened) {
  EXPECT_EQ(IFD_DisConnectReader(), 0u);
  stReaderList list;
  EXPECT_NE(IFD_ListReaders(&list), 0u);
  EXPECT_EQ(list.count, 0);
  ASSERT_EQ(IFD_ConnectReader(), 0u);
  EXPECT_EQ(IFD_ListReaders(&list), 0u);
  EXPECT_EQ(list.count, 2);
}

// ---- dispositions ---------------------------------------------------------------------------

struct Recorded {
  std::vector<DWORD> disconnects;
  std::vector<DWORD> reconnects;
};
Recorded recorded;

LONG recordDisconnect(SCARDHANDLE h, DWORD disposition) {
  recorded.disconnects.push_back(disposition);
  return card::realPcscCalls().disconnect(h, disposition);
}

LONG recordReconnect(SCARDHANDLE h, DWORD share, DWORD protocols, DWORD init, LPDWORD active) {
  recorded.reconnects.push_back(init);
  return card::realPcscCalls().reconnect(h, share, protocols, init, active);
}

// Records the dispositions handed to pcsc-lite and passes every call on.
class Dispositions : public CardLayerTest {
 protected:
  void SetUp() override {
    recorded = {};
    calls_ = card::realPcscCalls();
    calls_.disconnect = recordDisconnect;
    calls_.reconnect = recordReconnect;
    card::setPcscCalls(&calls_);
    CardLayerTest::SetUp();
  }
  void TearDown() override {
    CardLayerTest::TearDown();
    card::setPcscCalls(nullptr);
  }

  // After a selection, whether the card still has its application open.
  bool sessionKept() {
    const unsigned char fid[2] = {0x10, 0x01};
    FiscSW sw = 0;
    EXPECT_EQ(FISC_SelectEF(hCard, fid, &sw), 0u);
    return sw == 0x9000;
  }

 private:
  card::PcscCalls calls_;
};

TEST_F(Dispositions, DisconnectPassesZeroToTwoAndEjectsOtherwise) {
  ASSERT_EQ(connect(), 0u);
  const struct {
    int given;
    DWORD sent;
  } cases[] = {
      {0, SCARD_LEAVE_CARD}, {1, SCARD_RESET_CARD}, {2, SCARD_UNPOWER_CARD},
      {3, SCARD_EJECT_CARD}, {7, SCARD_EJECT_CARD}, {-1, SCARD_EJECT_CARD},
  };
  for (const auto& c : cases) {
    recorded = {};
    ulRtn = 12345;
    EXPECT_EQ(IFD_DisConnectCard(hCard, c.given), 0u) << c.given;
    EXPECT_EQ(ulRtn, 12345u) << "disconnect leaves the last result alone";
    EXPECT_EQ(recorded.disconnects, std::vector<DWORD>{c.sent}) << c.given;
    ASSERT_EQ(IFD_ConnectCard(&hCard, reader.c_str(), &status), 0u);
  }
}

TEST_F(Dispositions, ReconnectUnpowersOnZeroResetsOnOneLeavesOtherwise) {
  ASSERT_EQ(connect(), 0u);
  const struct {
    int given;
    DWORD sent;
    bool kept;
  } cases[] = {
      {0, SCARD_UNPOWER_CARD, false},
      {1, SCARD_RESET_CARD, false},
      {2, SCARD_LEAVE_CARD, true},
      {-5, SCARD_LEAVE_CARD, true},
  };
  for (const auto& c : cases) {
    recorded = {};
    ASSERT_EQ(selectApplication(), 0x9000u);
    ASSERT_EQ(IFD_ReConnectCard(hCard, reader.c_str(), c.given, &status), 0u) << c.given;
    EXPECT_EQ(recorded.reconnects, std::vector<DWORD>{c.sent}) << c.given;
    EXPECT_EQ(status.atrLength, 5u);
    EXPECT_EQ(sessionKept(), c.kept) << c.given;
  }
}

// ---- transmission ---------------------------------------------------------------------------

TEST_F(ReaderLayer, TransmitCopiesTheWholeAnswer) {
  ASSERT_EQ(connect(), 0u);
  ASSERT_EQ(selectApplication(), 0x9000u);
  const Bytes select = hex("00A40200021001");
  const Bytes read = hex("00B2010400");
  unsigned char answer[64];
  std::uint32_t length = 0;
  ASSERT_EQ(IFD_T1Transmit(hCard, select.data(), select.size(), answer, sizeof answer, &length), 0u);
  ASSERT_EQ(IFD_T1Transmit(hCard, read.data(), read.size(), answer, sizeof answer, &length), 0u);
  EXPECT_EQ(Bytes(answer, answer + length), join(join(hex("0108"), text("00400001")), hex("9000")));
  EXPECT_EQ(ulRecLen, length);
}

TEST_F(ReaderLayer, TransmitRefusesAnAnswerLongerThanTheBuffer) {
  ASSERT_EQ(connect(), 0u);
  const Bytes select = hex("00A4040008A00000017295000110");  // asks for the 16-byte header
  unsigned char answer[8];
  std::memset(answer, 0xEE, sizeof answer);
  std::uint32_t length = 99;
  EXPECT_EQ(IFD_T1Transmit(hCard, select.data(), select.size(), answer, sizeof answer, &length),
            static_cast<std::uint32_t>(SCARD_E_INSUFFICIENT_BUFFER));
  EXPECT_EQ(length, 99u);
  EXPECT_EQ(answer[0], 0xEE);
}

TEST_F(ReaderLayer, AnswerDroppedMidCommand) {
  ASSERT_EQ(connect(), 0u);
  ASSERT_EQ(selectApplication(), 0x9000u);
  card->inject(rvp::cardbench::Fault::drop());

  const unsigned char fid[2] = {0x10, 0x01};
  FiscSW sw = 0x1234;
  // pcscd reports the dropped command as a success with no bytes: the card layer fails it.
  EXPECT_EQ(FISC_SelectEF(hCard, fid, &sw), 0x80100013u) << "SCARD_F_COMM_ERROR";
  EXPECT_EQ(ulRtn, 0x80100013u);
  EXPECT_EQ(sw, 0u);
  EXPECT_EQ(ulRecLen, 0u);

  // Later commands fail until the card is back and reconnected.
  EXPECT_NE(FISC_SelectEF(hCard, fid, &sw), 0u);
  ASSERT_TRUE(rvp::cardbench::waitForPresence(reader, rvp::cardbench::CardPresence::Empty));
  int cardType = -1;
  EXPECT_EQ(IFD_CheckCardInsert(reader.c_str(), &cardType), 0u);
  EXPECT_EQ(cardType, kReaderEmpty);
  card->insert();
  ASSERT_EQ(IFD_ReConnectCard(hCard, reader.c_str(), 1, &status), 0u);
  ASSERT_EQ(selectApplication(), 0x9000u);
  EXPECT_EQ(FISC_SelectEF(hCard, fid, &sw), 0u);
  EXPECT_EQ(sw, 0x9000u);
}

}  // namespace
}  // namespace cardtest
