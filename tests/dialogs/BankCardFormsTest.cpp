// The forms paid from another bank's card, without the card: wiring, the paying bank and accounts, the
// agreed list made from the card's application accounts and the postal-only lists of the forms whose
// payee is postal. Their OK rules are tested on the card bench (card/).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TransFBANK2BANK.h"
#include "TransFBANK2POSTTRANSFER.h"
#include "TransFBANK2RODA.h"
#include "crypto/Setting.h"
#include "dialogfixture/ScriptedUserFixture.h"

namespace {

std::string padded(const std::string& text, std::size_t blanks) { return text + std::string(blanks, ' '); }

const std::vector<std::string> kCardAccounts = {"0040123456789012", "0040987654321098  "};
const std::vector<std::string> kAppnAccounts = {"004000000123456789012345", "700000001234569000000", "70000000", "812"};
const std::vector<std::string> kBook = {"0049876543210$房租", "70012345690000001$媽媽", "700$空"};

template <class Form>
std::unique_ptr<Form> openBankCardForm(const char* name) {
  // As the controller fills a bank-card form.
  auto form = std::make_unique<Form>();
  form->initWithWindowNibName(name);
  form->SetcsBankIDList(BankIDtxtList);
  form->SetBankID("004");
  form->SetAGSELFAMT("100");
  form->SetNAGSELFAMT("100");
  form->AppendCardAccountAry(kCardAccounts);
  form->AppendAgreeACCT(kAppnAccounts);
  form->AppendCommACCT(kBook);
  form->SetReaderType("2");
  form->SetFlagBankDiff(0);
  form->AppendBankDiffData({});
  return form;
}

std::vector<std::string> items(appkit::ComboBox* list) { return list ? list->items() : std::vector<std::string>{}; }

class BankCardForms : public WithScriptedUser<> {};

TEST_F(BankCardForms, MatchTheirLayoutsAndShowThePayingBank) {
  auto check = [](BankCardTransferForm& form) {
    for (const std::string& p : form.wiringProblems()) ADD_FAILURE() << p;
    EXPECT_EQ(form.tfBankID_Name->stringValue(), "004台灣銀行");
    EXPECT_EQ(form.GetBankID(), "004");
    form.CloseWindow(nullptr);
  };
  check(*openBankCardForm<TransFBANK2BANK>("TransFBANK2BANK"));
  check(*openBankCardForm<TransFBANK2RODA>("TransFBANK2RODA"));
  check(*openBankCardForm<TransFBANK2POSTTRANSFER>("TransFBANK2POSTTRANSFER"));
}

TEST_F(BankCardForms, TheSelectedPayingAccountIsTheOneThatPays) {
  auto form = openBankCardForm<TransFBANK2RODA>("TransFBANK2RODA");
  EXPECT_EQ(items(form->cmbOutAccountOutlet.get()), kCardAccounts);
  EXPECT_EQ(form->GetCardAccount(), "0040123456789012");
  EXPECT_EQ(form->AccountIdx(), 1);
  user->choose("cmbOutAccount", 1)
      .inspect([&](appkit::Window&) {
        EXPECT_EQ(form->GetCardAccount(), "0040987654321098") << "trailing blanks removed";
        EXPECT_EQ(form->AccountIdx(), 2);
      })
      .choose("cmbOutAccount", 0)
      .inspect([&](appkit::Window&) {
        EXPECT_EQ(form->GetCardAccount(), "0040123456789012");
        EXPECT_EQ(form->AccountIdx(), 1);
      })
      .closeWindow();
  appkit::app().runModalForWindow(form->window());
}

TEST_F(BankCardForms, ASecondListOfCardAccountsComesAfterTheFirst) {
  auto form = openBankCardForm<TransFBANK2BANK>("TransFBANK2BANK");
  form->AppendCardAccountAry({"0040555555555555"});
  EXPECT_EQ(items(form->cmbOutAccountOutlet.get()),
            (std::vector<std::string>{kCardAccounts[0], kCardAccounts[1], "0040555555555555"}));
  EXPECT_EQ(form->AccountIdx(), 1);
  form->CloseWindow(nullptr);
}

TEST_F(BankCardForms, PayeeListsOfferEveryBankOnlyWhenThePayeeIsAtABank) {
  struct Case {
    std::unique_ptr<BankCardTransferForm> form;
    std::vector<std::string> agreed;
    std::vector<std::string> book;
  };
  const std::string agreedHeader = padded("==請選擇約定轉入帳號==", 60);
  const std::string bookHeader = padded("==選擇常用帳號==", 64);
  Case cases[] = {
      {openBankCardForm<TransFBANK2BANK>("TransFBANK2BANK"),
       {agreedHeader, "004-0123456789012345", "700-1234569000000"},
       {bookHeader, "004-9876543210-房租", "700-12345690000001-媽媽", "700--空"}},
      {openBankCardForm<TransFBANK2RODA>("TransFBANK2RODA"),
       {agreedHeader, "700-1234569000000"},
       {bookHeader, "700-12345690000001-媽媽", "700--空"}},
      {openBankCardForm<TransFBANK2POSTTRANSFER>("TransFBANK2POSTTRANSFER"),
       {agreedHeader, "700-1234569000000"},
       {bookHeader, "700-12345690000001-媽媽", "700--空"}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.form->window()->name());
    EXPECT_EQ(items(c.form->cmbPreAccountOutlet.get()), c.agreed);
    EXPECT_EQ(items(c.form->cmbCommonAccountOutlet.get()), c.book);
    c.form->CloseWindow(nullptr);
  }
}

TEST_F(BankCardForms, PicksGiveTheAccountAndAPickWithoutOneIsRefused) {
  auto form = openBankCardForm<TransFBANK2RODA>("TransFBANK2RODA");
  user->choose("cmbPreAccount", 1)
      .inspect([&](appkit::Window&) {
        EXPECT_EQ(form->GetIn_Acct(), "1234569000000");
        EXPECT_EQ(form->InAcctCntType(), 1);
      })
      .choose("cmbCommonAccount", 1)
      .inspect([&](appkit::Window&) {
        EXPECT_EQ(form->GetIn_Acct(), "12345690000001");
        EXPECT_EQ(form->InAcctCntType(), 3);
        EXPECT_EQ(form->cmbPreAccountOutlet->indexOfSelectedItem(), 0);
      })
      .choose("cmbCommonAccount", 2)                                             // "700$空": no account to take
      .expectAlert("請輸入14位轉入帳號", "", appkit::AlertStyle::Informational)  // the form's own length
      .answerAlert(1)
      .inspect([&](appkit::Window&) {
        EXPECT_EQ(form->GetIn_Acct(), "");
        EXPECT_EQ(form->InAcctCntType(), 2);
      })
      .closeWindow();
  appkit::app().runModalForWindow(form->window());
}

}  // namespace
