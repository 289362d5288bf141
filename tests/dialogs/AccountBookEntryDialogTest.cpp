// The account-book entry dialogs under a scripted user: the bank list with the page's change records,
// the account on the scrambled keypad, and the OK checks in their order with their messages.
#include <cstdlib>
#include <functional>
#include <memory>

#include "AccountBookDialogFixture.h"
#include "CommACCTADD.h"
#include "CommACCTMDFY.h"
#include "appkit/WindowLevel.h"

namespace bookdialogs {
namespace {

const char* const kNoBank = "請輸入轉入銀行代號";
const char* const kNoAccount = "請輸入轉入帳號";
const char* const kWrongPostalAccount = "您輸入的帳號資料錯誤，請查明後再做！";
const char* const kCommentTooLong = "轉入備註長度超過10個中文字或英文字母，請重新輸入";
const char* const kNoComment = "請輸入備註/別名";
const char* const kCommentRefused =
    "「備註/別名」欄位：\n一、須正體中文或英文字母。\n二、不得含有;+--=等特殊符號，或程式語法";
const char* const kEmailMalformed = "Email格式錯誤，請重新輸入";
const char* const kEmailRefused = "「Email」欄位不得含有:+--=等特殊符號，或程式語法";
const char* const kAccountFull = "轉入帳號長度不得大於16位";

enum class Mode { Proposed, Modified };

struct Entry {
  std::string bank, account, comment, email;
};

// Fills a dialog as its owner does: proposed by the page, or an entry of the list being modified.
void prefill(AccountBookEntryDialog& d, Mode mode, const Entry& e) {
  d.SetnResultPageToAdd(mode == Mode::Proposed ? 1 : 0);
  d.SetnToAdd(0);
  d.SetnSelectedBankID(std::atoi(e.bank.c_str()));
  d.SetBankID(e.bank);
  d.SetIn_Acct(e.account);
  d.SetcsComment(e.comment);
  d.SetcsEmail(e.email);
}

// The list's add: everything empty.
void emptyForAdding(AccountBookEntryDialog& d) {
  d.SetnSelectedBankID(-1);
  d.SetnToAdd(1);
  d.SetIn_Acct("");
  d.SetcsComment("");
  d.SetcsEmail("");
}

class EntryDialog : public WithScriptedUser<> {
 protected:
  template <class Dialog = CommACCTMDFY>
  std::unique_ptr<Dialog> run(const char* nib, const std::function<void(Dialog&)>& prepare, int seconds = 600) {
    auto dialog = std::make_unique<Dialog>();
    dialog->initWithWindowNibName(nib);
    EXPECT_TRUE(dialog->wiringProblems().empty());
    dialog->SetBankIDList(BankIDtxtList);
    prepare(*dialog);
    dialog->SetCounter(seconds);
    appkit::app().runModalForWindow(dialog->window());
    return dialog;
  }
  std::unique_ptr<CommACCTMDFY> run(const std::function<void(CommACCTMDFY&)>& prepare, int seconds = 600) {
    return run<CommACCTMDFY>("CommACCTMDFY", prepare, seconds);
  }
};

struct OkCase {
  const char* name;
  Mode mode;
  Entry entry;
  const char* refusal;          // nullptr: accepted
  std::string acceptedComment;  // the comment the owner reads after OK
};

const OkCase kOkCases[] = {
    {"PostalEightDigits", Mode::Proposed, {"700", "12345678", "Mom", ""}, nullptr, "Mom"},
    {"PostalWrongCheckDigit", Mode::Proposed, {"700", "12345670", "Mom", ""}, kWrongPostalAccount, ""},
    {"PostalTenDigits", Mode::Proposed, {"700", "1234567890", "Mom", ""}, kWrongPostalAccount, ""},
    {"PostalFourteenDigits", Mode::Modified, {"700", "12345696000000", "Mom", ""}, nullptr, "Mom"},
    {"PostalGiroTransferForm", Mode::Proposed, {"700", "700001012345678", "Mom", ""}, nullptr, "Mom"},
    {"OtherBankTenDigits", Mode::Proposed, {"008", "1234567890", "Mom", ""}, nullptr, "Mom"},
    {"BankNotInTheList", Mode::Proposed, {"999", "1234", "Mom", ""}, kNoBank, ""},
    {"NoAccount", Mode::Proposed, {"008", "", "Mom", ""}, kNoAccount, ""},
    {"AccountWithANonDigitArrivesEmpty", Mode::Proposed, {"008", "12a4", "Mom", ""}, kNoAccount, ""},
    {"AccountOfSeventeenDigitsArrivesEmpty", Mode::Proposed, {"008", "12345678901234567", "Mom", ""}, kNoAccount, ""},
    {"TenChineseCharacters",
     Mode::Proposed,
     {"008", "1234", "一二三四五六七八九十", ""},
     nullptr,
     "一二三四五六七八九十"},
    {"ElevenCharacters", Mode::Proposed, {"008", "1234", "一二三四五六七八九十一", ""}, kCommentTooLong, ""},
    {"BlanksCountBeforeTrimming", Mode::Proposed, {"008", "1234", "  一二三四五六七八九", ""}, kCommentTooLong, ""},
    {"BlanksAroundAreRemoved", Mode::Proposed, {"008", "1234", "  Mom  ", ""}, nullptr, "Mom"},
    {"OnlyBlanksStayAndPass", Mode::Proposed, {"008", "1234", "   ", ""}, nullptr, "   "},
    {"EmptyComment", Mode::Proposed, {"008", "1234", "", ""}, kNoComment, ""},
    {"KeywordInAProposedComment", Mode::Proposed, {"008", "1234", "selection", ""}, kCommentRefused, ""},
    {"KeywordInAModifiedComment", Mode::Modified, {"008", "1234", "selection", ""}, nullptr, "selection"},
    {"PeriodInAProposedComment", Mode::Proposed, {"008", "1234", "a.b", ""}, kCommentRefused, ""},
    {"PeriodInAModifiedComment", Mode::Modified, {"008", "1234", "a.b", ""}, nullptr, "a.b"},
    {"TwoAddresses", Mode::Proposed, {"008", "1234", "Mom", "a@b.example;c@d.example"}, nullptr, "Mom"},
    {"DomainWithoutAPeriod", Mode::Proposed, {"008", "1234", "Mom", "a@b"}, kEmailMalformed, ""},
    {"TwoPeriodsInTheDomain", Mode::Proposed, {"008", "1234", "Mom", "a@b..example"}, kEmailMalformed, ""},
    {"DoubledSemicolonIsAnEmptyAddress",
     Mode::Proposed,
     {"008", "1234", "Mom", "a@b.example;;c@d.example"},
     kEmailMalformed,
     ""},
    {"AddressWithAPlus", Mode::Proposed, {"008", "1234", "Mom", "a+b@c.example"}, kEmailRefused, ""},
    {"SecondAddressWithAKeyword",
     Mode::Proposed,
     {"008", "1234", "Mom", "a@b.example;drop@c.example"},
     kEmailRefused,
     ""},
};

TEST_F(EntryDialog, OkChecksTheEntryInItsOrder) {
  for (const OkCase& c : kOkCases) {
    SCOPED_TRACE(c.name);
    appkit::app().resetForTesting();
    user->click("btnOK").expectAlert(c.mode == Mode::Proposed ? kAddQuestion : kModifyQuestion, "").answerAlert(1);
    if (c.refusal) {
      user->expectAlert(c.refusal, "", appkit::AlertStyle::Informational).answerAlert(1);
      if (std::string(c.refusal) == kWrongPostalAccount) {
        // The account is emptied and its display made active for typing it again.
        user->inspect([](appkit::Window& w) {
          auto* shown = dynamic_cast<CaptchaButton*>(w.viewWithIdentifier("cbInAccount"));
          ASSERT_NE(shown, nullptr);
          EXPECT_EQ(shown->state(), 1);
          EXPECT_EQ(shown->displayedText(), std::string(16, ' '));
        });
      }
      if (std::string(c.refusal) == kCommentTooLong) user->expectText("edtComment", "");
      user->click("btnCancel");
    }
    auto dialog = run([&](CommACCTMDFY& d) { prefill(d, c.mode, c.entry); });
    ASSERT_TRUE(user->finished());
    if (c.refusal) {
      EXPECT_EQ(dialog->GetReturnCode(), 2);
      continue;
    }
    EXPECT_EQ(dialog->GetReturnCode(), 0);
    EXPECT_EQ(dialog->GetBankID(), c.entry.bank);
    EXPECT_EQ(dialog->GetIn_Acct(), c.entry.account);
    EXPECT_EQ(dialog->GetcsComment(), c.acceptedComment);
    EXPECT_EQ(dialog->GetcsEmail(), c.entry.email);
  }
}

TEST_F(EntryDialog, DecliningTheQuestionLeavesTheDialogOpenWithoutChecking) {
  user->click("btnOK").expectAlert(kModifyQuestion, "").answerAlert(2).wait(5).click("btnCancel");
  auto dialog = run([](CommACCTMDFY& d) { prefill(d, Mode::Modified, {"008", "", "", ""}); });
  EXPECT_EQ(dialog->GetReturnCode(), 2);
}

TEST_F(EntryDialog, AnEntryTypedFromEmpty) {
  user->chooseItem("cmbBankID", bankItem("008")).click("cbInAccount");
  user->pressDigits("1234567890");
  user->inspect([](appkit::Window& w) { EXPECT_EQ(displayOf(w, "cbInAccount"), "1234567890      "); })
      .focus("edtComment")
      .type("媽媽")
      .focus("edtEmail")
      .type("a@b.example")
      .click("btnOK")
      .expectAlert(kAddQuestion, "")
      .answerAlert(1);
  auto dialog = run(emptyForAdding);
  EXPECT_EQ(dialog->GetReturnCode(), 0);
  EXPECT_EQ(dialog->GetBankID(), "008");
  EXPECT_EQ(dialog->GetIn_Acct(), "1234567890");
  EXPECT_EQ(dialog->GetcsComment(), "媽媽");
  EXPECT_EQ(dialog->GetcsEmail(), "a@b.example");
}

TEST_F(EntryDialog, TheSeventeenthDigitIsRefusedAndTheDisplayKeepsSixteen) {
  user->chooseItem("cmbBankID", bankItem("008")).click("cbInAccount");
  user->pressDigits("12345678901234567");
  user->expectAlert(kAccountFull, "", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .inspect([](appkit::Window& w) { EXPECT_EQ(displayOf(w, "cbInAccount"), "1234567890123456"); })
      .click("btnCancel");
  auto dialog = run(emptyForAdding);
  EXPECT_EQ(dialog->GetIn_Acct(), "1234567890123456");
}

TEST_F(EntryDialog, ChoosingABankStopsTheKeypadUntilTheAccountIsClickedAgain) {
  user->chooseItem("cmbBankID", bankItem("008")).click("cbInAccount");
  user->pressDigits("12");
  user->chooseItem("cmbBankID", bankItem("012"));
  user->pressDigits("3");
  user->inspect([](appkit::Window& w) { EXPECT_EQ(displayOf(w, "cbInAccount"), "12              "); });
  user->click("cbInAccount");
  user->pressDigits("4");
  user->click("btnCancel");
  auto dialog = run(emptyForAdding);
  EXPECT_EQ(dialog->GetIn_Acct(), "124");
  EXPECT_EQ(dialog->GetBankID(), "012");
}

// After a refused postal account the display takes digits at once, even when choosing a bank had
// stopped it.
TEST_F(EntryDialog, ARefusedPostalAccountIsTypedAgainAtOnce) {
  user->chooseItem("cmbBankID", bankItem("700")).click("cbInAccount");
  user->pressDigits("1234567890");
  user->chooseItem("cmbBankID", bankItem("008")).chooseItem("cmbBankID", bankItem("700"));
  user->focus("edtComment").type("Mom").click("btnOK").expectAlert(kAddQuestion, "").answerAlert(1);
  user->expectAlert(kWrongPostalAccount, "").answerAlert(1);
  user->pressDigits("12345678").click("btnOK").expectAlert(kAddQuestion, "").answerAlert(1);
  auto dialog = run(emptyForAdding);
  EXPECT_EQ(dialog->GetReturnCode(), 0);
  EXPECT_EQ(dialog->GetBankID(), "700");
  EXPECT_EQ(dialog->GetIn_Acct(), "12345678");
}

TEST_F(EntryDialog, TheBankListTakesTheChangeRecordsInOrder) {
  std::vector<std::string> plain, changed;
  user->inspect([&](appkit::Window& w) {
        plain = dynamic_cast<appkit::ComboBox*>(w.viewWithIdentifier("cmbBankID"))->items();
      })
      .click("btnCancel");
  run([](CommACCTMDFY&) {});
  ASSERT_EQ(plain.size(), 113u);
  EXPECT_EQ(plain.front(), placeholderItem());
  EXPECT_EQ(plain[1], bankItem("004"));
  EXPECT_EQ(plain.back(), bankItem("997"));

  user->inspect([&](appkit::Window& w) {
        changed = dynamic_cast<appkit::ComboBox*>(w.viewWithIdentifier("cmbBankID"))->items();
      })
      .click("btnCancel");
  run([](CommACCTMDFY& d) {
    d.SetflagBankDiff(1);
    // "選D": a code found only in the placeholder, which no record may change.
    d.SetBankDiffData({"012U新名字銀行", "999A新開銀行", "050D", "01", "013X其他", "選D"});
  });
  std::vector<std::string> expected;
  for (const std::string& item : plain) {
    if (item.compare(0, 3, "050") == 0) continue;
    expected.push_back(item.compare(0, 3, "012") == 0 ? "012新名字銀行" + std::string(60, ' ') : item);
  }
  expected.push_back("999新開銀行" + std::string(60, ' '));
  EXPECT_EQ(changed, expected);
}

TEST_F(EntryDialog, APrefilledEntrySelectsItsBankAfterTheRecordsAreApplied) {
  user->inspect([](appkit::Window& w) {
        auto* combo = dynamic_cast<appkit::ComboBox*>(w.viewWithIdentifier("cmbBankID"));
        EXPECT_EQ(combo->objectValueOfSelectedItem(), "012新名字銀行" + std::string(60, ' '));
      })
      .click("btnCancel");
  run([](CommACCTMDFY& d) {
    d.SetflagBankDiff(1);
    d.SetBankDiffData({"012U新名字銀行"});
    prefill(d, Mode::Modified, {"012", "1234", "Mom", ""});
  });
}

TEST_F(EntryDialog, TheOwnersSecondsRunOutWith9950) {
  user->expectText("tfTimer", "").wait(1).expectText("tfTimer", "2").wait(10);
  auto dialog = run([](CommACCTMDFY& d) { prefill(d, Mode::Modified, {"008", "1", "Mom", ""}); }, 3);
  EXPECT_EQ(dialog->GetReturnCode(), 9950);
  EXPECT_DOUBLE_EQ(appkit::Clock::now(), 3.0);
}

TEST_F(EntryDialog, TimeRunningOutUnderTheQuestionEndsTheDialogWithoutAccepting) {
  user->click("btnOK").expectAlert(kModifyQuestion, "").wait(10);
  auto dialog = run([](CommACCTMDFY& d) { prefill(d, Mode::Modified, {"008", "1", "Mom", ""}); }, 5);
  EXPECT_EQ(dialog->GetReturnCode(), 9950);
}

TEST_F(EntryDialog, OnlyTheCommentAndEmailFieldsTakeTheKeyboard) {
  user->pressKey(appkit::KeyEvent::character("5"))
      .expectAlert(DialogFrame::kKeyboardRefusal, "", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .focus("edtEmail")
      .type("a@b.example")
      .click("btnOK")
      .expectAlert(kModifyQuestion, "")
      .answerAlert(1);
  auto dialog = run([](CommACCTMDFY& d) { prefill(d, Mode::Modified, {"008", "1", "Mom", ""}); });
  EXPECT_EQ(dialog->GetReturnCode(), 0);
  EXPECT_EQ(dialog->GetIn_Acct(), "1");
  EXPECT_EQ(dialog->GetcsEmail(), "a@b.example");
}

TEST_F(EntryDialog, TheProposedEntryIsTopmostAndTheListsEntryDialogIsNot) {
  const int topmost = appkit::windowLevelForKey(appkit::kMaximumWindowLevelKey);
  int proposedLevel = 0, childLevel = 0;
  user->inspect([&](appkit::Window& w) { proposedLevel = w.level(); }).click("btnCancel");
  run<CommACCTADD>("CommACCTADD", [](CommACCTADD&) {});
  user->inspect([&](appkit::Window& w) { childLevel = w.level(); }).click("btnCancel");
  run(emptyForAdding);
  EXPECT_EQ(proposedLevel, topmost);
  EXPECT_NE(childLevel, topmost);
}

TEST_F(EntryDialog, TheProposedEntryDialogRendersItsValues) {
  const std::string png = picture("CommACCTADD.png");
  int accountInk = 0, commentInk = 0, emptyAccountInk = 0;
  user->inspect([&](appkit::Window& w) {
        accountInk = inkIn(w, w.viewWithIdentifier("cbInAccount")->frame());
        commentInk = inkIn(w, w.viewWithIdentifier("edtComment")->frame());
      })
      .savePng(png)
      .click("btnCancel");
  run<CommACCTADD>("CommACCTADD", [](CommACCTADD& d) {
    prefill(d, Mode::Proposed, {"700", "12345678", "媽媽", "mom@home.example"});
  });
  user->inspect([&](appkit::Window& w) { emptyAccountInk = inkIn(w, w.viewWithIdentifier("cbInAccount")->frame()); })
      .savePng(picture("CommACCTMDFY.png"))
      .click("btnCancel");
  run(emptyForAdding);
  EXPECT_GT(accountInk, emptyAccountInk + 100);  // eight digits drawn, not blanks
  EXPECT_GT(commentInk, 50);
}

}  // namespace
}  // namespace bookdialogs
