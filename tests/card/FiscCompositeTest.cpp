// The composite card operations against the virtual bank card.
#include <winscard.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "CardLayerFixture.h"
#include "card/FISC.h"
#include "cardsim/Tac.h"

namespace cardtest {
namespace {

using rvp::cardsim::toHex;

std::string field(const unsigned char* out, std::size_t at, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(out) + at, size);
}

// Writes `chars` at `at` of the record.
void put(Bytes& record, std::size_t at, const std::string& chars) {
  std::memcpy(record.data() + at, chars.data(), chars.size());
}

class FiscComposites : public CardLayerTest {
 protected:
  void SetUp() override {
    CardLayerTest::SetUp();
    ASSERT_EQ(connect("bank"), 0u);
    ASSERT_EQ(selectApplication(), 0x9000u);
    card->clearApduLog();
  }

  std::vector<std::string> commandHeaders() {
    std::vector<std::string> headers;
    for (const Bytes& c : takeCommands()) headers.push_back(toHex(Bytes(c.begin(), c.begin() + 4)));
    return headers;
  }

  unsigned char out[kFiscCompositeOutputSize];
};

TEST_F(FiscComposites, ListAccountsReadsFromRecordThree) {
  unsigned char count = 0;
  unsigned char accounts[16 * 16];
  std::memset(accounts, 0xEE, sizeof accounts);
  ASSERT_EQ(FISC_ListAccounts(hCard, &count, accounts, sizeof accounts), 0u);
  const auto commands = takeCommands();
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(toHex(commands[2]), "00B2030584");
  // 132 bytes: seven whole 18-byte records and the start of an eighth.
  EXPECT_EQ(count, 8 * 16);
  EXPECT_EQ(field(accounts, 0, 16), "0040123456789012");
  EXPECT_EQ(field(accounts, 16, 16), "0040987654321098");
  EXPECT_EQ(field(accounts, 7 * 16, 16), std::string("0000") + std::string(12, '\0'));
  EXPECT_EQ(accounts[8 * 16], 0xEE) << "nothing beyond the slots it reports";
}

TEST_F(FiscComposites, ListAccountsRefusesASmallAccountArray) {
  unsigned char count = 9;
  unsigned char accounts[16 * 4];
  EXPECT_EQ(FISC_ListAccounts(hCard, &count, accounts, sizeof accounts),
            static_cast<std::uint32_t>(SCARD_E_INSUFFICIENT_BUFFER));
  EXPECT_EQ(count, 0);
}

TEST_F(FiscComposites, InquiryVerifiesReadsAndWritesTheLog) {
  Bytes in(kFiscInquiryInputSize, 0);
  put(in, 0, "ABCDEFGH");
  put(in, 8, "1234");
  in[20] = 2;
  ASSERT_EQ(FISC_Inquiry(hCard, in.data(), in.size(), out, sizeof out), 0u);
  EXPECT_EQ(commandHeaders(), (std::vector<std::string>{"00A40300", "00200010", "00A40200", "00B20105", "00E21080"}));

  EXPECT_EQ(field(out, 0, 8), "00400001");
  EXPECT_EQ(field(out, 8, 30), "BANK CARD" + std::string(21, ' '));
  EXPECT_EQ(field(out, 38, 16), "0040987654321098");
  EXPECT_EQ(field(out, 54, 8), "00000001");
  EXPECT_EQ(out[62], 0);
  EXPECT_EQ(out[63], 8);
  EXPECT_EQ(field(out, 320, 4), "2500");

  const Bytes logged = card->card().records(0x1080).at(0);
  const Bytes record = join(text("2500ABCDEFGH"), text("0040987654321098"));
  EXPECT_NE(std::search(logged.begin(), logged.end(), record.begin(), record.end()), logged.end());
  const Bytes tac = rvp::cardsim::computeTac(rvp::cardbench::loadProfile("bank").tacKey, text("00000001"), record);
  EXPECT_EQ(Bytes(out + 64, out + 72), tac);
}

TEST_F(FiscComposites, TransferPicksItsCodeFromTheBankIds) {
  const struct {
    const char* from;
    const char* to;
    const char* code;
  } cases[] = {
      {"11111111", "00400001", "2523"},  // payee bank is the card's issuer
      {"22222222", "22222222", "2522"},  // both banks the same
      {"00400001", "33333333", "2521"},  // paying bank is the issuer
      {"44444444", "55555555", "2524"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    Bytes in(kFiscTransferInputSize, '0');
    put(in, 0, c.from);
    put(in, 8, c.to);
    put(in, 16, "PAYEEACCOUNT0016");
    put(in, 32, "1234");
    put(in, 36, "INACCOUNT0000016");
    put(in, 52, "00000000150000");
    in[66] = 1;
    ASSERT_EQ(FISC_Transfer(hCard, in.data(), in.size(), out, sizeof out), 0u);
    EXPECT_EQ(field(out, 320, 4), c.code);
    const std::string dateTime = field(out, 324, 14);
    EXPECT_EQ(dateTime.size(), 14u);
    for (char d : dateTime) EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(d)));
    const std::string expected = std::string(c.code) + "00000000150000" + "INACCOUNT0000016" + dateTime +
                                 "PAYEEACCOUNT0016" + "0040123456789012";
    const auto commands = takeCommands();
    ASSERT_EQ(commands.size(), 5u);
    EXPECT_EQ(std::string(commands[4].begin() + 5, commands[4].end() - 1), expected);
  }
}

// An input record whose every byte differs from its neighbours, so a field taken from the wrong
// place shows.
Bytes distinctInput(std::size_t size) {
  Bytes in(size);
  for (std::size_t i = 0; i < size; ++i) in[i] = static_cast<unsigned char>(0x21 + i);
  return in;
}

std::string slice(const Bytes& in, std::size_t from, std::size_t to) {
  return std::string(in.begin() + from, in.begin() + to + 1);
}

TEST_F(FiscComposites, PaymentRecordLayout) {
  Bytes in = distinctInput(kFiscPaymentInputSize);
  put(in, 30, "1234");
  in[64] = 2;
  ASSERT_EQ(FISC_Payment(hCard, in.data(), in.size(), out, sizeof out), 0u);
  const std::string dateTime = field(out, 324, 14);
  const std::string expected = "2541" + slice(in, 50, 63) + slice(in, 34, 49) + dateTime + slice(in, 0, 15) +
                               slice(in, 16, 29) + "0040987654321098";
  ASSERT_EQ(expected.size(), 94u);
  const auto commands = takeCommands();
  ASSERT_EQ(commands.size(), 5u);
  EXPECT_EQ(toHex(Bytes(commands[1].begin(), commands[1].end())), "00200010081234FFFFFFFFFFFF");
  EXPECT_EQ(commands[4][4], 94);
  EXPECT_EQ(std::string(commands[4].begin() + 5, commands[4].end() - 1), expected);
  EXPECT_EQ(field(out, 320, 4), "2541");
  EXPECT_EQ(field(out, 38, 16), "0040987654321098");
}

TEST_F(FiscComposites, TaxRecordLayoutAndCode) {
  const struct {
    const char* bank;
    const char* code;
  } cases[] = {
      {"00400001", "2531"},  // the tax is paid at the card's own bank
      {"00400002", "2532"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    Bytes in = distinctInput(kFiscTaxInputSize);
    put(in, 0, c.bank);
    put(in, 8, "1234");
    in[63] = 1;
    ASSERT_EQ(FISC_Tax(hCard, in.data(), in.size(), out, sizeof out), 0u);
    const std::string dateTime = field(out, 324, 14);
    const std::string expected = std::string(c.code) + slice(in, 28, 41) + slice(in, 12, 27) + dateTime +
                                 slice(in, 42, 45) + slice(in, 46, 46) + "0040123456789012" + slice(in, 47, 62);
    ASSERT_EQ(expected.size(), 85u);
    const auto commands = takeCommands();
    ASSERT_EQ(commands.size(), 5u);
    EXPECT_EQ(commands[4][4], 85);
    EXPECT_EQ(std::string(commands[4].begin() + 5, commands[4].end() - 1), expected);
    EXPECT_EQ(field(out, 320, 4), c.code);
  }
}

// The first refused step ends the sequence with that step's code; nothing after it is sent.
TEST_F(FiscComposites, EachRefusedStepHasItsOwnCode) {
  const struct {
    unsigned char ins;
    int nth;
    std::uint32_t code;
    std::size_t sent;
  } cases[] = {
      {0xA4, 1, kFiscSelectParentFailed, 1},
      {0x20, 1, kFiscVerifyPinFailed, 2},
      {0xA4, 2, kFiscSelectIssuerFileFailed, 3},
      {0xB2, 1, kFiscReadRecordsFailed, 4},
      {0xE2, 1, kFiscWriteFailed, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sent);
    card->inject(rvp::cardbench::Fault::statusWord(0x6A82, c.nth, c.ins));
    Bytes in(kFiscInquiryInputSize, 0);
    put(in, 8, "1234");
    in[20] = 1;
    EXPECT_EQ(FISC_Inquiry(hCard, in.data(), in.size(), out, sizeof out), c.code);
    EXPECT_EQ(ulRtn, c.code);
    EXPECT_EQ(commandHeaders().size(), c.sent);
    card->card().clearFaults();
  }
  EXPECT_TRUE(card->card().records(0x1080).empty());
}

TEST_F(FiscComposites, ReaderFailureIsPassedOnAsItIs) {
  card->remove();
  Bytes in(kFiscInquiryInputSize, 0);
  put(in, 8, "1234");
  in[20] = 1;
  EXPECT_EQ(FISC_Inquiry(hCard, in.data(), in.size(), out, sizeof out),
            static_cast<std::uint32_t>(SCARD_W_REMOVED_CARD));
  unsigned char count = 7;
  unsigned char accounts[16 * 16];
  EXPECT_EQ(FISC_ListAccounts(hCard, &count, accounts, sizeof accounts),
            static_cast<std::uint32_t>(SCARD_W_REMOVED_CARD));
  EXPECT_EQ(count, 0);
}

TEST_F(FiscComposites, AccountIndexOutsideTheAnswerStopsBeforeWriting) {
  for (unsigned char index : {0, 6}) {
    Bytes in(kFiscTaxInputSize, '1');
    put(in, 8, "1234");
    in[63] = index;
    EXPECT_EQ(FISC_Tax(hCard, in.data(), in.size(), out, sizeof out), kFiscReadRecordsFailed) << int(index);
    EXPECT_EQ(ulRtn, kFiscReadRecordsFailed);
    EXPECT_EQ(commandHeaders().size(), 4u) << "no write";
  }
}

TEST_F(FiscComposites, WrongPinStopsAfterVerify) {
  Bytes in(kFiscPaymentInputSize, '0');
  put(in, 30, "9999");
  in[64] = 1;
  EXPECT_EQ(FISC_Payment(hCard, in.data(), in.size(), out, sizeof out), kFiscVerifyPinFailed);
  EXPECT_EQ(toHex(card->apduCommands().back()), "00200010089999FFFFFFFFFFFF");
  EXPECT_EQ(commandHeaders(), (std::vector<std::string>{"00A40300", "00200010"}));
  EXPECT_FALSE(sendBufferHolds(Bytes{0x99, 0x99})) << "the PIN block stays after the last command";
}

TEST_F(FiscComposites, WriteAnswerWithoutSerialAndTacFails) {
  card->inject(rvp::cardbench::Fault::statusWord(0x9000, 1, 0xE2));
  Bytes in(kFiscInquiryInputSize, 0);
  put(in, 8, "1234");
  in[20] = 1;
  EXPECT_EQ(FISC_Inquiry(hCard, in.data(), in.size(), out, sizeof out), kFiscWriteFailed);
}

TEST_F(FiscComposites, ShortRecordsAreRefusedUnsent) {
  const Bytes in(kFiscTransferInputSize - 1, '0');
  EXPECT_EQ(FISC_Transfer(hCard, in.data(), in.size(), out, sizeof out),
            static_cast<std::uint32_t>(SCARD_E_INVALID_PARAMETER));
  const Bytes whole(kFiscTransferInputSize, '0');
  EXPECT_EQ(FISC_Transfer(hCard, whole.data(), whole.size(), out, sizeof out - 1),
            static_cast<std::uint32_t>(SCARD_E_INVALID_PARAMETER));
  EXPECT_TRUE(takeCommands().empty());
}

}  // namespace
}  // namespace cardtest
