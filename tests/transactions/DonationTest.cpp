// PublicDonation: the road of the form-driven transfer with the donation form, from the page's blocks
// to the request the bank opens, and every way out.
#include <functional>
#include <stdexcept>

#include "FormTransferBench.h"
#include "transactions/FormParameters.h"
#include "transactions/TransferForms.h"

namespace txbench {
namespace {

using Blocks = std::array<std::string, 9>;
const char* const kGarbled = "0123456789ABCDE";
const char* const kWrongPin = "　　　 密碼錯誤，請重新輸入！\n〈金融卡密碼若連續錯誤三次將被鎖卡〉";
const std::vector<std::string> kOkCancel = {"確定", "取消"};
const char* const kFraudWarning =
    "請慎防轉帳受騙喔!!\n\n*請勿聽信他人指示操作。\n*您選擇的是轉帳交易，會從您的\n  帳戶內扣款轉給他人，您確定要\n  "
    "轉帳嗎？";
// 0001234 weighs 70, 70 mod 11 = 4, check digit (11 - 4) mod 10 = 7.
const char* const kCause = "00012347";

std::string el(const std::string& tag, const std::string& value) { return "<" + tag + ">" + value + "</" + tag + ">"; }

class Donation : public FormTransferTest {
 protected:
  banktool::TransferCase donationCase(const CardFacts& facts = kPostalCard) { return transferCase(facts, "P014A2"); }

  // The customer types the cause's account, the amount, the PIN (when given) and the code.
  appkit::ScriptedUser& fillInForm(const std::string& pin = "", const std::string& amount = "500") {
    user->expectWindow("TransFPUBLICDONATION").click("cbInAccount").pressDigits(kCause);
    user->click("cbAmount").pressDigits(amount);
    if (!pin.empty()) user->click("cbCardPIN").pressDigits(pin);
    return user->click("cbCaptchaInput").typeDigitsShownIn("cbCaptcha");
  }
  void confirmForm() {
    user->click("btnOK").expectAlert(kFraudWarning, "", appkit::AlertStyle::Warning, kOkCancel).answerAlert(1);
  }

  // Markers an earlier transfer left for the page: an agreed payee and a transaction type.
  void earlierMarkers() {
    FormParameters params;
    ASSERT_EQ(openFormParameters(banktool::makeTransferBlocks(donationCase()), params), 0);
    const TransferFormRow earlier{"P014A1", "TransFPOST2RODA", PayingSide::PostalCard, false, "%014s", true, nullptr};
    TransferFormValues values;
    values.payeeSource = 1;
    values.txTypeIndex = 1;
    ctrl->returnPayeeSource(earlier, params, values);
    ASSERT_NE(ctrl->GetReturnASN(), "");
    ASSERT_NE(ctrl->GetReturnTxFlag(), "");
  }

  static int commands(const BenchCard& card, std::uint8_t ins) {
    int n = 0;
    for (const Bytes& command : card.apduCommands()) n += command.size() > 1 && command[1] == ins;
    return n;
  }
};

TEST_F(Donation, TheFormAndTheConfirmationLeaveOneWriteAndTheRequestTheBankOpens) {
  connect(kPostalCard);
  banktool::TransferCase c = donationCase();
  c.readerType = "1";
  setBlocks(c);
  earlierMarkers();
  fillInForm(kPostalCard.pin).expectText("edtOutAccount", "700/" + std::string(kPostalCard.mainAccount));
  confirmForm();
  user->expectWindow("TransFConfirm")
      .expectDisplay("cbOutAccount", "700/" + std::string(kPostalCard.mainAccount))
      .expectDisplay("cbInAccount", "700/12347")  // shown without its leading zeros
      .click("btnOK")
      .expectWindow("CARDINOUTDLG")
      .wait(1.5)
      .run([this] { card->remove(); })
      .wait(1)
      .run([this] { card->insert(); })
      .wait(3);
  EXPECT_EQ(ctrl->PublicDonation(), 0);
  ASSERT_EQ(writes().size(), 1u);
  const std::string elements = el("trns_in_bank", "70000000") + el("trns_out_bank", kPostalCard.issuer) +
                               el("agency_bank", kAgent) + el("trns_in_account", "0000000000012347") +
                               el("trns_out_account", kPostalCard.mainAccount) + el("trns_amount", "00000000050000");
  expectSealed(expectedRequest(kPostalCard, "2580", "P014A2", elements, writes()[0]));
  EXPECT_EQ(ctrl->GetbaPIN(), "");
  EXPECT_EQ(ctrl->GetbaMoney(), "500");
  EXPECT_EQ(ctrl->GetReturnASN(), "") << "cleared at the start, not set by the donation";
  EXPECT_EQ(ctrl->GetReturnTxFlag(), "");
  EXPECT_TRUE(cardAndReaderClosed());
}

// The form gets the session's card handle: the PIN is checked on the card the session holds, without
// the reader's connection being dropped and the card reset.
TEST_F(Donation, AWrongPinIsCaughtInTheFormOnTheSessionsCard) {
  connect(kPostalCard);
  banktool::TransferCase c = donationCase();
  c.readerType = "1";
  setBlocks(c);
  fillInForm("111111");
  user->run([this] { card->clearApduLog(); })
      .click("btnOK")
      .expectAlert(kWrongPin, "", appkit::AlertStyle::Informational)
      .run([this] {
        EXPECT_EQ(commands(*card, 0x20), 1) << "one VERIFY";
        // The session's handle is reconnected (the card powered off and on again); a form without it
        // drops the reader's context and the card is reset.
        for (PowerEvent e : card->powerLog()) EXPECT_NE(e, PowerEvent::Reset);
        EXPECT_EQ(card->card().pinTriesLeft(), 2);
      })
      .answerAlert(1)
      .expectDisplay("cbCardPIN", "")
      .click("btnCancel");
  EXPECT_EQ(ctrl->PublicDonation(), rc::kCancelled);
  EXPECT_TRUE(writes().empty());
  EXPECT_TRUE(cardAndReaderClosed());
}

TEST_F(Donation, EachBlockThatDoesNotOpenGivesItsCodeBeforeAnyCardCommand) {
  struct Case {
    const char* name;
    std::function<void(Blocks&)> spoil;
    long code;
  };
  const Case cases[] = {
      {"login card missing", [](Blocks& b) { b[1] = ""; }, 9811},
      {"session garbled", [](Blocks& b) { b[2] = kGarbled; }, 9812},
      {"terminal missing", [](Blocks& b) { b[3] = ""; }, 9813},
      {"kind garbled", [](Blocks& b) { b[4] = kGarbled; }, 9814},
      {"agreed accounts empty", [](Blocks& b) { b[6] = ""; }, 9816},
      {"common accounts garbled", [](Blocks& b) { b[7] = kGarbled; }, 9817},
      // The limits are required: "null" is deciphered like any other text.
      {"limits null", [](Blocks& b) { b[8] = "null"; }, 9818},
      {"limits NULL", [](Blocks& b) { b[8] = "NULL"; }, 9818},
  };
  connect(kPostalCard);
  for (const Case& pc : cases) {
    SCOPED_TRACE(pc.name);
    card->clearApduLog();
    Blocks blocks = banktool::makeTransferBlocks(donationCase());
    blocks[0] = kGarbled;  // the donation never reads the bank-list changes
    pc.spoil(blocks);
    setBlocks(blocks);
    ctrl->SetTrnsMsg("an earlier request");
    earlierMarkers();
    ctrl->SetbaPIN("567890");
    EXPECT_EQ(ctrl->PublicDonation(), pc.code);
    EXPECT_TRUE(noCardCommand());
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
    EXPECT_EQ(ctrl->GetReturnASN(), "");
    EXPECT_EQ(ctrl->GetReturnTxFlag(), "");
    EXPECT_EQ(ctrl->GetbaPIN(), "");
  }
}

TEST_F(Donation, EndingTheFormGives8990AndTheConfirmationItsOwnCodeWithCardAndReaderClosed) {
  struct EndCase {
    const char* name;
    std::function<void()> script;
    long code;
  };
  const EndCase cases[] = {
      {"Cancel in the form", [this] { user->expectWindow("TransFPUBLICDONATION").click("btnCancel"); }, 8990},
      {"the fraud warning declined",
       [this] {
         fillInForm();
         user->click("btnOK").answerAlert(2);
       },
       8990},
      {"the form's countdown", [this] { user->expectWindow("TransFPUBLICDONATION").wait(601); }, 9950},
      {"Cancel in the confirmation",
       [this] {
         fillInForm();
         confirmForm();
         user->expectWindow("TransFConfirm").click("btnCancel");
       },
       2},
  };
  for (const EndCase& ec : cases) {
    SCOPED_TRACE(ec.name);
    connect(kPostalCard);
    setBlocks(donationCase());
    ctrl->SetTrnsMsg("an earlier request");
    ctrl->SetXMLStr("<earlier/>");
    ec.script();
    EXPECT_EQ(ctrl->PublicDonation(), ec.code);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
    EXPECT_EQ(ctrl->GetXMLStr(), "<earlier/>");
    EXPECT_TRUE(cardAndReaderClosed());
  }
}

TEST_F(Donation, NotTheLoginCardGives9940UnderAnEmptyTitle) {
  connect(kPostalCard);
  banktool::TransferCase c = donationCase();
  c.loginIssuerAccount = "7001234567890124";
  setBlocks(c);
  user->expectAlert("登入所使用的卡片與現行卡片不符，請插入正確的卡片", "", appkit::AlertStyle::Informational)
      .answerAlert(1);
  EXPECT_EQ(ctrl->PublicDonation(), rc::kWrongCard);
  EXPECT_TRUE(cardAndReaderClosed());
}

TEST_F(Donation, AnExceptionInsideGives8990WithNoRequestAndCardAndReaderClosed) {
  connect(kPostalCard);
  setBlocks(donationCase());
  ctrl->SetTrnsMsg("an earlier request");
  ctrl->SetbaPIN("567890");
  user->expectWindow("TransFPUBLICDONATION")
      .run([] { throw std::runtime_error("a dialog failed"); })
      .expectAlert("exception catched", "PublicDonation", appkit::AlertStyle::Informational)
      .answerAlert(1);
  EXPECT_EQ(ctrl->PublicDonation(), rc::kCancelled);
  EXPECT_EQ(ctrl->GetTrnsMsg(), "");
  EXPECT_EQ(ctrl->GetbaPIN(), "");
  EXPECT_TRUE(cardAndReaderClosed());
}

}  // namespace
}  // namespace txbench
