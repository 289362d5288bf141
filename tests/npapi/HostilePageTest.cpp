// Hostile parameters from an allowed page: each form-driven operation is handed blocks that are not hex,
// cut short, under a bad IV, or that open to texts too short, padded to nothing or full of junk; the
// account services get page values too long for the card. Each call ends with its code and nothing for
// the page to send, the scripted user answering (or cancelling) whatever opens, with no crash, sanitizer
// report or leak.
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

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

const char* const kParametersWrong =
    "user.expectAlert(\"元件參數錯誤，請確認元件版本是否正確\", \"\", \"critical\"); user.answerAlert(1);\n";

struct HostileCase {
  const char* name;
  const char* method;
  std::string setup;  // page lines before the call: blocks and values
  std::string user;   // the scripted user's answers to what opens
  long code;          // the code the page sees
};

class HostilePage : public CardBenchTest {};

TEST_F(HostilePage, MalformedParametersEndWithTheirCodeAndNothingToSend) {
  BenchCard& card = startCard(0, "postal");
  banktool::TransferCase transfer = bankpage::postalTransfer();
  transfer.readerName = card.readerName();
  const std::array<std::string, 9> good = banktool::makeTransferBlocks(transfer);
  std::string goodBlocks;
  for (std::size_t n = 0; n < good.size(); ++n)
    goodBlocks += "plugin.bh_d" + std::to_string(n) + " = " + quoted(good[n]) + ";\n";
  auto block = [](int n, const std::string& text) {
    return "plugin.bh_d" + std::to_string(n) + " = " + quoted(text) + ";\n";
  };
  auto clear = [&](int n, const std::string& text) { return block(n, banktool::makeParamBlock(text, transfer.iv)); };
  auto raw = [&](int n, const std::string& bytes) { return block(n, banktool::makeRawParamBlock(bytes, transfer.iv)); };
  const std::string bookBlocks = block(5, good[5]) + block(0, "") + block(9, "") + block(10, "");

  std::string thousands;
  for (int i = 0; i < 2000; ++i)
    thousands += "700" + std::to_string(1000000 + i) + "\nc" + std::to_string(i) + "\nnull#";

  // Lists of thousands of entries, entries without their "$" or their text, and limits past 64 bits:
  // the form still opens for the customer, who cancels.
  banktool::TransferCase lists = transfer;
  for (int i = 0; i < 2000; ++i) lists.agreedAccounts += std::to_string(1000000 + i) + (i % 3 ? "$x#" : "#$#");
  lists.commonAccounts = "$#70#700$#" + thousands;
  lists.limits = "99999999999999999999999999$-1";
  const std::array<std::string, 9> listBlocks = banktool::makeTransferBlocks(lists);
  std::string hostileLists;
  for (std::size_t n = 0; n < listBlocks.size(); ++n) hostileLists += block(static_cast<int>(n), listBlocks[n]);

  const HostileCase kCases[] = {
      {"hostile lists and limits", "Transfer_V2", hostileLists,
       "user.expectWindow(\"TransFPOST2BANK\"); user.click(\"btnCancel\");\n", 8990},
      {"block 1 not hex", "Transfer_V2", goodBlocks + block(1, "not hex at all!!"), "", 9811},
      {"block 2 cut short", "Transfer_V2", goodBlocks + block(2, good[2].substr(0, good[2].size() - 2)), "", 9812},
      {"block 4 padded to nothing", "Transfer_V2", goodBlocks + raw(4, std::string(8, '\x08')), "", 9814},
      {"block 3 padding beyond its block", "Transfer_V2", goodBlocks + raw(3, "ABCDEFG\x09"), "", 9813},
      {"reader name of thousands of characters", "Transfer_V2",
       goodBlocks + clear(1, transfer.readerType + transfer.loginIssuerId + transfer.loginIssuerAccount +
                                 std::string(5000, 'R')),
       "user.expectAlert(\"晶片卡連線失敗，請檢查晶片卡是否已依正確方向插入讀卡機!\", \"轉帳交易\"); "
       "user.answerAlert(1);\n",
       8990},
      {"block 1 too short to cut", "Transfer_V2", goodBlocks + clear(1, "3700"), kParametersWrong, 9821},
      {"block 3 too short to cut", "Transfer_V2", goodBlocks + clear(3, "TERM0001"), kParametersWrong, 9821},
      // A zero IV would garble only the first cipher block of each block and let the rest open.
      {"IV block not hex", "Transfer_V2", goodBlocks + block(5, "ZZ"), "", 9815},
      {"IV block shorter than a cipher block", "PublicDonation", goodBlocks + block(5, "0011223344"), "", 9815},
      {"limits left out", "PublicDonation", goodBlocks + block(8, "NuLl"), "", 9818},
      {"donation block 6 not hex", "PublicDonation", goodBlocks + block(6, "00GG"), "", 9816},
      {"book under an unreadable IV", "CommACCT_Set", bookBlocks + clear(9, thousands) + block(5, "IV"), "", 9815},
      {"book not hex", "CommACCT_Set", bookBlocks + block(9, "xyz"), "", 9819},
      {"book limit odd length", "CommACCT_Set", bookBlocks + block(10, good[1].substr(1)), "", 9820},
      {"book of thousands, overlong limit", "CommACCT_Set",
       bookBlocks + clear(9, thousands) + clear(10, "999999999999999999999999"),
       "user.expectWindow(\"CommACCTSET\"); user.click(\"btnCANCEL\");\n", 8990},
      {"book entries without their parts", "CommACCT_Set",
       bookBlocks + clear(9, "#\n\n#7#NULL\nNULL\nNULL#700</acc>&\n<x>#") + clear(10, "-5"),
       "user.expectWindow(\"CommACCTSET\"); user.click(\"btnCANCEL\");\n", 8990},
      {"proposal not hex", "CommACCT_Add", bookBlocks + block(9, "0"), "", 9819},
      {"proposal huge and full of markup", "CommACCT_Add",
       bookBlocks + clear(9, "008" + std::string(5000, '9') + "\n<comment>&amp;\nNuLl\nextra#"),
       "user.expectWindow(\"CommACCTADD\"); user.click(\"btnCancel\");\n", 8990},
      {"account too long for the card", "AccountSetting",
       "plugin.baPIN = \"567890\"; plugin.baImport_Account = \"" + std::string(40, '1') + "\";\n", "", 8600},
      {"PIN not digits", "AccountSetting", "plugin.baImport_Account = \"1234567890\"; plugin.baPIN = \"56a890\";\n", "",
       8600},
      {"check code too long for the card", "VisaRenewal",
       "plugin.baPIN = \"567890\"; plugin.baIFD_Chk_Code = \"" + std::string(30, 'C') + "\";\n", "", 8600},
  };

  // One page per case, so a failure names its case.
  for (const HostileCase& k : kCases) {
    std::ostringstream js;
    js << "plugin.baIFD_Chk_Code = \"CHK00001\"; plugin.OptionDataPut(1, \"20261210131500\");\n"
       << "plugin.baP_CODE = \"P116A3\"; plugin.bAccountID = \"1\";\n"
       << k.setup << k.user << "plugin.TrnsMsg = \"earlier\";\n"
       << "assertEqual(plugin." << k.method << "(), \"" << k.code << "\", " << quoted(k.name) << ");\n"
       << "assertEqual(plugin.TrnsMsg, \"\", " << quoted(std::string(k.name) + ": nothing to send") << ");\n";
    const RunResult r = bankpage::run("hostile-parameters", js.str());
    EXPECT_EQ(r.status, 0) << k.name << "\n" << r.output;
    EXPECT_NE(r.output.find("hostile-parameters done"), std::string::npos) << k.name << "\n" << r.output;
    EXPECT_NE(r.output.find("0 script error(s), 0 misuse(s), 0 leak(s)"), std::string::npos) << k.name << "\n"
                                                                                             << r.output;
  }
  for (const rvp::cardsim::Bytes& command : card.apduCommands())
    EXPECT_FALSE(command.size() > 1 && command[1] == 0xE2) << "the card was written";
}

}  // namespace
