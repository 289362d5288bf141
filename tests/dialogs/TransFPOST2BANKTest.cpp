// The postal-to-bank form without the card: its lists, the picks from them and its wiring. The OK
// frame, which reaches the card, is tested on the card bench (card/).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TransFPOST2BANK.h"
#include "appkit/WindowLevel.h"
#include "crypto/Setting.h"
#include "dialogfixture/ScriptedUserFixture.h"

namespace {

std::string padded(const std::string& text, std::size_t blanks) { return text + std::string(blanks, ' '); }

class PostToBankForm : public WithScriptedUser<> {
 protected:
  // A form made as the controller makes it, before its modal loop.
  std::unique_ptr<TransFPOST2BANK> open(const std::vector<std::string>& bankChanges = {}, int flag = 0,
                                        const std::vector<std::string>& agreed = {},
                                        const std::vector<std::string>& book = {}) {
    auto form = std::make_unique<TransFPOST2BANK>();
    form->initWithWindowNibName("TransFPOST2BANK");
    form->SetAGSELFAMT("50000");
    form->SetNAGSELFAMT("30000");
    form->SetcsBankIDList(BankIDtxtList);
    form->SetCardAccount("00012345678901");
    form->AppendAgreeACCT(agreed);
    form->AppendCommACCT(book);
    form->SetReaderType("1");
    form->SetFlagBankDiff(flag);
    form->AppendBankDiffData(bankChanges);
    return form;
  }
  static std::vector<std::string> items(appkit::ComboBox* list) {
    return list ? list->items() : std::vector<std::string>{};
  }
};

TEST_F(PostToBankForm, MatchesItsLayout) {
  auto form = open();
  EXPECT_TRUE(form->wiringProblems().empty());
  for (const std::string& p : form->wiringProblems()) ADD_FAILURE() << p;
  EXPECT_EQ(form->edtOutAccount->stringValue(), "700/00012345678901");
  form->CloseWindow(nullptr);
}

TEST_F(PostToBankForm, BankListHoldsEveryBankButThePostalOne) {
  auto form = open();
  std::vector<std::string> list = items(form->cmbBankNoOutlet.get());
  ASSERT_EQ(list.size(), 1u + 111u);
  EXPECT_EQ(list[0], padded("==選擇銀行代號==", 60));
  EXPECT_EQ(list[1], padded("004台灣銀行", 60));
  EXPECT_EQ(list.back(), padded("997中華民國信用合作社南區中心", 60));
  for (const std::string& item : list) EXPECT_NE(item.substr(0, 3), "700");
  EXPECT_EQ(form->cmbBankNoOutlet->indexOfSelectedItem(), 0);
  EXPECT_EQ(form->GetBankNoName("812xxxxx"), "812台新國際商業銀行");
  EXPECT_EQ(form->GetBankNoName("12"), "");
  form->CloseWindow(nullptr);
}

TEST_F(PostToBankForm, BankChangesAddReplaceAndDelete) {
  struct Case {
    const char* what;
    std::vector<std::string> records;
    int flag;
    std::size_t count;               // items after the header
    std::vector<std::string> shows;  // items expected somewhere
    std::vector<std::string> gone;   // item prefixes expected nowhere
  };
  const Case kCases[] = {
      {"flag off", {"004D", "999A新銀行"}, 0, 111, {padded("004台灣銀行", 60)}, {"999"}},
      {"add, also the postal bank",
       {"999A新銀行", "700A郵局"},
       1,
       113,
       {padded("999新銀行", 60), padded("700郵局", 60)},
       {}},
      {"replace in place", {"812U台新銀行"}, 1, 111, {padded("812台新銀行", 60)}, {"812台新國際"}},
      {"delete", {"004D"}, 1, 110, {}, {"004"}},
      {"unknown code or operation, short record",
       {"555U無", "555D", "004X改", "00"},
       1,
       111,
       {padded("004台灣銀行", 60)},
       {"555"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    auto form = open(c.records, c.flag);
    std::vector<std::string> list = items(form->cmbBankNoOutlet.get());
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.size() - 1, c.count);
    for (const std::string& s : c.shows) EXPECT_NE(std::find(list.begin(), list.end(), s), list.end()) << s;
    for (const std::string& g : c.gone) {
      for (std::size_t i = 1; i < list.size(); ++i) EXPECT_NE(list[i].compare(0, g.size(), g), 0) << list[i];
    }
    form->CloseWindow(nullptr);
  }
  // "U" takes the first item naming the code anywhere, and keeps its place.
  auto form = open({"013U新名"}, 1);
  std::vector<std::string> list = items(form->cmbBankNoOutlet.get());
  EXPECT_EQ(list[9], padded("013新名", 60));
  form->CloseWindow(nullptr);
}

TEST_F(PostToBankForm, OnlyPostalEntriesGiveAListWithTheHeaderAlone) {
  auto form = std::make_unique<TransFPOST2BANK>();
  form->initWithWindowNibName("TransFPOST2BANK");
  form->SetcsBankIDList("700Lunmara股份有限公司#700其他#");
  form->SetFlagBankDiff(0);
  form->AppendBankDiffData({});
  EXPECT_EQ(items(form->cmbBankNoOutlet.get()), std::vector<std::string>{padded("==選擇銀行代號==", 60)});
  form->CloseWindow(nullptr);
}

TEST_F(PostToBankForm, PayeeListsAreReplacedAndShowTheirEntries) {
  auto form = open({}, 0, {"11111111111111$812-台新銀行"}, {"8121234567$媽媽"});
  form->AppendAgreeACCT({"22222222222222$004-台灣銀行", "broken entry", "33333$013-國泰"});
  form->AppendCommACCT({"0049876543210$房租", "no comment"});
  EXPECT_EQ(items(form->cmbPreAccountOutlet.get()),
            (std::vector<std::string>{padded("==請選擇約定轉入帳號==", 60), "004-台灣銀行 22222222222222",
                                      "013-國泰 33333"}));
  EXPECT_EQ(items(form->cmbCommonAccountOutlet.get()),
            (std::vector<std::string>{padded("==選擇常用帳號==", 64), "004-9876543210-房租"}));
  EXPECT_TRUE(form->cmbPreAccountOutlet->isEnabled());
  form->AppendAgreeACCT({});
  form->AppendCommACCT({});
  EXPECT_EQ(items(form->cmbPreAccountOutlet.get()), std::vector<std::string>{padded("查無約定轉入帳號", 40)});
  EXPECT_EQ(items(form->cmbCommonAccountOutlet.get()), std::vector<std::string>{padded("查無設定常用帳號", 40)});
  EXPECT_FALSE(form->cmbPreAccountOutlet->isEnabled());
  EXPECT_FALSE(form->cmbCommonAccountOutlet->isEnabled());
  form->CloseWindow(nullptr);
}

TEST_F(PostToBankForm, PicksSetPayeeAndBankAndTypingAfterAPickReplacesIt) {
  auto form = open({}, 0, {"11111111111111$812-台新銀行"}, {"0049876543210$房租"});
  user->choose("cmbPreAccount", 1)
      .inspect([&](appkit::Window&) {
        EXPECT_EQ(form->GetIn_Acct(), "11111111111111");
        EXPECT_EQ(form->GetInBankID(), "81200000");
        EXPECT_EQ(form->GetInBankIDName(), "台新銀行");
        EXPECT_EQ(form->InAcctCntType(), 1);
      })
      .choose("cmbCommonAccount", 1)
      .inspect([&](appkit::Window&) {
        EXPECT_EQ(form->GetIn_Acct(), "9876543210");
        EXPECT_EQ(form->GetInBankID(), "00400000");
        EXPECT_EQ(form->cmbPreAccountOutlet->indexOfSelectedItem(), 0);
        EXPECT_EQ(form->InAcctCntType(), 3);
      })
      .choose("cmbBankNo", 1)
      .click("cbInAccount")
      .pressDigits("5")
      .inspect([&](appkit::Window&) {
        EXPECT_EQ(form->GetIn_Acct(), "5") << "the picked account is dropped";
        EXPECT_EQ(form->InAcctCntType(), 2);
        EXPECT_EQ(form->cmbCommonAccountOutlet->indexOfSelectedItem(), 0);
      })
      .choose("cmbBankNo", 0)
      .inspect([&](appkit::Window&) { EXPECT_EQ(form->GetInBankID(), "") << "the header names no bank"; })
      .closeWindow();
  appkit::app().runModalForWindow(form->window());
  EXPECT_EQ(form->GetReturnCode(), 2);
}

TEST_F(PostToBankForm, APickedAccountOfSeventeenDigitsIsRefusedNotCut) {
  auto form = open({}, 0, {"12345678901234567$812-台新銀行", "1234567890123A$812-台新銀行"});
  for (int item : {1, 2}) {
    user->choose("cmbPreAccount", item)
        .expectAlert("請輸入16位轉入帳號", "", appkit::AlertStyle::Informational)
        .answerAlert(1)
        .inspect([&](appkit::Window&) {
          EXPECT_EQ(form->GetIn_Acct(), "");
          EXPECT_EQ(form->cmbPreAccountOutlet->indexOfSelectedItem(), 0);
          EXPECT_EQ(form->InAcctCntType(), 2);
        });
  }
  user->closeWindow();
  appkit::app().runModalForWindow(form->window());
}

TEST_F(PostToBankForm, ClickingTheAccountWithoutABankWarnsOnceAndStillTakesDigits) {
  auto form = open();
  user->click("cbInAccount")
      .expectAlert("請選擇一銀行代號", "", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .pressDigits("42")
      .expectDisplay("cbInAccount", "42")
      .closeWindow();
  appkit::app().runModalForWindow(form->window());
  EXPECT_EQ(form->GetIn_Acct(), "42");
}

TEST_F(PostToBankForm, LosingMainStatusDropsTheLevelAndCentresTheWindowAgain) {
  auto form = open();
  appkit::Point centred;
  user->inspect([&](appkit::Window& top) {
        centred = top.frameOrigin();
        top.setFrameOrigin({5, 5});
      })
      .deactivateApp()
      .inspect([&](appkit::Window& top) {
        EXPECT_EQ(top.frameOrigin().x, centred.x);
        EXPECT_EQ(top.frameOrigin().y, centred.y);
        EXPECT_EQ(top.level(), appkit::windowLevelForKey(appkit::kNormalWindowLevelKey));
      })
      .activateApp()
      .closeWindow();
  appkit::app().runModalForWindow(form->window());
}

TEST_F(PostToBankForm, ReaderTypeTwoHidesThePin) {
  auto form = open();
  form->SetReaderType("2");
  EXPECT_TRUE(form->cbCardPIN->isHidden());
  EXPECT_TRUE(form->cbCardPIN_Text->isHidden());
  EXPECT_TRUE(form->PinCounterP2->isHidden());
  form->SetReaderType("1");
  form->CloseWindow(nullptr);
}

}  // namespace
