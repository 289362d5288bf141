// The on-screen keypad under the scripted user: digits go in only through the key showing them, each
// field refuses one digit more than it holds, backspace and clear, and the refusal of the keyboard.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "KeypadProbe.h"
#include "crypto/random.h"
#include "dialogfixture/ScriptedUserFixture.h"

namespace {

class Keypad : public WithScriptedUser<> {
 protected:
  static std::string picture(const std::string& name) {
    ::mkdir(RVP_PICTURE_DIR, 0755);
    return std::string(RVP_PICTURE_DIR) + "/" + name;
  }
  // Opens a probe, lets the user work it and returns it once its session ended.
  std::unique_ptr<KeypadProbe> run() {
    auto probe = std::make_unique<KeypadProbe>();
    probe->initWithWindowNibName("KeypadProbe");
    appkit::app().runModalForWindow(probe->window());
    return probe;
  }
};

TEST_F(Keypad, TheKeyShowingADigitTypesThatDigitWhateverTheShuffle) {
  // Three keypads, three shuffles; every digit typed in every field comes back from its getter.
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    user->expectWindow("KeypadProbe")
        .click("cbInAccount")
        .pressDigits("7001234567890123")
        .click("cbAmount")
        .pressDigits("9081726354")
        .click("cbCardPIN")
        .pressDigits("246813579024")
        .click("cbCaptchaInput")
        .pressDigits("135790")
        .expectDisplay("cbInAccount", "7001234567890123")
        .expectDisplay("cbAmount", "9081726354")
        .expectDisplay("cbCardPIN", "************")
        .expectText("PinCounterP2", "12")
        .expectDisplay("cbCaptchaInput", "135790")
        .savePng(picture("Keypad-filled-" + std::to_string(round) + ".png"))
        .click("btnOK");
    auto probe = run();
    EXPECT_EQ(probe->GetReturnCode(), 0);
    EXPECT_EQ(probe->GetIn_Acct(), "7001234567890123");
    EXPECT_EQ(probe->GetAmount(), "9081726354");
    EXPECT_EQ(probe->GetCardPIN(), "246813579024");
    EXPECT_EQ(probe->GetGRCode(), "135790");
    EXPECT_EQ(probe->GetPIN(), probe->pinLabels()) << "GetPIN hands out the labels";
    EXPECT_EQ(probe->GetPIN().size(), 12u * 16);
  }
}

TEST_F(Keypad, TwoKeypadsKeepDifferentLabelsForTheSameDigits) {
  user->click("cbAmount").pressDigits("5555").click("btnOK");
  auto first = run();
  user->click("cbAmount").pressDigits("5555").click("btnOK");
  auto second = run();
  ASSERT_EQ(first->GetAmount(), "5555");
  ASSERT_EQ(second->GetAmount(), "5555");
  EXPECT_NE(first->amountLabels(), second->amountLabels());
  EXPECT_EQ(first->amountLabels().size(), 4u * 16) << "one 16-character label per digit, no digit in clear";
  // One keypad's labels mean nothing to the other.
  std::string read;
  CVKB other;
  other.genKBString();
  other.GetKBStrFromEncStr(first->amountLabels(), read);
  EXPECT_EQ(read, "");
}

struct FullField {
  const char* display;
  const char* digits;  // as many as the field takes
  const char* message;
  const char* shown;  // what the display shows afterwards
};

TEST_F(Keypad, EachFieldRefusesOneDigitMoreWithItsOwnMessage) {
  const FullField kFields[] = {
      {"cbInAccount", "1234567890123456", "轉入帳號長度不得大於16位", "1234567890123456"},
      {"cbAmount", "1234567890", "轉帳金額長度不得大於10位", "1234567890"},
      {"cbCaptchaInput", "123456", "交易驗證碼長度不得大於6位", "123456"},
      {"cbCardPIN", "123456789012", "晶片卡密碼長度不得大於12位", "************"},
  };
  for (const FullField& field : kFields) {
    SCOPED_TRACE(field.display);
    user->click(field.display)
        .pressDigits(field.digits)
        .pressDigits("7")
        .expectAlert(field.message, "", appkit::AlertStyle::Informational)
        .answerAlert(1)
        .expectDisplay(field.display, field.shown)
        .click("btnOK");
    auto probe = run();
    EXPECT_EQ(
        probe->GetIn_Acct().size() + probe->GetAmount().size() + probe->GetGRCode().size() + probe->GetCardPIN().size(),
        std::string(field.digits).size());
  }
}

TEST_F(Keypad, KeysTypeNothingUntilADisplayIsClickedAndOnlyIntoTheActiveOne) {
  user->pressDigits("12")
      .expectDisplay("cbAmount", "")
      .click("cbAmount")
      .pressDigits("34")
      .click("cbInAccount")
      .pressDigits("56")
      .expectDisplay("cbAmount", "34")
      .expectDisplay("cbInAccount", "56")
      .click("btnOK");
  auto probe = run();
  EXPECT_EQ(probe->GetAmount(), "34");
  EXPECT_EQ(probe->GetIn_Acct(), "56");
  EXPECT_EQ(probe->GetCardPIN(), "");
}

TEST_F(Keypad, BackspaceAndClearWorkOnTheActiveFieldOnly) {
  user->click("cbCardPIN")
      .pressDigits("123")
      .click("btnBackSpace")
      .click("btnBackSpace")
      .click("btnBackSpace")
      .click("btnBackSpace")
      .expectDisplay("cbCardPIN", "")
      .expectText("PinCounterP2", "0")
      .pressDigits("98")
      .click("cbAmount")
      .pressDigits("4567")
      .click("btnBackSpace")
      .expectDisplay("cbAmount", "456")
      .click("cbCardPIN")
      .click("btnClear")
      .expectDisplay("cbCardPIN", "")
      .expectText("PinCounterP2", "0")
      .expectDisplay("cbAmount", "456")
      .click("btnOK");
  auto probe = run();
  EXPECT_EQ(probe->GetCardPIN(), "");
  EXPECT_EQ(probe->pinCount(), 0);
  EXPECT_EQ(probe->GetAmount(), "456");
}

TEST_F(Keypad, TheKeyboardIsRefusedAndChangesNothing) {
  user->click("cbAmount")
      .pressDigits("1")
      .type("5")
      .expectAlert(DialogFrame::kKeyboardRefusal, "", appkit::AlertStyle::Informational)
      .answerAlert(1)
      .expectDisplay("cbAmount", "1")
      .click("btnOK");
  EXPECT_EQ(run()->GetAmount(), "1");
}

TEST_F(Keypad, TheCodeImageShowsSixDigitsAndTakesNoClick) {
  std::string shown;
  user->click("cbCaptcha")
      .inspect([&](appkit::Window& top) {
        auto* image = dynamic_cast<CaptchaButton*>(top.viewWithIdentifier("cbCaptcha"));
        ASSERT_NE(image, nullptr);
        shown = image->displayedText();
        EXPECT_EQ(image->state(), 0);
      })
      .click("cbCaptchaInput")
      .typeDigitsShownIn("cbCaptcha")
      .click("btnOK");
  auto probe = run();
  EXPECT_EQ(probe->captchaClicks, 0);
  ASSERT_EQ(shown.size(), 6u);
  EXPECT_EQ(shown.find_first_not_of("0123456789"), std::string::npos);
  EXPECT_EQ(probe->captchaValue(), shown);
  EXPECT_EQ(probe->GetGRCode(), shown) << "the user copied the code from the image";
}

TEST_F(Keypad, TheSameStepsWorkAsWords) {
  // A page script's user speaks in words; the keypad steps read the same.
  std::string error;
  ASSERT_TRUE(user->addStep({"click", "cbAmount"}, &error)) << error;
  ASSERT_TRUE(user->addStep({"pressDigits", "802"}, &error)) << error;
  ASSERT_TRUE(user->addStep({"expectDisplay", "cbAmount", "802"}, &error)) << error;
  ASSERT_TRUE(user->addStep({"click", "cbCaptchaInput"}, &error)) << error;
  ASSERT_TRUE(user->addStep({"typeDigitsShownIn", "cbCaptcha"}, &error)) << error;
  EXPECT_FALSE(user->addStep({"pressDigits", "8a"}, &error));
  EXPECT_FALSE(user->addStep({"pressDigits", ""}, &error));
  ASSERT_TRUE(user->addStep({"click", "btnOK"}, &error)) << error;
  auto probe = run();
  EXPECT_EQ(probe->GetAmount(), "802");
  EXPECT_EQ(probe->GetGRCode(), probe->captchaValue());
}

TEST_F(Keypad, AKeypadWithoutRandomBytesEndsAsCancelledBeforeAnyoneTypes) {
  ScopedRandomSource failing([](unsigned char*, std::size_t) { return false; });
  auto probe = std::make_unique<KeypadProbe>();
  probe->initWithWindowNibName("KeypadProbe");
  appkit::app().runModalForWindow(probe->window());
  EXPECT_EQ(probe->GetReturnCode(), DialogFrame::kCancelled);
  EXPECT_EQ(probe->captchaValue(), "");
}

}  // namespace
