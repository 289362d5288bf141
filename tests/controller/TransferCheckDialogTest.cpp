// The transfer check dialog: shows its three texts read-only and answers 1 (go on) or 2 (stop).
#include <gtest/gtest.h>

#include "ATM_Trans_Dlg.h"
#include "dialogfixture/ScriptedUserFixture.h"
#include "appkit/WindowLevel.h"

namespace {

using TransferCheck = WithScriptedUser<>;

struct Answer {
  const char* how;
  int code;
};

TEST_F(TransferCheck, AnswersOneForOkAndTwoForCancelOrClose) {
  for (Answer answer : {Answer{"btnOK", 1}, Answer{"btnCancel", 2}, Answer{"close", 2}}) {
    auto dialog = std::make_unique<ATM_Trans_Dlg>();
    ASSERT_TRUE(dialog->initWithWindowNibName("ATM_Trans_Dlg"));
    EXPECT_EQ(dialog->GetReturnCode(), 0);
    EXPECT_TRUE(dialog->wiringProblems().empty());
    dialog->SetTransferAccount("004/0040123456789012");
    dialog->SetImportAccount("700/0000001234567890");
    dialog->SetAmount("1234");
    user->expectWindow("ATM_Trans_Dlg")
        .expectText("edtTransferAccount", "004/0040123456789012")
        .expectText("edtImportAccount", "700/0000001234567890")
        .expectText("edtAmount", "1234");
    if (std::string(answer.how) == "close")
      user->closeWindow();
    else
      user->click(answer.how);
    long response = appkit::app().runModalForWindow(dialog->window());
    EXPECT_EQ(dialog->GetReturnCode(), answer.code) << answer.how;
    EXPECT_FALSE(dialog->window()->isVisible());
    // Both buttons end the loop with a stop.
    if (std::string(answer.how) != "close") EXPECT_EQ(response, appkit::kModalResponseStop) << answer.how;
  }
}

TEST_F(TransferCheck, FieldsCannotBeEditedAndTheWindowIsTopmost) {
  auto dialog = std::make_unique<ATM_Trans_Dlg>();
  ASSERT_TRUE(dialog->initWithWindowNibName("ATM_Trans_Dlg"));
  EXPECT_EQ(dialog->window()->level(), appkit::windowLevelForKey(appkit::kMaximumWindowLevelKey));
  dialog->SetTransferAccount("004/0040123456789012");
  dialog->SetImportAccount("700/0000001234567890");
  dialog->SetAmount("1234");
  user->savePng(RVP_PICTURE_DIR "/ATM_Trans_Dlg.png").click("btnOK");
  appkit::app().runModalForWindow(dialog->window());
  EXPECT_FALSE(dialog->edtAmount->isEditable());
  EXPECT_FALSE(dialog->edtTransferAccount->isEditable());
  EXPECT_FALSE(dialog->edtImportAccount->isEditable());
}

}  // namespace
