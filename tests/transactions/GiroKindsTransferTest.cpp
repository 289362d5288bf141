// Transfer_V2 with the giro-payee forms (P014A2 from the postal card, G004A2 from the giro account), on
// the controller: what the confirmation shows, the request the bank opens and the marker the page gets.
#include <functional>

#include "FormTransferBench.h"

namespace txbench {
namespace {

struct GiroKind {
  const char* name;
  const char* kind;
  const char* form;
  const char* agreed;  // the agreed accounts block
  const char* limits;
  std::function<void(appkit::ScriptedUser&)> payee;  // the customer gives the payee (and the amount 900)
  const char* payingShown;
  const char* payeeShown;
  const char* txCode;
  const char* payeeAccount;  // <trns_in_account>
  const char* marker;        // ReturnASN deciphered, "" for empty
};

TEST_F(FormTransferTest, GiroPayeeKindsAreConfirmedWrittenAndSealedWithTheirMarker) {
  auto typed = [](const char* account) {
    return [account](appkit::ScriptedUser& u) {
      u.click("cbInAccount").pressDigits(account).click("cbAmount").pressDigits("900");
    };
  };
  const GiroKind kCases[] = {
      {"postal card, typed payee", "P014A2", "TransFPOST2POSTTRANSFER", "null", "50000$30000", typed("00012347"),
       "700/7001234567890123", "700/00012347", "2580", "0000000000012347", ""},
      {"giro, agreed payee", "G004A2", "TransFPT2PT", "99999999$舊#12345678$基金會", "50000$30000",
       [](appkit::ScriptedUser& u) { u.choose("cmbPreAccount", 2).click("cbAmount").pressDigits("900"); },
       "700/87654321", "700/12345678", "2583", "0000000012345678", "P1"},
      // 9 digits: taken from the list, refused at OK; typed next, it is held to the other limit.
      {"postal card, refused pick then typed", "P014A2", "TransFPOST2POSTTRANSFER", "123456789$長", "50000$1000",
       [](appkit::ScriptedUser& u) {
         u.choose("cmbPreAccount", 1)
             .click("cbAmount")
             .pressDigits("2000")
             .click("btnOK")
             .expectAlert("請輸入8位轉入帳號", "", appkit::AlertStyle::Informational)
             .answerAlert(1)
             .pressDigits("12345678")
             .click("btnOK")
             .expectAlert("轉帳金額不可超過 01000, 請重新輸入", "RODA to POSTTRANSFER",
                          appkit::AlertStyle::Informational)
             .answerAlert(1)
             .pressDigits("900");
       },
       "700/7001234567890123", "700/12345678", "2580", "0000000012345678", ""},
  };
  for (const GiroKind& k : kCases) {
    SCOPED_TRACE(k.name);
    connect(kPostalCard);
    banktool::TransferCase c = transferCase(kPostalCard, k.kind);
    c.giroAccount = "87654321";
    c.agreedAccounts = k.agreed;
    c.limits = k.limits;
    setBlocks(c);
    user->expectWindow(k.form);
    k.payee(*user);
    user->click("cbCaptchaInput")
        .typeDigitsShownIn("cbCaptcha")
        .click("btnOK")
        .answerAlert(1)
        .expectWindow("TransFConfirm")
        .expectDisplay("cbOutAccount", k.payingShown)
        .expectDisplay("cbInAccount", k.payeeShown)
        .click("btnOK");
    ASSERT_EQ(ctrl->Transfer_V2(), 0);
    ASSERT_EQ(writes().size(), 1u);
    const std::string elements =
        "<trns_in_bank>70000000</trns_in_bank><trns_out_bank>70000019</trns_out_bank>"
        "<agency_bank>00000001</agency_bank><trns_in_account>" +
        std::string(k.payeeAccount) + "</trns_in_account><trns_out_account>" + kPostalCard.mainAccount +
        "</trns_out_account><trns_amount>00000000090000</trns_amount>";
    expectSealed(expectedRequest(kPostalCard, k.txCode, k.kind, elements, writes()[0]));
    EXPECT_EQ(ctrl->GetReturnASN(), *k.marker ? banktool::makeParamBlock(k.marker, c.iv) : std::string());
    EXPECT_EQ(ctrl->GetReturnTxFlag(), "") << "no transaction type in these forms";
    EXPECT_TRUE(cardAndReaderClosed());
  }
}

// The donation shows the paying account and the payee without their leading zeros where Transfer_V2
// zero-fills them (to 14 and 8 characters).
TEST_F(FormTransferTest, TheDonationShowsAccountsWithoutLeadingZerosWhereTheTransferFillsThem) {
  Profile profile = loadProfile("postal");
  std::string account = "0310";  // the main account record: 16 characters, six leading zeros
  for (char ch : std::string("0000001234567890")) account += ZododovuRavuVODCtrl::format("%02X", ch);
  profile.files.at(0x1001).records[2] = rvp::cardsim::fromHex(account);
  const CardFacts zeroLed{"postal", "567890", "70000019", "0000001234567890", "POSTAL CARD"};
  struct ShowCase {
    const char* name;
    long (ZododovuRavuVODCtrl::*run)();
    const char* form;
    const char* paying;
    const char* payee;
  };
  for (const ShowCase& s : {ShowCase{"Transfer_V2", &ZododovuRavuVODCtrl::Transfer_V2, "TransFPOST2POSTTRANSFER",
                                     "700/00001234567890", "700/00012347"},
                            ShowCase{"PublicDonation", &ZododovuRavuVODCtrl::PublicDonation, "TransFPUBLICDONATION",
                                     "700/1234567890", "700/12347"}}) {
    SCOPED_TRACE(s.name);
    connect(zeroLed, profile);
    banktool::TransferCase c = transferCase(zeroLed, "P014A2");
    setBlocks(c);
    user->expectWindow(s.form)
        .expectText("edtOutAccount", s.paying)
        .click("cbInAccount")
        .pressDigits("00012347")
        .click("cbAmount")
        .pressDigits("900")
        .click("cbCaptchaInput")
        .typeDigitsShownIn("cbCaptcha")
        .click("btnOK")
        .answerAlert(1)
        .expectWindow("TransFConfirm")
        .expectDisplay("cbOutAccount", s.paying)
        .expectDisplay("cbInAccount", s.payee)
        .click("btnCancel");
    EXPECT_EQ((ctrl.get()->*s.run)(), 2);
  }
}

}  // namespace
}  // namespace txbench
