// The transfer forms of Transfer_V2 (and the donation's): one row per transfer kind says which form opens, how it is
// filled, what is read back and how the confirmation shows the transfer. A new form only adds its row (in
// TransferForms.cpp), using the setter sequence of its family below.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ControllerTypes.h"
#include "FormParameters.h"

namespace appkit {
class Window;
}

// What Transfer_V2 hands every form.
struct TransferFormInputs {
  const FormParameters& params;
  std::string cardAccount;                       // the card's first account, zero-filled to 14
  const std::vector<std::string>& cardAccounts;  // the card's accounts
  const std::vector<std::string>& appnAccounts;  // the card's application accounts
  const std::string& bankList;                   // the bank list text
  std::string bankId;                            // the login card's bank (3 characters)
  std::string readerName;
  CardHandle cardHandle;
};

// What is read back from a form that ended with 0. Getters a form does not have leave their defaults.
struct TransferFormValues {
  std::string pin;            // GetCardPIN
  std::string amount;         // GetAmount
  std::string payee;          // GetIn_Acct, as typed or picked
  int payeeSource = 0;        // InAcctCntType: 1 agreed list, 2 typed, 3 account book
  int payeeIndex = 0;         // InAcctCntIdx
  int txTypeIndex = 0;        // TxTypeIdx
  std::string payeeBank;      // GetInBankID
  std::string payingBank;     // GetBankID
  std::string payingAccount;  // GetCardAccount
  int accountIndex = 0;       // AccountIdx
  int secondsLeft = 0;        // GetCounter: the confirmation continues this countdown
};

// A form as Transfer_V2 drives it: it is open (and counting down) from its creation until released.
class OpenTransferForm {
 public:
  virtual ~OpenTransferForm() = default;
  virtual appkit::Window* window() = 0;
  virtual int GetReturnCode() = 0;
  virtual TransferFormValues values() = 0;
};

// Where the money comes from, which decides the paying account shown and the card account index.
enum class PayingSide {
  PostalCard,  // "700/" + the card account, index "01"
  Giro,        // "700/" + the giro account of the parameters, index "01"
  BankCard,    // the form's bank + "/" + its paying account, the form's index
};

struct TransferFormRow {
  const char* kind;      // the transfer kind of bh_d4
  const char* formName;  // the form's class and layout name
  PayingSide paying;
  bool payeeAtBank;         // the payee bank comes from the form's bank list (else the postal bank)
  const char* payeeFormat;  // how the payee is shown: "%014s", "%08s", "%016s", or "%s" as typed
  bool returnsTxType;       // the form has a transaction-type list whose choice goes back to the page
  std::unique_ptr<OpenTransferForm> (*open)(const TransferFormInputs& inputs);

  bool postalOrigin() const { return paying != PayingSide::BankCard; }
};

// The row of a transfer kind (compared exactly), or null for a kind no form serves.
const TransferFormRow* transferFormFor(const std::string& kind);
// The donation's form, whatever the kind.
const TransferFormRow* donationFormFor(const std::string& kind);
