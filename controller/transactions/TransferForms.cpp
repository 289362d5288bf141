#include "TransferForms.h"

#include <type_traits>
#include <utility>
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
#include "TransferForm.h"

namespace {

// ---- the setters each family of forms is sent, in the order it is sent them ----

// A postal-payee form paid from the postal card's account or from the giro account the page names.
void fillPostalPayeeForm(TransferForm& f, const TransferFormInputs& in, const std::string& payingAccount) {
  const CParseEncParam& p = in.params.fields;
  f.SetAGSELFAMT(p.D8AgSelfAmt);
  f.SetNAGSELFAMT(p.D8NagSelfAmt);
  f.SetCardAccount(payingAccount);
  f.AppendAgreeACCT(p.D6AgreeAccounts);
  f.AppendCommACCT(p.D7CommonAccounts);
  f.SetReaderType(p.D1ReaderType);
  f.SethCardHandle(in.cardHandle);
  f.SetReaderName(in.readerName);
}

void fillPostalCardForm(TransferForm& f, const TransferFormInputs& in) {  // postal card, postal payee
  fillPostalPayeeForm(f, in, in.cardAccount);
}

void fillGiroForm(TransferForm& f, const TransferFormInputs& in) {  // paid from the giro account
  fillPostalPayeeForm(f, in, in.params.fields.D3CardAccount);
}

void fillBankCardForm(TransferForm& f, const TransferFormInputs& in) {  // paid from a bank card
  const CParseEncParam& p = in.params.fields;
  f.SetcsBankIDList(in.bankList);
  f.SetBankID(in.bankId);
  f.SetAGSELFAMT(p.D8AgSelfAmt);
  f.SetNAGSELFAMT(p.D8NagSelfAmt);
  f.AppendCardAccountAry(in.cardAccounts);
  f.AppendAgreeACCT(in.appnAccounts);
  f.AppendCommACCT(p.D7CommonAccounts);
  f.SetReaderType(p.D1ReaderType);
  f.SetFlagBankDiff(in.params.bankChanges ? 1 : 0);
  f.AppendBankDiffData(p.D0List);
  f.SetReaderName(in.readerName);
  f.SethCardHandle(in.cardHandle);
}

void fillPostalToBankForm(TransferForm& f, const TransferFormInputs& in) {  // postal card, bank payee
  const CParseEncParam& p = in.params.fields;
  f.SetAGSELFAMT(p.D8AgSelfAmt);
  f.SetNAGSELFAMT(p.D8NagSelfAmt);
  f.SetcsBankIDList(in.bankList);
  f.SetCardAccount(in.cardAccount);
  f.AppendAgreeACCT(p.D6AgreeAccounts);
  f.AppendCommACCT(p.D7CommonAccounts);
  f.SetReaderType(p.D1ReaderType);
  f.SetFlagBankDiff(in.params.bankChanges ? 1 : 0);
  f.AppendBankDiffData(p.D0List);
  f.SetReaderName(in.readerName);
  f.SethCardHandle(in.cardHandle);
}

// ---- reading a form back: the family's getters, and the ones only some forms have ----

template <class F, class = void>
struct HasTxTypeIdx : std::false_type {};
template <class F>
struct HasTxTypeIdx<F, std::void_t<decltype(std::declval<const F&>().TxTypeIdx())>> : std::true_type {};
template <class F, class = void>
struct HasAccountIdx : std::false_type {};
template <class F>
struct HasAccountIdx<F, std::void_t<decltype(std::declval<const F&>().AccountIdx())>> : std::true_type {};

template <class Form>
class FormOf : public OpenTransferForm {
 public:
  explicit FormOf(std::unique_ptr<Form> form) : form_(std::move(form)) {}
  appkit::Window* window() override { return form_->window(); }
  int GetReturnCode() override { return form_->GetReturnCode(); }
  TransferFormValues values() override {
    const Form& f = *form_;
    TransferFormValues v;
    v.pin = f.GetCardPIN();
    v.amount = f.GetAmount();
    v.payee = f.GetIn_Acct();
    v.payeeSource = f.InAcctCntType();
    v.payeeIndex = f.InAcctCntIdx();
    v.payeeBank = f.GetInBankID();
    v.payingBank = f.GetBankID();
    v.payingAccount = f.GetCardAccount();
    if constexpr (HasTxTypeIdx<Form>::value) v.txTypeIndex = f.TxTypeIdx();
    if constexpr (HasAccountIdx<Form>::value) v.accountIndex = f.AccountIdx();
    v.secondsLeft = f.GetCounter();
    return v;
  }

 private:
  std::unique_ptr<Form> form_;
};

// Made from its layout (its window and countdown start here), then sent its family's setters.
template <class Form, void (*fill)(TransferForm&, const TransferFormInputs&)>
std::unique_ptr<OpenTransferForm> openForm(const TransferFormInputs& inputs) {
  auto form = std::make_unique<Form>();
  form->initWithWindowNibName(Form::kRow.name);
  fill(*form, inputs);
  return std::make_unique<FormOf<Form>>(std::move(form));
}

// One row per transfer kind served by a form.
const std::vector<TransferFormRow>& rows() {
  static const std::vector<TransferFormRow> table = {
      // kind   form               paying side           payee bank  payee shown  tx type  open
      {"0307", "TransFPOST2BANK", PayingSide::PostalCard, true, "%s", false,
       openForm<TransFPOST2BANK, fillPostalToBankForm>},
      {"P014A1", "TransFPOST2RODA", PayingSide::PostalCard, false, "%014s", true,
       openForm<TransFPOST2RODA, fillPostalCardForm>},
      {"G004A4", "TransFPOSTTRANSFER2RODA", PayingSide::Giro, false, "%014s", true,
       openForm<TransFPOSTTRANSFER2RODA, fillGiroForm>},
      {"0305", "TransFBANK2RODA", PayingSide::BankCard, false, "%014s", false,
       openForm<TransFBANK2RODA, fillBankCardForm>},
      {"0306", "TransFBANK2BANK", PayingSide::BankCard, true, "%016s", false,
       openForm<TransFBANK2BANK, fillBankCardForm>},
      {"0310", "TransFBANK2POSTTRANSFER", PayingSide::BankCard, false, "%014s", false,
       openForm<TransFBANK2POSTTRANSFER, fillBankCardForm>},
      {"P014A2", "TransFPOST2POSTTRANSFER", PayingSide::PostalCard, false, "%08s", false,
       openForm<TransFPOST2POSTTRANSFER, fillPostalCardForm>},
      {"G004A2", "TransFPT2PT", PayingSide::Giro, false, "%08s", false, openForm<TransFPT2PT, fillGiroForm>},
  };
  return table;
}

}  // namespace

const TransferFormRow* transferFormFor(const std::string& kind) {
  for (const TransferFormRow& row : rows())
    if (kind == row.kind) return &row;
  return nullptr;
}

const TransferFormRow* donationFormFor(const std::string&) {
  // Filled as the postal-card forms are, the card handle of the session included.
  static const TransferFormRow donation{"",
                                        "TransFPUBLICDONATION",
                                        PayingSide::PostalCard,
                                        false,
                                        "%s",
                                        false,
                                        openForm<TransFPUBLICDONATION, fillPostalCardForm>};
  return &donation;
}
