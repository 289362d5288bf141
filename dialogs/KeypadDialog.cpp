#include "KeypadDialog.h"

#include "DialogRandom.h"
#include "MessageBox.h"
#include "card/SecureWipe.h"

namespace {

struct FieldRow {
  KeypadDialog::Field field;
  std::size_t maxDigits;  // also the display's width
  const char* fullMessage;
};

// The order in which a key press, backspace and clear visit the fields.
const FieldRow kFieldRows[] = {
    {KeypadDialog::kPayeeAccount, 16, "轉入帳號長度不得大於16位"},
    {KeypadDialog::kAmount, 10, "轉帳金額長度不得大於10位"},
    {KeypadDialog::kVerificationCode, 6, "交易驗證碼長度不得大於6位"},
    {KeypadDialog::kPin, 12, "晶片卡密碼長度不得大於12位"},
};

void eraseLastLabel(std::string& labels) {
  labels.erase(labels.size() >= CVKB::kLabelLength ? labels.size() - CVKB::kLabelLength : 0);
}

}  // namespace

KeypadDialog::KeypadDialog(unsigned fields) : fields_(fields) {
  static const char* const kKeyActions[] = {
      "cbBtn0:", "cbBtn1:", "cbBtn2:", "cbBtn3:", "cbBtn4:", "cbBtn5:", "cbBtn6:", "cbBtn7:", "cbBtn8:", "cbBtn9:"};
  for (int position = 0; position < CVKB::kKeys; ++position) {
    addAction(kKeyActions[position], [this, position](appkit::View*) { DigitalInputProcess(position); });
  }
  addAction("btnBackSpace:", [this](appkit::View* sender) { btnBackSpace(sender); });
  addAction("btnClear:", [this](appkit::View* sender) { btnClear(sender); });
  addAction("cbAmount:", [this](appkit::View*) { cbAmountStateOn(); });
  addAction("cbCaptchaInput:", [this](appkit::View*) { cbCaptchaInputStateOn(); });
  addAction("cbCardPIN:", [this](appkit::View*) { cbCardPINStateOn(); });
}

KeypadDialog::~KeypadDialog() {
  card::wipe(In_ACCT);
  card::wipe(ShowIn_ACCT);
  card::wipe(Amount);
  card::wipe(GRCode);
  card::wipe(CardPIN);
  card::wipe(CaptchaValue);
}

CaptchaButton* KeypadDialog::key(int position) const {
  const appkit::Outlet<CaptchaButton>* keys[] = {&cb0, &cb1, &cb2, &cb3, &cb4, &cb5, &cb6, &cb7, &cb8, &cb9};
  return (*keys[position]).operator->();
}

CaptchaButton* KeypadDialog::display(Field field) const {
  switch (field) {
    case kPayeeAccount:
      return cbInAccountOutlet.operator->();
    case kAmount:
      return cbAmount.operator->();
    case kVerificationCode:
      return cbCaptchaInput.operator->();
    case kPin:
      break;
  }
  return cbCardPIN.operator->();
}

bool KeypadDialog::isActive(Field field) const {
  const CaptchaButton* shown = display(field);
  return !shown->isNil() && shown->state() == 1;
}

void KeypadDialog::activate(Field field) {
  for (const FieldRow& row : kFieldRows) display(row.field)->setState(row.field == field ? 1 : 0);
}

void KeypadDialog::cbInAccountStateOn() { activate(kPayeeAccount); }

std::string KeypadDialog::decipher(const std::string& labels) const {
  std::string digits;
  VKB.GetKBStrFromEncStr(labels, digits);
  return digits;
}

std::string KeypadDialog::labelsOf(const std::string& digits) const {
  std::string labels;
  VKB.PutKBStrToEncKBStr(digits, labels);
  return labels;
}

void KeypadDialog::show(CaptchaButton* shownOn, const std::string& text, std::size_t width) {
  std::string padded = text;
  if (padded.size() < width) padded.append(width - padded.size(), ' ');
  shownOn->SetValue(padded);
}

void KeypadDialog::showPinCount() { PinCounterP2->setIntegerValue(static_cast<long>(nPassCount)); }

bool KeypadDialog::MakeDYBTNCaption() {
  if (VKB.genKBString() != 0) return false;
  for (int position = 0; position < CVKB::kKeys; ++position) {
    key(position)->DigitalButtonMode(std::string(1, VKB.GetKBChar(position)));
  }
  return true;
}

bool KeypadDialog::GenerateCapatha(long count) {
  std::string code;
  for (long i = 0; i < count; ++i) {
    std::optional<std::uint32_t> draw = drawRandom32();
    if (!draw) {
      card::wipe(code);
      return false;
    }
    code += static_cast<char>('0' + *draw % 10);
  }
  cbCaptcha->CaptchaMode(code);
  CaptchaValue = code;
  return true;
}

bool KeypadDialog::setUpKeypad() {
  for (const FieldRow& row : kFieldRows) {
    display(row.field)->setState(0);
    show(display(row.field), "", row.maxDigits);
  }
  nPassCount = 0;
  if (MakeDYBTNCaption() && GenerateCapatha(kVerificationCodeLength)) return true;
  endDialog(kCancelled);
  return false;
}

void KeypadDialog::DigitalInputProcess(int position) {
  std::string label;
  if (hasEnded() || VKB.GetEncKBChar(position, label) != 0) return;
  for (const FieldRow& row : kFieldRows) {
    if (!isActive(row.field)) continue;
    CaptchaButton* shown = display(row.field);
    switch (row.field) {
      case kPayeeAccount: {
        In_ACCT = ShowIn_ACCT;
        if (decipher(In_ACCT).size() >= row.maxDigits) {
          MessageBox(row.fullMessage, "", 1);
          return;
        }
        In_ACCT += label;
        show(shown, decipher(In_ACCT), row.maxDigits);
        ShowIn_ACCT = In_ACCT;
        break;
      }
      case kAmount:
      case kVerificationCode: {
        std::string& labels = row.field == kAmount ? Amount : GRCode;
        if (decipher(labels).size() >= row.maxDigits) {
          MessageBox(row.fullMessage, "", 1);
          return;
        }
        labels += label;
        show(shown, decipher(labels), row.maxDigits);
        break;
      }
      case kPin: {
        const std::size_t typed = decipher(CardPIN).size();
        if (typed >= row.maxDigits) {
          MessageBox(row.fullMessage, "", 1);
          return;
        }
        nPassCount = static_cast<std::int64_t>(typed) + 1;
        CardPIN += label;
        CardPINStar += "*";
        show(shown, CardPINStar, row.maxDigits);
        showPinCount();
        break;
      }
    }
  }
}

void KeypadDialog::btnBackSpace(appkit::View*) {
  if (hasEnded()) return;
  for (const FieldRow& row : kFieldRows) {
    if (!isActive(row.field)) continue;
    CaptchaButton* shown = display(row.field);
    switch (row.field) {
      case kPayeeAccount:
        payeeAccountEdited();
        In_ACCT = ShowIn_ACCT;
        if (In_ACCT.empty()) return;
        eraseLastLabel(In_ACCT);
        show(shown, decipher(In_ACCT), row.maxDigits);
        ShowIn_ACCT = In_ACCT;
        break;
      case kAmount:
        if (Amount.empty()) return;
        eraseLastLabel(Amount);
        show(shown, decipher(Amount), row.maxDigits);
        break;
      case kVerificationCode:
        if (decipher(GRCode).empty()) return;
        eraseLastLabel(GRCode);
        show(shown, decipher(GRCode), row.maxDigits);
        break;
      case kPin:
        if (CardPIN.empty()) return;
        eraseLastLabel(CardPIN);
        if (!CardPINStar.empty()) CardPINStar.pop_back();
        if (nPassCount > 0) --nPassCount;
        show(shown, CardPINStar, row.maxDigits);
        showPinCount();
        break;
    }
  }
}

void KeypadDialog::ClearInput() {
  for (const FieldRow& row : kFieldRows) {
    if (!isActive(row.field)) continue;
    switch (row.field) {
      case kPayeeAccount:
        card::wipe(In_ACCT);
        card::wipe(ShowIn_ACCT);
        break;
      case kAmount:
        card::wipe(Amount);
        break;
      case kVerificationCode:
        card::wipe(GRCode);
        break;
      case kPin:
        card::wipe(CardPIN);
        CardPINStar.clear();
        nPassCount = 0;
        showPinCount();
        break;
    }
    show(display(row.field), "", row.maxDigits);
  }
}
