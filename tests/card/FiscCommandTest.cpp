// Single FISC card commands through pcscd to the virtual card: the bytes sent and the
// status-word and length conventions of the answers.
#include <winscard.h>

#include <cstring>
#include <functional>
#include <string>

#include "CardLayerFixture.h"
#include "card/FISC.h"
#include "card/GP.h"
#include "cardsim/Tac.h"

namespace cardtest {
namespace {

const unsigned char kIssuerFile[2] = {0x10, 0x01};
const unsigned char kPinFile[2] = {0x00, 0xC2};
const unsigned char kLog[2] = {0x10, 0x80};
const unsigned char kBigBinary[2] = {0x20, 0x00};
const unsigned char kBigRecords[2] = {0x20, 0x01};

Bytes pinBlockOf(const std::string& digits) {
  std::string field = digits + std::string(16 - digits.size(), 'F');
  Bytes block(8);
  GP_PackData(field.c_str(), field.size(), block.data(), block.size());
  return block;
}

// The bank card plus a 300-byte binary file and a file of records of 64, 255, 100 and 100 bytes.
Profile benchProfile() {
  Profile p = rvp::cardbench::loadProfile("bank");
  p.files[0x2000].binary = Bytes(300, 0x5A);
  p.files[0x2001].records = {Bytes(64, 0x11), Bytes(255, 0x22), Bytes(100, 0x33), Bytes(100, 0x44)};
  return p;
}

class FiscCommands : public CardLayerTest {
 protected:
  void SetUp() override {
    CardLayerTest::SetUp();
    ASSERT_EQ(connect(benchProfile()), 0u);
    ASSERT_EQ(selectApplication(), 0x9000u);
    card->clearApduLog();
  }

  void select(const unsigned char fid[2]) {
    FiscSW sw = 0;
    ASSERT_EQ(FISC_SelectEF(hCard, fid, &sw), 0u);
    ASSERT_EQ(sw, 0x9000u);
  }

  unsigned char data[300];
  unsigned char length = 0xCC;
  FiscSW sw = 0xCCCC;
};

// Every command's bytes as the card receives them, and the status word it answered.
TEST_F(FiscCommands, CommandsGoOutAsBuilt) {
  const unsigned char v8[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  const unsigned char w8[8] = {9, 9, 9, 9, 9, 9, 9, 9};
  const unsigned char v16[16] = {0xA1};
  const unsigned char two[2] = {0xB1, 0xB2};
  const unsigned char le3[3] = {0x00, 0x01, 0x2C};
  const unsigned char appDf[2] = {0x10, 0x00};
  unsigned char tac[8];
  unsigned char le = 0x10;
  std::uint32_t length32 = 0;
  const Bytes pin = pinBlockOf("1234");
  struct Case {
    const char* name;
    std::function<std::uint32_t()> call;
    const char* sent;
    FiscSW answered;
  };
  const Case cases[] = {
      {"SelectDF", [&] { return FISC_SelectDF(hCard, appDf, &sw); }, "00A40100021000", 0x9000},
      {"SelectEF", [&] { return FISC_SelectEF(hCard, kIssuerFile, &sw); }, "00A40200021001", 0x9000},
      {"SelectEFWithHeader",
       [&] { return FISC_SelectEFWithHeader(hCard, kIssuerFile, data, sizeof data, &length, &sw); }, "00A4020002100110",
       0x9000},
      {"ReadRecord", [&] { return FISC_ReadRecord(hCard, 1, 0, data, sizeof data, &length, &sw); }, "00B2010400",
       0x9000},
      {"ReadAllRecord_S", [&] { return FISC_ReadAllRecord_S(hCard, 3, 0x84, data, sizeof data, &length, &sw); },
       "00B2030584", 0x9000},
      {"SelectParentDF", [&] { return FISC_SelectParentDF(hCard, &sw); }, "00A40300", 0x9000},
      {"SelectDFWithHeader", [&] { return FISC_SelectDFWithHeader(hCard, appDf, data, sizeof data, &length, &sw); },
       "00A4010002100010", 0x9000},
      {"SelectParentDFWithHeader",
       [&] { return FISC_SelectParentDFWithHeader(hCard, data, sizeof data, &length, &sw); }, "00A4030010", 0x9000},
      {"VerifyPIN", [&] { return FISC_VerifyPIN(hCard, 0x10, pin.data(), &sw); }, "00200010081234FFFFFFFFFFFF", 0x9000},
      {"ReadBinary", [&] { return FISC_ReadBinary(hCard, 0x0102, 0x10, data, sizeof data, &length, &sw); },
       "00B0010210", 0x6986},
      {"ReadAllRecord_E", [&] { return FISC_ReadAllRecord_E(hCard, 1, le3, data, sizeof data, &length32, &sw); },
       "00B2010500012C", 0x6986},
      {"WriteRecord", [&] { return FISC_WriteRecord(hCard, 4, 2, two, &sw); }, "00D20005040402B1B2", 0x6A86},
      {"UpdateRecord", [&] { return FISC_UpdateRecord(hCard, 3, 2, two, &sw); }, "00D2030402B1B2", 0x6986},
      {"CreateFile", [&] { return FISC_CreateFile(hCard, v16, &sw); }, "00E0000010A1000000000000000000000000000000",
       0x6D00},
      {"WriteRecordWithTAC", [&] { return FISC_WriteRecordWithTAC(hCard, 0x07, v8, 0x42, 2, two, tac, &sw); },
       "00E600070C0102030405060708420AB1B208", 0x6D00},
      {"WriteRecordWithSNUMTAC",
       [&] { return FISC_WriteRecordWithSNUMTAC(hCard, kPinFile, 2, two, data, sizeof data, &length, &sw); },
       "00E200C202B1B200", 0x6981},
      {"EraseEF", [&] { return FISC_EraseEF(hCard, &sw); }, "000E0000", 0x6D00},
      {"LockDF", [&] { return FISC_LockDF(hCard, &sw); }, "00760000", 0x6D00},
      {"UnlockDF", [&] { return FISC_UnlockDF(hCard, two, &sw); }, "0078000002B1B2", 0x6D00},
      {"UnlockKey", [&] { return FISC_UnlockKey(hCard, two, &sw); }, "002C000002B1B2", 0x6D00},
      {"GenerateRandomNumber", [&] { return FISC_GenerateRandomNumber(hCard, data, sizeof data, &sw); }, "0086000008",
       0x6D00},
      {"TerminalAuthentication", [&] { return FISC_TerminalAuthentication(hCard, 0x03, v8, &sw); },
       "00820003080102030405060708", 0x6D00},
      {"CardAuthentication", [&] { return FISC_CardAuthentication(hCard, 0x04, v8, w8, data, sizeof data, &sw); },
       "00880004100102030405060708090909090909090910", 0x6D00},
      {"BinaryAdd", [&] { return FISC_BinaryAdd(hCard, 2, two, &sw); }, "00E8000402B1B2", 0x6D00},
      {"SetSessionKey", [&] { return FISC_SetSessionKey(hCard, 0x05, v8, data, sizeof data, &sw); },
       "0084000508010203040506070808", 0x6D00},
      {"UpdateRecordCiphered", [&] { return FISC_UpdateRecordCiphered(hCard, 2, two, &sw); }, "00E4010402B1B2", 0x6D00},
      {"ReadData", [&] { return FISC_ReadData(hCard, 0x9F36, &le, data, sizeof data, &sw); }, "00CA9F3610", 0x6D00},
      {"UpdateData", [&] { return FISC_UpdateData(hCard, 0x0304, 2, two, &sw); }, "00D6030402B1B2", 0x6D00},
      {"ListFile", [&] { return FISC_ListFile(hCard, data, sizeof data, &length32, &sw); }, "00AA0000000000", 0x6D00},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sw = 0xCCCC;
    EXPECT_EQ(c.call(), 0u);
    EXPECT_EQ(ulRtn, 0u);
    EXPECT_EQ(sw, c.answered);
    const auto commands = takeCommands();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(rvp::cardsim::toHex(commands[0]), rvp::cardsim::toHex(hex(c.sent)));
  }
  EXPECT_EQ(le, 0) << "ReadData writes the data length back over Le";
}

TEST_F(FiscCommands, ReadRecordGivesTheWholeRecordOrAtMostLe) {
  select(kIssuerFile);
  const struct { unsigned char record, le, expected; } cases[] = {{2, 0, 32}, {3, 0, 18}, {3, 22, 18}, {2, 4, 4}};
  for (const auto& c : cases) {
    EXPECT_EQ(FISC_ReadRecord(hCard, c.record, c.le, data, sizeof data, &length, &sw), 0u);
    EXPECT_EQ(sw, 0x9000u);
    EXPECT_EQ(length, c.expected) << int(c.record) << "/" << int(c.le);
  }
  ASSERT_EQ(FISC_ReadRecord(hCard, 3, 0, data, sizeof data, &length, &sw), 0u);
  EXPECT_EQ(Bytes(data, data + length), join(hex("0310"), text("0040123456789012")));

  select(kBigRecords);
  ASSERT_EQ(FISC_ReadRecord(hCard, 1, 0, data, sizeof data, &length, &sw), 0u);
  EXPECT_EQ(length, 64);
  EXPECT_EQ(FISC_ReadRecord(hCard, 2, 0, data, sizeof data, &length, &sw), 0u);
  EXPECT_EQ(length, 255);
  EXPECT_EQ(data[254], 0x22);
}

TEST_F(FiscCommands, StatusWordOnlyAnswerCopiesNothing) {
  select(kIssuerFile);
  std::memset(data, 0xEE, sizeof data);
  EXPECT_EQ(FISC_ReadRecord(hCard, 11, 0, data, sizeof data, &length, &sw), 0u);
  EXPECT_EQ(sw, 0x6A83u);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(data[0], 0xEE);

  const unsigned char missing[2] = {0x77, 0x77};
  EXPECT_EQ(FISC_SelectEF(hCard, missing, &sw), 0u) << "a refused select still reached the card";
  EXPECT_EQ(sw, 0x6A82u);
}

// A one-byte count cannot say 256 or more: read modulo 256 it would report 0 bytes for 256 and pass
// an answer 256 bytes too long off as the real one.
TEST_F(FiscCommands, AnswerOfMoreDataThanAOneByteCountCanSayIsRefused) {
  select(kBigBinary);
  std::memset(data, 0xEE, sizeof data);
  EXPECT_EQ(FISC_ReadBinary(hCard, 0, 0, data, sizeof data, &length, &sw),
            static_cast<std::uint32_t>(SCARD_E_INSUFFICIENT_BUFFER));
  EXPECT_EQ(sw, 0x9000u);
  EXPECT_EQ(ulRecLen, 258u);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(data[0], 0xEE);

  // A record of 18 bytes followed by 256 more: not the record.
  select(kIssuerFile);
  card->inject(rvp::cardbench::Fault::extend(Bytes(256, 0xEE), 1));
  EXPECT_EQ(FISC_ReadRecord(hCard, 3, 0, data, sizeof data, &length, &sw),
            static_cast<std::uint32_t>(SCARD_E_INSUFFICIENT_BUFFER));
  EXPECT_EQ(length, 0);
  EXPECT_EQ(data[0], 0xEE);

  select(kBigBinary);
  EXPECT_EQ(FISC_ReadBinary(hCard, 0x0100, 0, data, sizeof data, &length, &sw), 0u);
  EXPECT_EQ(length, 44) << "the rest of the 300 bytes";
}

TEST_F(FiscCommands, AnswerLongerThanTheCallersBufferIsRefused) {
  select(kBigRecords);
  unsigned char small[32];
  std::memset(small, 0xEE, sizeof small);
  EXPECT_EQ(FISC_ReadRecord(hCard, 1, 0, small, sizeof small, &length, &sw),
            static_cast<std::uint32_t>(SCARD_E_INSUFFICIENT_BUFFER));
  EXPECT_EQ(ulRtn, static_cast<std::uint32_t>(SCARD_E_INSUFFICIENT_BUFFER));
  EXPECT_EQ(sw, 0x9000u);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(small[0], 0xEE);
}

TEST_F(FiscCommands, ExtendedReadReportsTheFullLength) {
  select(kBigRecords);
  const unsigned char le[3] = {0x00, 0x01, 0x2C};
  std::uint32_t length32 = 0;
  unsigned char all[600];
  EXPECT_EQ(FISC_ReadAllRecord_E(hCard, 2, le, all, sizeof all, &length32, &sw), 0u);
  EXPECT_EQ(sw, 0x9000u);
  EXPECT_EQ(length32, 300u);
  EXPECT_EQ(all[299], 0x33) << "record 3 starts at 255";
}

TEST_F(FiscCommands, VerifyCountsWrongPinsUntilStopped) {
  const Bytes right = pinBlockOf("1234"), wrong = pinBlockOf("9999");
  EXPECT_EQ(FISC_VerifyPIN(hCard, 0x10, wrong.data(), &sw), 0u);
  EXPECT_EQ(sw, 0x6608u);
  EXPECT_EQ(FISC_VerifyPIN(hCard, 0x10, right.data(), &sw), 0u);
  EXPECT_EQ(sw, 0x9000u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(FISC_VerifyPIN(hCard, 0x10, wrong.data(), &sw), 0u);
  EXPECT_EQ(FISC_VerifyPIN(hCard, 0x10, right.data(), &sw), 0u);
  EXPECT_EQ(sw, 0x6620u);
}

// The PIN block goes no further than the card: VERIFY is wiped from the command buffer once sent,
// whether the card took the PIN, refused it, or the call was refused before sending.
TEST_F(FiscCommands, VerifyLeavesNoPinBlockInTheCommandBuffer) {
  const Bytes right = pinBlockOf("1234"), wrong = pinBlockOf("97531864");
  const struct {
    const char* what;
    const Bytes& block;
    FiscSW* sw;
    std::uint32_t result;
  } cases[] = {
      {"taken", right, &sw, 0},
      {"refused", wrong, &sw, 0},
      {"no status word to fill", wrong, nullptr, static_cast<std::uint32_t>(SCARD_E_INVALID_PARAMETER)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FISC_VerifyPIN(hCard, 0x10, c.block.data(), c.sw), c.result);
    EXPECT_EQ(ulSendLen, 13u) << "the count sent stays";
    EXPECT_FALSE(sendBufferHolds(Bytes(c.block.begin(), c.block.begin() + 2)));
  }
  EXPECT_EQ(takeCommands().size(), 2u);
}

TEST_F(FiscCommands, UpdateRecordChangesThePinAfterVerify) {
  const Bytes oldPin = pinBlockOf("1234"), newPin = pinBlockOf("567890");
  select(kPinFile);
  EXPECT_EQ(FISC_UpdateRecord(hCard, 1, 8, newPin.data(), &sw), 0u);
  EXPECT_EQ(sw, 0x6982u) << "not before the PIN is verified";
  ASSERT_EQ(FISC_VerifyPIN(hCard, 0x10, oldPin.data(), &sw), 0u);
  EXPECT_EQ(FISC_UpdateRecord(hCard, 1, 8, newPin.data(), &sw), 0u);
  EXPECT_EQ(sw, 0x9000u);
  EXPECT_EQ(card->card().records(0x00C2).at(0), newPin);
  EXPECT_EQ(FISC_VerifyPIN(hCard, 0x10, newPin.data(), &sw), 0u);
  EXPECT_EQ(sw, 0x9000u);
}

TEST_F(FiscCommands, WriteWithSerialAndTacAnswersTheSerialAndAValidTac) {
  Bytes record(64, 0);
  const std::string code = "2523";
  std::memcpy(record.data(), code.data(), code.size());
  EXPECT_EQ(FISC_WriteRecordWithSNUMTAC(hCard, kLog, 64, record.data(), data, sizeof data, &length, &sw), 0u);
  EXPECT_EQ(sw, 0x9000u);
  ASSERT_EQ(length, 19);
  const Bytes serial(data + 1, data + 9);
  EXPECT_EQ(serial, text("00000001"));
  EXPECT_EQ(data[9], 0x00);
  EXPECT_EQ(data[10], 0x08);
  const Bytes key = rvp::cardbench::loadProfile("bank").tacKey;
  EXPECT_EQ(Bytes(data + 11, data + 19), rvp::cardsim::computeTac(key, serial, record));

  const auto commands = takeCommands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].size(), 5u + 64u + 1u);
  EXPECT_EQ(commands[0].back(), 0x00) << "Le 00";
  EXPECT_EQ(card->card().records(0x1080).size(), 1u);
}

TEST_F(FiscCommands, InjectedStatusWordIsReportedAndLengthCleared) {
  card->inject(rvp::cardbench::Fault::statusWord(0x6581));
  Bytes record(28, '0');
  length = 0xCC;
  EXPECT_EQ(FISC_WriteRecordWithSNUMTAC(hCard, kLog, 28, record.data(), data, sizeof data, &length, &sw), 0u);
  EXPECT_EQ(sw, 0x6581u);
  EXPECT_EQ(length, 0);
  EXPECT_TRUE(card->card().records(0x1080).empty());
}

// SELECT and VERIFY answer a status word alone; data before it means the answer is not theirs, so a
// 9000 behind it must not pass for a selection made or a PIN accepted.
TEST_F(FiscCommands, AStatusWordCommandAnsweredWithDataFails) {
  const Bytes pin = pinBlockOf("1234");
  const struct {
    const char* name;
    std::function<std::uint32_t()> send;
  } commands[] = {
      {"select", [&] { return FISC_SelectEF(hCard, kIssuerFile, &sw); }},
      {"verify", [&] { return FISC_VerifyPIN(hCard, 0x10, pin.data(), &sw); }},
  };
  for (const auto& c : commands) {
    SCOPED_TRACE(c.name);
    card->inject(rvp::cardbench::Fault::extend(Bytes{0x01}, 1));
    sw = 0xCCCC;
    EXPECT_EQ(c.send(), static_cast<std::uint32_t>(SCARD_F_COMM_ERROR));
    EXPECT_EQ(ulRtn, static_cast<std::uint32_t>(SCARD_F_COMM_ERROR));
    EXPECT_EQ(sw, 0u);
  }
}

TEST_F(FiscCommands, LengthsThatDoNotFitTheirByteAreRefusedUnsent) {
  const unsigned char big[255] = {};
  const unsigned char v8[8] = {};
  unsigned char tac[8];
  EXPECT_EQ(FISC_WriteRecord(hCard, 1, 254, big, &sw), static_cast<std::uint32_t>(SCARD_E_INVALID_PARAMETER));
  EXPECT_EQ(FISC_WriteRecordWithTAC(hCard, 0, v8, 0, 246, big, tac, &sw),
            static_cast<std::uint32_t>(SCARD_E_INVALID_PARAMETER));
  EXPECT_EQ(FISC_SelectEF(hCard, kIssuerFile, nullptr), static_cast<std::uint32_t>(SCARD_E_INVALID_PARAMETER));
  EXPECT_TRUE(takeCommands().empty());
}

}  // namespace
}  // namespace cardtest
