// The forms that pay a postal account from a postal card or giro (the postal savings forms, the giro-payee
// forms and the donation), without the card: wiring, the paying account shown, the transaction types,
// and the payee lists (agreed "account$text" entries, the account book's entries of bank 700 only).
// Their OK rules are tested on the card bench (card/).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TransFPOST2RODA.h"
#include "TransFPOSTTRANSFER2RODA.h"
#include "TransFPT2PT.h"
#include "TransFPUBLICDONATION.h"
#include "TransFPOST2POSTTRANSFER.h"
#include "dialogfixture/ScriptedUserFixture.h"

namespace {

std::string padded(const std::string& text, std::size_t blanks) { return text + std::string(blanks, ' '); }
std::vector<std::string> items(appkit::ComboBox* list) { return list ? list->items() : std::vector<std::string>{}; }

template <class Form>
std::unique_ptr<Form> openPostalForm(const char* name, const std::vector<std::string>& agreed,
                                     const std::vector<std::string>& book) {
  // As the controller fills the postal and giro forms.
  auto form = std::make_unique<Form>();
  form->initWithWindowNibName(name);
  form->SetAGSELFAMT("50000");
  form->SetNAGSELFAMT("30000");
  form->SetCardAccount("00012345678901");
  form->AppendAgreeACCT(agreed);
  form->AppendCommACCT(book);
  form->SetReaderType("2");
  return form;
}

class PostalSavingsForms : public WithScriptedUser<> {};

TEST_F(PostalSavingsForms, MatchTheirLayoutsShowThePayingAccountAndTheTransactionTypes) {
  auto check = [](PostalSavingsTransferForm& form, const char* okOutlet) {
    for (const std::string& p : form.wiringProblems()) ADD_FAILURE() << p;
    EXPECT_NE(form.window()->viewWithIdentifier(okOutlet), nullptr);
    EXPECT_EQ(form.edtOutAccount->stringValue(), "700/00012345678901");
    EXPECT_EQ(items(form.cmbTxType.get()), (std::vector<std::string>{"一般轉帳", "薪資轉帳", "繳納費用"}));
    EXPECT_EQ(form.cmbTxType->indexOfSelectedItem(), 0);
    EXPECT_EQ(form.TxTypeIdx(), 0);
    form.CloseWindow(nullptr);
  };
  check(*openPostalForm<TransFPOST2RODA>("TransFPOST2RODA", {}, {}), "btnOK");
  check(*openPostalForm<TransFPOSTTRANSFER2RODA>("TransFPOSTTRANSFER2RODA", {}, {}), "btbOK");
}

TEST_F(PostalSavingsForms, ListsShowAgreedEntriesAndThePostalBookEntriesOnly) {
  auto form =
      openPostalForm<TransFPOST2RODA>("TransFPOST2RODA", {"12345690000001$王小明", "no text$", "60000000000001$公司$x"},
                                      {"0049876543210$房租", "70012345690000001$媽媽", "8121111$他行"});
  EXPECT_EQ(
      items(form->cmbPreAccountOutlet.get()),
      (std::vector<std::string>{padded("==請選擇約定轉入帳號==", 60), "12345690000001 王小明", "60000000000001 公司"}));
  EXPECT_EQ(items(form->cmbCommonAccountOutlet.get()),
            (std::vector<std::string>{padded("==選擇常用帳號==", 64), "700-12345690000001-媽媽"}));
  user->choose("cmbPreAccount", 2)
      .inspect([&](appkit::Window&) {
        EXPECT_EQ(form->GetIn_Acct(), "60000000000001");
        EXPECT_EQ(form->InAcctCntType(), 1);
      })
      .choose("cmbCommonAccount", 1)
      .inspect([&](appkit::Window&) {
        EXPECT_EQ(form->GetIn_Acct(), "12345690000001");
        EXPECT_EQ(form->InAcctCntType(), 3);
        EXPECT_EQ(form->cmbPreAccountOutlet->indexOfSelectedItem(), 0);
      })
      .click("cbInAccount")
      .inspect([&](appkit::Window&) {
        EXPECT_EQ(form->cmbCommonAccountOutlet->indexOfSelectedItem(), 0) << "typing resets both lists";
        EXPECT_EQ(form->InAcctCntType(), 2);
      })
      .closeWindow();
  appkit::app().runModalForWindow(form->window());
}

TEST_F(PostalSavingsForms, GiroPayeeFormsAndTheDonationShowTheirPayingAccountPayeeWidthAndPostalLists) {
  struct GiroCase {
    const char* name;
    std::function<std::unique_ptr<PostalPayeeTransferForm>()> make;
    std::size_t payeeWidth;  // the blank payee display
  };
  const GiroCase cases[] = {
      {"TransFPOST2POSTTRANSFER", [] { return std::make_unique<TransFPOST2POSTTRANSFER>(); }, 8},
      {"TransFPT2PT", [] { return std::make_unique<TransFPT2PT>(); }, 16},
      {"TransFPUBLICDONATION", [] { return std::make_unique<TransFPUBLICDONATION>(); }, 16},
  };
  for (const GiroCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<PostalPayeeTransferForm> form = c.make();
    form->initWithWindowNibName(c.name);
    EXPECT_EQ(form->cbInAccountOutlet->displayedText(), std::string(c.payeeWidth, ' '));
    form->SetAGSELFAMT("50000");
    form->SetNAGSELFAMT("30000");
    form->SetCardAccount("1234567890123");
    form->AppendAgreeACCT({"12345678$慈善基金會", "no text$"});
    form->AppendCommACCT({"0049876543210$房租", "70000012347$捐款", "8121111$他行"});
    form->SetReaderType("1");
    for (const std::string& p : form->wiringProblems()) ADD_FAILURE() << p;
    EXPECT_EQ(form->edtOutAccount->stringValue(), "700/1234567890123");
    EXPECT_EQ(items(form->cmbPreAccountOutlet.get()),
              (std::vector<std::string>{padded("==請選擇約定轉入帳號==", 60), "12345678 慈善基金會"}));
    // Another bank's entry would send the money to a postal account of the same digits.
    EXPECT_EQ(items(form->cmbCommonAccountOutlet.get()),
              (std::vector<std::string>{padded("==選擇常用帳號==", 64), "700-00012347-捐款"}));
    user->choose("cmbPreAccount", 1)
        .inspect([&](appkit::Window&) {
          EXPECT_EQ(form->GetIn_Acct(), "12345678");
          EXPECT_EQ(form->InAcctCntType(), 1);
        })
        .choose("cmbCommonAccount", 1)
        .inspect([&](appkit::Window&) {
          EXPECT_EQ(form->GetIn_Acct(), "00012347");
          EXPECT_EQ(form->InAcctCntType(), 3);
          EXPECT_EQ(form->cmbPreAccountOutlet->indexOfSelectedItem(), 0);
        })
        .choose("cmbCommonAccount", 0)
        .inspect([&](appkit::Window&) { EXPECT_EQ(form->GetIn_Acct(), "") << "the header names no payee"; })
        .closeWindow();
    appkit::app().runModalForWindow(form->window());
    EXPECT_EQ(form->GetReturnCode(), 2);
  }
}

}  // namespace
