// The card's command handling without a reader in between: malformed input and the log's bookkeeping.
#include <gtest/gtest.h>

#include <random>

#include "cardsim/CardApplication.h"
#include "cardsim/Tac.h"

namespace rvp::cardsim {
namespace {

std::uint16_t statusOf(const Bytes& response) {
  return static_cast<std::uint16_t>(response[response.size() - 2] << 8 | response.back());
}

CardApplication cardWithApplication(const std::string& profileText = "pin = 1234") {
  CardApplication card(Profile::parse(profileText));
  EXPECT_EQ(statusOf(card.process(fromHex("00A4040008A000000172950001"))), sw::ok);
  return card;
}

TEST(CardApplication, MalformedCommandsGetAStatusWord) {
  struct Case {
    const char* apdu;
    std::uint16_t sw;
  } cases[] = {
      {"", sw::wrongLength},
      {"00A404", sw::wrongLength},
      {"00A4040008A0000001", sw::wrongLength},    // Lc 8, four bytes follow
      {"00A4040002A000000172", sw::wrongLength},  // Lc 2, more than Lc + Le follow
      {"00B2010400AA", sw::wrongLength},          // extended form without its second Le byte
      {"00A40200", sw::wrongLength},              // SELECT EF without a file id
      {"00200010041234", sw::wrongLength},        // VERIFY with a 4-byte block
      {"80A4040008A000000172950001", sw::unknownClass},
      {"0084000008", sw::unknownInstruction},
      {"00CA000000", sw::unknownInstruction},
  };
  for (const auto& c : cases) {
    CardApplication card = cardWithApplication();
    Bytes response = card.process(fromHex(c.apdu));
    EXPECT_EQ(response.size(), 2u) << c.apdu;
    EXPECT_EQ(statusOf(response), c.sw) << c.apdu;
  }
}

TEST(CardApplication, SurvivesRandomCommands) {
  CardApplication card = cardWithApplication();
  std::mt19937 random(7);
  for (int i = 0; i < 5000; ++i) {
    Bytes command(random() % 300);
    for (auto& b : command) b = static_cast<std::uint8_t>(random());
    if (command.size() > 1 && random() % 2) command[0] = 0x00;  // reach the instructions, not just the class check
    Bytes response = card.process(command);
    ASSERT_GE(response.size(), 2u);
    ASSERT_LE(response.size(), 258u);
  }
}

TEST(CardApplication, FilesNeedTheApplicationAndParentLeavesTheEfFirst) {
  CardApplication card(Profile::parse("[ef 1001]\n1 = tlv 01 \"70000019\""));
  EXPECT_EQ(statusOf(card.process(fromHex("00A4020002 1001"))), sw::fileNotFound);
  EXPECT_EQ(statusOf(card.process(fromHex("00B2010400"))), sw::noCurrentEf);
  EXPECT_EQ(statusOf(card.process(fromHex("00A4010002 1000"))), sw::ok);  // the application's DF
  EXPECT_EQ(statusOf(card.process(fromHex("00A4020002 1001"))), sw::ok);
  EXPECT_EQ(statusOf(card.process(fromHex("00A40300"))), sw::ok);
  EXPECT_EQ(statusOf(card.process(fromHex("00B2010400"))), sw::noCurrentEf);
  EXPECT_EQ(statusOf(card.process(fromHex("00A4020002 1001"))), sw::ok) << "the EF is still reachable";
  Bytes header = card.process(fromHex("00A4020002 1001 10"));
  EXPECT_EQ(Bytes(header.begin(), header.begin() + 5), fromHex("1001 01 01 0A"));
  card.endSession();
  EXPECT_EQ(statusOf(card.process(fromHex("00A4020002 1001"))), sw::fileNotFound) << "a reset closes the application";
}

TEST(CardApplication, TacIsTripleDesCbcMacOverSerialAndRecord) {
  // Value computed independently with the openssl command line (des-ede-cbc, zero IV, no padding)
  // over "00000001" "2500" "12345678" "7001234567890123" 80 00 00 00.
  const Bytes key = fromHex("404142434445464748494A4B4C4D4E4F");
  const std::string serial = "00000001", record = "2500123456787001234567890123";
  EXPECT_EQ(toHex(computeTac(key, Bytes(serial.begin(), serial.end()), Bytes(record.begin(), record.end()))),
            "F81B1707FE3783A2");
}

TEST(CardApplication, LogKeepsTheNewestRecordsFirstUpToItsCapacity) {
  CardApplication card = cardWithApplication("log_capacity = 3\nserial = 99999998");
  std::vector<std::string> serials;
  for (int i = 0; i < 5; ++i) {
    Bytes response = card.process(fromHex("00E21080 04 3235303" + std::to_string(i) + " 00"));
    ASSERT_EQ(statusOf(response), sw::ok);
    serials.emplace_back(response.begin() + 1, response.begin() + 9);
  }
  EXPECT_EQ(serials[0], "99999998");
  EXPECT_EQ(serials[1], "99999999");
  EXPECT_EQ(serials[2], "00000001") << "the serial number wraps after eight digits";
  const auto& log = card.contents().files.at(0x1080).records;
  ASSERT_EQ(log.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(std::string(log[i].begin() + 3, log[i].begin() + 11), serials[4 - i]);
    EXPECT_EQ(log[i][15], '0' + (4 - i)) << "record " << i + 1 << " holds write " << 4 - i;
  }
}

// Bytes 0 to 2 and 11 of a written log record are the profile's choice; the rest is the same for every
// card: serial at 3, data from 12, TAC length 00 08, TAC.
TEST(CardApplication, LogRecordsCarryTheProfilesFramingAroundTheSameContents) {
  const std::string data = "2500ABCDEFGH0040123456789012";  // 28 bytes: the record is 50 long
  const struct {
    const char* setting;
    const char* framing;  // bytes 0, 1, 2 and 11 as hex
  } cases[] = {
      {"", "00 00 00 00"},  // no setting: zeros
      {"log_framing = zeros", "00 00 00 00"},
      {"log_framing = ff", "FF FF FF FF"},
      {"log_framing = length", "80 30 00 1C"},
      {"log_framing = whole_length", "80 32 00 1C"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting);
    CardApplication card = cardWithApplication(std::string(c.setting) + "\nserial = 7");
    Bytes command = fromHex("00E21080 1C");
    command.insert(command.end(), data.begin(), data.end());
    ASSERT_EQ(statusOf(card.process(command)), sw::ok);
    const Bytes& record = card.contents().files.at(0x1080).records.at(0);
    ASSERT_EQ(record.size(), 50u);
    EXPECT_EQ(toHex(Bytes{record[0], record[1], record[2], record[11]}), toHex(fromHex(c.framing)));
    EXPECT_EQ(std::string(record.begin() + 3, record.begin() + 11), "00000007");
    EXPECT_EQ(std::string(record.begin() + 12, record.begin() + 40), data);
    EXPECT_EQ(toHex(Bytes(record.begin() + 40, record.begin() + 42)), "0008");
  }
}

TEST(CardApplication, RefusesLogWritesItCannotKeep) {
  CardApplication card = cardWithApplication("[ef 1001]\n1 = 00");
  EXPECT_EQ(statusOf(card.process(fromHex("00E21081 01 00 00"))), sw::fileNotFound);
  EXPECT_EQ(statusOf(card.process(fromHex("00E21001 01 00 00"))), sw::wrongFileStructure);
  Bytes tooLong = fromHex("00E21080 EB");
  tooLong.resize(tooLong.size() + 0xEB, 0x41);
  EXPECT_EQ(statusOf(card.process(tooLong)), sw::notEnoughMemory);
  EXPECT_TRUE(card.contents().files.at(0x1080).records.empty());

  CardApplication guarded = cardWithApplication("pin = 1234\ntac_needs_pin = yes");
  EXPECT_EQ(statusOf(guarded.process(fromHex("00E21080 01 00 00"))), sw::securityNotSatisfied);
  EXPECT_EQ(statusOf(guarded.process(fromHex("0020001008 1234FFFFFFFFFFFF"))), sw::ok);
  EXPECT_EQ(statusOf(guarded.process(fromHex("00E21080 01 00 00"))), sw::ok);
}

}  // namespace
}  // namespace rvp::cardsim
