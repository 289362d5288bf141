// Answers pcscd cannot be made to give, through a stand-in table of PC/SC calls.
#include <winscard.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "card/CardBuffers.h"
#include "card/FISC.h"
#include "card/IFD.h"
#include "card/PcscCalls.h"

namespace {

// What the stand-in calls answer.
struct Script {
  std::string readers;  // multi-string including the closing empty name
  LONG listResult = SCARD_S_SUCCESS;
  SCARDHANDLE handle = 0x1234;
  std::string atr;
  DWORD reportedAtrLength = 0;
  std::string answer;
  int disconnects = 0;
  LONG statusChangeResult = SCARD_S_SUCCESS;
  DWORD eventState = 0;
  // What the reader-state call was asked.
  DWORD timeout = 99;
  DWORD readerCount = 0;
  DWORD currentState = 99;
  std::string reader;
};
Script script;

LONG listReaders(SCARDCONTEXT, LPCSTR, LPSTR out, LPDWORD length) {
  if (script.listResult != SCARD_S_SUCCESS) return script.listResult;
  if (script.readers.size() > *length) return SCARD_E_INSUFFICIENT_BUFFER;
  std::memcpy(out, script.readers.data(), script.readers.size());
  *length = static_cast<DWORD>(script.readers.size());
  return SCARD_S_SUCCESS;
}

LONG connect(SCARDCONTEXT, LPCSTR, DWORD, DWORD, LPSCARDHANDLE handle, LPDWORD protocol) {
  *handle = script.handle;
  *protocol = SCARD_PROTOCOL_T1;
  return SCARD_S_SUCCESS;
}

LONG disconnect(SCARDHANDLE, DWORD) {
  ++script.disconnects;
  return SCARD_S_SUCCESS;
}

LONG status(SCARDHANDLE, LPSTR, LPDWORD, LPDWORD state, LPDWORD protocol, LPBYTE atr, LPDWORD atrLength) {
  std::memcpy(atr, script.atr.data(), std::min<std::size_t>(script.atr.size(), *atrLength));
  *atrLength = script.reportedAtrLength;
  *state = SCARD_SPECIFIC;
  *protocol = SCARD_PROTOCOL_T1;
  return SCARD_S_SUCCESS;
}

LONG transmit(SCARDHANDLE, const SCARD_IO_REQUEST*, LPCBYTE, DWORD, SCARD_IO_REQUEST*, LPBYTE out, LPDWORD length) {
  std::memcpy(out, script.answer.data(), script.answer.size());
  *length = static_cast<DWORD>(script.answer.size());
  return SCARD_S_SUCCESS;
}

LONG getStatusChange(SCARDCONTEXT, DWORD timeout, SCARD_READERSTATE* states, DWORD count) {
  script.timeout = timeout;
  script.readerCount = count;
  script.currentState = states[0].dwCurrentState;
  script.reader = states[0].szReader ? states[0].szReader : "";
  if (script.statusChangeResult != SCARD_S_SUCCESS) return script.statusChangeResult;
  states[0].dwEventState = script.eventState;
  return SCARD_S_SUCCESS;
}

class StandInPcsc : public ::testing::Test {
 protected:
  void SetUp() override {
    script = {};
    calls_ = card::realPcscCalls();
    calls_.listReaders = listReaders;
    calls_.connect = connect;
    calls_.disconnect = disconnect;
    calls_.status = status;
    calls_.transmit = transmit;
    calls_.getStatusChange = getStatusChange;
    card::setPcscCalls(&calls_);
  }
  void TearDown() override { card::setPcscCalls(nullptr); }

 private:
  card::PcscCalls calls_;
};

TEST_F(StandInPcsc, FortyOneReadersListFortyNames) {
  for (int i = 0; i < 41; ++i) script.readers += "Reader " + std::to_string(i) + '\0';
  script.readers += '\0';
  stReaderList list;
  ASSERT_EQ(IFD_ListReaders(&list), 0u);
  EXPECT_EQ(list.count, 40);
  EXPECT_STREQ(reinterpret_cast<const char*>(list.names[39]), "Reader 39");
}

TEST_F(StandInPcsc, LongReaderNamesAreCutToTheirSlot) {
  const std::string longName(120, 'N');
  script.readers = longName + '\0' + "Short" + '\0' + '\0';
  stReaderList list;
  ASSERT_EQ(IFD_ListReaders(&list), 0u);
  ASSERT_EQ(list.count, 2);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(list.names[0])), std::string(49, 'N'));
  EXPECT_STREQ(reinterpret_cast<const char*>(list.names[1]), "Short");
}

TEST_F(StandInPcsc, UnterminatedReaderListStopsAtItsLength) {
  script.readers = std::string(kCardBufferSize, 'X');  // no terminating zero anywhere
  stReaderList list;
  ASSERT_EQ(IFD_ListReaders(&list), 0u);
  EXPECT_EQ(list.count, 1);
  EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(list.names[0])), 49u);
}

TEST_F(StandInPcsc, NoReadersGivesTheErrorAndCountZero) {
  script.listResult = SCARD_E_NO_READERS_AVAILABLE;
  stReaderList list;
  list.count = 5;
  EXPECT_EQ(IFD_ListReaders(&list), static_cast<std::uint32_t>(SCARD_E_NO_READERS_AVAILABLE));
  EXPECT_EQ(list.count, 0);
  script.listResult = SCARD_S_SUCCESS;
  script.readers = std::string(1, '\0');
  EXPECT_EQ(IFD_ListReaders(&list), 0u);
  EXPECT_EQ(list.count, 0);
}

TEST_F(StandInPcsc, AtrLengthIsBoundedToItsArea) {
  script.atr = std::string(32, '\x3B');
  script.reportedAtrLength = 0x10000 + 40;  // only the low 16 bits count, and never past 32 bytes
  std::uint32_t hCard = 0;
  stCardStatus status;
  ASSERT_EQ(IFD_ConnectCard(&hCard, "R", &status), 0u);
  EXPECT_EQ(hCard, 0x1234u);
  EXPECT_EQ(status.atrLength, 32u);
}

TEST_F(StandInPcsc, HandleWiderThan32BitsIsRefused) {
  script.handle = static_cast<SCARDHANDLE>(0x100000001ULL);
  std::uint32_t hCard = 7;
  stCardStatus status;
  EXPECT_EQ(IFD_ConnectCard(&hCard, "R", &status), static_cast<std::uint32_t>(SCARD_E_INVALID_HANDLE));
  EXPECT_EQ(hCard, 7u);
  EXPECT_EQ(script.disconnects, 1);
}

// A success with fewer than two answer bytes is a failed command (SCARD_F_COMM_ERROR, 0x80100013) for
// every caller, so that nobody reads status word 0 as "PIN correct".
TEST_F(StandInPcsc, AnswersShorterThanAStatusWord) {
  constexpr std::uint32_t kCommError = 0x80100013;
  const unsigned char fid[2] = {0x10, 0x01};
  const unsigned char pinBlock[8] = {0x99, 0x99, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  unsigned char data[16];
  unsigned char length = 9;
  for (const std::string& answer : {std::string(), std::string("\x90", 1), std::string("\x63", 1)}) {
    SCOPED_TRACE(answer.size());
    script.answer = answer;
    FiscSW sw = 0x1234;
    EXPECT_EQ(FISC_SelectEF(1, fid, &sw), kCommError);
    EXPECT_EQ(sw, 0u);
    EXPECT_EQ(FISC_VerifyPIN(1, 0x10, pinBlock, &sw), kCommError);
    EXPECT_EQ(ulRtn, kCommError);
    EXPECT_EQ(FISC_ReadRecord(1, 1, 0, data, sizeof data, &length, &sw), kCommError);
    EXPECT_EQ(length, 0);
    const unsigned char command[5] = {0x00, 0xB0, 0x00, 0x00, 0x10};
    std::uint32_t received = 77;
    EXPECT_EQ(IFD_T1Transmit(1, command, sizeof command, data, sizeof data, &received), kCommError);
    EXPECT_EQ(received, 77u);
  }
  script.answer = std::string("\x01\x90\x00", 3);
  FiscSW sw = 0;
  EXPECT_EQ(FISC_ReadRecord(1, 1, 0, data, sizeof data, &length, &sw), 0u);
  EXPECT_EQ(sw, 0x9000u);
  EXPECT_EQ(length, 1);
  EXPECT_EQ(data[0], 0x01);
}

TEST_F(StandInPcsc, DataInTheAnswerToAStatusOnlyCommandFailsIt) {
  // A SELECT or VERIFY answered with data and 9000 is not this command's answer.
  script.answer = std::string(62, '0') + std::string("\x90\x00", 2);
  const unsigned char fid[2] = {0x10, 0x01};
  const unsigned char pinBlock[8] = {0x12, 0x34, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  FiscSW sw = 0x1234;
  EXPECT_EQ(FISC_SelectEF(1, fid, &sw), 0x80100013u);
  EXPECT_EQ(sw, 0u);
  EXPECT_EQ(FISC_VerifyPIN(1, 0x10, pinBlock, &sw), 0x80100013u);
  unsigned char in[kFiscInquiryInputSize] = {};
  in[20] = 1;
  unsigned char out[kFiscCompositeOutputSize];
  EXPECT_EQ(FISC_Inquiry(1, in, sizeof in, out, sizeof out), 0x80100013u);
}

// States pcscd reports with other bits set (changed, in use, exclusive), and states a driver only
// shows on odd readers (unavailable, mute): present wins over empty, anything else is "other".
TEST_F(StandInPcsc, CheckCardInsertMapsTheEventState) {
  const struct {
    DWORD state;
    int cardType;
  } cases[] = {
      {SCARD_STATE_PRESENT | SCARD_STATE_CHANGED | SCARD_STATE_EXCLUSIVE | SCARD_STATE_INUSE, kCardPresent},
      {SCARD_STATE_EMPTY | SCARD_STATE_CHANGED, kReaderEmpty},
      {SCARD_STATE_PRESENT | SCARD_STATE_EMPTY, kCardPresent},
      {SCARD_STATE_UNAVAILABLE | SCARD_STATE_CHANGED, kCardStateOther},
      {SCARD_STATE_MUTE, kCardStateOther},
      {0, kCardStateOther},
  };
  for (const auto& c : cases) {
    script.eventState = c.state;
    int cardType = -1;
    ulRtn = 12345;
    EXPECT_EQ(IFD_CheckCardInsert("Reader A", &cardType), 0u) << std::hex << c.state;
    EXPECT_EQ(ulRtn, 0u);
    EXPECT_EQ(cardType, c.cardType) << std::hex << c.state;
  }
  // One reader, asked without waiting and from an unaware state, so the answer is the state now.
  EXPECT_EQ(script.readerCount, 1u);
  EXPECT_EQ(script.timeout, 0u);
  EXPECT_EQ(script.currentState, static_cast<DWORD>(SCARD_STATE_UNAWARE));
  EXPECT_EQ(script.reader, "Reader A");

  script.statusChangeResult = SCARD_E_TIMEOUT;
  script.eventState = SCARD_STATE_EMPTY;
  int cardType = kCardPresent;
  EXPECT_EQ(IFD_CheckCardInsert("Reader A", &cardType), static_cast<std::uint32_t>(SCARD_E_TIMEOUT));
  EXPECT_EQ(ulRtn, static_cast<std::uint32_t>(SCARD_E_TIMEOUT));
  EXPECT_EQ(cardType, kCardPresent) << "a failed call leaves the out value alone";
}

TEST_F(StandInPcsc, VersionTexts) {
  char version[32], date[32];
  EXPECT_EQ(IFD_GetAPIVersion(version, sizeof version, date, sizeof date), 0u);
  EXPECT_STREQ(version, "IFDAPI V1.2");
  EXPECT_STREQ(date, "2002.10.04");
  EXPECT_EQ(FISC_GetAPIVersion(version, 5, date, sizeof date), 0u);
  EXPECT_STREQ(version, "FISC");
  EXPECT_STREQ(date, "2002.10.15");
}

}  // namespace
