// Sealed requests and the client-authentication answer, opened with the bank-side tool.
#include <gtest/gtest.h>

#include "ChallengeAnswerCheck.h"
#include "ZododovuRavuVODCtrl.h"
#include "crypto/charset.h"
#include "crypto/random.h"
#include "tests/crypto/known_answers.h"
#include "tools/banktool/banktool.h"

namespace {

// A request of the usual shape: long enough for the MAC window (bytes 32 to 61).
std::string request(const std::string& remark) {
  return "<Vennoral><tx_code>MSG2521U</tx_code><session_id>S0001</session_id><issuer_remark>" + remark +
         "</issuer_remark></Vennoral>";
}

void expectEnvelopeShape(const std::string& envelope) {
  // cipher text on one line, "%", the sealed session number in lines of 64, 64 and 44, "%".
  std::size_t split = envelope.find('%');
  ASSERT_NE(split, std::string::npos);
  EXPECT_EQ(envelope.substr(0, split).find('\n'), std::string::npos);
  std::string sealed = envelope.substr(split + 1);
  ASSERT_EQ(sealed.size(), 64 + 1 + 64 + 1 + 44 + 1 + 1u);
  EXPECT_EQ(sealed[64], '\n');
  EXPECT_EQ(sealed[129], '\n');
  EXPECT_EQ(sealed.substr(sealed.size() - 2), "\n%");
}

TEST(Envelope, AsciiRequestOpensUnchangedWithItsMac) {
  ZododovuRavuVODCtrl ctrl;
  std::string text = request("plain\nremark");
  std::string envelope = ctrl.runCrypto(text);
  expectEnvelopeShape(envelope);
  banktool::OpenedEnvelope opened = banktool::openEnvelope(envelope);
  ASSERT_TRUE(opened.ok) << opened.error;
  EXPECT_TRUE(opened.macOk);
  EXPECT_EQ(opened.rawText, text);
  EXPECT_EQ(opened.sessionNumber.size(), 16u);
  EXPECT_EQ(opened.sessionNumber.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos);
}

TEST(Envelope, ChineseRequestTravelsInBig5) {
  ZododovuRavuVODCtrl ctrl;
  std::string text = request(u8"郵政劃撥儲金");
  banktool::OpenedEnvelope opened = banktool::openEnvelope(ctrl.runCrypto(text));
  ASSERT_TRUE(opened.ok) << opened.error;
  EXPECT_TRUE(opened.macOk);
  EXPECT_EQ(opened.rawText, convertCharset(text, "BIG5", "UTF-8").value());
  EXPECT_NE(opened.rawText, text);
  EXPECT_EQ(opened.text, text);
}

TEST(Envelope, TextThatCannotBeConvertedIsSealedAsItStands) {
  ZododovuRavuVODCtrl ctrl;
  for (const std::string& text : {request("tab\there"), request("bad \xC3 utf8")}) {
    banktool::OpenedEnvelope opened = banktool::openEnvelope(ctrl.runCrypto(text));
    ASSERT_TRUE(opened.ok) << opened.error;
    EXPECT_TRUE(opened.macOk);
    EXPECT_EQ(opened.rawText, text);
  }
}

TEST(Envelope, EverySealUsesAFreshSessionNumber) {
  ZododovuRavuVODCtrl ctrl;
  std::string text = request("same");
  banktool::OpenedEnvelope first = banktool::openEnvelope(ctrl.runCrypto(text));
  banktool::OpenedEnvelope second = banktool::openEnvelope(ctrl.runCrypto(text));
  ASSERT_TRUE(first.ok && second.ok);
  EXPECT_NE(first.sessionNumber, second.sessionNumber);
}

TEST(Envelope, RequestThatCannotBeSealedLeavesTrnsMsgEmpty) {
  ZododovuRavuVODCtrl ctrl;
  ctrl.SetTrnsMsg("an earlier request");
  ScopedRandomSource failing([](unsigned char*, std::size_t) { return false; });
  EXPECT_EQ(ctrl.runCrypto(request("x")), "");
  EXPECT_EQ(ctrl.sealRequest(request("x")), rc::kSealFailed);
  EXPECT_EQ(ctrl.GetTrnsMsg(), "");
  EXPECT_EQ(ctrl.GetLastResult(), rc::kSealFailed);
}

TEST(Challenge, AnswerOpensToTheEightySixByteLayout) {
  ZododovuRavuVODCtrl ctrl;
  const std::string clear = "K7fq20Xa5mT1";
  ctrl.SetOptionData(0, banktool::makeChallenge(clear).c_str());
  ctrl.Challenge();
  std::string answer = ctrl.GetOptionData(0);
  ASSERT_FALSE(answer.empty());
  EXPECT_EQ(answer.back(), '%');
  expectChallengeAnswer(answer, clear);
}

TEST(Challenge, ChallengeThatDeciphersToNothingStillGetsAnAnswer) {
  ZododovuRavuVODCtrl ctrl;
  ctrl.SetOptionData(0, "not a challenge");
  ctrl.Challenge();
  banktool::ChallengeAnswer opened = banktool::decodeChallengeAnswer(ctrl.GetOptionData(0), "");
  ASSERT_TRUE(opened.ok) << opened.error;
  EXPECT_TRUE(opened.macOk);  // the MAC of no bytes
  EXPECT_EQ(opened.clear.size(), 86u);
}

TEST(Challenge, EmptySlotGivesNoAnswer) {
  ZododovuRavuVODCtrl ctrl;
  ctrl.Challenge();
  EXPECT_EQ(ctrl.GetOptionData(0), "");
}

TEST(Envelope, KnownAnswerOfAFixedRequestUnderAFixedSessionNumber) {
  // Bytes 0 to 15 in the one call for the session number: "0123456789ABCDEF".
  ScopedRandomSource counting([](unsigned char* buf, std::size_t len) {
    for (std::size_t i = 0; i < len; ++i) buf[i] = static_cast<unsigned char>(i);
    return true;
  });
  ZododovuRavuVODCtrl ctrl;
  const std::string envelope = ctrl.runCrypto(kat::kRequest);
  ASSERT_NE(envelope.find('%'), std::string::npos);
  EXPECT_EQ(envelope.substr(0, envelope.find('%')), kat::kEnvelopeBody);

  // The bank side opens the one made with the command line.
  banktool::OpenedEnvelope opened = banktool::openEnvelope(kat::kEnvelopeBody + "%" + kat::kSealedSession + "%");
  ASSERT_TRUE(opened.ok) << opened.error;
  EXPECT_EQ(opened.sessionNumber, "0123456789ABCDEF");
  EXPECT_EQ(opened.text, kat::kRequest);
  EXPECT_EQ(opened.mac, kat::kRequestMac);
  EXPECT_TRUE(opened.macOk);
}

}  // namespace
