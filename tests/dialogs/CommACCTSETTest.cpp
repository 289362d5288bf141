// The account book's list dialog under a scripted user: add within the limit, modify, delete, the
// duplicate-comment check, one countdown shared with the entry dialog, OK writing the book as XML.
#include <optional>

#include "AccountBookDialogFixture.h"
#include "CommACCTSET.h"
#include "appkit/Clock.h"

namespace bookdialogs {
namespace {

const char* const kDuplicate = "備註/別名欄位資料重複！";
const char* const kSelectOne = "請選擇一個項目";
const char* const kDeleteQuestion = "是否確定刪除以上勾選１筆資料";

const std::vector<std::string> kBook = {"7000001234567\nMom\nnull", "0081234567890\nnull\nnull",
                                        "0129876\nDad\na@b.example", "0045555\n\nc@d.example"};

class ListDialog : public WithScriptedUser<> {
 protected:
  std::unique_ptr<CommACCTSET> run(const std::vector<std::string>& book, std::optional<int> limit,
                                   const std::vector<std::string>& records = {}) {
    auto list = std::make_unique<CommACCTSET>();
    list->initWithWindowNibName("CommACCTSET");
    EXPECT_FALSE(list->isWindowLoaded());  // it loads only when its owner asks, after the setters
    list->SetflagBankDiff(records.empty() ? 0 : 1);
    if (!records.empty()) list->SetBankDiffData(records);
    list->SetCommACCT(book);
    if (limit) list->SetCommACCT_count_limit(*limit);
    list->SetBankIDList(BankIDtxtList);
    appkit::app().runModalForWindow(list->window());
    EXPECT_TRUE(list->wiringProblems().empty());
    return list;
  }

  // Adds an entry in the entry dialog the list opens.
  void addEntry(const std::string& bank, const std::string& account, const std::string& comment) {
    user->expectWindow("CommACCTSET")
        .click("btnADD")
        .expectWindow("CommACCTMDFY")
        .chooseItem("cmbBankID", bankItem(bank));
    user->click("cbInAccount").pressDigits(account).focus("edtComment").type(comment).click("btnOK");
    user->expectAlert(kAddQuestion, "").answerAlert(1);
  }
};

TEST_F(ListDialog, AddIsRefusedAtTheLimitWithoutOpeningTheEntryDialog) {
  struct Limit {
    std::size_t entries;
    std::optional<int> limit;
    const char* message;
  };
  for (Limit l : {Limit{4, 4, "已達系統允許資料筆數值(最大筆數為:04)"},
                  Limit{0, std::nullopt, "已達系統允許資料筆數值(最大筆數為:00)"},
                  Limit{4, 3, "已達系統允許資料筆數值(最大筆數為:03)"}}) {
    SCOPED_TRACE(l.message);
    const std::vector<std::string> book(kBook.begin(), kBook.begin() + l.entries);
    user->click("btnADD")
        .expectAlert(l.message, "", appkit::AlertStyle::Informational)
        .answerAlert(1)
        .expectWindow("CommACCTSET")
        .click("btnCANCEL");
    auto list = run(book, l.limit);
    EXPECT_EQ(list->GetReturnCode(), 2);
    EXPECT_EQ(list->entries(), book);
  }
}

TEST_F(ListDialog, AnEntryAddedWithinTheLimitEndsUpInTheBook) {
  addEntry("700", "12345678", "Sis");
  user->expectWindow("CommACCTSET")
      .inspect([](appkit::Window& w) {
        auto* table = dynamic_cast<appkit::TableView*>(w.viewWithIdentifier("mCommonAccount"));
        ASSERT_EQ(table->numberOfRows(), 5);
        EXPECT_EQ(table->cellText(4, "BankID"), "700");
        EXPECT_EQ(table->cellText(4, "InAccount"), "12345678");
        EXPECT_EQ(table->cellText(4, "Comment"), "Sis");
        EXPECT_EQ(table->cellText(4, "Email"), "");
        EXPECT_EQ(table->cellText(1, "Comment"), "");  // "null" is shown as an empty field
      })
      .click("btnOK");
  auto list = run(kBook, 5);
  EXPECT_EQ(list->GetReturnCode(), 0);
  ASSERT_EQ(list->entries().size(), 5u);
  EXPECT_EQ(list->entries()[4], "70012345678\nSis\nnull");
  EXPECT_EQ(list->GetxmlCommACCT(),
            "<Vennoral><rec><bank>700</bank><acc>0001234567</acc><comment>Mom</comment><email></email></rec>"
            "<rec><bank>008</bank><acc>1234567890</acc><comment></comment><email></email></rec>"
            "<rec><bank>012</bank><acc>9876</acc><comment>Dad</comment><email>a@b.example</email></rec>"
            "<rec><bank>004</bank><acc>5555</acc><email>c@d.example</email></rec>"
            "<rec><bank>700</bank><acc>12345678</acc><comment>Sis</comment><email></email></rec></Vennoral>");
}

TEST_F(ListDialog, ACommentAnotherEntryUsesIsRefusedExactly) {
  addEntry("008", "1111", "Dad");
  user->expectAlert(kDuplicate, "", appkit::AlertStyle::Informational).answerAlert(1);
  addEntry("008", "2222", "dad");  // letter case makes it another comment
  user->expectWindow("CommACCTSET").click("btnOK");
  auto list = run(kBook, 10);
  ASSERT_EQ(list->entries().size(), 5u);
  EXPECT_EQ(list->entries()[4], "0082222\ndad\nnull");
}

TEST_F(ListDialog, ModifyOpensTheEntryWithItsOwnBankAndRefusesAnotherEntrysComment) {
  const std::vector<std::string> book = {"7000001234567\nMom\nnull", "0129876\nDad\na@b.example"};
  user->selectRow("mCommonAccount", 1)
      .click("btnMDFY")
      .expectWindow("CommACCTMDFY")
      .inspect([](appkit::Window& w) {
        auto* combo = dynamic_cast<appkit::ComboBox*>(w.viewWithIdentifier("cmbBankID"));
        EXPECT_EQ(combo->objectValueOfSelectedItem(), "012新名字銀行" + std::string(60, ' '));
        EXPECT_EQ(displayOf(w, "cbInAccount"), "9876            ");
      })
      .expectText("edtComment", "Dad")
      .expectText("edtEmail", "a@b.example");
  eraseField(*user, "edtComment", 3);
  user->type("Mom").click("btnOK").expectAlert(kModifyQuestion, "").answerAlert(1);
  user->expectAlert(kDuplicate, "").answerAlert(1).expectWindow("CommACCTSET").click("btnOK");
  auto list = run(book, 5, {"012U新名字銀行"});
  EXPECT_EQ(list->entries(), book);
}

TEST_F(ListDialog, ModifyingWithoutChangingTheCommentNeverReportsADuplicate) {
  const std::vector<std::string> book = {"7000001234567\nMom\nnull", "0129876\nMom\na@b.example"};
  user->selectRow("mCommonAccount", 1).click("btnMDFY").expectWindow("CommACCTMDFY");
  eraseField(*user, "edtEmail", 11);
  user->type("x@y.example").click("btnOK").expectAlert(kModifyQuestion, "").answerAlert(1);
  user->expectWindow("CommACCTSET").click("btnOK");
  auto list = run(book, 5);
  EXPECT_EQ(list->GetReturnCode(), 0);
  EXPECT_EQ(list->entries()[1], "0129876\nMom\nx@y.example");
  EXPECT_EQ(list->entries()[0], book[0]);
}

TEST_F(ListDialog, DeleteAsksFirstAndRewritesTheBook) {
  user->selectRow("mCommonAccount", 0)
      .click("btnDEL")
      .expectAlert(kDeleteQuestion, "")
      .answerAlert(2)
      .inspect([](appkit::Window& w) {
        EXPECT_EQ(dynamic_cast<appkit::TableView*>(w.viewWithIdentifier("mCommonAccount"))->numberOfRows(), 4);
      })
      .click("btnDEL")
      .expectAlert(kDeleteQuestion, "")
      .answerAlert(1)
      .click("btnOK");
  auto list = run(kBook, 5);
  // The entry with an empty comment comes back with "null" there and keeps its e-mail field.
  EXPECT_EQ(list->entries(), (std::vector<std::string>{"0081234567890\nnull\nnull", "0129876\nDad\na@b.example",
                                                       "0045555\nnull\nc@d.example"}));
  EXPECT_NE(list->GetxmlCommACCT().find("<rec><bank>004</bank><acc>5555</acc><comment></comment>"
                                        "<email>c@d.example</email></rec></Vennoral>"),
            std::string::npos);
}

TEST_F(ListDialog, ModifyAndDeleteNeedOneSelectedRow) {
  for (const char* button : {"btnMDFY", "btnDEL"}) {
    SCOPED_TRACE(button);
    user->click(button)
        .expectAlert(kSelectOne, "", appkit::AlertStyle::Informational)
        .answerAlert(1)
        .expectWindow("CommACCTSET")
        .click("btnOK");
    auto list = run(kBook, 5);
    EXPECT_EQ(list->entries(), kBook);
  }
}

TEST_F(ListDialog, CellsAreNotEditedInPlace) {
  user->editCell("mCommonAccount", 0, "Comment", "select * from accounts").click("btnOK");
  auto list = run(kBook, 5);
  EXPECT_EQ(list->entries(), kBook);
  EXPECT_EQ(list->GetxmlCommACCT().find("select"), std::string::npos);
}

TEST_F(ListDialog, CancelAndTheCloseBoxWriteNothing) {
  for (bool closeBox : {false, true}) {
    SCOPED_TRACE(closeBox);
    if (closeBox)
      user->closeWindow();
    else
      user->click("btnCANCEL");
    auto list = run(kBook, 5);
    EXPECT_EQ(list->GetReturnCode(), 2);
    EXPECT_EQ(list->GetxmlCommACCT(), "");
  }
}

TEST_F(ListDialog, TheEntryDialogCountsOnFromTheListsSeconds) {
  user->wait(100)
      .expectText("tfTimer", "500")
      .click("btnADD")
      .expectWindow("CommACCTMDFY")
      .wait(1)
      .expectText("tfTimer", "499")
      .wait(9)
      .click("btnCancel")
      .expectWindow("CommACCTSET")
      .wait(1)
      .expectText("tfTimer", "489")
      .click("btnCANCEL");
  auto list = run(kBook, 5);
  EXPECT_EQ(list->GetReturnCode(), 2);
}

TEST_F(ListDialog, AnEntryDialogThatRunsOutOfTimeEndsTheListAtOnce) {
  user->wait(590).click("btnADD").expectWindow("CommACCTMDFY").wait(30);
  auto list = run(kBook, 5);
  EXPECT_EQ(list->GetReturnCode(), 9950);
  EXPECT_DOUBLE_EQ(appkit::Clock::now(), 600.0);
  EXPECT_EQ(list->entries(), kBook);
}

TEST_F(ListDialog, TheListRunsOutOfTimeAfterSixHundredSeconds) {
  user->wait(599).expectText("tfTimer", "1").wait(5);
  auto list = run(kBook, 5);
  EXPECT_EQ(list->GetReturnCode(), 9950);
  EXPECT_DOUBLE_EQ(appkit::Clock::now(), 600.0);
}

TEST_F(ListDialog, TimeRunningOutUnderTheDeleteQuestionDeletesNothing) {
  user->wait(595).selectRow("mCommonAccount", 0).click("btnDEL").expectAlert(kDeleteQuestion, "").wait(10);
  auto list = run(kBook, 5);
  EXPECT_EQ(list->GetReturnCode(), 9950);
  EXPECT_EQ(list->entries(), kBook);
  EXPECT_EQ(list->GetxmlCommACCT(), "");
}

TEST_F(ListDialog, TheListRendersItsEntries) {
  int filled = 0, empty = 0;
  const appkit::Rect rows = appkit::Rect::make(22, 80, 596, 100);
  user->inspect([&](appkit::Window& w) { filled = inkIn(w, rows); })
      .savePng(picture("CommACCTSET.png"))
      .click("btnCANCEL");
  run(kBook, 5);
  user->inspect([&](appkit::Window& w) { empty = inkIn(w, rows); }).click("btnCANCEL");
  run({}, 5);
  EXPECT_GT(filled, empty + 200);
}

}  // namespace
}  // namespace bookdialogs
