// The page's reader and card operations and the issuer texts, through pcscd and the virtual card:
// each name runs the controller operation of the same name on the page's values.
#include <gtest/gtest.h>

#include <PCSC/winscard.h>

#include <functional>

#include "PageFixture.h"
#include "appkit/Application.h"
#include "appkit/ScriptedUser.h"
#include "cardbench/CardBench.h"
#include "tools/banktool/banktool.h"

namespace plugin_test {
namespace {

using namespace rvp::cardbench;
using rvp::cardsim::Bytes;

const char kAtr[] = "3B80800101";

class PageCard : public CardBenchTest {};

// The (INS, P1) of every command the card received.
std::vector<std::pair<int, int>> commandsSeen(BenchCard& card) {
  std::vector<std::pair<int, int>> seen;
  for (const Bytes& command : card.apduCommands())
    if (command.size() >= 4) seen.emplace_back(command[1], command[2]);
  return seen;
}

bool sent(BenchCard& card, int ins, int p1 = -1) {
  for (const auto& command : commandsSeen(card))
    if (command.first == ins && (p1 < 0 || command.second == p1)) return true;
  return false;
}

std::string asciiHex(const std::string& text) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : text) hex += {digits[c >> 4], digits[c & 15]};
  return hex;
}

struct OperationCase {
  const char* name;
  std::function<void(PageObject&)> prepare;
  long result;
  std::function<void(PageObject&, BenchCard&)> check;
};

TEST_F(PageCard, EveryCardOperationRunsItsNamesake) {
  BenchCard& card = startCard(0, "bank");
  PageObject page;
  page.set("baReaderName", card.readerName());
  auto none = [](PageObject&) {};
  const OperationCase cases[] = {
      {"ConnectReader", none, 0, [](PageObject&, BenchCard&) {}},
      {"ListReaders", [](PageObject& p) { p.set("iNoR", 0); }, 0,
       [](PageObject& p, BenchCard& c) {
         const long count = p.get("iNoR").cast<long>();
         ASSERT_GE(count, 1);
         bool named = false;
         for (long i = 0; i < count; ++i)
           named |= p.call("caReaderGet", {PF::variant(i)}).cast<std::string>() == c.readerName();
         EXPECT_TRUE(named);
       }},
      {"ConnectCard", [](PageObject& p) { p.set("baATR", std::string("none")); }, 0,
       [](PageObject& p, BenchCard& c) {
         EXPECT_EQ(p.getText("baATR"), kAtr);
         EXPECT_TRUE(sent(c, 0xA4, 0x04));  // the payment application selected
       }},
      {"GetCardStatus", [](PageObject& p) { p.set("baATR", std::string("none")); }, 0,
       [](PageObject& p, BenchCard& c) {
         EXPECT_EQ(p.getText("baATR"), kAtr);
         EXPECT_TRUE(commandsSeen(c).empty());
       }},
      {"ReConnectCard",
       [](PageObject& p) {
         p.set("baATR", std::string("none"));
         p.set("iResetType", 1);
       },
       0,
       [](PageObject& p, BenchCard& c) {
         EXPECT_EQ(p.getText("baATR"), kAtr);
         EXPECT_TRUE(sent(c, 0xA4, 0x04));
       }},
      {"GetReaderStatus", [](PageObject& p) { p.set("dwAttrId", 0x00090303L); },
       static_cast<long>(SCARD_E_UNSUPPORTED_FEATURE),  // vpcd has no reader attributes
       [](PageObject&, BenchCard&) {}},
      {"CheckCardInsert", [](PageObject& p) { p.set("cardType", 9); }, 0,
       [](PageObject& p, BenchCard&) { EXPECT_EQ(p.get("cardType").cast<long>(), 0); }},
      {"SelectDF",
       [](PageObject& p) {
         p.set("baDFID", std::string("1000"));
         p.set("uiSW12", 0);
       },
       0,
       [](PageObject& p, BenchCard& c) {
         EXPECT_EQ(p.get("uiSW12").cast<long>(), 0x9000);
         EXPECT_EQ(commandsSeen(c), (std::vector<std::pair<int, int>>{{0xA4, 0x01}}));
       }},
      {"SelectEF",
       [](PageObject& p) {
         p.set("baEFID", std::string("1001"));
         p.set("uiSW12", 0);
       },
       0,
       [](PageObject& p, BenchCard& c) {
         EXPECT_EQ(p.get("uiSW12").cast<long>(), 0x9000);
         EXPECT_EQ(commandsSeen(c), (std::vector<std::pair<int, int>>{{0xA4, 0x02}}));
       }},
      {"SelectParentDF", [](PageObject& p) { p.set("uiSW12", 0); }, 0,
       [](PageObject& p, BenchCard& c) {
         EXPECT_EQ(p.get("uiSW12").cast<long>(), 0x9000);
         EXPECT_EQ(commandsSeen(c), (std::vector<std::pair<int, int>>{{0xA4, 0x03}}));
       }},
      {"T1Transmit", none, 0,
       [](PageObject&, BenchCard& c) {
         EXPECT_EQ(commandsSeen(c), (std::vector<std::pair<int, int>>{{0xB0, 0x00}}));
       }},
      {"VerifyPIN", [](PageObject& p) { p.set("baPIN", std::string("9999")); }, 0x6608,
       [](PageObject& p, BenchCard& c) {
         EXPECT_EQ(p.get("uiSW12").cast<long>(), 0x6608);
         EXPECT_TRUE(sent(c, 0x20));
       }},
      {"VerifyPIN", [](PageObject& p) { p.set("baPIN", std::string("1234")); }, 0, [](PageObject&, BenchCard&) {}},
      {"ListAccounts", [](PageObject& p) { p.set("iNoA", 0); }, 0,
       [](PageObject& p, BenchCard& c) {
         EXPECT_GE(p.get("iNoA").cast<long>(), 3);
         EXPECT_TRUE(sent(c, 0xB2));
       }},
      {"CardAccounts", [](PageObject& p) { p.set("iNoA", 0); }, 0,
       [](PageObject& p, BenchCard&) {
         EXPECT_EQ(p.get("iNoA").cast<long>(), 2);
         EXPECT_EQ(p.call("baAccountGet", {PF::variant(1)}).cast<std::string>(), "0040987654321098");
       }},
      {"AppnAccounts", [](PageObject& p) { p.set("iNoAP", 0); }, 0,
       [](PageObject& p, BenchCard&) {
         EXPECT_EQ(p.get("iNoAP").cast<long>(), 2);
         EXPECT_EQ(p.call("baAppnAccountGet", {PF::variant(0)}).cast<std::string>(), "004000000123456789012345");
       }},
      {"UpdateRecord",
       [](PageObject& p) {
         p.set("baEFID", std::string("1002"));
         p.call("SelectEF");
         p.set("bRecID", std::string("03"));
         p.set("bLen", std::string("1A"));
         p.set("baBuf", "0118" + std::string(48, '3'));
       },
       0,
       [](PageObject& p, BenchCard& c) {
         EXPECT_EQ(p.get("uiSW12").cast<long>(), 0x9000);
         EXPECT_TRUE(sent(c, 0xD2, 0x03));
         p.call("AppnAccounts");
         EXPECT_EQ(p.call("baAppnAccountGet", {PF::variant(2)}).cast<std::string>(), std::string(24, '3'));
       }},
      {"WriteRecordWithSNUMTAC",
       [](PageObject& p) {
         // an inquiry record: code, terminal check code, account
         p.set("baBuf", asciiHex("2500"
                                 "12345678"
                                 "7001234567890123"));
         p.set("bLen", std::string("1C"));
         p.set("baSN", std::string(""));
         p.set("baTSAC", std::string(""));
       },
       0,
       [](PageObject& p, BenchCard& c) {
         EXPECT_TRUE(sent(c, 0xE2));
         EXPECT_FALSE(p.getText("baSN").empty());
         EXPECT_EQ(p.getText("baTSAC").size(), 16u);
       }},
      // One record in the log: the nine slots after it cannot be read.
      {"ReadRecord", [](PageObject& p) { p.set("iRec", 0); }, 8400,
       [](PageObject& p, BenchCard&) {
         EXPECT_EQ(p.get("iRec").cast<long>(), 1);
         EXPECT_NE(p.call("baRecordGet", {PF::variant(0)}).cast<std::string>(), "");
       }},
      {"ChangePassword", [](PageObject& p) { p.set("baNewPIN", std::string("4321")); }, 0,
       [](PageObject& p, BenchCard&) {
         p.set("baPIN", std::string("4321"));
         EXPECT_EQ(p.callForCode("VerifyPIN"), 0);
       }},
      {"CheckCardInOut2", none, 0, [](PageObject&, BenchCard& c) { EXPECT_TRUE(commandsSeen(c).empty()); }},
      {"DisConnectCard", [](PageObject& p) { p.set("iDisConnectType", 0); }, 0,
       [](PageObject& p, BenchCard&) { EXPECT_NE(p.ctrl().T1Transmit(), 0); }},
      {"DisConnectReader", none, 0, [](PageObject& p, BenchCard&) { EXPECT_NE(p.ctrl().ListReaders(), 0); }},
  };
  for (const OperationCase& c : cases) {
    SCOPED_TRACE(c.name);
    c.prepare(page);
    card.clearApduLog();
    EXPECT_EQ(page.callForCode(c.name), c.result);
    c.check(page, card);
  }
}

TEST_F(PageCard, CardPullOutPromptRunsFromThePage) {
  BenchCard& card = startCard(0, "bank");
  PageObject page;
  page.set("baReaderName", card.readerName());
  ASSERT_EQ(page.callForCode("ConnectCard"), 0);
  appkit::app().resetForTesting();
  {
    appkit::ScriptedUser user([](const std::string& message) { ADD_FAILURE() << message; });
    user.wait(61);  // the card never leaves: the prompt gives up after its countdown
    EXPECT_EQ(page.callForCode("CheckCardInOut"), -1);
    EXPECT_TRUE(user.finished());
  }
  appkit::app().resetForTesting();
}

TEST_F(PageCard, IssuerTextsAreReadFromTheCardNotFromWhatThePageWrote) {
  BenchCard& card = startCard(0, "bank");
  PageObject page;
  page.set("baReaderName", card.readerName());
  ASSERT_EQ(page.callForCode("ConnectCard"), 0);
  for (const char* name : {"IssuerId", "IssuerAccount", "IssuerRemark"}) page.set(name, std::string("page"));
  EXPECT_EQ(page.getText("IssuerId"), "00400001");
  EXPECT_EQ(page.getText("IssuerAccount"), "0040123456789012");
  EXPECT_EQ(page.getText("IssuerRemark").substr(0, 18), "42414E4B2043415244");  // "BANK CARD"

  card.remove();
  for (const char* name : {"IssuerId", "IssuerAccount", "IssuerRemark"}) EXPECT_EQ(page.getText(name), "") << name;
}

// On an allowed page each transaction runs its namesake: the bank finds that transaction's request.
TEST_F(PageCard, TransactionsOnAnAllowedPageSealTheirOwnRequest) {
  BenchCard& card = startCard(0, "bank");
  PageObject page;
  page.host->setLocation(PF::variant(std::string("https://webatm.postbank.example/atm")));
  const std::pair<const char*, std::string> pageValues[] = {{"baReaderName", card.readerName()},
                                                            {"baPIN", "1234"},
                                                            {"baIFD_Chk_Code", "CHK00001"},
                                                            {"baIFD_ID", "TERM0001"},
                                                            {"bAccountID", "1"},
                                                            {"SessionId", "SESSION000000001"},
                                                            {"baMoney", "12300"},
                                                            {"baAagency_No", "0001"},
                                                            {"baAccept_No", "004"},
                                                            {"baPaymentType", "11"},
                                                            {"baCancelNo", "12345678"},
                                                            {"baTax_Date", "1141231"},
                                                            {"baTaxAgencyNo", "A0001"},
                                                            {"baTaxComment", "FEE"},
                                                            {"baMerchantID", "SHOP01"},
                                                            {"baOrderNumber", "ORDER01"}};
  for (const auto& value : pageValues) page.set(value.first, value.second);
  page.call("OptionDataPut", {PF::variant(1), PF::variant(std::string("20261210131500"))});
  ASSERT_EQ(page.callForCode("ConnectCard"), 0);

  const std::pair<const char*, const char*> cases[] = {{"Inquiry", "<tx_code>2500</tx_code>"},
                                                       {"Tax", "<tax_type>11</tax_type>"},
                                                       {"WideFee", "<tax_agency_no>A0001</tax_agency_no>"},
                                                       {"Payment", "<merchant_id>SHOP01</merchant_id>"},
                                                       {"AccountSetting", "<tx_code>2581</tx_code>"},
                                                       {"VisaRenewal", "<agency_bank>0001</agency_bank>"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    ASSERT_EQ(page.callForCode(c.first), 0);
    const banktool::OpenedEnvelope opened = banktool::openEnvelope(page.getText("TrnsMsg"));
    ASSERT_TRUE(opened.ok) << opened.error;
    EXPECT_NE(opened.text.find(c.second), std::string::npos) << opened.text;
  }
}

}  // namespace
}  // namespace plugin_test
