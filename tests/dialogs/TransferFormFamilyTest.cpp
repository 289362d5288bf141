// What the nine transfer forms share, checked on each of them in one table: the blank payee display a
// form opens with and the one a list choice leaves, the message of a list pick that is no account, and
// the payee-bank list's change records.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "TransFBANK2BANK.h"
#include "TransFBANK2POSTTRANSFER.h"
#include "TransFBANK2RODA.h"
#include "TransFPOST2BANK.h"
#include "TransFPOST2POSTTRANSFER.h"
#include "TransFPOST2RODA.h"
#include "TransFPOSTTRANSFER2RODA.h"
#include "TransFPT2PT.h"
#include "TransFPUBLICDONATION.h"
#include "dialogfixture/ScriptedUserFixture.h"

namespace {

std::string padded(const std::string& text, std::size_t blanks) { return text + std::string(blanks, ' '); }

struct FormCase {
  const char* name;
  std::function<std::unique_ptr<TransferForm>()> make;
  std::size_t payeeWidth;     // blanks in the payee display when the form opens
  const char* lengthMessage;  // what the form says of a payee of the wrong length
  bool payeeBankList;
};

template <class Form>
std::function<std::unique_ptr<TransferForm>()> maker() {
  return [] { return std::make_unique<Form>(); };
}

const char* const kSixteen = "請輸入16位轉入帳號";
const char* const kFourteen = "請輸入14位轉入帳號";
const char* const kEight = "請輸入8位轉入帳號";

const FormCase kForms[] = {
    {"TransFPOST2BANK", maker<TransFPOST2BANK>(), 16, kSixteen, true},
    {"TransFBANK2BANK", maker<TransFBANK2BANK>(), 16, kSixteen, true},
    {"TransFBANK2RODA", maker<TransFBANK2RODA>(), 14, kFourteen, false},
    {"TransFBANK2POSTTRANSFER", maker<TransFBANK2POSTTRANSFER>(), 14, "請輸入轉入帳號(7000010 + 8位劃撥帳號)共15碼",
     false},
    {"TransFPOST2RODA", maker<TransFPOST2RODA>(), 14, kFourteen, false},
    {"TransFPOSTTRANSFER2RODA", maker<TransFPOSTTRANSFER2RODA>(), 16, kFourteen, false},
    {"TransFPOST2POSTTRANSFER", maker<TransFPOST2POSTTRANSFER>(), 8, kEight, false},
    {"TransFPT2PT", maker<TransFPT2PT>(), 16, kEight, false},
    {"TransFPUBLICDONATION", maker<TransFPUBLICDONATION>(), 16, kEight, false},
};

class TransferFormFamily : public WithScriptedUser<> {};

TEST_F(TransferFormFamily, EachFormOpensWithItsPayeeWidthAndAListChoiceLeavesFourteenBlanks) {
  for (const FormCase& c : kForms) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TransferForm> form = c.make();
    form->initWithWindowNibName(c.name);
    EXPECT_EQ(form->cbInAccountOutlet->displayedText(), std::string(c.payeeWidth, ' '));
    // Entries every form lists, whatever the layout of its agreed entries.
    form->AppendAgreeACCT({"70000000123456$x"});
    form->AppendCommACCT({"70012345690000001$y"});
    user->choose("cmbPreAccount", 0)
        .inspect([&](appkit::Window&) {
          EXPECT_EQ(form->cbInAccountOutlet->displayedText(), std::string(14, ' ')) << "after the header";
        })
        .choose("cmbCommonAccount", 1)
        .inspect([&](appkit::Window&) {
          EXPECT_EQ(form->cbInAccountOutlet->displayedText(), std::string(14, ' ')) << "after a pick";
          EXPECT_EQ(form->GetIn_Acct(), "12345690000001");
        })
        .closeWindow();
    appkit::app().runModalForWindow(form->window());
    EXPECT_EQ(form->GetReturnCode(), 2);
  }
}

// A pick that is no account the form could take is refused with the form's own word on the length:
// telling a giro form's customer to give 16 digits would send them after an account it refuses too.
TEST_F(TransferFormFamily, ARefusedPickSaysTheFormsOwnLengthRule) {
  for (const FormCase& c : kForms) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TransferForm> form = c.make();
    form->initWithWindowNibName(c.name);
    form->AppendCommACCT({"70012345678901234567$長"});  // 17 digits
    user->choose("cmbCommonAccount", 1)
        .expectAlert(c.lengthMessage, "", appkit::AlertStyle::Informational)
        .answerAlert(1)
        .inspect([&](appkit::Window&) {
          EXPECT_EQ(form->GetIn_Acct(), "");
          EXPECT_EQ(form->InAcctCntType(), 2);
          EXPECT_EQ(form->cmbCommonAccountOutlet->indexOfSelectedItem(), 0);
        })
        .closeWindow();
    appkit::app().runModalForWindow(form->window());
  }
}

// On the two forms with a payee-bank list a pick must name its bank by a code of three digits: a pick
// that names none would leave the payee's bank to whatever the bank list held before, so it is refused
// whole, with the bank list and the picked list back at their headers.
TEST_F(TransferFormFamily, APickWithoutABankCodeOfThreeDigitsIsRefusedOnTheFormsWithAPayeeBankList) {
  struct PickCase {
    const char* what;
    const char* form;
    const char* list;
    std::vector<std::string> agreed;
    std::vector<std::string> book;
  };
  const PickCase kCases[] = {
      {"an agreed bank of two characters (item \"12 1234567\")",
       "TransFPOST2BANK",
       "cmbPreAccount",
       {"1234567$12"},
       {}},
      {"an agreed bank piece of a two-digit code and a name (item \"12-台新銀行 1234567\")",
       "TransFPOST2BANK",
       "cmbPreAccount",
       {"1234567$12-台新銀行"},
       {}},
      // The items below read as the pick "12-1234567".
      {"a book entry (item \"-12-1234567-媽媽\")", "TransFPOST2BANK", "cmbCommonAccount", {}, {"-121234567$媽媽"}},
      {"an application account (item \"-12-1234567\")", "TransFBANK2BANK", "cmbPreAccount", {"-12000001234567"}, {}},
      {"a book entry (item \"-12-1234567-媽媽\")", "TransFBANK2BANK", "cmbCommonAccount", {}, {"-121234567$媽媽"}},
      {"a book entry whose code has a letter (item \"A12-1234567-媽媽\")",
       "TransFBANK2BANK",
       "cmbCommonAccount",
       {},
       {"A121234567$媽媽"}},
  };
  for (const PickCase& c : kCases) {
    SCOPED_TRACE(std::string(c.form) + ": " + c.what);
    const FormCase& kind = *std::find_if(std::begin(kForms), std::end(kForms),
                                         [&](const FormCase& f) { return std::string(f.name) == c.form; });
    std::unique_ptr<TransferForm> form = kind.make();
    form->initWithWindowNibName(c.form);
    form->SetcsBankIDList("004台灣銀行#812台新國際商業銀行#");
    form->SetFlagBankDiff(0);
    form->AppendBankDiffData({});
    form->AppendAgreeACCT(c.agreed);
    form->AppendCommACCT(c.book);
    appkit::ComboBox* list =
        c.list == std::string("cmbPreAccount") ? form->cmbPreAccountOutlet.get() : form->cmbCommonAccountOutlet.get();
    user->chooseItem("cmbBankNo", padded("812台新國際商業銀行", 60))
        .inspect([&](appkit::Window&) { EXPECT_EQ(form->GetInBankID(), "81200000"); })
        .choose(c.list, 1)
        .expectAlert(kSixteen, "", appkit::AlertStyle::Informational)
        .answerAlert(1)
        .inspect([&](appkit::Window&) {
          EXPECT_EQ(list->indexOfSelectedItem(), 0);
          EXPECT_EQ(form->cmbBankNoOutlet->indexOfSelectedItem(), 0);
          EXPECT_EQ(form->GetIn_Acct(), "");
          EXPECT_EQ(form->InAcctCntType(), 2) << "a payee to be typed";
        })
        .closeWindow();
    appkit::app().runModalForWindow(form->window());
    EXPECT_EQ(form->GetReturnCode(), 2);
  }
}

// The two forms with a payee-bank list build it alike: entries shorter than a code and a name of two
// characters are left out, and a "U" or "D" record takes the first item that names its code anywhere.
TEST_F(TransferFormFamily, BankListsSkipShortEntriesAndChangeTheFirstItemNamingTheCode) {
  const std::string header = padded("==選擇銀行代號==", 60);
  struct Change {
    std::vector<std::string> records;
    std::vector<std::string> items;
  };
  const Change kChanges[] = {
      {{}, {header, padded("004台灣銀行", 60), padded("005行號013", 60), padded("013國泰世華", 60)}},
      {{"013U新名"}, {header, padded("004台灣銀行", 60), padded("013新名", 60), padded("013國泰世華", 60)}},
      {{"013D"}, {header, padded("004台灣銀行", 60), padded("013國泰世華", 60)}},
      {{"013D", "013D"}, {header, padded("004台灣銀行", 60)}},
  };
  for (const FormCase& c : kForms) {
    if (!c.payeeBankList) continue;
    for (const Change& change : kChanges) {
      SCOPED_TRACE(std::string(c.name) + " with " + std::to_string(change.records.size()) + " records");
      std::unique_ptr<TransferForm> form = c.make();
      form->initWithWindowNibName(c.name);
      // "123台" is a code and a name of one character (6 bytes): no entry of the list.
      form->SetcsBankIDList("004台灣銀行#123台#005行號013#013國泰世華#");
      form->SetFlagBankDiff(1);
      form->AppendBankDiffData(change.records);
      EXPECT_EQ(form->cmbBankNoOutlet->items(), change.items);
      form->CloseWindow(nullptr);
    }
  }
}

}  // namespace
