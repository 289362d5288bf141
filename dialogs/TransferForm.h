#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "KeypadDialog.h"
#include "card/IFD.h"

class ZododovuRavuVODCtrl;

// The family of the nine transfer input forms: the keypad (KeypadDialog), the payee lists (agreed
// accounts, the customer's account book and, where the form has one, the payee-bank list), the setters
// the controller sends and the getters it reads, and the OK frame (card reconnection, the PIN check for
// reader type "1", the form's own checks of payee and amount, the limits, the verification code and
// the fraud warning). A form is its layout, one FormRow of differences and, where its own rules differ
// from the family's, the payee rule and the list layouts it overrides; see dialogs/README.md.
class TransferForm : public KeypadDialog {
 public:
  // What sets one form apart from the others, as data.
  struct FormRow {
    // The class name, which is also the layout name.
    const char* name;
    // Title of the amount-limit message; nullptr for the forms that store their limits without applying
    // them (the bank-card forms).
    const char* limitTitle;
    // Paid from a postal card: SetCardAccount shows "700/" and the account in edtOutAccount, and a click
    // on the account display also selects the header of both payee lists.
    bool paidFromPostalCard;
    // Has the payee-bank list cmbBankNo: built by AppendBankDiffData, a bank is required at OK, and a
    // click on the account display warns while no bank is chosen.
    bool payeeBankList;
    // The window is centred again when it loses main status.
    bool recentresOnResignMain;
    // The payee is postal or giro: the account book offers only its entries of bank 700.
    bool postalBookEntriesOnly;
  };

  // A pick in one of the payee lists, read from the item's text.
  struct PayeePick {
    std::string bankCode;  // 3 characters, or empty when the item names none
    std::string bankName;  // the rest of the bank piece, when the form keeps it
    bool hasBankName = false;
    std::string account;  // the clear digits as the item holds them
  };

  static constexpr int kPinBlocked = 26144;  // the card answered 0x6620 to the PIN
  // How the payee account was given.
  static constexpr int kFromAgreedList = 1;
  static constexpr int kTyped = 2;
  static constexpr int kFromAccountBook = 3;

  explicit TransferForm(const FormRow& row);

  bool initWithWindow(std::unique_ptr<appkit::Window> window) override;
  void windowDidLoad() override;
  void windowDidResignMain(appkit::Window& window) override;

  // ---- setters, in the order the controller sends them ----
  void SetcsBankIDList(const std::string& list) { csBankIDList = list; }
  void SetAGSELFAMT(const std::string& limit) { AGSELFAMT = limit; }
  void SetNAGSELFAMT(const std::string& limit) { NAGSELFAMT = limit; }
  void SetBankIDName(const std::string& name) { BankIDName = name; }
  void SetInBankID(const std::string& id) { InBankID = id; }
  void SetInBankIDName(const std::string& name) { InBankIDName = name; }
  void SetReaderName(const std::string& name) { ReaderName = name; }
  void SethCardHandle(CardHandle handle) { hCardHandle = handle; }
  void SetFlagBankDiff(int flag) { flagBankDiff = flag; }
  virtual void SetBankID(const std::string& id) { BankID = id; }
  virtual void SetCardAccount(const std::string& account);
  virtual void AppendCardAccountAry(const std::vector<std::string>& accounts);
  // Replace the list (never appended twice) and refill it, header selected.
  void AppendAgreeACCT(const std::vector<std::string>& entries);
  void AppendCommACCT(const std::vector<std::string>& entries);
  void AppendBankDiffData(const std::vector<std::string>& records);
  void SetReaderType(const std::string& type);
  void setInAcctCntType(int type) { nInAcctCntType = type; }
  void setInAcctCntIdx(int index) { nInAcctCntIdx = index; }

  // ---- getters, read after a 0 result ----
  int InAcctCntType() const { return nInAcctCntType; }
  // The index of the picked entry in the list the controller handed in (the page's own numbering).
  int InAcctCntIdx() const { return nInAcctCntIdx; }
  std::string GetInBankID() const { return InBankID; }
  std::string GetInBankIDName() const { return InBankIDName; }
  std::string GetBankID() const { return BankID; }
  std::string GetCardAccount() const { return CardAccount; }

  // The entry of csBankIDList whose code equals the first three characters of `code`, or "".
  std::string GetBankNoName(const std::string& code);

  // ---- the lists ----
  void PutBankNoToList();
  void PutAgree_AcctToList();
  void PutComm_AcctToList();

  // ---- actions ----
  void cmbPreAccount(appkit::View* sender);
  void cmbCommonAccount(appkit::View* sender);
  void cmbBankNo(appkit::View* sender);
  virtual void cbInAccount(appkit::View* sender);
  void cbInAccountStateOn() override;
  void btnOK(appkit::View* sender);

  // Messages of the OK frame.
  static const char* const kFraudWarning;
  static const char* const kNoBankChosen;

 protected:
  // ---- what a form may override ----
  // The item an agreed entry becomes; empty leaves the entry out of the list (its index is kept).
  virtual std::string agreedItem(const std::string& entry) const;
  // What a picked item of the agreed list names.
  virtual PayeePick agreedPick(const std::string& item) const;
  // What a picked item of the account book names ("bank-account-comment").
  virtual PayeePick bookPick(const std::string& item) const;
  // The form's checks of the payee account (its message shown and fields cleared on a refusal).
  // The family's: 1 to 16 digits.
  virtual bool payeeAccepted(const std::string& account);
  // The form's word on a payee account of the wrong length; a list pick that is no account gets it too.
  virtual const char* payeeLengthMessage() const;
  // Reads what the form's own lists hold once payee and amount have passed (the transaction type).
  virtual void ownChoicesAtOk() {}

  // The OK frame's parts, in order.
  bool reconnectCard(ZododovuRavuVODCtrl& card);
  bool pinAccepted(ZododovuRavuVODCtrl& card);
  bool payeeBankChosen();
  bool amountAccepted(const std::string& amount);
  bool withinLimit(const std::string& amount);
  void confirmWithVerificationCode();

  // Shows the message (type 1, empty title); false when the form ended while it was open.
  bool tell(const std::string& message, const std::string& title = "");
  // Makes a field active and empties it.
  void clearField(Field field);
  // The effective way the payee was given: a list pick counts only while its list holds a real
  // selection; anything else is a typed payee.
  int payeeKind();
  void payeeAccountEdited() override { nInAcctCntType = kTyped; }

  const FormRow& row_;

  int nInAcctCntType = kFromAgreedList;
  int nInAcctCntIdx = 0;
  std::string CardAccount;
  std::vector<std::string> CardAccountAry;
  std::vector<std::string> AgreeACCT;
  std::vector<std::string> CommACCT;
  std::string InBankID;
  std::string InBankIDName;
  std::string BankID;
  std::string BankIDName;
  std::string AGSELFAMT;
  std::string NAGSELFAMT;
  std::string csBankIDList;
  std::vector<std::string> BankNO_List;
  std::vector<std::string> BankDiffData;
  int flagBankDiff = 0;
  std::string ReaderType;
  std::string ReaderName;
  CardHandle hCardHandle = 0;

  // Which entry each list item stands for (item 0 is the header).
  std::vector<int> agreedEntryOfItem_;
  std::vector<int> bookEntryOfItem_;

 public:
  appkit::Outlet<appkit::ComboBox> cmbPreAccountOutlet{this, "cmbPreAccount"};
  appkit::Outlet<appkit::ComboBox> cmbCommonAccountOutlet{this, "cmbCommonAccount"};
  appkit::Outlet<appkit::ComboBox> cmbBankNoOutlet{this, "cmbBankNo", needIf(row_.payeeBankList)};
  appkit::Outlet<appkit::TextField> edtOutAccount{this, "edtOutAccount", needIf(row_.paidFromPostalCard)};
  appkit::Outlet<appkit::Button> btnOKOutlet{this, "btnOK", appkit::OutletBase::Need::Optional};
  appkit::Outlet<appkit::Button> btnCancel{this, "btnCancel"};

 private:
  static appkit::OutletBase::Need needIf(bool needed) {
    return needed ? appkit::OutletBase::Need::Required : appkit::OutletBase::Need::Optional;
  }
  void pickFromList(int kind);
  bool takePick(const PayeePick& pick);
};
