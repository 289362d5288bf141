#include "TransactionBench.h"

namespace txbench {

const CardFacts kBankCard{"bank", "1234", "00400001", "0040123456789012", "BANK CARD"};
const CardFacts kPostalCard{"postal", "567890", "70000019", "7001234567890123", "POSTAL CARD"};

const PageTransaction kPageTransactions[5] = {
    {"Inquiry", &ZododovuRavuVODCtrl::Inquiry, &kBankCard, "", false},
    {"Transfer", &ZododovuRavuVODCtrl::Transfer, &kBankCard, "", true},
    {"PayTransfer", &ZododovuRavuVODCtrl::PayTransfer, &kBankCard, "", true},
    {"Tax", &ZododovuRavuVODCtrl::Tax, &kBankCard, "", false},
    {"RodaPayment", &ZododovuRavuVODCtrl::RodaPayment, &kPostalCard, "P014A5", false},
};

void setPageFor(ZododovuRavuVODCtrl& c, const PageTransaction& t) {
  c.SetbaP_CODE(t.pCode);
  c.SetbaAccept_No("812");
  c.SetbaAagency_No("0001");
  c.SetbaImport_Account("1234567890");
  c.SetbaPaymentType("11");
  c.SetbaCancelNo("CANCEL0000000001");
  c.SetTrnsMsg("an earlier request");
}

std::string hx(const std::string& hex) {
  Bytes bytes = rvp::cardsim::fromHex(hex);
  return std::string(bytes.begin(), bytes.end());
}

std::string zeros(std::size_t n) { return std::string(n, '\0'); }

// The remark as the card holds it: 30 bytes, blank-padded, in hexadecimal.
static std::string remarkHex(const CardFacts& card) {
  std::string text = card.remark;
  text.resize(30, ' ');
  return rvp::cardsim::toHex(Bytes(text.begin(), text.end()));
}

std::string expectedRequest(const CardFacts& card, const std::string& txCode, const std::string& tacId,
                            const std::string& elements, const CardWrite& write, const std::string& block,
                            const std::string& atmNo, const std::string& checkCode, const std::string& session) {
  return "<Vennoral><tx_code>" + txCode + "</tx_code><session_id>" + session + "</session_id><issuer_id>" +
         card.issuer + "</issuer_id><issuer_account>" + card.mainAccount + "</issuer_account><issuer_remark>" +
         remarkHex(card) + "</issuer_remark><client_dttm>" + kDateTime + "</client_dttm><atm><atm_no>" + atmNo +
         "</atm_no><atm_checkcode>" + checkCode + "</atm_checkcode></atm><trns><tac_id>" + tacId + "</tac_id>" +
         elements + "<icc_no>" + write.serial + "</icc_no><tsac>" + write.tac + "</tsac>" + block +
         "</trns></Vennoral>";
}

BenchCard& TransactionTest::connect(const CardFacts& facts) { return connect(facts, loadProfile(facts.profile)); }

BenchCard& TransactionTest::connect(const CardFacts& facts, const Profile& profile) {
  card = &startCard(slot, profile);
  ctrl = std::make_unique<ZododovuRavuVODCtrl>();
  ctrl->SetbaReaderName(card->readerName().c_str());
  EXPECT_EQ(ctrl->ConnectCard(), 0);
  ctrl->SetbaPIN(facts.pin);
  ctrl->SetbaIFD_Chk_Code(kCheckCode);
  ctrl->SetbaIFD_ID(kTerminal);
  ctrl->SetbAccountID("1");
  ctrl->SetOptionData(1, kDateTime);
  ctrl->SetSessionId(kSession);
  ctrl->SetbaMoney("12300");
  card->clearApduLog();
  return *card;
}

std::vector<CardWrite> TransactionTest::writes() const {
  std::vector<CardWrite> found;
  for (const rvp::cardsim::ApduExchange& e : card->apduLog()) {
    if (e.command.size() < 5 || e.command[1] != 0xE2) continue;
    CardWrite write;
    write.p1p2 = rvp::cardsim::toHex(Bytes(e.command.begin() + 2, e.command.begin() + 4));
    write.record.assign(e.command.begin() + 5, e.command.begin() + 5 + e.command[4]);
    if (e.response.size() >= 21 && e.response[e.response.size() - 2] == 0x90) {
      write.serial.assign(e.response.begin() + 1, e.response.begin() + 9);
      write.tac = rvp::cardsim::toHex(Bytes(e.response.begin() + 11, e.response.begin() + 19));
      // The TAC is the card key's MAC over the serial number and exactly these record bytes.
      Bytes tac = rvp::cardsim::computeTac(rvp::cardsim::fromHex("404142434445464748494A4B4C4D4E4F"),
                                           Bytes(write.serial.begin(), write.serial.end()),
                                           Bytes(write.record.begin(), write.record.end()));
      EXPECT_EQ(rvp::cardsim::toHex(tac), write.tac);
    }
    found.push_back(write);
  }
  return found;
}

void TransactionTest::expectSealed(const std::string& request) {
  EXPECT_EQ(ctrl->GetXMLStr(), request);
  banktool::OpenedEnvelope opened = banktool::openEnvelope(ctrl->GetTrnsMsg());
  ASSERT_TRUE(opened.ok) << opened.error;
  EXPECT_TRUE(opened.macOk);
  EXPECT_EQ(opened.text, request);
}

void TransactionTest::answerTransferCheck(const std::string& from, const std::string& to, const std::string& amount,
                                          const char* button) {
  user->expectWindow("ATM_Trans_Dlg")
      .expectText("edtTransferAccount", from)
      .expectText("edtImportAccount", to)
      .expectText("edtAmount", amount)
      .click(button);
}

}  // namespace txbench
