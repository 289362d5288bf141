// The account services and the account book end to end from a page: page scripts in the test browser
// drive the built plug-in (the build whose dialogs take the page's user steps), the virtual postal card
// sits in the reader, and the bank-side tool opens every request the page would send.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "cardbench/CardBench.h"
#include "crypto/ParseEncParam.h"
#include "crypto/Setting.h"
#include "programrun/ProgramRun.h"
#include "tools/banktool/banktool.h"

namespace {

using namespace rvp::cardbench;
using rvp::programrun::RunResult;

const unsigned char kIv[8] = {0xA1, 0xB2, 0xC3, 0xD4, 0x01, 0x02, 0x03, 0x04};

// Writes a page whose script is `script` on the bank's page and runs it.
RunResult runScript(const std::string& name, const std::string& script) {
  const std::string path = std::string(GENERATED_PAGES_DIR) + "/" + name + ".html";
  std::ofstream(path) << "<page location=\"https://webatm.postbank.example/atm/index.html\">\n"
                      << "<embed id=\"plugin\" type=\"application/roda-vennoral-plugin\">\n<script>\n"
                      << script << "\nconsole.log(\"" << name << " done\");\n</script>\n";
  return rvp::programrun::run(std::string(TESTBROWSER_PROGRAM) + " --plugin " + PAGED_PLUGIN_LIBRARY + " " + path);
}

void expectClean(const RunResult& r, const std::string& name) {
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find(name + " done"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("0 script error(s), 0 misuse(s), 0 leak(s)"), std::string::npos) << r.output;
}

// What the page printed on lines "SENT <label> <TrnsMsg>", by label (the page writes the envelope's line
// breaks as "|", which base64 never holds).
std::map<std::string, std::string> sent(const std::string& output) {
  std::map<std::string, std::string> found;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t at = line.find("SENT ");
    if (at == std::string::npos) continue;
    std::istringstream words(line.substr(at + 5));
    std::string label, message;
    words >> label >> message;
    for (char& c : message)
      if (c == '|') c = '\n';
    found[label] = message;
  }
  return found;
}

// The request the bank reads from what the page sent, with its MAC checked.
std::string opened(const std::string& trnsMsg) {
  const banktool::OpenedEnvelope envelope = banktool::openEnvelope(trnsMsg);
  EXPECT_TRUE(envelope.ok) << envelope.error;
  EXPECT_TRUE(envelope.macOk);
  return envelope.text;
}

// Page lines that set the parameter blocks; an absent text leaves its block empty.
std::string blocks(const std::map<int, std::string>& texts) {
  std::string js = "plugin.bh_d5 = \"" + banktool::makeIvBlock(kIv) + "\";\n";
  for (int n : {0, 9, 10}) {
    auto it = texts.find(n);
    js += "plugin.bh_d" + std::to_string(n) + " = \"" +
          (it == texts.end() ? std::string() : banktool::makeParamBlock(it->second, kIv)) + "\";\n";
  }
  return js;
}

// The combo index of a bank of the compiled-in list (0 is the placeholder).
int bankIndex(const std::string& code) {
  std::vector<std::string> banks;
  CParseEncParam().SplitString_1(BankIDtxtList, '#', banks);
  for (std::size_t i = 0; i < banks.size(); ++i)
    if (banks[i].compare(0, 3, code) == 0) return static_cast<int>(i) + 1;
  return -1;
}

const char* const kAdd = "user.expectAlert(\"是否確定新增此筆常用轉入帳號資料\", \"\"); user.answerAlert(1);\n";
const char* const kModify = "user.expectAlert(\"是否確定修改此筆常用轉入帳號資料\", \"\"); user.answerAlert(1);\n";

class AccountPage : public CardBenchTest {};

TEST_F(AccountPage, TheBookIsEditedInItsDialogsAndSealedForTheBank) {
  std::ostringstream js;
  js << blocks({{9, "70012345678\nMom\nnull#0081234567890\nnull\nnull#0129876\nDad\na@b.example"}, {10, "4"}})
     // add an entry within the limit
     << "user.expectWindow(\"CommACCTSET\"); user.click(\"btnADD\"); user.expectWindow(\"CommACCTMDFY\");\n"
     << "user.choose(\"cmbBankID\", " << bankIndex("700") << "); user.click(\"cbInAccount\");\n"
     << "user.pressDigits(\"12345678\"); user.focus(\"edtComment\"); user.type(\"妹妹\"); user.click(\"btnOK\");\n"
     << kAdd
     // the limit of four is reached now
     << "user.click(\"btnADD\"); user.expectAlert(\"已達系統允許資料筆數值(最大筆數為:04)\", \"\"); "
        "user.answerAlert(1);\n"
     // modify the first entry's comment
     << "user.selectRow(\"mCommonAccount\", 0); user.click(\"btnMDFY\"); user.expectWindow(\"CommACCTMDFY\");\n"
     << "user.focus(\"edtComment\"); user.pressKey(\"backspace\"); user.pressKey(\"backspace\");\n"
     << "user.type(\"um\"); user.click(\"btnOK\");\n"
     << kModify
     // delete the second entry
     << "user.selectRow(\"mCommonAccount\", 1); user.click(\"btnDEL\");\n"
     << "user.expectAlert(\"是否確定刪除以上勾選１筆資料\", \"\"); user.answerAlert(1);\n"
     << "user.click(\"btnOK\");\n"
     << "plugin.TrnsMsg = \"earlier\";\n"
     << "assertEqual(plugin.CommACCT_Set(), \"0\");\n"
     << "console.log(\"SENT book \" + plugin.TrnsMsg.split(\"\\n\").join(\"|\"));\n"
     // Cancel sends nothing
     << "user.click(\"btnCANCEL\");\n"
     << "assertEqual(plugin.CommACCT_Set(), \"8990\");\n"
     << "assertEqual(plugin.TrnsMsg, \"\", \"nothing to send after a cancel\");\n";
  const RunResult r = runScript("book", js.str());
  expectClean(r, "book");
  EXPECT_EQ(opened(sent(r.output)["book"]),
            "<Vennoral><rec><bank>700</bank><acc>12345678</acc><comment>Mum</comment><email></email></rec>"
            "<rec><bank>012</bank><acc>9876</acc><comment>Dad</comment><email>a@b.example</email></rec>"
            "<rec><bank>700</bank><acc>12345678</acc><comment>妹妹</comment><email></email></rec></Vennoral>");
}

TEST_F(AccountPage, AProposedEntryIsCompletedAndSealedWithItsFourElements) {
  std::ostringstream js;
  js << blocks({{9, "0081234567890\nnull\nnull#"}})
     << "user.expectWindow(\"CommACCTADD\"); user.expectText(\"edtComment\", \"\");\n"
     << "user.focus(\"edtComment\"); user.type(\"Mom\"); user.click(\"btnOK\");\n"
     << kAdd << "assertEqual(plugin.CommACCT_Add(), \"0\");\n"
     << "console.log(\"SENT proposed \" + plugin.TrnsMsg.split(\"\\n\").join(\"|\"));\n"
     // a proposed account with a non-digit is not taken: the customer types it
     << blocks({{9, "0081234X5678\nDad\nnull"}}) << "user.expectWindow(\"CommACCTADD\"); user.click(\"btnOK\");\n"
     << kAdd << "user.expectAlert(\"請輸入轉入帳號\", \"\"); user.answerAlert(1);\n"
     << "user.click(\"cbInAccount\"); user.pressDigits(\"4321\"); user.click(\"btnOK\");\n"
     << kAdd << "assertEqual(plugin.CommACCT_Add(), \"0\");\n"
     << "console.log(\"SENT typed \" + plugin.TrnsMsg.split(\"\\n\").join(\"|\"));\n"
     << "user.click(\"btnCancel\");\n"
     << "assertEqual(plugin.CommACCT_Add(), \"8990\");\n"
     << "assertEqual(plugin.TrnsMsg, \"\", \"nothing to send after a cancel\");\n";
  const RunResult r = runScript("proposed", js.str());
  expectClean(r, "proposed");
  std::map<std::string, std::string> messages = sent(r.output);
  EXPECT_EQ(opened(messages["proposed"]),
            "<Vennoral><rec><bank>008</bank><acc>1234567890</acc><comment>Mom</comment><email></email></rec>"
            "</Vennoral>");
  EXPECT_EQ(opened(messages["typed"]),
            "<Vennoral><rec><bank>008</bank><acc>4321</acc><comment>Dad</comment><email></email></rec></Vennoral>");
}

TEST_F(AccountPage, AccountSettingAndRenewalWriteTheCardAndSealTheirRequests) {
  BenchCard& card = startCard(0, "postal");
  const std::string js =
      "assertEqual(plugin.ConnectReader(), \"0\");\n"
      "plugin.baReaderName = \"" +
      card.readerName() +
      "\";\n"
      "assertEqual(plugin.ConnectCard(), \"0\");\n"
      "plugin.baPIN = \"567890\"; plugin.baIFD_Chk_Code = \"CHK00001\"; plugin.baIFD_ID = \"TERM0001\";\n"
      "plugin.bAccountID = \"1\"; plugin.SessionId = \"SESSION000000001\"; plugin.baMoney = \"0\";\n"
      "plugin.baAccept_No = \"700\"; plugin.baAagency_No = \"0001\"; plugin.baImport_Account = \"1234567890\";\n"
      "plugin.OptionDataPut(1, \"20261210131500\"); plugin.baP_CODE = \"P116A3\";\n"
      "assertEqual(plugin.AccountSetting(), \"0\");\n"
      "console.log(\"SENT setting \" + plugin.TrnsMsg.split(\"\\n\").join(\"|\"));\n"
      "assertEqual(plugin.VisaRenewal(), \"0\");\n"
      "assertEqual(plugin.bAccountID, \"01\");\n"
      "console.log(\"SENT renewal \" + plugin.TrnsMsg.split(\"\\n\").join(\"|\"));\n"
      "plugin.baPIN = \"000000\";\n"
      "assertEqual(plugin.AccountSetting(), String(0x6608), \"a wrong PIN gives its status word\");\n"
      "assertEqual(plugin.TrnsMsg, \"\");\n"
      "assertEqual(plugin.DisConnectCard(), \"0\");\n"
      "assertEqual(plugin.DisConnectReader(), \"0\");\n";
  const RunResult r = runScript("services", js);
  expectClean(r, "services");
  std::map<std::string, std::string> messages = sent(r.output);
  const std::string setting = opened(messages["setting"]);
  const std::string renewal = opened(messages["renewal"]);
  EXPECT_NE(setting.find("<tx_code>2581</tx_code>"), std::string::npos) << setting;
  EXPECT_NE(setting.find("<tac_id>P116A3</tac_id><trns_in_bank>700</trns_in_bank>"), std::string::npos) << setting;
  EXPECT_EQ(setting.find("<agency_bank>"), std::string::npos) << setting;
  EXPECT_NE(renewal.find("<agency_bank>0001</agency_bank><trns_in_account>1234567890</trns_in_account>"),
            std::string::npos)
      << renewal;
  int writes = 0;
  for (const rvp::cardsim::Bytes& command : card.apduCommands())
    if (command.size() > 1 && command[1] == 0xE2) ++writes;
  EXPECT_EQ(writes, 2);
}

}  // namespace
