#pragma once

#include <cstdint>
#include <string>

#include "CaptchaButton.h"
#include "DialogFrame.h"
#include "crypto/CVKB.h"

// The on-screen keypad of the transfer forms and the account-book entry dialogs: ten drawn keys whose
// digits are shuffled for every dialog, up to four entry displays of which at most one is active, and
// the generated verification code. A typed digit is kept only as the enciphered label of the key
// position pressed (the dialog's own CVKB); only the getters turn labels back into digits. The physical
// keyboard is refused.
//
// The fields, in the order a key press visits them (each whose display has state 1):
//
//   field               display          labels kept in         at most  message when full
//   payee account       cbInAccount      In_ACCT / ShowIn_ACCT  16       轉入帳號長度不得大於16位
//   amount              cbAmount         Amount                 10       轉帳金額長度不得大於10位
//   verification code   cbCaptchaInput   GRCode                 6        交易驗證碼長度不得大於6位
//   PIN (as stars)      cbCardPIN        CardPIN                12       晶片卡密碼長度不得大於12位
//
// A dialog's layout holds the displays it uses; a display it lacks is never active, so its field
// takes no digits. Layout outlets: cb0..cb9 (CaptchaButton, actions cbBtn0:..cbBtn9:), the displays
// (actions cbInAccount:, cbAmount:, cbCaptchaInput:, cbCardPIN:), cbCaptcha (the code image),
// PinCounterP1..P3 and cbCardPIN_Text (labels beside the PIN), btnBackSpace (btnBackSpace:) and
// btnClear (btnClear:).
class KeypadDialog : public DialogFrame {
 public:
  enum Field : unsigned { kPayeeAccount = 1, kAmount = 2, kVerificationCode = 4, kPin = 8 };
  static constexpr unsigned kAllFields = kPayeeAccount | kAmount | kVerificationCode | kPin;
  static constexpr int kVerificationCodeLength = 6;

  // `fields`: the displays this dialog's layout must have (the others may be missing).
  explicit KeypadDialog(unsigned fields = kAllFields);
  ~KeypadDialog() override;

  // Shuffles the keypad and captions the ten keys; false when the random source failed.
  bool MakeDYBTNCaption();
  // Makes a verification code of `count` digits and shows it in cbCaptcha; false (and no code) when
  // the random source failed.
  bool GenerateCapatha(long count);

  // A key press: the key position 0-9, not the digit it shows.
  void DigitalInputProcess(int position);
  void btnBackSpace(appkit::View* sender);
  void btnClear(appkit::View* sender) { ClearInput(); }
  // Empties the active field.
  void ClearInput();

  // Make one field active (state 1) and the other three inactive.
  virtual void cbInAccountStateOn();
  void cbAmountStateOn() { activate(kAmount); }
  void cbCaptchaInputStateOn() { activate(kVerificationCode); }
  void cbCardPINStateOn() { activate(kPin); }

  // The typed digits, deciphered.
  std::string GetCardPIN() const { return decipher(CardPIN); }
  std::string GetAmount() const { return decipher(Amount); }
  std::string GetIn_Acct() const { return decipher(In_ACCT); }
  std::string GetGRCode() const { return decipher(GRCode); }
  // The PIN as it is kept: key labels.
  std::string GetPIN() const { return CardPIN; }

 protected:
  // Keypad set-up for windowDidLoad: no field active, blank displays, no PIN digits, the keys shuffled
  // and captioned and a fresh code. False when the random source failed; the dialog has then ended as
  // cancelled (a keypad that cannot be shuffled must not take a PIN).
  bool setUpKeypad();

  bool refusesPhysicalKeys() const override { return true; }

  // Backspace on the payee account marks it as typed (the forms keep how it was given).
  virtual void payeeAccountEdited() {}

  std::string decipher(const std::string& labels) const;
  std::string labelsOf(const std::string& digits) const;
  // Shows the text padded on the right with blanks to the display's width.
  static void show(CaptchaButton* display, const std::string& text, std::size_t width);
  void activate(Field field);
  bool isActive(Field field) const;
  void showPinCount();

  CVKB VKB;
  std::string In_ACCT;
  std::string ShowIn_ACCT;
  std::string Amount;
  std::string GRCode;
  std::string CardPIN;
  std::string CardPINStar;
  std::int64_t nPassCount = 0;
  std::string CaptchaValue;

 private:
  const unsigned fields_;
  appkit::OutletBase::Need need(Field field) const {
    return fields_ & field ? appkit::OutletBase::Need::Required : appkit::OutletBase::Need::Optional;
  }

 public:
  appkit::Outlet<CaptchaButton> cb0{this, "cb0"}, cb1{this, "cb1"}, cb2{this, "cb2"}, cb3{this, "cb3"},
      cb4{this, "cb4"}, cb5{this, "cb5"}, cb6{this, "cb6"}, cb7{this, "cb7"}, cb8{this, "cb8"}, cb9{this, "cb9"};
  // Named apart from the forms' action cbInAccount (a click on this display).
  appkit::Outlet<CaptchaButton> cbInAccountOutlet{this, "cbInAccount", need(kPayeeAccount)};
  appkit::Outlet<CaptchaButton> cbAmount{this, "cbAmount", need(kAmount)};
  appkit::Outlet<CaptchaButton> cbCaptchaInput{this, "cbCaptchaInput", need(kVerificationCode)};
  appkit::Outlet<CaptchaButton> cbCardPIN{this, "cbCardPIN", need(kPin)};
  appkit::Outlet<CaptchaButton> cbCaptcha{this, "cbCaptcha", need(kVerificationCode)};
  appkit::Outlet<appkit::TextField> PinCounterP1{this, "PinCounterP1", need(kPin)};
  appkit::Outlet<appkit::TextField> PinCounterP2{this, "PinCounterP2", need(kPin)};
  appkit::Outlet<appkit::TextField> PinCounterP3{this, "PinCounterP3", need(kPin)};
  appkit::Outlet<appkit::TextField> cbCardPIN_Text{this, "cbCardPIN_Text", need(kPin)};
  // The buttons' names are also their actions' (btnBackSpace:, btnClear:), hence the trailing "_".
  appkit::Outlet<appkit::Button> btnBackSpace_{this, "btnBackSpace", need(kAmount)};
  appkit::Outlet<appkit::Button> btnClear_{this, "btnClear", need(kAmount)};

 private:
  CaptchaButton* key(int position) const;
  CaptchaButton* display(Field field) const;
};
