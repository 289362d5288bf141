// The form-driven transfer end to end from a page: the page sets the parameter blocks the bank's
// server made (bank-side tool), calls Transfer_V2, and the customer fills the transfer form and confirms
// on the scrambled keypad (the page's user steps); the virtual postal card writes the record and the
// bank-side tool opens the request the page would send.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "cardbench/CardBench.h"
#include "BankPageRun.h"
#include "programrun/ProgramRun.h"
#include "tools/banktool/TransferBlocks.h"
#include "tools/banktool/banktool.h"

namespace {

using namespace rvp::cardbench;
using rvp::programrun::RunResult;

class TransferPage : public CardBenchTest {};

TEST_F(TransferPage, APostalToBankTransferIsTypedConfirmedWrittenAndOpenedByTheBank) {
  BenchCard& card = startCard(0, "postal");
  banktool::TransferCase c = bankpage::postalTransfer();
  c.readerName = card.readerName();
  banktool::TransferCase unknown = c;
  unknown.kind = "0399";

  std::ostringstream js;
  js << bankpage::setBlocks(c) << "plugin.baPIN = \"left by the page\";\n"
     << "user.expectWindow(\"TransFPOST2BANK\");\n"
     << "user.chooseItem(\"cmbBankNo\", \"812台新國際商業銀行" << std::string(60, ' ') << "\");\n"
     << "user.click(\"cbInAccount\"); user.pressDigits(\"1234567890\");\n"
     << "user.click(\"cbAmount\"); user.pressDigits(\"123\");\n"
     << "user.click(\"cbCardPIN\"); user.pressDigits(\"567890\");\n"
     << "user.click(\"cbCaptchaInput\"); user.typeDigitsShownIn(\"cbCaptcha\");\n"
     << "user.click(\"btnOK\"); user.answerAlert(1);\n"
     << "user.expectWindow(\"TransFConfirm\"); user.expectDisplay(\"cbInAccount\", \"812/1234567890\");\n"
     << "user.savePng(\"" << PICTURE_DIR << "/TransFConfirm-page.png\"); user.click(\"btnOK\");\n"
     << "assertEqual(plugin.Transfer_V2(), \"0\");\n"
     << "assertEqual(plugin.baPIN, \"\", \"the PIN is not left for the page\");\n"
     << "assertEqual(plugin.ReturnASN, \"\", \"a typed payee\");\n"
     << "console.log(\"SENT \" + plugin.TrnsMsg.split(\"\\n\").join(\"|\"));\n"
     // A kind no form serves: its message, 9821, nothing to send.
     << bankpage::setBlocks(unknown)
     << "user.expectAlert(\"元件參數錯誤，請確認元件版本是否正確\", \"\", \"critical\"); user.answerAlert(1);\n"
     << "assertEqual(plugin.Transfer_V2(), \"9821\");\n"
     << "assertEqual(plugin.TrnsMsg, \"\", \"nothing to send\");\n";
  const RunResult r = bankpage::run("transfer", js.str());
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("transfer done"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("0 script error(s), 0 misuse(s), 0 leak(s)"), std::string::npos) << r.output;

  int writes = 0, verifies = 0;
  for (const rvp::cardsim::Bytes& command : card.apduCommands()) {
    writes += command.size() > 1 && command[1] == 0xE2;
    verifies += command.size() > 1 && command[1] == 0x20;
  }
  EXPECT_EQ(writes, 1);
  EXPECT_EQ(verifies, 1);

  const banktool::OpenedEnvelope envelope = banktool::openEnvelope(bankpage::printed(r.output, "SENT"));
  ASSERT_TRUE(envelope.ok) << envelope.error;
  EXPECT_TRUE(envelope.macOk);
  for (const char* part :
       {"<tx_code>MSG2521U</tx_code>", "<session_id>SESSION000000001</session_id>", "<issuer_id>70000019</issuer_id>",
        "<tac_id>2521</tac_id>", "<trns_in_bank>81200000</trns_in_bank><trns_out_bank>70000019</trns_out_bank>",
        "<agency_bank>00000001</agency_bank>", "<trns_in_account>0000001234567890</trns_in_account>",
        "<trns_out_account>7001234567890123</trns_out_account>", "<trns_amount>00000000012300</trns_amount>"})
    EXPECT_NE(envelope.text.find(part), std::string::npos) << part << " in " << envelope.text;
}

}  // namespace
