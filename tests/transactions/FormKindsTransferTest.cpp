// Transfer_V2 with the bank-card and postal-payee forms, on the controller: the paying account the
// customer selects is the one debited, also when the card has an empty record between its accounts;
// and a payee refused at OK and then typed is a typed payee for the limit and for the page.
#include <utility>

#include "FormTransferBench.h"

namespace txbench {
namespace {

TEST_F(FormTransferTest, TheSelectedPayingAccountIsDebitedAlsoBehindAnEmptyRecord) {
  // The card's accounts in records 3 and 5, record 4 empty: the form lists two accounts.
  Profile profile = loadProfile("bank");
  std::vector<Bytes>& records = profile.files.at(0x1001).records;
  std::swap(records[3], records[4]);
  connect(kBankCard, profile);
  setBlocks(transferCase(kBankCard, "0305"));
  user->expectWindow("TransFBANK2RODA")
      .choose("cmbOutAccount", 1)
      .click("cbInAccount")
      .pressDigits("12345690000001")
      .click("cbAmount")
      .pressDigits("500")
      .click("cbCaptchaInput")
      .typeDigitsShownIn("cbCaptcha")
      .click("btnOK")
      .answerAlert(1)
      .expectWindow("TransFConfirm")
      .expectDisplay("cbOutAccount", "004/0040987654321098")
      .expectDisplay("cbInAccount", "700/12345690000001")
      .click("btnOK");
  ASSERT_EQ(ctrl->Transfer_V2(), 0);
  ASSERT_EQ(writes().size(), 1u);
  const banktool::OpenedEnvelope envelope = banktool::openEnvelope(ctrl->GetTrnsMsg());
  ASSERT_TRUE(envelope.ok) << envelope.error;
  EXPECT_TRUE(envelope.macOk);
  EXPECT_NE(envelope.text.find("<trns_out_account>0040987654321098</trns_out_account>"), std::string::npos)
      << envelope.text;
  EXPECT_NE(envelope.text.find("<tx_code>MSG2522U</tx_code>"), std::string::npos) << envelope.text;
}

TEST_F(FormTransferTest, APickRefusedAtOkAndThenTypedIsATypedPayeeForTheLimitAndThePage) {
  connect(kPostalCard);
  banktool::TransferCase c = transferCase(kPostalCard, "P014A1");
  c.agreedAccounts = "1234569000001$短";  // 13 digits: taken from the list, refused at OK
  c.limits = "50000$1000";
  setBlocks(c);
  user->expectWindow("TransFPOST2RODA")
      .choose("cmbPreAccount", 1)
      .click("cbAmount")
      .pressDigits("2000")
      .click("cbCaptchaInput")
      .typeDigitsShownIn("cbCaptcha")
      .click("btnOK")
      .expectAlert("請輸入14位轉入帳號", "", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .pressDigits("12345690000001")
      .click("btnOK")
      .expectAlert("轉帳金額不可超過 01000, 請重新輸入", "RODA to RODA", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .pressDigits("900")
      .click("btnOK")
      .answerAlert(1)
      .expectWindow("TransFConfirm")
      .expectDisplay("cbInAccount", "700/12345690000001")
      .click("btnOK");
  ASSERT_EQ(ctrl->Transfer_V2(), 0);
  EXPECT_EQ(ctrl->GetReturnASN(), "") << "no marker of a list for a typed payee";
  EXPECT_EQ(ctrl->GetReturnTxFlag(), banktool::makeParamBlock("0", c.iv));
  EXPECT_EQ(ctrl->GetbaMoney(), "900");
  ASSERT_EQ(writes().size(), 1u);
  EXPECT_NE(ctrl->GetXMLStr().find("<tx_code>2580</tx_code>"), std::string::npos) << ctrl->GetXMLStr();
  EXPECT_NE(ctrl->GetXMLStr().find("<trns_in_account>0012345690000001</trns_in_account>"), std::string::npos);
}

TEST_F(FormTransferTest, ABankToBankTransferWithinOneBankTellsThePage2523) {
  connect(kBankCard);
  setBlocks(transferCase(kBankCard, "0306"));
  user->expectWindow("TransFBANK2BANK")
      .chooseItem("cmbBankNo", "004台灣銀行" + std::string(60, ' '))
      .click("cbInAccount")
      .pressDigits("5555666677778888")
      .click("cbAmount")
      .pressDigits("500")
      .click("cbCaptchaInput")
      .typeDigitsShownIn("cbCaptcha")
      .click("btnConfirm")
      .answerAlert(1)
      .expectWindow("TransFConfirm")
      .expectDisplay("cbInAccount", "004/5555666677778888")
      .click("btnOK");
  ASSERT_EQ(ctrl->Transfer_V2(), 0);
  EXPECT_EQ(ctrl->GetbaP_CODE(), "2523");
  EXPECT_NE(ctrl->GetXMLStr().find("<tx_code>MSG2523U</tx_code>"), std::string::npos) << ctrl->GetXMLStr();
  EXPECT_NE(ctrl->GetXMLStr().find("<trns_in_bank>00400000</trns_in_bank><trns_out_bank>00400001</trns_out_bank>"),
            std::string::npos)
      << ctrl->GetXMLStr();
  EXPECT_EQ(writes().size(), 1u);
}

}  // namespace
}  // namespace txbench
