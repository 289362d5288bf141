#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "crypto/ParseEncParam.h"
#include "crypto/charset.h"
#include "crypto/mac.h"
#include "crypto/random.h"
#include "crypto/rsaseal.h"
#include "crypto/tripledes.h"
#include "tools/banktool/banktool.h"

namespace {

// Seals a request the way the plug-in does: Big5 when needed, MAC of the window, session number.
std::string seal(const std::string& utf8, std::string* sessionOut = nullptr) {
  std::string text = utf8;
  if (needsCharsetConversion(text)) text = *convertCharset(text, "BIG5", "UTF-8");
  std::string session = getSessionNo();
  if (sessionOut) *sessionOut = session;
  return DESEncrypt(text + HMAC_Data(text), session) + "%" + RSADataEncrypt(session);
}

const std::string kRequest =
    "<Vennoral><tx_code>2920</tx_code><card_no>0001234567890123</card_no><remark>ok</remark></Vennoral>";

TEST(BankTool, OpensAnEnvelopeAndChecksItsMac) {
  std::string session;
  banktool::OpenedEnvelope env = banktool::openEnvelope(seal(kRequest, &session));
  ASSERT_TRUE(env.ok) << env.error;
  EXPECT_EQ(env.sessionNumber, session);
  EXPECT_EQ(env.text, kRequest);
  EXPECT_TRUE(env.macOk);
}

TEST(BankTool, ChineseRequestTravelsInBig5AndPrintsInUtf8) {
  std::string request = "<Vennoral><tx_code>2920</tx_code><remark>房租與水電費</remark></Vennoral>";
  banktool::OpenedEnvelope env = banktool::openEnvelope(seal(request));
  ASSERT_TRUE(env.ok) << env.error;
  EXPECT_EQ(env.text, request);
  EXPECT_NE(env.rawText, request);
  EXPECT_TRUE(env.macOk);
}

TEST(BankTool, WrongMacIsReported) {
  std::string session = getSessionNo();
  std::string forged = kRequest + std::string(28, 'A') + "\n";
  banktool::OpenedEnvelope env = banktool::openEnvelope(DESEncrypt(forged, session) + "%" + RSADataEncrypt(session));
  ASSERT_TRUE(env.ok) << env.error;
  EXPECT_FALSE(env.macOk);
}

TEST(BankTool, BrokenEnvelopesAreRefusedWithAReason) {
  std::string good = seal(kRequest);
  const std::string broken[] = {"", "no separator", good.substr(0, good.size() - 1),
                                "AAAA%" + good.substr(good.find('%') + 1),
                                good.substr(0, good.find('%') + 1) + "bm90IHJzYQ==\n%"};
  for (const std::string& env : broken) {
    banktool::OpenedEnvelope out = banktool::openEnvelope(env);
    EXPECT_FALSE(out.ok);
    EXPECT_FALSE(out.error.empty());
  }
  EXPECT_FALSE(banktool::openEnvelope(good, "not a key").ok);
}

TEST(BankTool, ChallengeAnswerRoundTrip) {
  const std::string clear = "A1B2C3D4E5F6G7H8";
  std::string fromServer = banktool::makeChallenge(clear);
  // What the plug-in does with it.
  std::string opened = DESDecrypt(fromServer + "\n");
  ASSERT_EQ(opened, clear);
  std::string answer = HMAC_CR(opened) + "Hk4nZp7Q" + "T" + "/Library/Internet Plug-Ins/npDUZIVUREZORO.plugin";
  ASSERT_EQ(answer.size(), 86u);
  banktool::ChallengeAnswer a = banktool::decodeChallengeAnswer(RSADataEncrypt(answer), clear);
  ASSERT_TRUE(a.ok) << a.error;
  EXPECT_TRUE(a.macOk);
  EXPECT_EQ(a.token, "Hk4nZp7Q");
  EXPECT_EQ(a.clientFlag, "T");
  EXPECT_EQ(a.installPath, "/Library/Internet Plug-Ins/npDUZIVUREZORO.plugin");
  EXPECT_FALSE(banktool::decodeChallengeAnswer(RSADataEncrypt(answer), "another one").macOk);
  EXPECT_FALSE(banktool::decodeChallengeAnswer(RSADataEncrypt("short"), clear).ok);
}

std::string run(const std::string& command, int* status) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buf[512];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  *status = pclose(p);
  return out;
}

TEST(BankToolProgram, OpensAnEnvelopeFileAndMakesParameters) {
  const std::string file = ::testing::TempDir() + "banktool_envelope.txt";
  std::ofstream(file, std::ios::binary) << seal(kRequest);
  int status = -1;
  std::string out = run(std::string(BANKTOOL_PROGRAM) + " open " + file, &status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(out.find("mac: ok\n" + kRequest), std::string::npos) << out;

  out = run(std::string(BANKTOOL_PROGRAM) + " iv 0102030405060708", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out.size(), 33u);
  run(std::string(BANKTOOL_PROGRAM) + " open /nonexistent/file 2>/dev/null", &status);
  EXPECT_NE(status, 0);
}

TEST(BankToolProgram, MakesTheParameterBlocksOfAFormDrivenTransfer) {
  int status = -1;
  const std::string out = run(std::string(BANKTOOL_PROGRAM) +
                                  " transfer iv=0102030405060708 reader-type=1 issuer-id=70000019"
                                  " issuer-account=7001234567890123 'reader=Virtual Reader 00' session=S-1"
                                  " terminal=TERM0001 check-code=CHK00001 agent=00000001 time=20261210131500"
                                  " giro=87654321 kind=0307 'agreed=1234$a#5678$b' 'limits=50000$30000'",
                              &status);
  EXPECT_EQ(status, 0) << out;
  std::map<std::string, std::string> blocks;
  std::istringstream lines(out);
  for (std::string name, hex; lines >> name;) {
    std::getline(lines, hex);
    blocks[name] = hex.empty() ? hex : hex.substr(1);
  }
  ASSERT_EQ(blocks.size(), 9u) << out;
  // Opened as the plug-in opens them, under the IV that bh_d5 carries.
  CParseEncParam plugin;
  unsigned char iv[8] = {};
  plugin.GetParam_IV(blocks["bh_d5"], iv);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(iv), 8), std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
  auto open = [&](const char* name) { return plugin.GetStringFromEncData(blocks[name], iv); };
  EXPECT_EQ(open("bh_d1"), "1700000197001234567890123Virtual Reader 00");
  EXPECT_EQ(open("bh_d2"), "S-1");
  EXPECT_EQ(open("bh_d3"),
            "TERM0001CHK000010000000120261210131500"
            "87654321");
  EXPECT_EQ(open("bh_d4"), "0307");
  EXPECT_EQ(open("bh_d6"), "1234$a#5678$b");
  EXPECT_EQ(open("bh_d8"), "50000$30000");
  EXPECT_EQ(blocks["bh_d0"], "") << "no bank changes: not sent";
  EXPECT_EQ(blocks["bh_d7"], "null") << "no account book: not sent";

  for (const char* wrong : {"colour=red", "iv=0102", "iv=01020304050607GG", "kind"}) {
    SCOPED_TRACE(wrong);
    EXPECT_EQ(run(std::string(BANKTOOL_PROGRAM) + " transfer " + wrong + " 2>/dev/null", &status), "");
    EXPECT_NE(status, 0);
  }
}

}  // namespace
