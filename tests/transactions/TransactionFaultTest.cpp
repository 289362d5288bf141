// What a transaction does when the customer, the card or the page says no: nothing written where
// nothing may be, the result code the page expects for that refusal, and never an earlier request left
// for the page to send.
#include "TransactionBench.h"
#include "transactions/TransactionRecords.h"

namespace txbench {
namespace {

using Faults = TransactionTest;
using Front = long (ZododovuRavuVODCtrl::*)();

void bankTransferPage(ZododovuRavuVODCtrl& c, const char* payeeBank = "812") {
  c.SetbaAccept_No(payeeBank);
  c.SetbaAagency_No("0001");
  c.SetbaImport_Account("1234567890");
}

TEST_F(Faults, CancellingTheTransferCheckGives8990AndWritesNothing) {
  connect(kBankCard);
  bankTransferPage(*ctrl);
  ctrl->SetXMLStr("<earlier/>");
  ctrl->SetTrnsMsg("an earlier request");
  answerTransferCheck("004/0040123456789012", "812/0000001234567890", "123", "btnCancel");
  EXPECT_EQ(ctrl->Transfer(), rc::kCancelled);
  EXPECT_TRUE(writes().empty());
  EXPECT_EQ(ctrl->GetTrnsMsg(), "");
  EXPECT_EQ(ctrl->GetXMLStr(), "<earlier/>");
  // The dialog comes before the PIN: the card never saw a VERIFY.
  for (const Bytes& command : card->apduCommands()) EXPECT_NE(command[1], 0x20);
}

TEST_F(Faults, AWrongPinReturnsTheCardsStatusWord) {
  struct Attempt {
    const char* name;
    Front front;
    bool dialog;
  };
  for (Attempt a : {Attempt{"Transfer", &ZododovuRavuVODCtrl::Transfer, true},
                    Attempt{"Inquiry", &ZododovuRavuVODCtrl::Inquiry, false},
                    Attempt{"Payment", &ZododovuRavuVODCtrl::Payment, false},
                    Attempt{"WideFee", &ZododovuRavuVODCtrl::WideFee, false}}) {
    SCOPED_TRACE(a.name);
    connect(kBankCard);
    bankTransferPage(*ctrl);
    ctrl->SetbaPIN("9999");
    ctrl->SetTrnsMsg("an earlier request");
    if (a.dialog) user->expectWindow("ATM_Trans_Dlg").click("btnOK");
    EXPECT_EQ((ctrl.get()->*a.front)(), 0x6608);
    EXPECT_EQ(ctrl->GetuiSW12(), 0x6608u);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
  }
}

// A PIN of anything but digits never reaches the card: once its letters packed as digits of a PIN.
TEST_F(Faults, APinThatIsNotDigitsGives8600WithoutAVerify) {
  for (Front front : {&ZododovuRavuVODCtrl::Inquiry, &ZododovuRavuVODCtrl::Transfer}) {
    connect(kBankCard);
    bankTransferPage(*ctrl);
    ctrl->SetbaPIN("12x4");
    ctrl->SetTrnsMsg("an earlier request");
    if (front == &ZododovuRavuVODCtrl::Transfer) user->expectWindow("ATM_Trans_Dlg").click("btnOK");
    EXPECT_EQ((ctrl.get()->*front)(), rc::kInputMissing);
    EXPECT_EQ(ctrl->GetuiSW12(), 0u);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
    for (const Bytes& command : card->apduCommands()) EXPECT_NE(command[1], 0x20);
    EXPECT_EQ(card->card().pinTriesLeft(), 3);
  }
}

TEST_F(Faults, AnEmptyPinSkipsTheCheckAndTheCardStillWrites) {
  struct NoPin {
    const char* name;
    Front front;
    const char* pCode;
  };
  for (NoPin n : {NoPin{"Inquiry", &ZododovuRavuVODCtrl::Inquiry, ""},
                  NoPin{"PostalInquiry", &ZododovuRavuVODCtrl::Inquiry, "P611A1"},
                  NoPin{"PostalTransfer", &ZododovuRavuVODCtrl::Transfer, "I03533"},
                  NoPin{"Payment", &ZododovuRavuVODCtrl::Payment, ""},
                  NoPin{"RodaPayment", &ZododovuRavuVODCtrl::RodaPayment, "I03537"},
                  NoPin{"RodaAccount", &ZododovuRavuVODCtrl::RodaAccount, "P116A1"},
                  NoPin{"WideFee", &ZododovuRavuVODCtrl::WideFee, ""}}) {
    SCOPED_TRACE(n.name);
    connect(kPostalCard);
    bankTransferPage(*ctrl);
    ctrl->SetbaP_CODE(n.pCode);
    ctrl->SetbaPIN("");
    EXPECT_EQ((ctrl.get()->*n.front)(), 0);
    EXPECT_EQ(writes().size(), 1u);
    for (const Bytes& command : card->apduCommands()) EXPECT_NE(command[1], 0x20);
    EXPECT_EQ(ctrl->GetbaPIN(), "");
  }
}

TEST_F(Faults, ARefusedWriteGives8900AndNoRequest) {
  connect(kBankCard);
  ctrl->SetTrnsMsg("an earlier request");
  card->inject(Fault::statusWord(0x6581, 1, 0xE2));
  EXPECT_EQ(ctrl->Inquiry(), rc::kWriteFailed);
  EXPECT_EQ(ctrl->GetuiSW12(), 0x6581u);
  EXPECT_EQ(ctrl->GetTrnsMsg(), "");
  EXPECT_EQ(ctrl->GetLastResult(), rc::kWriteFailed);
}

TEST_F(Faults, AWriteAnsweredWithoutSerialAndTacGives8900) {
  connect(kBankCard);
  card->inject(Fault::statusWord(0x9000, 1, 0xE2));  // 9000 and not one byte of answer
  EXPECT_EQ(ctrl->Payment(), rc::kWriteFailed);
  EXPECT_EQ(ctrl->GetTrnsMsg(), "");
}

TEST_F(Faults, PageTextWithMarkupArrivesEscaped) {
  connect(kBankCard);
  ctrl->SetbaMerchantID("A&B<C>");
  ctrl->SetbaOrderNumber("<order>&amp;");
  ASSERT_EQ(ctrl->Payment(), 0);
  const std::string xml = ctrl->GetXMLStr();
  EXPECT_NE(xml.find("<merchant_id>A&amp;B&lt;C&gt;</merchant_id>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<order_number>&lt;order&gt;&amp;amp;</order_number>"), std::string::npos) << xml;
  // The card holds the merchant id byte for byte.
  ASSERT_EQ(writes().size(), 1u);
  EXPECT_EQ(writes()[0].record.substr(48, 6), "A&B<C>");
  banktool::OpenedEnvelope opened = banktool::openEnvelope(ctrl->GetTrnsMsg());
  EXPECT_TRUE(opened.macOk);
  EXPECT_EQ(opened.text, xml);
}

TEST_F(Faults, PageTextTooLongForItsSlotGives8600BeforeAnyCardCommand) {
  struct TooLong {
    const char* name;
    Front front;
    std::function<void(ZododovuRavuVODCtrl&)> page;
  };
  const std::vector<TooLong> cases = {
      {"TransferAmount", &ZododovuRavuVODCtrl::Transfer, [](auto& c) { c.SetbaMoney("123456789012345"); }},
      {"TransferPayee", &ZododovuRavuVODCtrl::Transfer, [](auto& c) { c.SetbaImport_Account("12345678901234567"); }},
      {"TerminalId", &ZododovuRavuVODCtrl::Payment, [](auto& c) { c.SetbaIFD_ID("TERMINAL9"); }},
      {"CheckCode", &ZododovuRavuVODCtrl::Inquiry, [](auto& c) { c.SetbaIFD_Chk_Code("CHK000001"); }},
      {"DateTime", &ZododovuRavuVODCtrl::WideFee, [](auto& c) { c.SetOptionData(1, "202612101315001"); }},
      {"SelectedAccount", &ZododovuRavuVODCtrl::Payment, [](auto& c) { c.SetbSelectedAccount("12345678901234567"); }},
      {"MerchantId", &ZododovuRavuVODCtrl::Payment, [](auto& c) { c.SetbaMerchantID(std::string(31, 'M').c_str()); }},
      {"TaxCancelNo", &ZododovuRavuVODCtrl::Tax, [](auto& c) { c.SetbaCancelNo("12345678901234567"); }},
      {"TaxPaymentType", &ZododovuRavuVODCtrl::Tax,
       [](auto& c) {
         c.SetbaCancelNo("1");
         c.SetbaPaymentType("150011");
       }},
      {"PostalAmount", &ZododovuRavuVODCtrl::RodaPayment,
       [](auto& c) {
         c.SetbaP_CODE("P014A5");
         c.SetbaCancelNo("1");
         c.SetbaMoney("1234567890123");
       }},
      {"PostalUserReference", &ZododovuRavuVODCtrl::RodaPayment,
       [](auto& c) {
         c.SetbaP_CODE("P014A6");
         c.SetbaUSER_REF("REFERENCE1234");
         c.SetbaCIF_TEL_AREA("02");
       }},
      {"AccountProcessingCode", &ZododovuRavuVODCtrl::RodaAccount, [](auto& c) { c.SetbaP_CODE("P116A11"); }},
      {"InquiryProcessingCode", &ZododovuRavuVODCtrl::Inquiry, [](auto& c) { c.SetbaP_CODE("P611A1X"); }},
  };
  connect(kBankCard);
  for (const TooLong& t : cases) {
    SCOPED_TRACE(t.name);
    ZododovuRavuVODCtrl page;  // a fresh page state on the same card
    page.SetbaPIN("1234");
    page.SetbaIFD_Chk_Code(kCheckCode);
    page.SetbaIFD_ID(kTerminal);
    page.SetOptionData(1, kDateTime);
    page.SetbaMoney("100");
    t.page(page);
    page.SetTrnsMsg("an earlier request");
    card->clearApduLog();
    EXPECT_EQ((page.*t.front)(), rc::kInputMissing);
    EXPECT_TRUE(card->apduLog().empty());
    EXPECT_EQ(page.GetTrnsMsg(), "");
  }
}

TEST_F(Faults, CardStartRefusesWithoutACommand) {
  connect(kBankCard);
  ctrl->SetTrnsMsg("an earlier request");
  ctrl->SetXMLStr("<earlier/>");
  EXPECT_EQ(ctrl->CardStart(), rc::kRefused);
  EXPECT_EQ(ctrl->GetLastResult(), rc::kRefused);
  EXPECT_TRUE(card->apduLog().empty());
  EXPECT_EQ(ctrl->GetTrnsMsg(), "");
  EXPECT_EQ(ctrl->GetXMLStr(), "<earlier/>");
}

TEST_F(Faults, TaxWithoutCancelNumberGives8600AndSendsNothing) {
  connect(kBankCard);
  ctrl->SetuiSW12(0x1234);
  EXPECT_EQ(ctrl->Tax(), rc::kInputMissing);
  EXPECT_TRUE(card->apduLog().empty());
  EXPECT_EQ(ctrl->GetuiSW12(), 0x1234u);
}

TEST_F(Faults, TaxKeepsThePayeeNumberForTheNextCallUnlessItOutgrowsItsSlot) {
  connect(kPostalCard);  // own bank: code 2532, the tax unit leads the payee number
  ctrl->SetbaPaymentType("15001");
  ctrl->SetbaTax_Unit("ABCDE");
  ctrl->SetbaCancelNo("A123456789");  // ABCDE + 10123456789 + two blanks: 18 characters
  EXPECT_EQ(ctrl->Tax(), rc::kInputMissing);
  EXPECT_TRUE(writes().empty());
  EXPECT_EQ(ctrl->GetbaCancelNo(), "A123456789");

  ctrl->SetbaTax_Unit("ABC");
  ASSERT_EQ(ctrl->Tax(), 0);
  EXPECT_EQ(ctrl->GetbaCancelNo(), "ABC10123456789  ");
  // A second call works on the payee number the first one left: as a unit number it would grow to
  // 22 characters and is refused; as a date type's number it stays as it is.
  EXPECT_EQ(ctrl->Tax(), rc::kInputMissing);
  EXPECT_EQ(ctrl->GetbaCancelNo(), "ABC10123456789  ");
  ctrl->SetbaPaymentType("11");
  ASSERT_EQ(ctrl->Tax(), 0);
  EXPECT_EQ(ctrl->GetbaCancelNo(), "ABC10123456789  ");
  ASSERT_EQ(writes().size(), 2u);
  EXPECT_EQ(writes()[1].record.substr(69), "ABC10123456789  ");
}

TEST_F(Faults, PayCreditBetweenOtherBanksGives8700AfterTheCheckAndThePin) {
  connect(kBankCard);
  bankTransferPage(*ctrl, "004");
  user->expectWindow("ATM_Trans_Dlg").click("btnOK");
  EXPECT_EQ(ctrl->PayCredit(), rc::kNoTransactionCode);
  EXPECT_TRUE(writes().empty());
  bool verified = false;
  for (const Bytes& command : card->apduCommands()) verified = verified || command[1] == 0x20;
  EXPECT_TRUE(verified);
}

TEST_F(Faults, RodaPaymentRefusesCodesItCannotSendBeforeTheCardWrites) {
  struct Refusal {
    const char* pCode;
    const char* cancelNo;
    long result;
  };
  for (Refusal r : {Refusal{"P014A", "1", rc::kNoTransactionCode}, Refusal{"P014A55", "1", rc::kNoTransactionCode},
                    Refusal{"p014a5", "1", rc::kNoTransactionCode}, Refusal{"Z99999", "", rc::kNoTransactionCode},
                    Refusal{"P014AB", "", rc::kInputMissing}}) {
    SCOPED_TRACE(r.pCode);
    connect(kPostalCard);
    ctrl->SetbaP_CODE(r.pCode);
    ctrl->SetbaCancelNo(r.cancelNo);
    EXPECT_EQ(ctrl->RodaPayment(), r.result);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
  }
}

TEST_F(Faults, TheSelectedAccountReplacesTheCardsAccountOnceWhenLongerThanFive) {
  connect(kBankCard);
  ctrl->SetbSelectedAccount("12345");
  ASSERT_EQ(ctrl->Inquiry(), 0);
  EXPECT_EQ(ctrl->GetbSelectedAccount(), "12345");
  EXPECT_EQ(writes().back().record.substr(12), "0040123456789012");
  card->clearApduLog();
  ctrl->SetbSelectedAccount("123456");
  ASSERT_EQ(ctrl->Inquiry(), 0);
  EXPECT_EQ(ctrl->GetbSelectedAccount(), "");
  EXPECT_EQ(writes().back().record.substr(12), "0000000000123456");
}

TEST_F(Faults, ThePostalStepsLeaveTheSelectedAccountAlone) {
  struct Postal {
    Front front;
    const char* pCode;
  };
  for (Postal p :
       {Postal{&ZododovuRavuVODCtrl::Inquiry, "P611A6"}, Postal{&ZododovuRavuVODCtrl::Transfer, "I03533"},
        Postal{&ZododovuRavuVODCtrl::RodaAccount, "P116A1"}, Postal{&ZododovuRavuVODCtrl::RodaPayment, "I03537"}}) {
    SCOPED_TRACE(p.pCode);
    connect(kPostalCard);
    bankTransferPage(*ctrl, "700");
    ctrl->SetbaP_CODE(p.pCode);
    ctrl->SetbSelectedAccount("12345678901234567");  // even too long for an account slot
    ASSERT_EQ((ctrl.get()->*p.front)(), 0);
    EXPECT_EQ(ctrl->GetbSelectedAccount(), "12345678901234567");
    ASSERT_EQ(writes().size(), 1u);
    EXPECT_EQ(writes()[0].record.substr(48), kPostalCard.mainAccount);
  }
}

// The confirmation form calls the card steps with confirmed = 1: no transfer check, and the postal
// step takes the processing code from the input record.
TEST_F(Faults, ConfirmedCardStepsShowNoCheck) {
  connect(kPostalCard);
  ctrl->SetbaP_CODE("");
  stTransferIn in;
  in.sConfirmedCode = "P014A1";
  in.sPIN = kPostalCard.pin;
  in.sCheckCode = kCheckCode;
  in.sTerminalId = kTerminal;
  in.sAccountIndex = "01";
  in.sPayeeBank = "700";
  in.sPayeeAccount = "0000001234567890";
  in.sAmount = "00000001230000";
  in.sDateTime = kDateTime;
  stTransferOut out;
  EXPECT_EQ(ctrl->doRodaTransfer(in, out, 1), 0);
  EXPECT_EQ(out.sTacId, "P014A1");
  EXPECT_EQ(out.sIssueNo, kPostalCard.issuer);
  EXPECT_EQ(out.sSerialNo.size(), 8u);
  EXPECT_EQ(out.sTac.size(), 16u);
  ASSERT_EQ(writes().size(), 1u);
  EXPECT_EQ(writes()[0].record.substr(0, 4), "2580");
  EXPECT_EQ(writes()[0].tac, out.sTac);

  stTransferOut bankOut;
  EXPECT_EQ(ctrl->doTransfer(in, bankOut, 1361, 1), 0);
  EXPECT_EQ(bankOut.sTacId, "2920");
  EXPECT_EQ(writes().size(), 2u);
}

}  // namespace
}  // namespace txbench
