// The OK rules of the bank-card forms and the postal-payee forms on the card bench: each form's payee
// rule (length and check digits, the PIN entry cleared on a wrong check digit), the limits of the postal
// forms by payee kind as 64-bit numbers, a refused pick followed by a typed payee, and what a confirmed
// form hands back. Each form is rendered filled in, with every typed payee digit checked for ink.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TransFBANK2BANK.h"
#include "TransFBANK2POSTTRANSFER.h"
#include "TransFBANK2RODA.h"
#include "TransFPOST2RODA.h"
#include "TransFPOST2POSTTRANSFER.h"
#include "TransFPOSTTRANSFER2RODA.h"
#include "TransFPT2PT.h"
#include "TransFPUBLICDONATION.h"
#include "ZododovuRavuVODCtrl.h"
#include "cardbench/CardBench.h"
#include "crypto/Setting.h"
#include "dialogfixture/ScriptedUserFixture.h"

namespace {
using namespace rvp::cardbench;

const std::string kBank812 = "812台新國際商業銀行" + std::string(60, ' ');
const std::vector<std::string> kOkCancel = {"確定", "取消"};
const char* const kCheckDigitMessage = "您輸入的帳號資料錯誤，請查明後再做！";
// Written out here, not taken from the form, so a changed word of the warning shows.
const char* const kFraudWarning =
    "請慎防轉帳受騙喔!!\n\n*請勿聽信他人指示操作。\n*您選擇的是轉帳交易，會從您的\n  帳戶內扣款轉給他人，您確定要\n  "
    "轉帳嗎？";

std::string picture(const std::string& name) {
  ::mkdir(RVP_PICTURE_DIR, 0755);
  return std::string(RVP_PICTURE_DIR) + "/" + name;
}

// Pixels in a rectangle of a window picture clearly darker than the display's grey (thin strokes of a
// glyph drawn between two pixel columns come out grey, not black).
int inkIn(const graphics::Image& image, int x0, int x1, int y0, int y1) {
  int count = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      std::uint32_t p = image.pixelAt(x, y);
      if (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 400) ++count;
    }
  }
  return count;
}

// Each of the first `digits` cells of a 16-place display shows ink.
void expectDigitsDrawn(appkit::Window& top, const std::string& outlet, std::size_t digits) {
  auto image = top.renderImage();
  const appkit::Rect f = top.viewWithIdentifier(outlet)->frame();
  // Digit i stands in a cell of (width - 2 * border) / 16 points from the border (2 or 3 points).
  const int cell = static_cast<int>((f.width() - 4) / 16);
  const int y0 = static_cast<int>(f.minY() + appkit::Window::kTitleBarHeight);
  for (std::size_t i = 0; i < digits; ++i) {
    const int x0 = static_cast<int>(f.minX()) + 2 + static_cast<int>(i) * cell;
    EXPECT_GT(inkIn(*image, x0, x0 + cell + 1, y0, y0 + static_cast<int>(f.height())), 8) << outlet << " digit " << i;
  }
}

// One of the forms, as the controller opens it.
struct FormKind {
  const char* name;
  const char* profile;
  const char* okOutlet;
  std::function<std::unique_ptr<TransferForm>()> make;
  const char* payee = "12345690000001";  // a payee the form accepts
  bool bankCard() const { return std::string(name).compare(0, 10, "TransFBANK") == 0; }
  bool payeeBankList() const { return std::string(name) == "TransFBANK2BANK"; }
};

const FormKind kBankToBank{"TransFBANK2BANK", "bank", "btnConfirm", [] { return std::make_unique<TransFBANK2BANK>(); }};
const FormKind kBankToPostal{"TransFBANK2RODA", "bank", "btnOK", [] { return std::make_unique<TransFBANK2RODA>(); }};
const FormKind kBankToGiro{"TransFBANK2POSTTRANSFER", "bank", "btnOK",
                           [] { return std::make_unique<TransFBANK2POSTTRANSFER>(); }};
const FormKind kPostalToPostal{"TransFPOST2RODA", "postal", "btnOK",
                               [] { return std::make_unique<TransFPOST2RODA>(); }};
const FormKind kGiroToPostal{"TransFPOSTTRANSFER2RODA", "postal", "btbOK",
                             [] { return std::make_unique<TransFPOSTTRANSFER2RODA>(); }};
// 1234567 weighs 168, 168 mod 11 = 3, check digit (11 - 3) mod 10 = 8.
const FormKind kPostalToGiro{"TransFPOST2POSTTRANSFER", "postal", "btnOK",
                             [] { return std::make_unique<TransFPOST2POSTTRANSFER>(); }, "12345678"};
const FormKind kGiroToGiro{"TransFPT2PT", "postal", "btnOK", [] { return std::make_unique<TransFPT2PT>(); },
                           "12345678"};
const FormKind kDonation{"TransFPUBLICDONATION", "postal", "btnOK",
                         [] { return std::make_unique<TransFPUBLICDONATION>(); }, "12345678"};
const char* const kEight = "請輸入8位轉入帳號";

class FormRules : public WithScriptedUser<CardBenchTest> {
 protected:
  struct Setup {
    std::string agreedLimit = "50000";
    std::string otherLimit = "50000";
    std::vector<std::string> agreed;
    std::vector<std::string> book;
    std::string readerType = "0";  // the PIN is shown and may be typed, but the card is not asked
  };

  BenchCard& insertedCard(const FormKind& kind) {
    BenchCard& card = startCard(1, kind.profile);
    ctrl.SetbaReaderName(card.readerName().c_str());
    EXPECT_EQ(ctrl.ConnectCard(), 0);
    card.clearApduLog();
    return card;
  }

  // Opens the form with the controller's setters in the controller's order and runs it.
  std::unique_ptr<TransferForm> run(const FormKind& kind, const BenchCard& card, const Setup& setup) {
    std::unique_ptr<TransferForm> form = kind.make();
    form->initWithWindowNibName(kind.name);
    if (kind.bankCard()) {
      form->SetcsBankIDList(BankIDtxtList);
      form->SetBankID("004");
      form->SetAGSELFAMT(setup.agreedLimit);
      form->SetNAGSELFAMT(setup.otherLimit);
      form->AppendCardAccountAry({"0040123456789012", "0040987654321098"});
      form->AppendAgreeACCT(setup.agreed);
      form->AppendCommACCT(setup.book);
      form->SetReaderType(setup.readerType);
      form->SetFlagBankDiff(0);
      form->AppendBankDiffData({});
      form->SetReaderName(card.readerName());
      form->SethCardHandle(hCard);
    } else {
      form->SetAGSELFAMT(setup.agreedLimit);
      form->SetNAGSELFAMT(setup.otherLimit);
      form->SetCardAccount("00012345678901");
      form->AppendAgreeACCT(setup.agreed);
      form->AppendCommACCT(setup.book);
      form->SetReaderType(setup.readerType);
      form->SethCardHandle(hCard);
      form->SetReaderName(card.readerName());
    }
    appkit::app().runModalForWindow(form->window());
    return form;
  }

  appkit::ScriptedUser& typePayee(const FormKind& kind, const std::string& account) {
    if (kind.payeeBankList()) user->chooseItem("cmbBankNo", kBank812);
    return user->click("cbInAccount").pressDigits(account);
  }
  appkit::ScriptedUser& typeRest(const std::string& amount, const std::string& pin) {
    user->click("cbAmount").pressDigits(amount).click("cbCardPIN").pressDigits(pin);
    return user->click("cbCaptchaInput").typeDigitsShownIn("cbCaptcha");
  }
  appkit::ScriptedUser& confirm(const FormKind& kind) {
    return user->click(kind.okOutlet)
        .expectAlert(kFraudWarning, "", appkit::AlertStyle::Warning, kOkCancel)
        .answerAlert(1);
  }

  ZododovuRavuVODCtrl ctrl;
};

struct PayeeCase {
  const FormKind* kind;
  const char* payee;
  const char* refusal;  // nullptr: accepted
};

TEST_F(FormRules, EachFormHoldsThePayeeToItsRule) {
  const char* const kFourteen = "請輸入14位轉入帳號";
  const char* const kGiroLength = "請輸入轉入帳號(7000010 + 8位劃撥帳號)共15碼";
  const PayeeCase kCases[] = {
      {&kBankToBank, "1234567890123456", nullptr},
      {&kBankToPostal, "0012345690000001", nullptr},
      {&kBankToPostal, "012345690000001", nullptr},
      {&kBankToPostal, "1234569000001", kFourteen},
      {&kBankToPostal, "12345680000001", kCheckDigitMessage},
      {&kBankToPostal, "0012345690000000", kCheckDigitMessage},
      {&kBankToGiro, "700001012345678", nullptr},
      {&kBankToGiro, "12345678", kGiroLength},
      {&kBankToGiro, "0700001012345678", kGiroLength},
      {&kBankToGiro, "700001112345678", kCheckDigitMessage},
      {&kPostalToPostal, "12345690000001", nullptr},
      {&kPostalToPostal, "012345690000001", kFourteen},
      {&kPostalToPostal, "12345690000000", kCheckDigitMessage},
      {&kGiroToPostal, "60000000000001", nullptr},
      {&kGiroToPostal, "1234569", kFourteen},
      {&kGiroToPostal, "12345680000001", kCheckDigitMessage},
      // 0001234 weighs 70, 70 mod 11 = 4: check digit 7.
      {&kPostalToGiro, "00012347", nullptr},
      {&kPostalToGiro, "1234567", kEight},
      {&kPostalToGiro, "123456789", kEight},
      {&kPostalToGiro, "12345670", kCheckDigitMessage},
      {&kGiroToGiro, "12345678", nullptr},
      {&kGiroToGiro, "0012347", kEight},
      {&kGiroToGiro, "12345679", kCheckDigitMessage},
      {&kDonation, "12345678", nullptr},
      {&kDonation, "1234567890123456", kEight},
      {&kDonation, "00012340", kCheckDigitMessage},
  };
  for (const PayeeCase& c : kCases) {
    SCOPED_TRACE(std::string(c.kind->name) + " payee " + c.payee);
    BenchCard& card = insertedCard(*c.kind);
    typePayee(*c.kind, c.payee);
    typeRest("100", "111111");
    const std::string payee = c.payee;
    if (!c.refusal) {
      user->savePng(picture(std::string(c.kind->name) + "-filled.png")).inspect([payee](appkit::Window& top) {
        expectDigitsDrawn(top, "cbInAccount", payee.size());
      });
      confirm(*c.kind);
    } else {
      const bool checkDigit = std::string(c.refusal) == kCheckDigitMessage;
      user->click(c.kind->okOutlet)
          .expectAlert(c.refusal, "", appkit::AlertStyle::Informational)
          .answerAlert(1)
          // A wrong length clears the payee; a wrong check digit clears the PIN and keeps the payee.
          .expectDisplay("cbInAccount", checkDigit ? payee : "")
          .expectDisplay("cbCardPIN", checkDigit ? "" : "******")
          .expectText("PinCounterP2", checkDigit ? "0" : "6")
          .click("btnCancel");
    }
    std::unique_ptr<TransferForm> form = run(*c.kind, card, Setup{});
    if (!c.refusal) {
      EXPECT_EQ(form->GetReturnCode(), 0);
      EXPECT_EQ(form->GetIn_Acct(), c.payee) << "handed back as typed";
      EXPECT_EQ(form->InAcctCntType(), 2);
      if (c.kind->payeeBankList()) EXPECT_EQ(form->GetInBankID(), "81200000");
    } else {
      EXPECT_EQ(form->GetReturnCode(), 2);
      EXPECT_EQ(form->GetCardPIN(), std::string(c.refusal) == kCheckDigitMessage ? "" : "111111");
    }
  }
}

TEST_F(FormRules, AWrongCheckDigitNeverMakesAHiddenPinTheActiveEntry) {
  BenchCard& card = insertedCard(kBankToPostal);
  typePayee(kBankToPostal, "12345680000001");
  user->click("cbAmount")
      .pressDigits("100")
      .click("cbCaptchaInput")
      .typeDigitsShownIn("cbCaptcha")
      .click("btnOK")
      .expectAlert(kCheckDigitMessage, "", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .inspect([](appkit::Window& top) {
        auto* pin = dynamic_cast<appkit::Button*>(top.viewWithIdentifier("cbCardPIN"));
        ASSERT_NE(pin, nullptr);
        EXPECT_TRUE(pin->isHidden());
        EXPECT_EQ(pin->state(), 0) << "keys would type an unseen PIN";
      })
      .click("btnCancel");
  Setup setup;
  setup.readerType = "2";
  std::unique_ptr<TransferForm> form = run(kBankToPostal, card, setup);
  EXPECT_EQ(form->GetReturnCode(), 2);
  EXPECT_EQ(form->GetCardPIN(), "");
}

// How the payee is given, with the value InAcctCntType hands back for it.
enum class Payee { Agreed = 1, Typed = 2, Book = 3 };

struct LimitCase {
  const FormKind* kind;
  const char* title;
  const char* agreedLimit;
  const char* otherLimit;
  Payee payee;
  const char* amount;
  const char* refusal;  // nullptr: within the limit
};

TEST_F(FormRules, PostalFormsApplyTheLimitOfThePayeeKindAsSixtyFourBitNumbers) {
  const LimitCase kCases[] = {
      {&kPostalToPostal, "RODA to RODA", "1", "50000", Payee::Typed, "50000", nullptr},
      {&kPostalToPostal, "RODA to RODA", "1", "50000", Payee::Typed, "50001", "轉帳金額不可超過 50000, 請重新輸入"},
      // 4294967297 is 1 in 32 bits: it must not slip under the limit.
      {&kPostalToPostal, "RODA to RODA", "1", "50000", Payee::Typed, "4294967297",
       "轉帳金額不可超過 50000, 請重新輸入"},
      {&kPostalToPostal, "RODA to RODA", "3000", "999999", Payee::Agreed, "3001", "轉帳金額不可超過 03000, 請重新輸入"},
      {&kPostalToPostal, "RODA to RODA", "3000", "1", Payee::Agreed, "3000", nullptr},
      {&kGiroToPostal, "POSTTRANSFER to RODA", "1", "", Payee::Typed, "1", "轉帳金額不可超過 00000, 請重新輸入"},
      {&kGiroToPostal, "POSTTRANSFER to RODA", "1", "9999999999", Payee::Typed, "9999999999", nullptr},
      {&kGiroToPostal, "POSTTRANSFER to RODA", "100", "1", Payee::Agreed, "101", "轉帳金額不可超過 00100, 請重新輸入"},
      {&kPostalToGiro, "RODA to POSTTRANSFER", "1", "3000", Payee::Typed, "3001", "轉帳金額不可超過 03000, 請重新輸入"},
      {&kPostalToGiro, "RODA to POSTTRANSFER", "3000", "1", Payee::Agreed, "3000", nullptr},
      {&kGiroToGiro, "PT to PT", "1", "50000", Payee::Typed, "4294967297", "轉帳金額不可超過 50000, 請重新輸入"},
      {&kGiroToGiro, "PT to PT", "500", "1", Payee::Agreed, "501", "轉帳金額不可超過 00500, 請重新輸入"},
      {&kDonation, "Public Donation", "1", "500", Payee::Typed, "500", nullptr},
      {&kDonation, "Public Donation", "1", "500", Payee::Typed, "501", "轉帳金額不可超過 00500, 請重新輸入"},
      {&kDonation, "Public Donation", "100", "999999", Payee::Agreed, "101", "轉帳金額不可超過 00100, 請重新輸入"},
      // An account-book payee is no agreed one: it is held to the other limit, whichever is higher.
      {&kPostalToPostal, "RODA to RODA", "999999", "3000", Payee::Book, "3001", "轉帳金額不可超過 03000, 請重新輸入"},
      {&kPostalToGiro, "RODA to POSTTRANSFER", "1", "3000", Payee::Book, "3000", nullptr},
      {&kDonation, "Public Donation", "999999", "500", Payee::Book, "501", "轉帳金額不可超過 00500, 請重新輸入"},
  };
  for (const LimitCase& c : kCases) {
    SCOPED_TRACE(std::string(c.kind->name) + " amount " + c.amount);
    BenchCard& card = insertedCard(*c.kind);
    if (c.payee == Payee::Agreed) {
      user->choose("cmbPreAccount", 1);
    } else if (c.payee == Payee::Book) {
      user->choose("cmbCommonAccount", 1);
    } else {
      typePayee(*c.kind, c.kind->payee);
    }
    typeRest(c.amount, "111111");
    if (c.refusal) {
      user->click(c.kind->okOutlet)
          .expectAlert(c.refusal, c.title, appkit::AlertStyle::Informational)
          .answerAlert(1)
          .expectDisplay("cbAmount", "")
          .click("btnCancel");
    } else {
      confirm(*c.kind);
    }
    Setup setup;
    setup.agreedLimit = c.agreedLimit;
    setup.otherLimit = c.otherLimit;
    setup.agreed = {std::string(c.kind->payee) + "$公司"};
    setup.book = {"700" + std::string(c.kind->payee) + "$媽媽"};
    std::unique_ptr<TransferForm> form = run(*c.kind, card, setup);
    EXPECT_EQ(form->GetReturnCode(), c.refusal ? 2 : 0);
    if (!c.refusal) {
      EXPECT_EQ(form->GetAmount(), c.amount);
      EXPECT_EQ(form->InAcctCntType(), static_cast<int>(c.payee));
    }
  }
}

TEST_F(FormRules, ARefusedAgreedPickThenATypedPayeeIsHeldToTheTypedLimit) {
  struct PickCase {
    const FormKind* kind;
    const char* shortEntry;  // an agreed entry whose account the form's rule refuses for its length
    const char* lengthMessage;
    const char* title;
  };
  const PickCase kCases[] = {
      {&kPostalToPostal, "1234569000001$短", "請輸入14位轉入帳號", "RODA to RODA"},
      {&kPostalToGiro, "123456789$長", kEight, "RODA to POSTTRANSFER"},
      {&kGiroToGiro, "1234567$短", kEight, "PT to PT"},
      {&kDonation, "123456789$長", kEight, "Public Donation"},
  };
  for (const PickCase& c : kCases) {
    SCOPED_TRACE(c.kind->name);
    BenchCard& card = insertedCard(*c.kind);
    user->choose("cmbPreAccount", 1);  // taken from the list, refused at OK
    typeRest("2000", "111111")
        .click("btnOK")
        .expectAlert(c.lengthMessage, "", appkit::AlertStyle::Informational)
        .answerAlert(1)
        .expectDisplay("cbInAccount", "")
        .pressDigits(c.kind->payee)  // the payee display is the active one again
        .click("btnOK")
        .expectAlert("轉帳金額不可超過 01000, 請重新輸入", c.title, appkit::AlertStyle::Informational)
        .answerAlert(1)
        .pressDigits("900");
    confirm(*c.kind);
    Setup setup;
    setup.agreedLimit = "50000";
    setup.otherLimit = "1000";
    setup.agreed = {c.shortEntry};
    std::unique_ptr<TransferForm> form = run(*c.kind, card, setup);
    EXPECT_EQ(form->GetReturnCode(), 0);
    EXPECT_EQ(form->GetIn_Acct(), c.kind->payee);
    EXPECT_EQ(form->GetAmount(), "900");
    EXPECT_EQ(form->InAcctCntType(), 2) << "a typed payee: no list marker may go to the page";
  }
}

TEST_F(FormRules, AConfirmedPostalFormReportsTheTypeAndThePagesIndexOfTheBookEntry) {
  BenchCard& card = insertedCard(kGiroToPostal);
  user->choose("cmbTxType", 2).choose("cmbCommonAccount", 1);
  typeRest("100", "111111");
  confirm(kGiroToPostal);
  Setup setup;
  setup.book = {"0049876543210$房租", "70012345690000001$媽媽"};
  std::unique_ptr<TransferForm> form = run(kGiroToPostal, card, setup);
  ASSERT_EQ(form->GetReturnCode(), 0);
  EXPECT_EQ(form->GetIn_Acct(), "12345690000001");
  EXPECT_EQ(form->InAcctCntType(), 3);
  EXPECT_EQ(form->InAcctCntIdx(), 1) << "the second entry of the page's list, the first one shown";
  EXPECT_EQ(dynamic_cast<PostalSavingsTransferForm&>(*form).TxTypeIdx(), 2);
}

TEST_F(FormRules, ABankCardFormPaysFromTheAccountPickedAndNamesItsBank) {
  BenchCard& card = insertedCard(kBankToBank);
  user->choose("cmbOutAccount", 1).choose("cmbPreAccount", 1);
  typeRest("100", "111111");
  confirm(kBankToBank);
  Setup setup;
  setup.agreed = {"812000001111222233334444"};
  std::unique_ptr<TransferForm> form = run(kBankToBank, card, setup);
  ASSERT_EQ(form->GetReturnCode(), 0);
  auto& bankForm = dynamic_cast<BankCardTransferForm&>(*form);
  EXPECT_EQ(bankForm.GetCardAccount(), "0040987654321098");
  EXPECT_EQ(bankForm.AccountIdx(), 2);
  EXPECT_EQ(form->GetIn_Acct(), "1111222233334444");
  EXPECT_EQ(form->GetInBankID(), "81200000") << "the agreed entry's bank";
}

}  // namespace
