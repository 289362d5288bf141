// Card answers that cannot be trusted: each ends its operation with the step's failure code, an empty
// TrnsMsg and nothing taken from the damaged answer; the card's data never reaches a request.
#include "TransactionBench.h"

namespace txbench {
namespace {

using DamagedAnswers = TransactionTest;

constexpr long kCommError = 0x80100013;  // SCARD_F_COMM_ERROR
constexpr std::uint8_t kSelect = 0xA4, kRead = 0xB2, kVerify = 0x20, kWrite = 0xE2;

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Bytes text(const std::string& t) { return Bytes(t.begin(), t.end()); }
const Bytes kOk{0x90, 0x00};

TEST_F(DamagedAnswers, AVerifyAnswerCutBeforeItsStatusWordIsNoPinCheck) {
  connect(kBankCard);
  // A wrong PIN whose answer (63 C2 or 66 08) is cut to its first byte.
  ctrl->SetbaPIN("9999");
  card->inject(Fault::cutAnswer(1, 1, kVerify));
  EXPECT_EQ(ctrl->VerifyPIN(), kCommError);
  EXPECT_EQ(ctrl->GetLastResult(), kCommError);
  EXPECT_EQ(ctrl->GetuiSW12(), 0u);

  card->inject(Fault::cutAnswer(1, 1, kVerify));
  EXPECT_EQ(ctrl->Inquiry(), kCommError);
  EXPECT_TRUE(writes().empty());
  EXPECT_EQ(ctrl->GetTrnsMsg(), "");
}

// A SELECT of EF 1001 refused by its status word once ended these with 0 and no request.
TEST_F(DamagedAnswers, ARefusedSelectionOfTheCardDataGives8800) {
  for (const PageTransaction& t : kPageTransactions) {
    SCOPED_TRACE(t.name);
    connect(*t.card);
    setPageFor(*ctrl, t);
    card->inject(Fault::statusWord(0x6A82, 1, kSelect));
    EXPECT_EQ((ctrl.get()->*t.front)(), 8800);
    EXPECT_EQ(ctrl->GetuiSW12(), 0x6A82u);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
  }
}

TEST_F(DamagedAnswers, ARecordThatDoesNotHoldWhatTheStepReadsGives8800) {
  const struct {
    const char* name;
    Fault fault;
  } cases[] = {
      // Record 1 (issuer id, 8 bytes): "004" and nothing more.
      {"issuer id cut in half", Fault::cutData(5, 1, kRead)},
      {"no value at all", Fault::cutData(1, 1, kRead)},
      // Record 3 (main account, 16 bytes).
      {"main account cut in half", Fault::cutData(9, 3, kRead)},
      {"length byte beyond the answer", Fault::replace(Bytes{0x01, 0x20} + text("00400001") + kOk, 1, kRead)},
      // A data record keeps its length byte check, unlike the log's records.
      {"zero tag and length byte", Fault::replace(Bytes{0x00, 0x00} + text("00400001") + kOk, 1, kRead)},
      {"length byte narrower than the account", Fault::replace(Bytes{0x03, 0x07} + text("0040123") + kOk, 3, kRead)},
      {"garbage of the right length", Fault::replace(Bytes{0x03, 0x10} + Bytes(16, 0x07) + kOk, 3, kRead)},
      {"garbage in the indexed account",
       Fault::replace(Bytes{0x03, 0x10} + text("0040\xff\xfe<a>56789012") + kOk, 4, kRead)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    connect(kBankCard);
    ctrl->SetTrnsMsg("an earlier request");
    card->inject(c.fault);
    EXPECT_EQ(ctrl->Inquiry(), 8800);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
  }
}

// The record as the card answered it is still taken when it holds more than the step reads.
TEST_F(DamagedAnswers, ARecordLongerThanTheStepReadsIsTaken) {
  connect(kBankCard);
  card->inject(Fault::replace(Bytes{0x01, 0x0A} + text("0040000199") + kOk, 1, kRead));
  ASSERT_EQ(ctrl->Inquiry(), 0);
  EXPECT_NE(ctrl->GetXMLStr().find("<issuer_id>00400001</issuer_id>"), std::string::npos) << ctrl->GetXMLStr();
}

// One check for every write: an 8-byte serial number and a TAC of at least 8 bytes, all received.
TEST_F(DamagedAnswers, AWriteAnswerWithoutItsSerialOrWholeTacGives8900) {
  const Bytes tac{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
  const struct {
    const char* name;
    Bytes answer;
  } cases[] = {
      {"zero serial", Bytes(9, 0x00) + Bytes{0x00, 0x08} + tac + kOk},
      {"TAC length 0", Bytes{0x00} + text("00000042") + Bytes{0x00, 0x00} + kOk},
      {"TAC length 4", Bytes{0x00} + text("00000042") + Bytes{0x00, 0x04} + Bytes(tac.begin(), tac.begin() + 4) + kOk},
      {"TAC shorter than its length",
       Bytes{0x00} + text("00000042") + Bytes{0x00, 0x08} + Bytes(tac.begin(), tac.begin() + 5) + kOk},
      {"cut inside the serial", Bytes{0x00} + text("0000") + kOk},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    connect(kBankCard);
    ctrl->SetTrnsMsg("an earlier request");
    card->inject(Fault::replace(c.answer, 1, kWrite));
    EXPECT_EQ(ctrl->Inquiry(), 8900);
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
    EXPECT_EQ(ctrl->GetXMLStr(), "");

    // The page's own write takes the same answer the same way.
    ctrl->SetbLen("10");
    ctrl->SetbaBuf("00112233445566778899AABBCCDDEEFF");
    ctrl->SetbaSN("earlier");
    card->inject(Fault::replace(c.answer, 1, kWrite));
    EXPECT_EQ(ctrl->WriteRecordWithSNUMTAC(), 8900);
    EXPECT_EQ(ctrl->GetbaSN(), "earlier");
  }
}

}  // namespace
}  // namespace txbench
