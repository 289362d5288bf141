// The account-book services as the page calls them: the enciphered blocks opened (codes for blocks
// that do not open), the dialogs run under a scripted user, and the sealed book the bank opens.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "AccountBookEntryDialog.h"
#include "ZododovuRavuVODCtrl.h"
#include "appkit/Clock.h"
#include "crypto/ParseEncParam.h"
#include "crypto/Setting.h"
#include "dialogfixture/ScriptedUserFixture.h"
#include "tools/banktool/banktool.h"

namespace {

using Ctrl = ZododovuRavuVODCtrl;
using Service = long (Ctrl::*)();

const unsigned char kIv[8] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
// Hexadecimal that is no whole cipher block: it opens to nothing.
const char* const kUnreadable = "0123456789ABCDEF01";

const char* const kAddQuestion = "是否確定新增此筆常用轉入帳號資料";

struct Blocks {
  std::optional<std::string> d0, d9, d10;
};

std::string block(const std::optional<std::string>& text) {
  if (!text) return std::string();
  return *text == kUnreadable ? *text : banktool::makeParamBlock(*text, kIv);
}

void setBlocks(Ctrl& c, const Blocks& b) {
  c.Setbh_d5(banktool::makeIvBlock(kIv).c_str());
  c.Setbh_d0(block(b.d0).c_str());
  c.Setbh_d9(block(b.d9).c_str());
  c.Setbh_d10(block(b.d10).c_str());
}

std::string bankItem(const std::string& code) {
  std::vector<std::string> banks;
  CParseEncParam().SplitString_1(BankIDtxtList, '#', banks);
  for (const std::string& bank : banks)
    if (bank.compare(0, 3, code) == 0) return bank + std::string(AccountBookEntryDialog::kItemPadding, ' ');
  return std::string();
}

class AccountBookService : public WithScriptedUser<> {
 protected:
  // Runs a service on a fresh page state, with an earlier request and XML left behind.
  long run(Service service, const Blocks& blocks) {
    ctrl = std::make_unique<Ctrl>();
    setBlocks(*ctrl, blocks);
    ctrl->SetTrnsMsg("an earlier request");
    ctrl->SetXMLStr("<earlier/>");
    return ((*ctrl).*service)();
  }
  // TrnsMsg opens at the bank to exactly XMLStr, which is `xml`.
  void expectSealed(const std::string& xml) {
    EXPECT_EQ(ctrl->GetXMLStr(), xml);
    const banktool::OpenedEnvelope opened = banktool::openEnvelope(ctrl->GetTrnsMsg());
    ASSERT_TRUE(opened.ok) << opened.error;
    EXPECT_TRUE(opened.macOk);
    EXPECT_EQ(opened.text, xml);
  }
  std::unique_ptr<Ctrl> ctrl;
};

TEST_F(AccountBookService, ABlockThatDoesNotOpenGivesItsCodeAndNoDialog) {
  struct Case {
    const char* name;
    Service service;
    Blocks blocks;
    long code;
  };
  const Case cases[] = {
      {"SetChanges", &Ctrl::CommACCT_Set, {kUnreadable, "0081234\nMom\nnull", "5"}, 9810},
      {"SetBook", &Ctrl::CommACCT_Set, {"012U新名字", kUnreadable, "5"}, 9819},
      {"SetLimit", &Ctrl::CommACCT_Set, {std::nullopt, "0081234\nMom\nnull", kUnreadable}, 9820},
      {"AddChanges", &Ctrl::CommACCT_Add, {kUnreadable, "0081234\nMom\nnull", std::nullopt}, 9810},
      {"AddEntry", &Ctrl::CommACCT_Add, {std::nullopt, kUnreadable, std::nullopt}, 9819},
      // The blocks open in their order: the first that does not open names the code.
      {"SetAllThree", &Ctrl::CommACCT_Set, {kUnreadable, kUnreadable, kUnreadable}, 9810},
      {"SetBookAndLimit", &Ctrl::CommACCT_Set, {std::nullopt, kUnreadable, kUnreadable}, 9819},
      {"AddBoth", &Ctrl::CommACCT_Add, {kUnreadable, kUnreadable, std::nullopt}, 9810},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(run(c.service, c.blocks), c.code);  // a dialog would wait for a user with no steps: a failure
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
    EXPECT_EQ(ctrl->GetXMLStr(), "<earlier/>");
  }
}

TEST_F(AccountBookService, CancelGives8990AndTimeRunningOutGives9950WithNothingToSend) {
  struct Case {
    const char* name;
    Service service;
    std::function<void(appkit::ScriptedUser&)> customer;
    long code;
  };
  const Case cases[] = {
      {"SetCancelled", &Ctrl::CommACCT_Set, [](auto& u) { u.expectWindow("CommACCTSET").click("btnCANCEL"); }, 8990},
      {"SetClosed", &Ctrl::CommACCT_Set, [](auto& u) { u.expectWindow("CommACCTSET").closeWindow(); }, 8990},
      {"SetTimedOut", &Ctrl::CommACCT_Set, [](auto& u) { u.expectWindow("CommACCTSET").wait(700); }, 9950},
      {"AddCancelled", &Ctrl::CommACCT_Add, [](auto& u) { u.expectWindow("CommACCTADD").click("btnCancel"); }, 8990},
      {"AddTimedOut", &Ctrl::CommACCT_Add, [](auto& u) { u.expectWindow("CommACCTADD").wait(700); }, 9950},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    appkit::app().resetForTesting();
    c.customer(*user);
    EXPECT_EQ(run(c.service, {std::nullopt, "0081234\nMom\nnull", "5"}), c.code);
    EXPECT_TRUE(user->finished());
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
    EXPECT_EQ(ctrl->GetXMLStr(), "<earlier/>");
    if (c.code == 9950) EXPECT_DOUBLE_EQ(appkit::Clock::now(), 600.0);
  }
}

// The limit is the leading digits of its block, read as a 64-bit number: a limit past the int range or
// past 2^32 lets a book of two entries grow (a 32-bit read would make 2147483648 negative and
// 4294967297 one, and refuse the add); a limit at the book's size, none or no digits refuse it.
TEST_F(AccountBookService, TheLimitIsTheLeadingDigitsOfItsBlockWithoutWrappingAndNoneRefusesEveryAdd) {
  struct Case {
    std::optional<std::string> limit;
    const char* refusal;  // null: the add goes on to the entry dialog
  };
  const Case cases[] = {
      {std::nullopt, "已達系統允許資料筆數值(最大筆數為:00)"},
      {std::string("2 entries"), "已達系統允許資料筆數值(最大筆數為:02)"},
      {std::string("x"), "已達系統允許資料筆數值(最大筆數為:00)"},
      {std::string("3"), nullptr},
      {std::string("2147483648"), nullptr},            // INT_MAX + 1
      {std::string("4294967297"), nullptr},            // 2^32 + 1
      {std::string("4294967298 entries"), nullptr},    // 2^32 + 2
      {std::string("9223372036854775807"), nullptr},   // the largest 64-bit number
      {std::string("99999999999999999999"), nullptr},  // past 64 bits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit.value_or("no limit block"));
    appkit::app().resetForTesting();
    user->click("btnADD");
    if (c.refusal != nullptr)
      user->expectAlert(c.refusal, "").answerAlert(1);
    else
      user->expectWindow("CommACCTMDFY").click("btnCancel");
    user->expectWindow("CommACCTSET").click("btnCANCEL");
    EXPECT_EQ(run(&Ctrl::CommACCT_Set, {std::nullopt, "0081234\nMom\nnull#0125678\nDad\nnull", c.limit}), 8990);
    EXPECT_TRUE(user->finished());
    user->dropPendingSteps();  // a case that went astray leaves nothing to the next
  }
}

TEST_F(AccountBookService, OkSealsTheWholeBookForTheBank) {
  user->expectWindow("CommACCTSET")
      .inspect([](appkit::Window& w) {
        auto* table = dynamic_cast<appkit::TableView*>(w.viewWithIdentifier("mCommonAccount"));
        ASSERT_EQ(table->numberOfRows(), 3);
        EXPECT_EQ(table->cellText(1, "Comment"), "媽媽");
      })
      .click("btnOK");
  ASSERT_EQ(
      run(&Ctrl::CommACCT_Set,
          {"012U新名字銀行", "7000001234567\nMom\nnull#0081234567890\n媽媽\na@b.example#0125678\nnull\nnull", "5"}),
      0);
  expectSealed(
      "<Vennoral><rec><bank>700</bank><acc>0001234567</acc><comment>Mom</comment><email></email></rec>"
      "<rec><bank>008</bank><acc>1234567890</acc><comment>媽媽</comment><email>a@b.example</email></rec>"
      "<rec><bank>012</bank><acc>5678</acc><comment></comment><email></email></rec></Vennoral>");
}

// Every text of the sealed book escapes "&", "<" and ">": the parts of the page's entries, kept as given,
// and a comment the customer typed while modifying an entry (the list skips the comment checks then).
TEST_F(AccountBookService, MarkupInAnyTextOfTheBookIsEscapedInTheSealedXml) {
  struct Case {
    const char* name;
    std::string book;
    std::function<void(appkit::ScriptedUser&)> customer;
    std::string xml;
  };
  const Case cases[] = {
      {"EveryPartFromThePage", "7&<12<3>&\nA&B <Mom>\n<a>&b@x.example",
       [](auto& u) { u.expectWindow("CommACCTSET").click("btnOK"); },
       "<Vennoral><rec><bank>7&amp;&lt;</bank><acc>12&lt;3&gt;&amp;</acc><comment>A&amp;B &lt;Mom&gt;</comment>"
       "<email>&lt;a&gt;&amp;b@x.example</email></rec></Vennoral>"},
      {"CommentTypedWhenModifying", "0081234\nnull\nnull",
       [](auto& u) {
         u.selectRow("mCommonAccount", 0)
             .click("btnMDFY")
             .expectWindow("CommACCTMDFY")
             .focus("edtComment")
             .type("A&B<C>")
             .click("btnOK")
             .expectAlert("是否確定修改此筆常用轉入帳號資料", "")
             .answerAlert(1)
             .expectWindow("CommACCTSET")
             .click("btnOK");
       },
       "<Vennoral><rec><bank>008</bank><acc>1234</acc><comment>A&amp;B&lt;C&gt;</comment><email></email></rec>"
       "</Vennoral>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    appkit::app().resetForTesting();
    c.customer(*user);
    ASSERT_EQ(run(&Ctrl::CommACCT_Set, {std::nullopt, c.book, "5"}), 0);
    EXPECT_TRUE(user->finished());
    expectSealed(c.xml);
  }
}

TEST_F(AccountBookService, AProposedEntryIsCompletedByTheCustomerAndSealedWithItsFourElements) {
  user->expectWindow("CommACCTADD")
      .inspect([](appkit::Window& w) {
        auto* combo = dynamic_cast<appkit::ComboBox*>(w.viewWithIdentifier("cmbBankID"));
        EXPECT_EQ(combo->objectValueOfSelectedItem(), bankItem("008"));
        EXPECT_EQ(dynamic_cast<appkit::Button*>(w.viewWithIdentifier("cbInAccount"))->displayedText(),
                  "1234567890      ");
      })
      .expectText("edtComment", "")  // "null" in any case is an empty field
      .click("btnOK")
      .expectAlert(kAddQuestion, "")
      .answerAlert(1)
      .expectAlert("請輸入備註/別名", "")
      .answerAlert(1)
      .focus("edtComment")
      .type("Mom")
      .click("btnOK")
      .expectAlert(kAddQuestion, "")
      .answerAlert(1);
  ASSERT_EQ(run(&Ctrl::CommACCT_Add, {std::nullopt, "0081234567890\nNULL\nnull#", std::nullopt}), 0);
  expectSealed(
      "<Vennoral><rec><bank>008</bank><acc>1234567890</acc><comment>Mom</comment><email></email></rec>"
      "</Vennoral>");
}

TEST_F(AccountBookService, AProposedAccountWithANonDigitArrivesEmptyForTheCustomerToType) {
  user->expectWindow("CommACCTADD")
      .click("btnOK")
      .expectAlert(kAddQuestion, "")
      .answerAlert(1)
      .expectAlert("請輸入轉入帳號", "")
      .answerAlert(1)
      .click("cbInAccount")
      .pressDigits("55")
      .click("btnOK")
      .expectAlert(kAddQuestion, "")
      .answerAlert(1);
  ASSERT_EQ(run(&Ctrl::CommACCT_Add, {std::nullopt, "0081234X5678\nMom\nmom@home.example", std::nullopt}), 0);
  expectSealed(
      "<Vennoral><rec><bank>008</bank><acc>55</acc><comment>Mom</comment>"
      "<email>mom@home.example</email></rec></Vennoral>");
}

TEST_F(AccountBookService, WithoutAProposedEntryTheCustomerFillsAnEmptyForm) {
  user->expectWindow("CommACCTADD")
      .inspect([](appkit::Window& w) {
        auto* combo = dynamic_cast<appkit::ComboBox*>(w.viewWithIdentifier("cmbBankID"));
        EXPECT_EQ(combo->indexOfSelectedItem(), 0);
        EXPECT_EQ(combo->numberOfItems(), 113);  // the placeholder and the 112 banks
      })
      .chooseItem("cmbBankID", bankItem("700"))
      .click("cbInAccount")
      .pressDigits("12345678")
      .focus("edtComment")
      .type("Sis")
      .click("btnOK")
      .expectAlert(kAddQuestion, "")
      .answerAlert(1);
  ASSERT_EQ(run(&Ctrl::CommACCT_Add, {}), 0);
  expectSealed(
      "<Vennoral><rec><bank>700</bank><acc>12345678</acc><comment>Sis</comment><email></email></rec>"
      "</Vennoral>");
}

}  // namespace
