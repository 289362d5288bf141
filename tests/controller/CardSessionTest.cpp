// The card session through the real pcscd and the virtual card: connection, accounts, issuer data,
// PIN check and change, record writes, and the challenge answer given by ListReaders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "ChallengeAnswerCheck.h"
#include "ZododovuRavuVODCtrl.h"
#include "transactions/TransactionRecords.h"
#include "card/CardBuffers.h"
#include "card/PcscCalls.h"
#include "cardbench/CardBench.h"
#include "tools/banktool/banktool.h"

namespace {
using namespace rvp::cardbench;
using rvp::cardsim::Bytes;

constexpr std::uint8_t kReadRecord = 0xB2;

class CardSession : public CardBenchTest {
 protected:
  // A controller connected to a card of the profile in slot 0.
  BenchCard& connect(ZododovuRavuVODCtrl& ctrl, const Profile& profile) {
    BenchCard& card = startCard(0, profile);
    ctrl.SetbaReaderName(card.readerName().c_str());
    EXPECT_EQ(ctrl.ConnectCard(), 0);
    card.clearApduLog();
    return card;
  }
  BenchCard& connect(ZododovuRavuVODCtrl& ctrl, const char* profile = "bank") {
    return connect(ctrl, loadProfile(profile));
  }

  // Record numbers of the READ RECORD commands the card received, in order.
  static std::vector<int> recordsRead(const BenchCard& card) {
    std::vector<int> records;
    for (const Bytes& command : const_cast<BenchCard&>(card).apduCommands())
      if (command.size() >= 4 && command[1] == kReadRecord) records.push_back(command[2]);
    return records;
  }
};

// An EF 1001 of the given account records (3 to 10), for the account-list rules.
Profile cardWithAccounts(const std::vector<std::string>& accounts) {
  std::string text =
      "atr = 3B 80 80 01 01\naid = A0 00 00 01 72 95 00 01\npin = 1234\npin_tries = 3\n"
      "tac_key = 40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F\nserial = 1\nlog = 1080\n"
      "log_capacity = 10\n[ef 1001]\n1 = tlv 01 \"00400001\"\n2 = tlv 02 \"REMARK\":30\n";
  for (std::size_t i = 0; i < accounts.size(); ++i)
    text += std::to_string(i + 3) + " = tlv 03 \"" + accounts[i] + "\"\n";
  text += "[ef 1080]\n";
  return parseProfile(text);
}

TEST_F(CardSession, ConnectCardWithoutReaderNameGives22AndSendsNothing) {
  BenchCard& card = startCard(0, "bank");
  ZododovuRavuVODCtrl ctrl;
  card.clearApduLog();
  EXPECT_EQ(ctrl.ConnectCard(), rc::kNoReaderName);
  EXPECT_EQ(ctrl.ReConnectCard(), rc::kNoReaderName);
  EXPECT_EQ(ctrl.GetCardStatus(), rc::kNoReaderName);
  EXPECT_TRUE(card.apduLog().empty());
  EXPECT_EQ(ctrl.GetbaATR(), "");
}

TEST_F(CardSession, ConnectCardFillsTheCardStatusAndSelectsTheApplication) {
  BenchCard& card = startCard(0, "bank");
  ZododovuRavuVODCtrl ctrl;
  ctrl.SetbaReaderName(card.readerName().c_str());
  card.clearApduLog();
  ASSERT_EQ(ctrl.ConnectCard(), 0);
  EXPECT_EQ(ctrl.GetbaATR(), "3B80800101");
  EXPECT_EQ(ctrl.GetulLen(), 5u);
  EXPECT_EQ(ctrl.GetulProtocol(), 2u);  // T=1
  EXPECT_NE(ctrl.GetulState(), 0u);
  std::vector<Bytes> commands = card.apduCommands();
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(rvp::cardsim::toHex(commands.front()), "00A4040008A00000017295000100");

  // Reconnecting and asking for the status refresh the same fields.
  ctrl.SetbaATR("");
  ctrl.SetiResetType(1);
  EXPECT_EQ(ctrl.ReConnectCard(), 0);
  EXPECT_EQ(ctrl.GetbaATR(), "3B80800101");
  ctrl.SetbaATR("");
  EXPECT_EQ(ctrl.GetCardStatus(), 0);
  EXPECT_EQ(ctrl.GetbaATR(), "3B80800101");
}

TEST_F(CardSession, ApplicationSelectionWithoutAnswerGives7900) {
  BenchCard& card = startCard(0, "bank");
  ZododovuRavuVODCtrl ctrl;
  ctrl.SetbaReaderName(card.readerName().c_str());
  card.inject(rvp::cardsim::Fault::drop(1, 0xA4));
  EXPECT_EQ(ctrl.ConnectCard(), rc::kNoApplicationAnswer);
  EXPECT_EQ(ctrl.GetLastResult(), rc::kNoApplicationAnswer);
}

TEST_F(CardSession, ApplicationSelectionTakesAnyAnswerWhateverItsStatusWord) {
  BenchCard& card = startCard(0, "bank");
  ZododovuRavuVODCtrl ctrl;
  ctrl.SetbaReaderName(card.readerName().c_str());
  card.inject(rvp::cardsim::Fault::statusWord(0x6A82, 1, 0xA4));
  EXPECT_EQ(ctrl.ConnectCard(), 0);
  EXPECT_EQ(ctrl.GetbaATR(), "3B80800101");
}

TEST_F(CardSession, ListReadersNamesTheBenchReadersAndAnswersTheChallenge) {
  BenchCard& card = startCard(0, "bank");
  ZododovuRavuVODCtrl ctrl;
  const std::string clear = "Srv-Chal-0042";
  ctrl.SetOptionData(0, banktool::makeChallenge(clear).c_str());
  // As a page does: the listing uses the reader context ConnectReader opens.
  ASSERT_EQ(ctrl.ConnectReader(), 0);
  ASSERT_EQ(ctrl.ListReaders(), 0);
  ASSERT_GE(ctrl.GetiNoR(), 1);
  bool found = false;
  for (int i = 0; i < ctrl.GetiNoR(); ++i) found = found || ctrl.GetcaReader(i) == card.readerName();
  EXPECT_TRUE(found);

  expectChallengeAnswer(ctrl.GetOptionData(0), clear);

  // Without a new challenge the slot is left empty.
  ctrl.SetOptionData(0, "");
  ASSERT_EQ(ctrl.ListReaders(), 0);
  EXPECT_EQ(ctrl.GetOptionData(0), "");
}

TEST_F(CardSession, CardAccountsSkipsEmptyAndAllZeroRecordsAndReadsBlanksAsZeros) {
  ZododovuRavuVODCtrl ctrl;
  connect(ctrl, cardWithAccounts({"7001234567890123", "0000000000000000", "12 34 56 78 9012", "                ",
                                  "0000000000000000", "0000000000000000", "0000000000000000", "4000000000000004"}));
  EXPECT_EQ(ctrl.CardAccounts(), 0);
  EXPECT_EQ(ctrl.GetuiSW12(), 0x9000u);
  ASSERT_EQ(ctrl.GetiNoA(), 3);
  EXPECT_EQ(ctrl.GetbaAccount(0), "7001234567890123");
  EXPECT_EQ(ctrl.GetbaAccount(1), "1203405607809012");
  EXPECT_EQ(ctrl.GetbaAccount(2), "4000000000000004");
}

TEST_F(CardSession, CardAccountsGives8800OnlyWhenTheLastRecordIsUnreadable) {
  ZododovuRavuVODCtrl ctrl;
  BenchCard& card = connect(ctrl);
  card.inject(rvp::cardsim::Fault::statusWord(0x6A83, 2, kReadRecord));  // record 4
  EXPECT_EQ(ctrl.CardAccounts(), 0);
  EXPECT_EQ(ctrl.GetiNoA(), 1);
  card.inject(rvp::cardsim::Fault::statusWord(0x6A83, 8, kReadRecord));  // record 10
  EXPECT_EQ(ctrl.CardAccounts(), rc::kRecordUnreadable);
  EXPECT_EQ(ctrl.GetiNoA(), 2);
  EXPECT_EQ(ctrl.GetuiSW12(), 0x6A83u);
}

// A record cut short is unreadable like a refused one: no part of it becomes an account.
TEST_F(CardSession, CardAccountsSkipAnAccountRecordCutShort) {
  ZododovuRavuVODCtrl ctrl;
  BenchCard& card = connect(ctrl);
  card.inject(rvp::cardsim::Fault::cutData(9, 1, kReadRecord));  // record 3: "0040123" of its 16 characters
  EXPECT_EQ(ctrl.CardAccounts(), 0);
  ASSERT_EQ(ctrl.GetiNoA(), 1);
  EXPECT_EQ(ctrl.GetbaAccount(0), "0040987654321098");
  card.inject(rvp::cardsim::Fault::cutData(9, 8, kReadRecord));  // record 10, the last
  EXPECT_EQ(ctrl.CardAccounts(), rc::kRecordUnreadable);
}

TEST_F(CardSession, AppnAccountsAndListAccountsReadTheProfile) {
  ZododovuRavuVODCtrl ctrl;
  connect(ctrl);
  EXPECT_EQ(ctrl.AppnAccounts(), 0);
  ASSERT_EQ(ctrl.GetiNoAP(), 2);
  EXPECT_EQ(ctrl.GetbaAppnAccount(0), "004000000123456789012345");
  EXPECT_EQ(ctrl.GetbaAppnAccount(1), "004000000987654321098765");

  // The older list: issuer id, remark, then the accounts of records 3 to 7.
  EXPECT_EQ(ctrl.ListAccounts(), 0);
  EXPECT_EQ(ctrl.GetbaAccount(0), "00400001");
  EXPECT_EQ(ctrl.GetbaAccount(1), "BANK CARD" + std::string(21, ' '));
  ASSERT_EQ(ctrl.GetiNoA(), 5);
  EXPECT_EQ(ctrl.GetbaAccount(2), "0040123456789012");
  EXPECT_EQ(ctrl.GetbaAccount(3), "0040987654321098");
  EXPECT_EQ(ctrl.GetbaAccount(6), "0000000000000000");
}

TEST_F(CardSession, IssuerGettersReadTheCardNotTheStoredTexts) {
  ZododovuRavuVODCtrl ctrl;
  BenchCard& card = connect(ctrl);
  ctrl.SetIssuerId("X");
  ctrl.SetIssuerAccount("Y");
  ctrl.SetIssuerRemark("Z");
  EXPECT_EQ(ctrl.GetIssuerId(), "00400001");
  EXPECT_EQ(ctrl.GetIssuerAccount(), "0040123456789012");
  std::string remark = ctrl.GetIssuerRemark();
  EXPECT_EQ(remark.substr(0, 18), "42414E4B2043415244");  // "BANK CARD"
  EXPECT_EQ(remark.size(), 60u);

  // Without a card every getter answers empty, never the stored text.
  card.remove();
  EXPECT_EQ(ctrl.GetIssuerId(), "");
  EXPECT_EQ(ctrl.GetIssuerAccount(), "");
  EXPECT_EQ(ctrl.GetIssuerRemark(), "");
  EXPECT_NE(ctrl.GetLastResult(), 0);
}

TEST_F(CardSession, GetCardInfoReadsTheAccountOfTheIndex) {
  ZododovuRavuVODCtrl ctrl;
  BenchCard& card = connect(ctrl);
  struct Case {
    const char* index;
    int record;
  };
  for (Case c : {Case{"1", 3}, Case{"2", 4}, Case{"8", 10}, Case{"9", 3}, Case{"0", 3}, Case{"-1", 3}, Case{"x", 3},
                 Case{"99999999999999999999", 3}}) {
    stCardInfo info;
    card.clearApduLog();
    EXPECT_EQ(ctrl.getCardInfo(info, c.index), 0) << c.index;
    EXPECT_EQ(recordsRead(card), (std::vector<int>{1, 2, 3, c.record})) << c.index;
    EXPECT_EQ(info.sIssueNo, "00400001");
    EXPECT_EQ(info.sMainAccount, "0040123456789012");
    EXPECT_EQ(info.sRemark.substr(0, 18), "42414E4B2043415244");
  }
  stCardInfo second;
  ASSERT_EQ(ctrl.getCardInfo(second, "2"), 0);
  EXPECT_EQ(second.sAccount, "0040987654321098");

  stCardInfo failed;
  card.inject(rvp::cardsim::Fault::statusWord(0x6A83, 2, kReadRecord));
  EXPECT_EQ(ctrl.getCardInfo(failed, "1"), rc::kRecordUnreadable);
  EXPECT_EQ(failed.sIssueNo, "00400001");
  EXPECT_EQ(failed.sMainAccount, "");
}

// The page's own operations answer 0 with the status word; the card data a transaction seals into its
// request is a failed step (8800), so that no transaction ends with 0 and no request.
TEST_F(CardSession, RefusedFileSelectionKeepsTheWordAndReadsNothing) {
  ZododovuRavuVODCtrl ctrl;
  BenchCard& card = connect(ctrl);
  stCardInfo info;
  struct Step {
    const char* name;
    long result;
    std::function<long()> run;
    std::function<void()> check;
  };
  const Step steps[] = {
      {"getCardInfo", 8800, [&] { return ctrl.getCardInfo(info, "1"); },
       [&] {
         EXPECT_EQ(info.sIssueNo, "");
         EXPECT_EQ(info.sAccount, "");
       }},
      {"CardAccounts", 0, [&] { return ctrl.CardAccounts(); }, [&] { EXPECT_EQ(ctrl.GetiNoA(), 0); }},
      {"AppnAccounts", 0, [&] { return ctrl.AppnAccounts(); }, [&] { EXPECT_EQ(ctrl.GetiNoAP(), 5); }},
      {"ChangePassword", 0, [&] { return ctrl.ChangePassword(); },
       [&] {
         ctrl.SetbaPIN("1234");
         EXPECT_EQ(ctrl.VerifyPIN(), 0);  // the PIN was not changed
       }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    ctrl.SetiNoA(5);
    ctrl.SetiNoAP(5);
    ctrl.SetbaNewPIN("4321");
    card.clearApduLog();
    card.inject(rvp::cardsim::Fault::statusWord(0x6A82, 1, 0xA4));
    EXPECT_EQ(step.run(), step.result);
    EXPECT_EQ(ctrl.GetuiSW12(), 0x6A82u);
    EXPECT_EQ(card.apduCommands().size(), 1u);  // the SELECT and nothing after it
    step.check();
  }
}

TEST_F(CardSession, GetIccidReadsTheCardSerialNumber) {
  ZododovuRavuVODCtrl ctrl;
  BenchCard& card = connect(ctrl);
  stTaxOut out;
  EXPECT_EQ(ctrl.getICCID(out), 0);
  EXPECT_EQ(out.sICCSerial, "4000123456");
  EXPECT_EQ(ctrl.GetbaEFID(), "0001");
  stTaxOut failed;
  card.inject(rvp::cardsim::Fault::statusWord(0x6A83, 1, kReadRecord));
  EXPECT_EQ(ctrl.getICCID(failed), rc::kRefused);
  EXPECT_EQ(failed.sICCSerial, "");
  EXPECT_EQ(ctrl.GetuiSW12(), 0x6A83u);
}

TEST_F(CardSession, VerifyPinRightWrongAndStopped) {
  ZododovuRavuVODCtrl ctrl;
  BenchCard& card = connect(ctrl);
  ctrl.SetbaPIN("1234");
  EXPECT_EQ(ctrl.VerifyPIN(), 0);
  EXPECT_EQ(ctrl.GetuiSW12(), 0x9000u);
  // The PIN block: digits left-aligned in F's, P2 10.
  EXPECT_EQ(rvp::cardsim::toHex(card.apduCommands().back()),
            "002000100812"
            "34FFFFFFFFFFFF");

  ctrl.SetbaPIN("9999");
  for (int attempt = 0; attempt < 3; ++attempt) {
    EXPECT_EQ(ctrl.VerifyPIN(), 0x6608);
    EXPECT_EQ(ctrl.GetuiSW12(), 0x6608u);
    EXPECT_EQ(ctrl.GetLastResult(), 0x6608);
  }
  ctrl.SetbaPIN("1234");
  EXPECT_EQ(ctrl.VerifyPIN(), 0x6620);
  EXPECT_EQ(ctrl.GetuiSW12(), 0x6620u);
}

TEST_F(CardSession, ChangePasswordThenVerifyWithTheNewPin) {
  ZododovuRavuVODCtrl ctrl;
  connect(ctrl);
  ctrl.SetbaPIN("1234");
  ASSERT_EQ(ctrl.VerifyPIN(), 0);
  ctrl.SetbaNewPIN("654321");
  EXPECT_EQ(ctrl.ChangePassword(), 0);
  EXPECT_EQ(ctrl.GetuiSW12(), 0x9000u);
  EXPECT_EQ(ctrl.VerifyPIN(), 0x6608);  // the old PIN no longer opens the card
  ctrl.SetbaPIN("654321");
  EXPECT_EQ(ctrl.VerifyPIN(), 0);
  EXPECT_EQ(ctrl.InnerVerifyPIN("654321", hCard), 0);
  EXPECT_EQ(ctrl.InnerVerifyPIN("111111", hCard), 0x6608);
  EXPECT_EQ(ctrl.GetuiSW12(), 0x6608u);
  EXPECT_EQ(ctrl.GetLastResult(), 0);  // a dialog's check keeps the PC/SC result there
}

// A PIN is 1 to 16 digits. Anything else never reaches the card: packed as it stands, a character that
// is no digit turns into a nibble of some digit (so a wrong PIN could open the card, or a new PIN be
// written that the customer never chose), and a 17th digit was cut off unseen.
TEST_F(CardSession, APinOfOtherThanOneToSixteenDigitsNeverReachesTheCard) {
  constexpr const char* kCardPin = "1204567890123456";
  const std::string profile = "atr = 3B 80 80 01 01\naid = A0 00 00 01 72 95 00 01\npin = " + std::string(kCardPin) +
                              "\npin_tries = 3\ntac_key = 40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F\nserial = 1\n"
                              "log = 1080\nlog_capacity = 10\n[ef 1080]\n";
  const char* const notPins[] = {"", "12x4567890123456", "12 4567890123456",
                                 "1204567890123456"
                                 "7",
                                 "１２０４"};
  ZododovuRavuVODCtrl ctrl;
  BenchCard& card = connect(ctrl, parseProfile(profile));
  for (const char* pin : notPins) {
    SCOPED_TRACE(pin);
    ctrl.SetbaPIN(pin);
    EXPECT_EQ(ctrl.VerifyPIN(), rc::kInputMissing);
    EXPECT_EQ(ctrl.GetLastResult(), rc::kInputMissing);
    ctrl.SetbaNewPIN(pin);
    EXPECT_EQ(ctrl.ChangePassword(), rc::kInputMissing);
    EXPECT_TRUE(card.apduCommands().empty());
  }
  EXPECT_EQ(card.card().pinTriesLeft(), 3);
  ctrl.SetbaPIN(kCardPin);
  EXPECT_EQ(ctrl.VerifyPIN(), 0);
}

// The packed digits of a PIN as the card gets them (97531864 -> 97 53 18 64; an odd count ends in F).
Bytes packedDigits(const std::string& pin) { return rvp::cardsim::fromHex(pin.size() % 2 ? pin + "F" : pin); }

bool holds(const unsigned char* area, std::size_t size, const Bytes& bytes) {
  return std::search(area, area + size, bytes.begin(), bytes.end()) != area + size;
}

// A PIN lives no longer than the command that carries it: once VERIFY or the PIN record's update is
// sent, neither the command buffer nor the answer buffer holds its digits, whatever the card answered.
TEST_F(CardSession, NoPinStaysInTheCardBuffersOnceSent) {
  const Profile profile = parseProfile(
      "atr = 3B 80 80 01 01\naid = A0 00 00 01 72 95 00 01\npin = 97531864\npin_tries = 3\n"
      "tac_key = 40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F\nserial = 1\nlog = 1080\nlog_capacity = 10\n"
      "[ef 1080]\n");
  ZododovuRavuVODCtrl ctrl;
  BenchCard& card = connect(ctrl, profile);
  const struct {
    const char* what;
    const char* pin;
    std::function<long()> send;
    long result;
  } cases[] = {
      {"VerifyPIN, a wrong PIN", "86420",
       [&] {
         ctrl.SetbaPIN("86420");
         return ctrl.VerifyPIN();
       },
       0x6608},
      {"VerifyPIN", "97531864",
       [&] {
         ctrl.SetbaPIN("97531864");
         return ctrl.VerifyPIN();
       },
       0},
      {"ChangePassword", "13572468",
       [&] {
         ctrl.SetbaNewPIN("13572468");
         return ctrl.ChangePassword();
       },
       0},
      {"a dialog's PIN check", "13572468", [&] { return ctrl.InnerVerifyPIN("13572468", hCard); }, 0},
      // Sixteen digits fill the whole block: its last byte holds digits 15 and 16.
      {"ChangePassword, sixteen digits", "1357246897531864",
       [&] {
         ctrl.SetbaNewPIN("1357246897531864");
         return ctrl.ChangePassword();
       },
       0},
      {"VerifyPIN, sixteen digits", "1357246897531864",
       [&] {
         ctrl.SetbaPIN("1357246897531864");
         return ctrl.VerifyPIN();
       },
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    card.clearApduLog();
    EXPECT_EQ(c.send(), c.result);
    const Bytes digits = packedDigits(c.pin);
    ASSERT_FALSE(card.apduCommands().empty());
    EXPECT_TRUE(holds(card.apduCommands().back().data(), card.apduCommands().back().size(), digits))
        << "the card got the PIN";
    EXPECT_EQ(ulSendLen, 13u) << "the count sent stays";
    EXPECT_FALSE(holds(baSendBuf, sizeof baSendBuf, digits)) << "PIN left in the command buffer";
    // The block (digits, then F nibbles, 8 bytes) follows the 5 header bytes: no byte of it stays in
    // its place, the last one included.
    Bytes block = digits;
    block.resize(8, 0xFF);
    for (std::size_t i = 0; i < block.size(); ++i) {
      EXPECT_NE(baSendBuf[5 + i], block[i]) << "byte " << i << " of the PIN block left in the command";
    }
    EXPECT_FALSE(holds(baRecBuf, sizeof baRecBuf, digits)) << "PIN left in the answer buffer";
  }
}

TEST_F(CardSession, ReaderAttributeThatCannotBeReadKeepsTheFields) {
  ZododovuRavuVODCtrl ctrl;
  connect(ctrl);
  ctrl.SetpbAttr("kept");
  ctrl.SetpcbAttrLen(77);
  ctrl.SetdwAttrId(0x00090303);  // vpcd answers no reader attribute
  EXPECT_EQ(ctrl.GetReaderStatus(), static_cast<long>(SCARD_E_UNSUPPORTED_FEATURE));
  EXPECT_EQ(ctrl.GetpbAttr(), "kept");
  EXPECT_EQ(ctrl.GetpcbAttrLen(), 77u);
}

// vpcd gives no attribute at all, so the reading path goes through the card layer's seam.
LONG vendorName(SCARDHANDLE, DWORD attrId, LPBYTE attr, LPDWORD length) {
  static const char kName[] = "Virtual Vendor";
  if (attrId == 0x00010101) {  // a reader that claims an absurd length
    *length = 0xFFFFFFF0;
    return SCARD_S_SUCCESS;
  }
  if (attrId != 0x00010100) return SCARD_E_UNSUPPORTED_FEATURE;
  if (attr && *length >= sizeof kName) std::memcpy(attr, kName, sizeof kName);
  *length = sizeof kName;
  return SCARD_S_SUCCESS;
}

TEST_F(CardSession, ReaderAttributeIsReadWithItsLength) {
  ZododovuRavuVODCtrl ctrl;
  connect(ctrl);
  card::PcscCalls calls = card::realPcscCalls();
  calls.getAttrib = vendorName;
  card::setPcscCalls(&calls);
  ctrl.SetdwAttrId(0x00010100);
  long result = ctrl.GetReaderStatus();
  ctrl.SetdwAttrId(0x00010101);
  long absurd = ctrl.GetReaderStatus();
  card::setPcscCalls(nullptr);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ctrl.GetpbAttr(), "Virtual Vendor");
  EXPECT_EQ(ctrl.GetpcbAttrLen(), 15u);
  EXPECT_EQ(absurd, 1);
  EXPECT_EQ(ctrl.GetpbAttr(), "Virtual Vendor");
}

TEST_F(CardSession, WriteRecordWithSnumTacFillsSerialAndTac) {
  ZododovuRavuVODCtrl ctrl;
  BenchCard& card = connect(ctrl);
  ctrl.SetbaBuf("32353030414243");
  ctrl.SetbLen("07");
  EXPECT_EQ(ctrl.WriteRecordWithSNUMTAC(), 0);
  EXPECT_EQ(ctrl.GetuiSW12(), 0x9000u);
  EXPECT_EQ(ctrl.GetbaSN(), "00000001");
  EXPECT_EQ(ctrl.GetbaTSAC().size(), 16u);
  EXPECT_EQ(ctrl.GetbaTSAC().find_first_not_of("0123456789ABCDEF"), std::string::npos);

  // Record data longer than 128 bytes is refused before the card sees anything.
  card.clearApduLog();
  ctrl.SetbaBuf(std::string(258, 'A').c_str());
  EXPECT_EQ(ctrl.WriteRecordWithSNUMTAC(), rc::kInputMissing);
  EXPECT_EQ(ctrl.UpdateRecord(), rc::kInputMissing);
  EXPECT_TRUE(card.apduLog().empty());
}

// A write the card refuses is judged by its status word, as the other status-word operations are: the
// call gives 0, the word is in uiSW12, and serial and TAC stay as they were.
TEST_F(CardSession, WriteRecordWithSnumTacLeavesARefusalInUiSW12) {
  ZododovuRavuVODCtrl ctrl;
  BenchCard& card = connect(ctrl);
  ctrl.SetbaSN("kept");
  ctrl.SetbaTSAC("kept");
  ctrl.SetbaBuf("32353030414243");
  ctrl.SetbLen("07");
  card.inject(rvp::cardsim::Fault::statusWord(0x6581, 1, 0xE2));
  EXPECT_EQ(ctrl.WriteRecordWithSNUMTAC(), 0);
  EXPECT_EQ(ctrl.GetuiSW12(), 0x6581u);
  EXPECT_EQ(ctrl.GetbaSN(), "kept");
  EXPECT_EQ(ctrl.GetbaTSAC(), "kept");
}

// The virtual card always answers a write with an 8-byte TAC; this reshapes that answer on its way
// back from pcscd so the page's write meets the answers a card could give.
struct WriteAnswerEdit {
  int dropTail = 0;    // bytes taken off the end of the data (the status word stays)
  int tacLength = -1;  // value written into bytes 9 and 10, when not -1
};
WriteAnswerEdit writeAnswerEdit;

LONG reshapedWriteAnswer(SCARDHANDLE card, const SCARD_IO_REQUEST* sendPci, LPCBYTE sendBuffer, DWORD sendLength,
                         SCARD_IO_REQUEST* recvPci, LPBYTE recvBuffer, LPDWORD recvLength) {
  LONG rv = card::realPcscCalls().transmit(card, sendPci, sendBuffer, sendLength, recvPci, recvBuffer, recvLength);
  if (rv != SCARD_S_SUCCESS || sendLength < 2 || sendBuffer[1] != 0xE2 || *recvLength < 13) return rv;
  if (writeAnswerEdit.tacLength >= 0) {
    recvBuffer[9] = static_cast<BYTE>(writeAnswerEdit.tacLength >> 8);
    recvBuffer[10] = static_cast<BYTE>(writeAnswerEdit.tacLength & 0xFF);
  }
  DWORD dataLength = *recvLength - 2;
  DWORD kept = dataLength - static_cast<DWORD>(writeAnswerEdit.dropTail);
  std::memmove(recvBuffer + kept, recvBuffer + dataLength, 2);
  *recvLength = kept + 2;
  return rv;
}

TEST_F(CardSession, WriteAnswerWithoutTheWholeTacGives8900AndKeepsSerialAndTac) {
  ZododovuRavuVODCtrl ctrl;
  connect(ctrl);
  card::PcscCalls calls = card::realPcscCalls();
  calls.transmit = reshapedWriteAnswer;
  struct Case {
    const char* name;
    WriteAnswerEdit edit;
    long result;
  };
  const Case cases[] = {
      {"as the card sent it", {0, -1}, 0},
      {"answer cut inside the TAC", {1, -1}, rc::kWriteFailed},
      {"answer ending at the TAC length", {8, -1}, rc::kWriteFailed},
      {"TAC length under 8", {0, 7}, rc::kWriteFailed},
      {"TAC length beyond the answer", {0, 9}, rc::kWriteFailed},
      {"TAC length 0", {0, 0}, rc::kWriteFailed},
  };
  card::setPcscCalls(&calls);
  for (const Case& c : cases) {
    writeAnswerEdit = c.edit;
    ctrl.SetbaSN("kept");
    ctrl.SetbaTSAC("kept");
    ctrl.SetbaBuf("32353030414243");
    ctrl.SetbLen("07");
    EXPECT_EQ(ctrl.WriteRecordWithSNUMTAC(), c.result) << c.name;
    EXPECT_EQ(ctrl.GetLastResult(), c.result) << c.name;
    EXPECT_EQ(ctrl.GetuiSW12(), 0x9000u) << c.name;
    if (c.result == 0) {
      EXPECT_EQ(ctrl.GetbaSN().size(), 8u) << c.name;
      EXPECT_EQ(ctrl.GetbaTSAC().size(), 16u) << c.name;
    } else {
      EXPECT_EQ(ctrl.GetbaSN(), "kept") << c.name;
      EXPECT_EQ(ctrl.GetbaTSAC(), "kept") << c.name;
    }
  }
  card::setPcscCalls(nullptr);
  writeAnswerEdit = {};
}

TEST_F(CardSession, StatusWordOperationsLeaveTheWordForThePage) {
  ZododovuRavuVODCtrl ctrl;
  BenchCard& card = connect(ctrl);
  ctrl.SetbaEFID("1001");
  EXPECT_EQ(ctrl.SelectEF(), 0);
  EXPECT_EQ(ctrl.GetuiSW12(), 0x9000u);
  ctrl.SetbaEFID("7777");
  EXPECT_EQ(ctrl.SelectEF(), 0);
  EXPECT_EQ(ctrl.GetuiSW12(), 0x6A82u);
  EXPECT_EQ(ctrl.T1Transmit(), 0);
  EXPECT_EQ(rvp::cardsim::toHex(card.apduCommands().back()), "00B0000010");  // READ BINARY of 16 bytes
}

TEST_F(CardSession, CheckCardInsertFollowsTheCard) {
  ZododovuRavuVODCtrl ctrl;
  BenchCard& card = connect(ctrl);
  EXPECT_EQ(ctrl.CheckCardInsert(), 0);
  EXPECT_EQ(ctrl.GetcardType(), 0);
  card.remove();
  EXPECT_EQ(ctrl.CheckCardInsert(), 0);
  EXPECT_EQ(ctrl.GetcardType(), 1);
  card.insert();
  EXPECT_EQ(ctrl.CheckCardInsert(), 0);
  EXPECT_EQ(ctrl.GetcardType(), 0);
}

}  // namespace
