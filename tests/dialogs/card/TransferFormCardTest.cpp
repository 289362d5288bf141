// The transfer forms' OK frame on the card bench, told on the postal-to-bank form: the card is
// reconnected, the PIN checked by the card for reader type "1", payee, bank and amount checked against
// the limits, the code compared and the fraud warning answered.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TransFPOST2BANK.h"
#include "ZododovuRavuVODCtrl.h"
#include "cardbench/CardBench.h"
#include "crypto/Setting.h"
#include "dialogfixture/ScriptedUserFixture.h"

namespace {
using namespace rvp::cardbench;

const char* const kWrongPin = "　　　 密碼錯誤，請重新輸入！\n〈金融卡密碼若連續錯誤三次將被鎖卡〉";
const char* const kCardRead = "卡片資料讀取錯誤，請檢查讀卡機與晶片卡是否有問題。";
// Written out here, not taken from the form, so a changed word of the warning shows.
const char* const kFraudWarning =
    "請慎防轉帳受騙喔!!\n\n*請勿聽信他人指示操作。\n*您選擇的是轉帳交易，會從您的\n  帳戶內扣款轉給他人，您確定要\n  "
    "轉帳嗎？";
const std::string kBank812 = "812台新國際商業銀行" + std::string(60, ' ');
const std::vector<std::string> kOkCancel = {"確定", "取消"};
constexpr std::uint8_t kVerify = 0x20;

std::string picture(const std::string& name) {
  ::mkdir(RVP_PICTURE_DIR, 0755);
  return std::string(RVP_PICTURE_DIR) + "/" + name;
}

class TransferFormOk : public WithScriptedUser<CardBenchTest> {
 protected:
  struct Setup {
    std::string readerType = "1";
    std::string agreedLimit = "50000";
    std::string otherLimit = "50000";
    std::vector<std::string> agreed;
    std::vector<std::string> book;
  };

  // The postal card in slot 1, connected as the controller leaves it before it opens a form.
  BenchCard& insertedCard() {
    BenchCard& card = startCard(1, "postal");
    ctrl.SetbaReaderName(card.readerName().c_str());
    EXPECT_EQ(ctrl.ConnectCard(), 0);
    card.clearApduLog();
    return card;
  }

  // Opens the form with the controller's setters in the controller's order and runs it.
  std::unique_ptr<TransFPOST2BANK> run(const BenchCard& card, const Setup& setup) {
    auto form = std::make_unique<TransFPOST2BANK>();
    form->initWithWindowNibName("TransFPOST2BANK");
    form->SetAGSELFAMT(setup.agreedLimit);
    form->SetNAGSELFAMT(setup.otherLimit);
    form->SetcsBankIDList(BankIDtxtList);
    form->SetCardAccount("00012345678901");
    form->AppendAgreeACCT(setup.agreed);
    form->AppendCommACCT(setup.book);
    form->SetReaderType(setup.readerType);
    form->SetFlagBankDiff(0);
    form->AppendBankDiffData({});
    form->SetReaderName(card.readerName());
    form->SethCardHandle(hCard);
    current = form.get();
    appkit::app().runModalForWindow(form->window());
    current = nullptr;
    return form;
  }

  // A typed payee at bank 812, the amount, the PIN (when given) and the code copied from its image.
  appkit::ScriptedUser& fillIn(const std::string& account, const std::string& amount, const std::string& pin) {
    user->chooseItem("cmbBankNo", kBank812).click("cbInAccount").pressDigits(account);
    user->click("cbAmount").pressDigits(amount);
    if (!pin.empty()) user->click("cbCardPIN").pressDigits(pin);
    return user->click("cbCaptchaInput").typeDigitsShownIn("cbCaptcha");
  }

  appkit::ScriptedUser& confirm() {
    return user->click("btnOK").expectAlert(kFraudWarning, "", appkit::AlertStyle::Warning, kOkCancel);
  }

  static int verifies(const BenchCard& card) {
    int n = 0;
    for (const auto& command : card.apduCommands()) n += command.size() > 1 && command[1] == kVerify;
    return n;
  }

  ZododovuRavuVODCtrl ctrl;
  TransFPOST2BANK* current = nullptr;  // the form while it runs
};

// Glyph ink in a column range of a window picture, between two rows: pixels of the black text or its
// grey edges over the light display. Noise strokes are coloured, so they do not count (but for the
// black ones, which can only add ink).
int inkIn(const graphics::Image& image, int x0, int x1, int y0, int y1) {
  int count = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      std::uint32_t p = image.pixelAt(x, y);
      const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      const int spread = std::max({r, g, b}) - std::min({r, g, b});
      if (spread < 24 && r + g + b < 420) ++count;
    }
  }
  return count;
}

TEST_F(TransferFormOk, AConfirmedFormHandsBackWhatWasTyped) {
  BenchCard& card = insertedCard();
  fillIn("0123456789012345", "50000", "567890")
      .expectDisplay("cbInAccount", "0123456789012345")
      .savePng(picture("TransFPOST2BANK-filled.png"))
      .inspect([](appkit::Window& top) {
        // Every digit of the payee account leaves ink in its own cell of the display.
        auto image = top.renderImage();
        const appkit::Rect f = top.viewWithIdentifier("cbInAccount")->frame();
        // Digit i stands in a cell of (width - 2 * border) / 16 points from the border (2 or 3 points).
        // A blank cell has no ink at all; the thinnest digit (a 7 at the smallest size, partly under
        // coloured noise) leaves about ten pixels.
        const int cell = static_cast<int>((f.width() - 4) / 16);
        const int y0 = static_cast<int>(f.minY() + appkit::Window::kTitleBarHeight);
        for (int i = 0; i < 16; ++i) {
          const int x0 = static_cast<int>(f.minX()) + 2 + i * cell;
          EXPECT_GT(inkIn(*image, x0, x0 + cell + 1, y0, y0 + static_cast<int>(f.height())), 4) << "digit " << i;
        }
      });
  confirm().answerAlert(1);
  auto form = run(card, Setup{});
  EXPECT_EQ(form->GetReturnCode(), 0);
  EXPECT_EQ(form->GetIn_Acct(), "0123456789012345");
  EXPECT_EQ(form->GetAmount(), "50000") << "an amount at the limit passes";
  EXPECT_EQ(form->GetCardPIN(), "567890");
  EXPECT_EQ(form->GetInBankID(), "81200000");
  EXPECT_EQ(form->InAcctCntType(), 2);
  EXPECT_EQ(verifies(card), 1);
  EXPECT_EQ(card.card().pinTriesLeft(), 3);
}

TEST_F(TransferFormOk, ACardThatCannotBeReconnectedEndsTheFormWithTwo) {
  BenchCard& card = insertedCard();
  const std::string insertCard = "    未偵測到您的晶片卡\n請插入晶片卡後再按【確定】\n    若要離開請按【取消】";
  fillIn("12345", "100", "567890")
      .run([&] { card.remove(); })
      .click("btnOK")
      .expectAlert(insertCard, "晶片卡連線")
      .answerAlert(2);  // the customer gives up
  auto form = run(card, Setup{});
  EXPECT_EQ(form->GetReturnCode(), 2);
  EXPECT_EQ(verifies(card), 0);
  card.insert();
}

TEST_F(TransferFormOk, ReaderTypeTwoSendsNoVerify) {
  BenchCard& card = insertedCard();
  fillIn("12345", "100", "");
  confirm().answerAlert(1);
  Setup setup;
  setup.readerType = "2";
  auto form = run(card, setup);
  EXPECT_EQ(form->GetReturnCode(), 0);
  EXPECT_EQ(form->GetCardPIN(), "");
  EXPECT_EQ(verifies(card), 0);
  EXPECT_FALSE(card.apduCommands().empty()) << "the card was reconnected";
}

TEST_F(TransferFormOk, AWrongPinIsSaidClearedAndTheFormStaysOpen) {
  BenchCard& card = insertedCard();
  fillIn("12345", "100", "111111")
      .click("btnOK")
      .expectAlert(kWrongPin, "", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .expectDisplay("cbCardPIN", "")
      .expectText("PinCounterP2", "0")
      .pressDigits("567890")  // the PIN display is the active one again
      .click("cbCaptchaInput")
      .click("btnClear")
      .typeDigitsShownIn("cbCaptcha");
  confirm().answerAlert(1);
  auto form = run(card, Setup{});
  EXPECT_EQ(form->GetReturnCode(), 0);
  EXPECT_EQ(form->GetCardPIN(), "567890");
  EXPECT_EQ(verifies(card), 2);
}

TEST_F(TransferFormOk, TooShortAPinNeverReachesTheCard) {
  BenchCard& card = insertedCard();
  fillIn("12345", "100", "12345")
      .click("btnOK")
      .expectAlert("請輸入6至12位晶片卡密碼", "", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .click("btnCancel");
  auto form = run(card, Setup{});
  EXPECT_EQ(form->GetReturnCode(), 2);
  EXPECT_EQ(verifies(card), 0);
}

TEST_F(TransferFormOk, ABlockedCardKeepsTheFormOpenWith26144) {
  BenchCard& card = insertedCard();
  card.inject(rvp::cardsim::Fault::statusWord(0x6620, 1, kVerify));
  fillIn("12345", "100", "567890")
      .click("btnOK")
      .inspect([&](appkit::Window& top) {
        EXPECT_EQ(top.name(), "TransFPOST2BANK") << "no message, the form stays";
        EXPECT_EQ(current->GetReturnCode(), 26144);
      })
      .click("btnCancel");
  auto form = run(card, Setup{});
  EXPECT_EQ(form->GetReturnCode(), 2) << "a later ending replaces 26144";
}

TEST_F(TransferFormOk, APcscFailureDuringThePinCheckShowsTheCardReadMessage) {
  BenchCard& card = insertedCard();
  card.inject(rvp::cardsim::Fault::drop(1, kVerify));
  fillIn("12345", "100", "567890")
      .click("btnOK")
      .expectAlert(kCardRead, "", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .expectDisplay("cbCardPIN", "")
      .click("btnCancel");
  auto form = run(card, Setup{});
  EXPECT_EQ(form->GetReturnCode(), 2);
  card.insert();
}

TEST_F(TransferFormOk, CancelAtTheWarningGivesTwo) {
  BenchCard& card = insertedCard();
  fillIn("12345", "100", "567890");
  confirm().answerAlert(2);
  EXPECT_EQ(run(card, Setup{})->GetReturnCode(), 2);
}

TEST_F(TransferFormOk, TheCountdownEndingUnderTheWarningGives9950AndNothingMore) {
  BenchCard& card = insertedCard();
  fillIn("12345", "100", "567890");
  confirm().wait(600);
  auto form = run(card, Setup{});
  EXPECT_EQ(form->GetReturnCode(), 9950);
  EXPECT_TRUE(form->hasEnded());
}

TEST_F(TransferFormOk, NoPayeeBankIsRefused) {
  BenchCard& card = insertedCard();
  user->click("cbInAccount")
      .expectAlert("請選擇一銀行代號", "", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .pressDigits("12345")
      .click("cbAmount")
      .pressDigits("100")
      .click("cbCardPIN")
      .pressDigits("567890")
      .click("cbCaptchaInput")
      .typeDigitsShownIn("cbCaptcha")
      .click("btnOK")
      .expectAlert("請選擇一銀行代號", "", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .click("btnCancel");
  auto form = run(card, Setup{});
  EXPECT_EQ(form->GetReturnCode(), 2);
}

TEST_F(TransferFormOk, AMissingOrWrongCodeIsSaidAndCleared) {
  BenchCard& card = insertedCard();
  user->chooseItem("cmbBankNo", kBank812)
      .click("cbInAccount")
      .pressDigits("12345")
      .click("cbAmount")
      .pressDigits("100")
      .click("btnOK")  // reader type "0": no PIN is asked for
      .expectAlert("請輸入交易驗證碼", "", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .typeDigitsShownIn("cbCaptcha")
      .click("btnBackSpace")  // one digit short
      .click("btnOK")
      .expectAlert("交易驗證碼錯誤，請重新輸入", "", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .expectDisplay("cbCaptchaInput", "")
      .typeDigitsShownIn("cbCaptcha");  // the same code is still shown
  confirm().answerAlert(1);
  Setup setup;
  setup.readerType = "0";
  EXPECT_EQ(run(card, setup)->GetReturnCode(), 0);
}

// Each check of OK in its turn: every press finds the first thing still wrong, so an earlier check
// always speaks before a later one (PIN, payee, payee bank, amount, limit, code).
TEST_F(TransferFormOk, OkSaysWhatIsWrongInTheOrderOfItsChecks) {
  BenchCard& card = insertedCard();
  auto okSays = [&](const char* message, const char* title = "") -> appkit::ScriptedUser& {
    return user->click("btnOK").expectAlert(message, title, appkit::AlertStyle::Informational).answerAlert(1);
  };
  user->click("cbAmount").pressDigits("0");  // a wrong amount, to be found only after the payee
  okSays("請輸入晶片卡密碼");
  user->click("cbCardPIN").pressDigits("567890");
  okSays("請輸入轉入帳號");
  user->click("cbInAccount")
      .expectAlert("請選擇一銀行代號", "", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .pressDigits("12345");
  okSays("請選擇一銀行代號");
  user->chooseItem("cmbBankNo", kBank812);
  okSays("轉帳金額輸入有錯，請重新輸入").pressDigits("50001");  // the amount is the active field again
  okSays("轉帳金額不可超過 50000, 請重新輸入", "RODA to Bank").pressDigits("100");
  okSays("請輸入交易驗證碼").typeDigitsShownIn("cbCaptcha");
  confirm().answerAlert(1);
  auto form = run(card, Setup{});
  EXPECT_EQ(form->GetReturnCode(), 0);
  EXPECT_EQ(form->GetIn_Acct(), "12345");
  EXPECT_EQ(form->GetAmount(), "100");
  EXPECT_EQ(verifies(card), 6) << "the PIN is checked again at every press once it is typed";
}

// How the payee is given, with the value InAcctCntType hands back for it.
enum class Payee { Agreed = 1, Typed = 2, Book = 3 };

struct LimitCase {
  const char* what;
  Payee payee;
  const char* agreedLimit;
  const char* otherLimit;
  const char* amount;
  const char* refusal;  // the message, or nullptr when the amount passes
};

TEST_F(TransferFormOk, LimitsByPayeeKindAsSixtyFourBitNumbers) {
  const LimitCase kCases[] = {
      {"typed, at the limit", Payee::Typed, "1", "50000", "50000", nullptr},
      {"typed, one over", Payee::Typed, "999999", "50000", "50001", "轉帳金額不可超過 50000, 請重新輸入"},
      {"typed, written with five places", Payee::Typed, "999999", "1000", "1001", "轉帳金額不可超過 01000, 請重新輸入"},
      {"typed, no limit given", Payee::Typed, "999999", "", "1", "轉帳金額不可超過 00000, 請重新輸入"},
      {"typed, far over (ten digits)", Payee::Typed, "999999", "3000000000", "9999999999",
       "轉帳金額不可超過 3000000000, 請重新輸入"},
      {"typed, ten digits within a ten-digit limit", Payee::Typed, "0", "9999999999", "4294967396", nullptr},
      {"agreed: the agreed limit", Payee::Agreed, "100", "1000000", "500", "轉帳金額不可超過 00100, 請重新輸入"},
      {"agreed, within", Payee::Agreed, "500", "1", "500", nullptr},
      // An account-book payee is no agreed one: it is held to the other limit, whichever is higher.
      {"book: the other limit, below the agreed one", Payee::Book, "999999", "1000", "1001",
       "轉帳金額不可超過 01000, 請重新輸入"},
      {"book, within the other limit, over the agreed one", Payee::Book, "1", "500", "500", nullptr},
  };
  BenchCard& card = insertedCard();
  for (const LimitCase& c : kCases) {
    SCOPED_TRACE(c.what);
    if (c.payee == Payee::Agreed) {
      user->choose("cmbPreAccount", 1);
    } else if (c.payee == Payee::Book) {
      user->choose("cmbCommonAccount", 1);
    } else {
      user->chooseItem("cmbBankNo", kBank812).click("cbInAccount").pressDigits("12345");
    }
    user->click("cbAmount").pressDigits(c.amount).click("cbCaptchaInput").typeDigitsShownIn("cbCaptcha");
    if (c.refusal) {
      user->click("btnOK")
          .expectAlert(c.refusal, "RODA to Bank", appkit::AlertStyle::Informational)
          .answerAlert(1)
          .expectDisplay("cbAmount", "")
          .click("btnCancel");
    } else {
      confirm().answerAlert(1);
    }
    Setup setup;
    setup.readerType = "0";
    setup.agreedLimit = c.agreedLimit;
    setup.otherLimit = c.otherLimit;
    setup.agreed = {"7654321$812-台新銀行"};
    setup.book = {"8129876543$房租"};
    auto form = run(card, setup);
    EXPECT_EQ(form->GetReturnCode(), c.refusal ? 2 : 0);
    if (!c.refusal) {
      EXPECT_EQ(form->GetAmount(), c.amount);
      EXPECT_EQ(form->InAcctCntType(), static_cast<int>(c.payee));
      if (c.payee != Payee::Typed) {
        EXPECT_EQ(form->InAcctCntIdx(), 0);
      }
      if (c.payee == Payee::Book) {
        EXPECT_EQ(form->GetIn_Acct(), "9876543");
        EXPECT_EQ(form->GetInBankID(), "81200000");
      }
    }
  }
}

}  // namespace
