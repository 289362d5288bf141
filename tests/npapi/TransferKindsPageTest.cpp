// The form-driven transfer of each kind, and the donation, end to end from a page: the page sets the
// blocks the bank's server made, calls Transfer_V2 (or PublicDonation), the customer fills the form and
// confirms; the virtual card writes one record and the bank-side tool opens the request, ReturnASN and
// ReturnTxFlag.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cardbench/CardBench.h"
#include "BankPageRun.h"
#include "programrun/ProgramRun.h"
#include "tools/banktool/TransferBlocks.h"
#include "tools/banktool/banktool.h"

namespace {

using namespace rvp::cardbench;
using rvp::programrun::RunResult;

struct KindCase {
  const char* kind;
  const char* profile;
  const char* issuer;  // of the card, and of the login
  const char* mainAccount;
  const char* pin;
  const char* form;
  std::string steps;                   // the customer on the form, up to the verification code
  const char* paying;                  // the confirmation's paying account
  const char* payee;                   // the confirmation's payee account
  std::vector<std::string> request;    // parts of the opened request
  const char* returnAsn;               // ReturnASN deciphered ("" when it is empty)
  const char* returnTxFlag;            // ReturnTxFlag deciphered, or nullptr when the kind leaves it empty
  const char* kindAfter;               // baP_CODE after the call
  const char* method = "Transfer_V2";  // the page method that runs it
};

std::string typed(const std::string& outlet, const std::string& digits) {
  return "user.click(\"" + outlet + "\"); user.pressDigits(\"" + digits + "\");\n";
}

class TransferKindsPage : public CardBenchTest {};

TEST_F(TransferKindsPage, EachKindRunsEndToEndAndTheBankOpensItsRequest) {
  const std::string bank812 = "812台新國際商業銀行" + std::string(60, ' ');
  const KindCase kCases[] = {
      {"0306",
       "bank",
       "00400001",
       "0040123456789012",
       "1234",
       "TransFBANK2BANK",
       // The card's second account pays.
       "user.choose(\"cmbOutAccount\", \"1\"); user.chooseItem(\"cmbBankNo\", \"" + bank812 + "\");\n" +
           typed("cbInAccount", "1234567890123456"),
       "004/0040987654321098",
       "812/1234567890123456",
       {"<tx_code>MSG2524U</tx_code>", "<tac_id>2524</tac_id>",
        "<trns_in_bank>81200000</trns_in_bank><trns_out_bank>00400001</trns_out_bank>",
        "<trns_in_account>1234567890123456</trns_in_account>", "<trns_out_account>0040987654321098</trns_out_account>"},
       "",
       nullptr,
       "2524"},
      {"0305",
       "bank",
       "00400001",
       "0040123456789012",
       "1234",
       "TransFBANK2RODA",
       typed("cbInAccount", "0012345690000001"),
       "004/0040123456789012",
       "700/0012345690000001",
       {"<tx_code>MSG2522U</tx_code>", "<tac_id>2522</tac_id>",
        "<trns_in_bank>70000000</trns_in_bank><trns_out_bank>00400001</trns_out_bank>",
        "<trns_in_account>0012345690000001</trns_in_account>", "<trns_out_account>0040123456789012</trns_out_account>"},
       "",
       nullptr,
       "0305"},
      {"0310",
       "bank",
       "00400001",
       "0040123456789012",
       "1234",
       "TransFBANK2POSTTRANSFER",
       typed("cbInAccount", "700001012345678"),
       "004/0040123456789012",
       "700/700001012345678",
       {"<tx_code>MSG2522U</tx_code>", "<trns_in_bank>70000000</trns_in_bank><trns_out_bank>00400001</trns_out_bank>",
        "<trns_in_account>0700001012345678</trns_in_account>", "<trns_out_account>0040123456789012</trns_out_account>"},
       "",
       nullptr,
       "0310"},
      {"P014A1",
       "postal",
       "70000019",
       "7001234567890123",
       "567890",
       "TransFPOST2RODA",
       // The second agreed entry, and the third transaction type.
       "user.choose(\"cmbPreAccount\", \"2\"); user.choose(\"cmbTxType\", \"2\");\n",
       "700/7001234567890123",
       "700/60000000000001",
       {"<tx_code>2580</tx_code>", "<tac_id>P014A1</tac_id>",
        "<trns_in_bank>70000000</trns_in_bank><trns_out_bank>70000019</trns_out_bank>",
        "<trns_in_account>0060000000000001</trns_in_account>", "<trns_out_account>7001234567890123</trns_out_account>"},
       "P1",
       "2",
       "P014A1"},
      {"G004A4",
       "postal",
       "70000019",
       "7001234567890123",
       "567890",
       "TransFPOSTTRANSFER2RODA",
       typed("cbInAccount", "12345690000001"),
       "700/12345678",
       "700/12345690000001",
       {"<tx_code>2583</tx_code>", "<trns_in_bank>70000000</trns_in_bank><trns_out_bank>70000019</trns_out_bank>",
        "<trns_in_account>0012345690000001</trns_in_account>"},
       "",
       "0",
       "G004A4"},
      {"P014A2",
       "postal",
       "70000019",
       "7001234567890123",
       "567890",
       "TransFPOST2POSTTRANSFER",
       typed("cbInAccount", "00012347"),
       "700/7001234567890123",
       "700/00012347",
       {"<tx_code>2580</tx_code>", "<tac_id>P014A2</tac_id>",
        "<trns_in_bank>70000000</trns_in_bank><trns_out_bank>70000019</trns_out_bank>",
        "<trns_in_account>0000000000012347</trns_in_account>", "<trns_out_account>7001234567890123</trns_out_account>"},
       "",
       nullptr,
       "P014A2"},
      {"G004A2",
       "postal",
       "70000019",
       "7001234567890123",
       "567890",
       "TransFPT2PT",
       typed("cbInAccount", "12345678"),
       "700/12345678",
       "700/12345678",
       {"<tx_code>2583</tx_code>", "<tac_id>G004A2</tac_id>",
        "<trns_in_bank>70000000</trns_in_bank><trns_out_bank>70000019</trns_out_bank>",
        "<trns_in_account>0000000012345678</trns_in_account>"},
       "",
       nullptr,
       "G004A2"},
      // The donation from the postal card: its own form and no marker for the page.
      {"P014A2",
       "postal",
       "70000019",
       "7001234567890123",
       "567890",
       "TransFPUBLICDONATION",
       typed("cbInAccount", "00012347"),
       "700/7001234567890123",
       "700/12347",
       {"<tx_code>2580</tx_code>", "<trns_in_bank>70000000</trns_in_bank><trns_out_bank>70000019</trns_out_bank>",
        "<trns_in_account>0000000000012347</trns_in_account>", "<trns_out_account>7001234567890123</trns_out_account>"},
       "",
       nullptr,
       "P014A2",
       "PublicDonation"},
  };
  for (const KindCase& k : kCases) {
    SCOPED_TRACE(k.form);
    BenchCard& card = startCard(0, k.profile);
    banktool::TransferCase c;
    c.readerType = "3";  // the PIN is typed on the form and checked by the card at the write
    c.loginIssuerId = k.issuer;
    c.loginIssuerAccount = k.mainAccount;
    c.readerName = card.readerName();
    c.sessionId = "SESSION000000001";
    c.terminalId = "TERM0001";
    c.checkCode = "CHK00001";
    c.agentNo = "00000001";
    c.dateTime = "20261210131500";
    c.giroAccount = "12345678";
    c.kind = k.kind;
    c.agreedAccounts = "12345690000001$王小明#60000000000001$公司";
    c.limits = "50000$30000";

    std::ostringstream js;
    js << bankpage::setBlocks(c) << "user.expectWindow(\"" << k.form << "\");\n"
       << k.steps << typed("cbAmount", "500") << typed("cbCardPIN", k.pin)
       << "user.click(\"cbCaptchaInput\"); user.typeDigitsShownIn(\"cbCaptcha\");\n"
       << "user.savePng(\"" << PICTURE_DIR << "/" << k.form << "-page.png\");\n"
       << "user.click(\""
       << (std::string(k.kind) == "0306"     ? "btnConfirm"
           : std::string(k.kind) == "G004A4" ? "btbOK"
                                             : "btnOK")
       << "\"); user.answerAlert(1);\n"
       << "user.expectWindow(\"TransFConfirm\");\n"
       << "user.expectDisplay(\"cbOutAccount\", \"" << k.paying << "\");\n"
       << "user.expectDisplay(\"cbInAccount\", \"" << k.payee << "\");\n"
       << "user.click(\"btnOK\");\n"
       << "assertEqual(plugin." << k.method << "(), \"0\");\n"
       << "console.log(\"KIND \" + plugin.baP_CODE);\n"
       << "console.log(\"ASN \" + plugin.ReturnASN);\n"
       << "console.log(\"TXFLAG \" + plugin.ReturnTxFlag);\n"
       << "console.log(\"SENT \" + plugin.TrnsMsg.split(\"\\n\").join(\"|\"));\n";
    card.clearApduLog();
    const std::string name = std::string(k.method) + "-" + k.kind;
    const RunResult r = bankpage::run(name, js.str());
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find(name + " done"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("0 script error(s), 0 misuse(s), 0 leak(s)"), std::string::npos) << r.output;

    int writes = 0;
    for (const rvp::cardsim::Bytes& command : card.apduCommands()) writes += command.size() > 1 && command[1] == 0xE2;
    EXPECT_EQ(writes, 1);

    const banktool::OpenedEnvelope envelope = banktool::openEnvelope(bankpage::printed(r.output, "SENT"));
    ASSERT_TRUE(envelope.ok) << envelope.error << "\n" << r.output;
    EXPECT_TRUE(envelope.macOk);
    for (const std::string& part : k.request)
      EXPECT_NE(envelope.text.find(part), std::string::npos) << part << " in " << envelope.text;
    EXPECT_NE(envelope.text.find("<trns_amount>00000000050000</trns_amount>"), std::string::npos) << envelope.text;

    const std::string asn = bankpage::printed(r.output, "ASN");
    if (*k.returnAsn) {
      const banktool::OpenedPageText opened = banktool::openPageText(asn, c.iv);
      EXPECT_TRUE(opened.ok) << asn;
      EXPECT_EQ(opened.text, k.returnAsn);
    } else {
      EXPECT_EQ(asn, "");
    }
    const std::string txFlag = bankpage::printed(r.output, "TXFLAG");
    if (k.returnTxFlag) {
      const banktool::OpenedPageText opened = banktool::openPageText(txFlag, c.iv);
      EXPECT_TRUE(opened.ok) << txFlag;
      EXPECT_EQ(opened.text, k.returnTxFlag);
    } else {
      EXPECT_EQ(txFlag, "");
    }
    EXPECT_EQ(bankpage::printed(r.output, "KIND"), k.kindAfter);
  }
}

}  // namespace
