// The confirmation dialog on its own, on the virtual card: what its OK sends to the card and keeps of the
// card's answer, when it stays open, and that a dialog ended by its countdown never writes.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FormTransferBench.h"
#include "TransFConfirm.h"

namespace txbench {
namespace {

const char* const kWriteFailed = "交易資料寫入卡片失敗！請依網頁提示於讀卡機確認各項資料";
const char* const kNotLoginCard = "登入所使用的卡片與現行卡不符，請插入正確的卡片";
const char* const kInsertCard = "    未偵測到您的晶片卡\n請插入晶片卡後再按【確定】\n    若要離開請按【取消】";

// Commands as hex, so that a failed comparison names them.
std::vector<std::string> hexOf(const std::vector<Bytes>& commands) {
  std::vector<std::string> hex;
  for (const Bytes& command : commands) hex.push_back(rvp::cardsim::toHex(command));
  return hex;
}

class Confirmation : public FormTransferTest {
 protected:
  // The dialog filled as Transfer_V2 fills it for a transfer of 123 by the connected card.
  std::unique_ptr<TransFConfirm> open(const CardFacts& facts, const std::string& pcode,
                                      const std::string& readerType = "2", const std::string& amount = "123") {
    auto dialog = std::make_unique<TransFConfirm>();
    EXPECT_TRUE(dialog->initWithWindowNibName("TransFConfirm"));
    EXPECT_TRUE(dialog->wiringProblems().empty());
    dialog->SetOut_ACCT(std::string("700/") + facts.mainAccount);
    dialog->SetIn_ACCT("812/1234567890");
    dialog->SetTrans_Amount(amount);
    dialog->SetReaderName(card->readerName());
    dialog->SethCardHandle(static_cast<int>(hCard));
    dialog->SetReaderType(readerType);
    dialog->SetCardPIN(facts.pin);
    dialog->SetATM_Check_Code(kCheckCode);
    dialog->SetATM_NO(kTerminal);
    dialog->SetAccountIndex("01");
    dialog->SetAgentNo(kAgent);
    dialog->SetAcceptNo("81200000");
    dialog->SetImportAccount("0000001234567890");
    dialog->SetTransDateTime(kDateTime);
    dialog->SetPCODE(pcode);
    dialog->SetLoginIssuerID(facts.issuer);
    dialog->SetLoginIssuerAccount(facts.mainAccount);
    return dialog;
  }
  int run(TransFConfirm& dialog) {
    appkit::app().runModalForWindow(dialog.window());
    return dialog.GetReturnCode();
  }
  // Writes the card took (a refused one has no serial).
  std::size_t writesTaken() const {
    std::size_t n = 0;
    for (const CardWrite& w : writes()) n += w.serial.empty() ? 0 : 1;
    return n;
  }
};

TEST_F(Confirmation, OkHasTheCardWriteOnceAndKeepsItsAnswer) {
  struct StepCase {
    const char* name;
    const CardFacts* card;
    const char* pcode;
    const char* reported;  // what the card step reports back
  };
  for (StepCase sc : {StepCase{"postal kind: the postal step", &kPostalCard, "P014A1", "P014A1"},
                      StepCase{"bank kind, postal card to bank 812", &kPostalCard, "0307", "2521"},
                      StepCase{"empty kind: the bank step", &kBankCard, "", "2524"}}) {
    SCOPED_TRACE(sc.name);
    useCard(*sc.card);
    auto dialog = open(*sc.card, sc.pcode);
    user->expectWindow("TransFConfirm").wait(1).expectText("tfTimer", "599").click("btnOK");
    EXPECT_EQ(run(*dialog), 0);
    ASSERT_EQ(writes().size(), 1u);
    const CardWrite w = writes()[0];
    EXPECT_EQ(dialog->GetOutData_SNUM(), w.serial);
    EXPECT_EQ(dialog->GetOutData_TSAC(), w.tac);
    EXPECT_EQ(dialog->GetOutData_PCODE(), sc.reported);
    EXPECT_EQ(dialog->GetOutData_cardinfo_IssueNo(), sc.card->issuer);
    EXPECT_EQ(dialog->GetOutData_cardinfo_MainAccount(), sc.card->mainAccount);
    EXPECT_EQ(dialog->GetInData_Money(), "00000000012300");
    EXPECT_EQ(dialog->GetInData_ImportAccount(), "0000001234567890");
    EXPECT_EQ(dialog->GetInData_AcceptNo(), "81200000");
    EXPECT_EQ(dialog->GetInData_TrnsTime(), kDateTime);
    // The amount in hundredths is in the record the card received.
    EXPECT_NE(w.record.find("00000000012300"), std::string::npos);
  }
}

TEST_F(Confirmation, TheAmountReachesTheCardInHundredthsOfFourteenCharacters) {
  struct AmountCase {
    const char* amount;
    const char* money;
    long code;
  };
  for (AmountCase ac : {AmountCase{"1234", "00000000123400", 0}, AmountCase{"123456789012", "12345678901200", 0},
                        // One digit more does not fit the card's record: refused, nothing written.
                        AmountCase{"1234567890123", "123456789012300", rc::kInputMissing}}) {
    SCOPED_TRACE(ac.amount);
    useCard(kPostalCard);
    auto dialog = open(kPostalCard, "P014A1", "2", ac.amount);
    user->click("btnOK");
    EXPECT_EQ(run(*dialog), ac.code);
    EXPECT_EQ(dialog->GetInData_Money(), ac.money);
    EXPECT_EQ(writesTaken(), ac.code == 0 ? 1u : 0u);
  }
}

TEST_F(Confirmation, CancelOrTheCloseBoxGivesTwoAndNothingIsWritten) {
  for (bool closeBox : {false, true}) {
    SCOPED_TRACE(closeBox ? "close box" : "Cancel");
    useCard(kPostalCard);
    auto dialog = open(kPostalCard, "P014A1");
    // A key typed on the physical keyboard only gets the keypad warning.
    user->pressKey(appkit::KeyEvent::character("5"))
        .expectAlert(DialogFrame::kKeyboardRefusal, "", appkit::AlertStyle::Informational)
        .answerAlert(1);
    if (closeBox)
      user->closeWindow();
    else
      user->click("btnCancel");
    EXPECT_EQ(run(*dialog), 2);
    EXPECT_TRUE(card->apduCommands().empty());
    EXPECT_EQ(dialog->GetInData_Money(), "");
  }
}

TEST_F(Confirmation, AnotherCardStaysOpenWithItsMessageAndWritesNothing) {
  // Both the bank and the account of the login card must match, byte for byte.
  struct LoginCase {
    const char* name;
    std::string issuer;
    std::string account;
  };
  const LoginCase cases[] = {
      {"another account of the bank", kPostalCard.issuer, "7001234567890124"},
      {"another bank", "00400001", kPostalCard.mainAccount},
      {"the account one character short", kPostalCard.issuer, std::string(kPostalCard.mainAccount).substr(0, 15)},
      {"the bank with a trailing blank", std::string(kPostalCard.issuer) + " ", kPostalCard.mainAccount},
  };
  for (const LoginCase& lc : cases) {
    SCOPED_TRACE(lc.name);
    useCard(kPostalCard);
    auto dialog = open(kPostalCard, "P014A1");
    dialog->SetLoginIssuerID(lc.issuer);
    dialog->SetLoginIssuerAccount(lc.account);
    user->click("btnOK")
        .expectAlert(kNotLoginCard, "轉帳交易", appkit::AlertStyle::Informational)
        .answerAlert(1)
        .expectWindow("TransFConfirm")
        .click("btnCancel");
    EXPECT_EQ(run(*dialog), 2);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(dialog->GetInData_Money(), "") << "no card step was prepared";
  }
}

TEST_F(Confirmation, ARefusedWriteKeepsTheDialogOpenAndTheSecondOkWritesOnce) {
  connect(kPostalCard);
  card->inject(Fault::statusWord(0x6581, 1, 0xE2));
  auto dialog = open(kPostalCard, "P014A1");
  user->click("btnOK")
      .expectAlert(kWriteFailed, "", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .expectWindow("TransFConfirm")
      .click("btnOK");
  EXPECT_EQ(run(*dialog), 0);
  ASSERT_EQ(writes().size(), 2u);
  EXPECT_EQ(writesTaken(), 1u);
  EXPECT_EQ(dialog->GetOutData_SNUM(), writes()[1].serial);
}

// While a prompt is up the card hears nothing; once the countdown has ended it hears nothing more either:
// no reconnection, no reading of the login card, no write. The card is still (or again) in the reader
// where it can be, so a card step going on would reach it.
TEST_F(Confirmation, ACountdownRunningOutDuringACardPromptEndsWith9950AndTheCardHearsNothingMore) {
  struct PromptCase {
    const char* name;
    const char* readerType;
    // Runs the customer up to the prompt, calls `atPrompt` there, and lets the countdown end.
    std::function<void(appkit::ScriptedUser&, BenchCard&, std::function<void()> atPrompt)> script;
  };
  const PromptCase cases[] = {
      {"the insert-card prompt", "2",
       [](appkit::ScriptedUser& u, BenchCard& c, std::function<void()> atPrompt) {
         u.run([&c] { c.remove(); })
             .click("btnOK")
             .expectAlert(kInsertCard, "晶片卡連線")
             .run(atPrompt)
             .run([&c] { c.insert(); })
             .wait(10);
       }},
      {"the pull-out dialog, the card pulled out and not put back", "1",
       [](appkit::ScriptedUser& u, BenchCard& c, std::function<void()> atPrompt) {
         u.click("btnOK").expectWindow("CARDINOUTDLG").run(atPrompt).run([&c] { c.remove(); }).wait(10);
       }},
      {"the pull-out dialog, the card never pulled out", "1",
       [](appkit::ScriptedUser& u, BenchCard&, std::function<void()> atPrompt) {
         u.click("btnOK").expectWindow("CARDINOUTDLG").run(atPrompt).wait(10);
       }},
  };
  for (const PromptCase& pc : cases) {
    SCOPED_TRACE(pc.name);
    connect(kPostalCard);
    auto dialog = open(kPostalCard, "P014A1", pc.readerType);
    dialog->SetCounter(3);
    std::vector<Bytes> heardAtPrompt;
    pc.script(*user, *card, [&] { heardAtPrompt = card->apduCommands(); });
    EXPECT_EQ(run(*dialog), 9950);
    // Nothing more after the end: no message of a failed prompt, no card command.
    EXPECT_TRUE(user->finished());
    EXPECT_TRUE(user->failures().empty());
    EXPECT_EQ(hexOf(card->apduCommands()), hexOf(heardAtPrompt));
    EXPECT_TRUE(writes().empty());
  }
}

TEST_F(Confirmation, ReaderTypeOneHasTheCardPulledOutAndPutBackBeforeTheWrite) {
  connect(kPostalCard);
  auto dialog = open(kPostalCard, "P014A1", "1");
  user->click("btnOK")
      .expectWindow("CARDINOUTDLG")
      .wait(1.5)
      .run([this] { card->remove(); })
      .wait(1)
      .run([this] { card->insert(); })
      .wait(3);
  EXPECT_EQ(run(*dialog), 0);
  EXPECT_EQ(writesTaken(), 1u);
}

TEST_F(Confirmation, ACardThatDoesNotReconnectAfterItWasPutBackEndsWithTwoAndNoWrite) {
  connect(kPostalCard);
  auto dialog = open(kPostalCard, "P014A1", "1");
  user->click("btnOK")
      .expectWindow("CARDINOUTDLG")
      .wait(1.5)
      .run([this] { card->remove(); })
      .wait(1)
      // Back in, but it drops off the reader when the application is selected again.
      .run([this] {
        card->insert();
        card->inject(Fault::drop(1, 0xA4));
      })
      .wait(3)
      .expectAlert("請檢查晶片卡是否已依正確方向插入讀卡機!", "晶片卡連線")
      .answerAlert(1)
      .expectAlert("連線晶片卡失敗，請重新操作", "", appkit::AlertStyle::Informational)
      .answerAlert(1);
  EXPECT_EQ(run(*dialog), 2);
  EXPECT_TRUE(writes().empty());
  EXPECT_TRUE(user->finished());
}

TEST_F(Confirmation, ACardNotPulledOutInTimeKeepsTheDialogOpen) {
  connect(kPostalCard);
  auto dialog = open(kPostalCard, "P014A1", "1");
  user->click("btnOK")
      .expectWindow("CARDINOUTDLG")
      .wait(61)
      .expectAlert("您未依指示抽拔晶片卡，請按下畫面之確認鍵，依指示重新操作", "")
      .answerAlert(1)
      .expectWindow("TransFConfirm")
      .click("btnCancel");
  EXPECT_EQ(run(*dialog), 2);
  EXPECT_TRUE(writes().empty());
}

TEST_F(Confirmation, TheReaderNoteIsHiddenForReaderTypeOneAndRedForEveryOther) {
  struct NoteCase {
    const char* readerType;
    bool hidden;
  };
  for (NoteCase nc : {NoteCase{"1", true}, NoteCase{"2", false}, NoteCase{"", false}, NoteCase{"11", false}}) {
    SCOPED_TRACE(nc.readerType);
    useCard(kPostalCard);
    auto dialog = open(kPostalCard, "P014A1", nc.readerType);
    EXPECT_EQ(dialog->ReadType2Text->isHidden(), nc.hidden);
    if (!nc.hidden) EXPECT_EQ(dialog->ReadType2Text->textColor(), graphics::Color::redColor());
    user->click("btnCancel");
    EXPECT_EQ(run(*dialog), 2);
  }
}

// The three boxes as the customer sees them: each on (red frame) and drawn with its value.
TEST_F(Confirmation, PictureShowsTheThreeBoxesDrawn) {
  connect(kPostalCard);
  auto dialog = open(kPostalCard, "P014A1");
  const std::string png = RVP_PICTURE_DIR "/TransFConfirm.png";
  user->savePng(png)
      .inspect([&](appkit::Window& window) {
        std::shared_ptr<graphics::Image> image = window.renderImage();
        const double titleBar = image->size().height - window.contentSize().height;
        for (CaptchaButton* box : {&*dialog->cbOutAccount, &*dialog->cbInAccount, &*dialog->cbAmount}) {
          SCOPED_TRACE(box->identifier());
          EXPECT_EQ(box->state(), 1);
          const appkit::Rect f = box->frame();
          auto pixel = [&](double x, double y) {
            return image->pixelAt(static_cast<int>(f.minX() + x), static_cast<int>(f.minY() + titleBar + y)) & 0xFFFFFF;
          };
          EXPECT_EQ(pixel(0.5, f.height() / 2), 0xFF0000u) << "red frame of a box that is on";
          // Ink inside the frame: the value's glyphs (and the noise among them) on the white ground.
          int ink = 0;
          for (double x = 4; x < f.width() - 4; x += 1)
            for (double y = 4; y < f.height() - 4; y += 1) ink += pixel(x, y) != 0xFFFFFFu ? 1 : 0;
          EXPECT_GT(ink, 40);
        }
      })
      .click("btnCancel");
  EXPECT_EQ(run(*dialog), 2);
  EXPECT_EQ(dialog->cbOutAccount->displayedText(), "700/" + std::string(kPostalCard.mainAccount));
  EXPECT_EQ(dialog->cbAmount->displayedText(), "123       ");
}

}  // namespace
}  // namespace txbench
