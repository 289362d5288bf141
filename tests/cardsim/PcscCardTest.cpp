// The virtual card as the system meets it: through pcsc-lite, pcscd and vpcd.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "PcscConnection.h"
#include "cardbench/CardBench.h"
#include "cardsim/Tac.h"

namespace rvp::cardsim::testing {
namespace {

using cardbench::BenchCard;
using cardbench::CardPresence;

const std::string selectAid = "00A4040008A00000017295000100";

std::string selectEf(const char* fid) { return std::string("00A4020002") + fid; }
std::string readRecord(int number, int le) {
  char text[16];
  std::snprintf(text, sizeof text, "00B2%02X04%02X", number, le);
  return text;
}

class PcscCard : public cardbench::CardBenchTest {
 protected:
  BenchCard& bank() { return startCard(0, "bank"); }
};

TEST_F(PcscCard, ConnectsWithT1AndReportsItsAtr) {
  BenchCard& card = bank();
  PcscConnection c(card.readerName());
  EXPECT_EQ(c.protocol(), static_cast<DWORD>(SCARD_PROTOCOL_T1));
  EXPECT_EQ(toHex(c.atr()), "3B80800101");
}

TEST_F(PcscCard, SelectsTheApplicationByAidOnly) {
  PcscConnection c(bank().readerName());
  EXPECT_EQ(statusOf(c.transmit(selectEf("1001"))), sw::fileNotFound) << "files need the application";
  EXPECT_EQ(statusOf(c.transmit("00A4040008A00000017295000200")), sw::fileNotFound);
  EXPECT_EQ(statusOf(c.transmit(selectAid)), sw::ok);
  for (const char* fid : {"1001", "1002", "00C2", "0001", "1080"})
    EXPECT_EQ(statusOf(c.transmit(selectEf(fid))), sw::ok) << fid;
  EXPECT_EQ(statusOf(c.transmit(selectEf("1003"))), sw::fileNotFound);
  EXPECT_EQ(statusOf(c.transmit("00A40300")), sw::ok);
  EXPECT_EQ(statusOf(c.transmit("00A4010002 1000")), sw::ok);
}

TEST_F(PcscCard, ReadsWholeRecordsOrTheirFirstLeBytes) {
  PcscConnection c(bank().readerName());
  c.transmit(selectAid);
  c.transmit(selectEf("1001"));
  struct Case {
    int record, le;
    std::size_t length;
  } cases[] = {
      {1, 0, 10}, {2, 0, 32}, {3, 0, 18}, {2, 10, 10}, {2, 48, 32}, {3, 22, 18}, {10, 0, 18},
  };
  for (const auto& k : cases) {
    Bytes r = c.transmit(readRecord(k.record, k.le));
    EXPECT_EQ(statusOf(r), sw::ok) << "record " << k.record << " Le " << k.le;
    EXPECT_EQ(dataOf(r).size(), k.length) << "record " << k.record << " Le " << k.le;
  }
  Bytes issuer = dataOf(c.transmit(readRecord(1, 0)));
  EXPECT_EQ(std::string(issuer.begin() + 2, issuer.end()), "00400001");
  EXPECT_EQ(statusOf(c.transmit(readRecord(11, 0))), sw::recordNotFound);
  EXPECT_EQ(statusOf(c.transmit(readRecord(0, 0))), sw::recordNotFound);

  Bytes all = c.transmit("00B2030584");  // records 3 to 10, cut at Le
  EXPECT_EQ(dataOf(all).size(), 0x84u);
  EXPECT_EQ(std::string(all.begin() + 2, all.begin() + 18), "0040123456789012");

  c.transmit(selectEf("0001"));
  Bytes binary = c.transmit("00B0000010");
  EXPECT_EQ(statusOf(binary), sw::ok);
  EXPECT_EQ(std::string(binary.begin(), binary.begin() + 16), "0040000140001234");
  EXPECT_EQ(statusOf(c.transmit("00B0100010")), sw::offsetOutOfFile);
  c.transmit(selectEf("1001"));
  EXPECT_EQ(statusOf(c.transmit("00B0000010")), sw::wrongFileStructure);
}

TEST_F(PcscCard, WrongPinsCountDownUntilThePinIsStopped) {
  BenchCard& card = bank();
  PcscConnection c(card.readerName());
  c.transmit(selectAid);
  const std::string right = "0020001008 1234FFFFFFFFFFFF", wrong = "0020001008 4321FFFFFFFFFFFF";
  EXPECT_EQ(statusOf(c.transmit(wrong)), sw::pinWrong);
  EXPECT_EQ(statusOf(c.transmit(right)), sw::ok) << "a right PIN before the end restores the tries";
  EXPECT_EQ(card.card().pinTriesLeft(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(statusOf(c.transmit(wrong)), sw::pinWrong) << "try " << i + 1;
  EXPECT_EQ(statusOf(c.transmit(right)), sw::pinStopped);
  EXPECT_EQ(statusOf(c.transmit(wrong)), sw::pinStopped);
  EXPECT_EQ(statusOf(c.transmit("0020001004 1234FFFF")), sw::wrongLength);
}

TEST_F(PcscCard, UpdateRecordNeedsAPinVerifiedInThisSession) {
  PcscConnection c(bank().readerName());
  c.transmit(selectAid);
  c.transmit(selectEf("00C2"));
  const std::string changePin = "00D2010408 5678FFFFFFFFFFFF";
  EXPECT_EQ(statusOf(c.transmit(changePin)), sw::securityNotSatisfied);
  EXPECT_EQ(statusOf(c.transmit("0020001008 1234FFFFFFFFFFFF")), sw::ok);
  EXPECT_EQ(statusOf(c.transmit(changePin)), sw::ok);
  EXPECT_EQ(statusOf(c.transmit("0020001008 1234FFFFFFFFFFFF")), sw::pinWrong);
  EXPECT_EQ(statusOf(c.transmit("0020001008 5678FFFFFFFFFFFF")), sw::ok);
  EXPECT_EQ(statusOf(c.transmit("00D2090408 5678FFFFFFFFFFFF")), sw::recordNotFound);

  ASSERT_EQ(c.reconnect(SCARD_RESET_CARD), SCARD_S_SUCCESS);
  c.transmit(selectAid);
  c.transmit(selectEf("00C2"));
  EXPECT_EQ(statusOf(c.transmit(changePin)), sw::securityNotSatisfied) << "a reset forgets the verified PIN";
}

TEST_F(PcscCard, WriteWithSnumTacAnswersSerialAndTacAndLogsNewestFirst) {
  BenchCard& card = bank();
  const Profile profile = card.card().contents();
  PcscConnection c(card.readerName());
  c.transmit(selectAid);
  std::vector<std::string> serials;
  for (int i = 0; i < 12; ++i) {
    const std::string data = "2500" + std::string(1, static_cast<char>('A' + i)) + "234567" + "0040123456789012";
    Bytes command = fromHex("00E21080");
    command.push_back(static_cast<std::uint8_t>(data.size()));
    command.insert(command.end(), data.begin(), data.end());
    command.push_back(0x00);
    Bytes r = c.transmit(command);
    ASSERT_EQ(statusOf(r), sw::ok);
    Bytes answer = dataOf(r);
    ASSERT_EQ(answer.size(), 19u) << "00, serial (8), TAC length (2), TAC (8)";
    const std::string serial(answer.begin() + 1, answer.begin() + 9);
    EXPECT_EQ(answer[9], 0x00);
    EXPECT_EQ(answer[10], 0x08);
    EXPECT_EQ(Bytes(answer.begin() + 11, answer.end()),
              computeTac(profile.tacKey, Bytes(serial.begin(), serial.end()), Bytes(data.begin(), data.end())));
    serials.push_back(serial);
  }
  EXPECT_EQ(serials.front(), "00000001");
  EXPECT_EQ(serials.back(), "00000012");

  c.transmit(selectEf("1080"));
  for (int number = 1; number <= 10; ++number) {
    Bytes record = dataOf(c.transmit(readRecord(number, 0)));
    ASSERT_EQ(record.size(), 12u + 27u + 2u + 8u) << number;
    EXPECT_EQ(std::string(record.begin() + 3, record.begin() + 11), serials[12 - number]) << "record " << number;
    EXPECT_EQ(toHex(Bytes{record[0], record[1], record[2], record[11]}), "00000000") << "the default framing";
    EXPECT_EQ(std::string(record.begin() + 12, record.begin() + 16), "2500");
    EXPECT_EQ(record[12 + 27], 0x00);
    EXPECT_EQ(record[12 + 27 + 1], 0x08);
  }
  EXPECT_EQ(statusOf(c.transmit(readRecord(11, 0))), sw::recordNotFound) << "the log keeps ten records";
}

TEST_F(PcscCard, RemovalAndInsertionShowInTheReaderState) {
  BenchCard& card = bank();
  PcscConnection c(card.readerName());
  EXPECT_TRUE(cardbench::readerState(card.readerName()) & SCARD_STATE_PRESENT);
  card.remove();
  EXPECT_TRUE(cardbench::readerState(card.readerName()) & SCARD_STATE_EMPTY);
  Bytes response;
  EXPECT_EQ(c.tryTransmit(fromHex(selectAid), response), SCARD_W_REMOVED_CARD);
  card.insert();
  EXPECT_TRUE(cardbench::readerState(card.readerName()) & SCARD_STATE_PRESENT);
  ASSERT_EQ(c.reconnect(SCARD_RESET_CARD), SCARD_S_SUCCESS);
  EXPECT_EQ(statusOf(c.transmit(selectAid)), sw::ok);
}

TEST_F(PcscCard, PowerLogShowsHowTheReaderLeftTheCard) {
  BenchCard& card = bank();
  using Events = std::vector<PowerEvent>;
  struct Case {
    DWORD disposition;
    Events expected;
  } cases[] = {
      {SCARD_LEAVE_CARD, {}},
      {SCARD_RESET_CARD, {PowerEvent::Reset}},
      {SCARD_UNPOWER_CARD, {PowerEvent::PowerOff}},
  };
  for (const auto& k : cases) {
    SCARDCONTEXT context;
    ASSERT_EQ(SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context), SCARD_S_SUCCESS);
    SCARDHANDLE handle;
    DWORD protocol;
    ASSERT_EQ(
        SCardConnect(context, card.readerName().c_str(), SCARD_SHARE_EXCLUSIVE, SCARD_PROTOCOL_T1, &handle, &protocol),
        SCARD_S_SUCCESS);
    card.clearApduLog();
    EXPECT_EQ(SCardDisconnect(handle, k.disposition), SCARD_S_SUCCESS);
    SCardReleaseContext(context);
    card.card().waitForPowerEvents(k.expected.size(), std::chrono::seconds(5));
    EXPECT_EQ(card.powerLog(), k.expected) << "disposition " << k.disposition;
  }
}

TEST_F(PcscCard, InjectedStatusWordHitsTheNthMatchingCommand) {
  BenchCard& card = bank();
  PcscConnection c(card.readerName());
  card.inject(Fault::statusWord(0x6581, 2, 0xA4));  // the second SELECT
  EXPECT_EQ(statusOf(c.transmit(selectAid)), sw::ok);
  EXPECT_EQ(statusOf(c.transmit(readRecord(1, 0))), sw::noCurrentEf);
  EXPECT_EQ(toHex(c.transmit(selectEf("1001"))), "6581");
  EXPECT_EQ(statusOf(c.transmit(selectEf("1001"))), sw::ok) << "a fault fires once";

  auto log = card.apduLog();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(toHex(log[0].command), selectAid);
  EXPECT_EQ(statusOf(log[0].response), sw::ok);
  EXPECT_EQ(log[2].outcome, ApduExchange::Outcome::Injected);
  EXPECT_EQ(log[3].outcome, ApduExchange::Outcome::Answered);
}

// A card pulled out under a connection that is then reset: pcscd fails the reset and empties the reader
// itself before its watch notices the card gone. A card put in right after must still be seen.
TEST_F(PcscCard, CardPutInAfterAFailedResetOfTheOldOneIsSeen) {
  BenchCard& card = bank();
  SCARDCONTEXT context = 0;
  ASSERT_EQ(SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context), SCARD_S_SUCCESS);
  SCARDHANDLE handle = 0;
  DWORD protocol = 0;
  ASSERT_EQ(SCardConnect(context, card.readerName().c_str(), SCARD_SHARE_SHARED, SCARD_PROTOCOL_T1, &handle, &protocol),
            SCARD_S_SUCCESS);
  card.card().remove();
  SCardDisconnect(handle, SCARD_RESET_CARD);
  SCardReleaseContext(context);
  card.insert();
  PcscConnection c(card.readerName());
  EXPECT_EQ(statusOf(c.transmit(selectAid)), sw::ok);
}

TEST_F(PcscCard, DroppedCommandLeavesTheCardOut) {
  BenchCard& card = bank();
  {
    PcscConnection c(card.readerName());
    c.transmit(selectAid);
    card.inject(Fault::drop());
    Bytes response;
    LONG rv = c.tryTransmit(fromHex(selectEf("1001")), response);
    EXPECT_TRUE(rv != SCARD_S_SUCCESS || response.empty()) << "no answer arrives; rv " << rv;
    EXPECT_NE(c.tryTransmit(fromHex(selectEf("1001")), response), SCARD_S_SUCCESS);
    ASSERT_TRUE(cardbench::waitForPresence(card.readerName(), CardPresence::Empty));
    EXPECT_EQ(card.apduLog().back().outcome, ApduExchange::Outcome::Dropped);
  }
  card.insert();
  PcscConnection again(card.readerName());
  EXPECT_EQ(statusOf(again.transmit(selectAid)), sw::ok);
}

TEST_F(PcscCard, SilentCardBlocksTheTransmitUntilPulledOut) {
  BenchCard& card = bank();
  auto heard = std::make_shared<std::promise<void>>();
  card.card().onExchange([heard](const ApduExchange& e) {
    if (e.outcome == ApduExchange::Outcome::Unanswered) heard->set_value();
  });
  card.inject(Fault::silent());
  PcscConnection c(card.readerName());
  Bytes response;
  auto transmit =
      std::async(std::launch::async, [&c, &response] { return c.tryTransmit(fromHex(selectAid), response); });
  ASSERT_EQ(heard->get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(transmit.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout) << "still waiting";
  card.remove();
  ASSERT_EQ(transmit.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  LONG rv = transmit.get();
  EXPECT_TRUE(rv != SCARD_S_SUCCESS || response.empty()) << "no answer arrives; rv " << rv;
  card.card().onExchange(nullptr);
}

TEST_F(PcscCard, UnknownInstructionsAndBadCommandsAreRefused) {
  PcscConnection c(bank().readerName());
  EXPECT_EQ(toHex(c.transmit("0084000008")), "6D00");
  EXPECT_EQ(toHex(c.transmit("00CA9F7F00")), "6D00");
  EXPECT_EQ(toHex(c.transmit("00A4040008A000000172")), "6700");
  EXPECT_EQ(statusOf(c.transmit(selectAid)), sw::ok) << "and it keeps answering";
}

TEST_F(PcscCard, ProfileFromTextAndPreloadedLog) {
  {
    BenchCard& card = startCard(0, "postal");
    PcscConnection c(card.readerName());
    c.transmit(selectAid);
    c.transmit(selectEf("1080"));
    Bytes record = dataOf(c.transmit(readRecord(1, 0)));
    ASSERT_EQ(record.size(), 50u);
    const Bytes serial(record.begin() + 3, record.begin() + 11), data(record.begin() + 12, record.begin() + 40);
    EXPECT_EQ(Bytes(record.begin() + 42, record.end()), computeTac(card.card().contents().tacKey, serial, data));
    EXPECT_EQ(statusOf(c.transmit(readRecord(2, 0))), sw::recordNotFound);
  }
  BenchCard& custom = startCard(0, cardbench::parseProfile("[ef 1001]\n1 = tlv 01 \"12345678\""));
  PcscConnection d(custom.readerName());
  d.transmit(selectAid);
  d.transmit(selectEf("1001"));
  EXPECT_EQ(toHex(d.transmit(readRecord(1, 0))), "0108" + toHex(fromHex("3132333435363738")) + "9000");
}

TEST_F(PcscCard, CardReplacedInTheSlotStartsAfresh) {
  BenchCard& card = bank();
  {
    PcscConnection c(card.readerName());
    c.transmit(selectAid);
    for (int i = 0; i < 4; ++i) c.transmit("0020001008 9999FFFFFFFFFFFF");
    card.inject(Fault::statusWord(0x6F00, 5));
  }
  ASSERT_EQ(card.card().pinTriesLeft(), 0);
  ASSERT_TRUE(card.replaceWhileInserted(cardbench::loadProfile("postal")));
  EXPECT_EQ(card.card().pinTriesLeft(), 3);
  EXPECT_TRUE(card.apduLog().empty());
  PcscConnection c(card.readerName());
  EXPECT_EQ(statusOf(c.transmit(selectEf("1001"))), sw::fileNotFound) << "no application selected yet";
  EXPECT_EQ(statusOf(c.transmit(selectAid)), sw::ok);
  EXPECT_EQ(statusOf(c.transmit("0020001008 567890FFFFFFFFFF")), sw::ok);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(statusOf(c.transmit(selectAid)), sw::ok) << "the old fault is gone";

  Profile otherAtr = cardbench::loadProfile("bank");
  otherAtr.atr = fromHex("3B8180018080");
  EXPECT_FALSE(card.replaceWhileInserted(otherAtr)) << "a different ATR needs a real insertion";
  card.remove();
  EXPECT_FALSE(card.replaceWhileInserted(cardbench::loadProfile("bank"))) << "not while pulled out";
}

// Many commands in a row on one connection each get their whole answer. How long one takes is
// measured by the card benchmark (bench/card), not here.
TEST_F(PcscCard, ManyCommandsInARowEachGetTheirWholeAnswer) {
  PcscConnection c(bank().readerName());
  c.transmit(selectAid);
  c.transmit(selectEf("1001"));
  const Bytes first = c.transmit(readRecord(1, 0));
  ASSERT_EQ(statusOf(first), sw::ok);
  for (int i = 0; i < 200; ++i) ASSERT_EQ(c.transmit(readRecord(1, 0)), first) << "command " << i;
}

}  // namespace
}  // namespace rvp::cardsim::testing
