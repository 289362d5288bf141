// Transfer_V2 and PublicDonation after the form: the confirmation, whose OK has the card write the
// record, then the transaction code, the request and its envelope.
#include <memory>

#include "FormParameters.h"
#include "FormRoad.h"
#include "RequestXml.h"
#include "TransFConfirm.h"
#include "TransactionCodes.h"
#include "TransferForms.h"
#include "ZododovuRavuVODCtrl.h"
#include "appkit/Application.h"
#include "card/TextHelpers.h"
#include "crypto/Setting.h"

namespace {
const char* const kPostalBank = "700";
const char* const kPostalBankPadded = "70000000";
const char* const kPostalAccountIndex = "01";

// A bank code as the request carries it: blanks stripped, zero-filled to 8 characters.
std::string bank8(const std::string& text) { return (trimReturn(text) + "00000000").substr(0, 8); }

// A dialog code is an int; a PC/SC result handed on through it reads again as the page knows it.
long codeOfDialog(int code) { return code < 0 ? static_cast<long>(static_cast<std::uint32_t>(code)) : code; }

// What the confirmation shows and sends for the row's kind of transfer.
struct ConfirmationTexts {
  std::string payingShown;
  std::string payeeShown;
  std::string accountIndex;
  std::string payeeBank;
};

ConfirmationTexts confirmationTexts(const FormRoad& road, const TransferFormRow& row, const FormParameters& params,
                                    const TransferFormValues& values, const std::string& cardAccount) {
  ConfirmationTexts t;
  switch (row.paying) {
    case PayingSide::PostalCard:
      t.payingShown = std::string(kPostalBank) + "/" + cardAccount;
      t.accountIndex = kPostalAccountIndex;
      break;
    case PayingSide::Giro:
      t.payingShown = std::string(kPostalBank) + "/" + params.fields.D3CardAccount;
      t.accountIndex = kPostalAccountIndex;
      break;
    case PayingSide::BankCard:
      t.payingShown = values.payingBank + "/" + values.payingAccount;
      t.accountIndex = ZododovuRavuVODCtrl::format("%02d", values.accountIndex);
      break;
  }
  const std::string payee = road.padsShownAccounts ? ZododovuRavuVODCtrl::format(row.payeeFormat, values.payee)
                                                   : trimLeftReturn(values.payee, '0');
  if (row.payeeAtBank) {
    t.payeeShown = values.payeeBank.substr(0, 3) + "/" + payee;
    t.payeeBank = values.payeeBank;
  } else {
    t.payeeShown = std::string(kPostalBank) + "/" + payee;
    t.payeeBank = kPostalBankPadded;
  }
  return t;
}
}  // namespace

long ZododovuRavuVODCtrl::confirmAndRequest(const FormRoad& road, const TransferFormRow& row,
                                            const FormParameters& params, const TransferFormValues& values) {
  const CParseEncParam& p = params.fields;
  const ConfirmationTexts texts = confirmationTexts(road, row, params, values, shownCardAccount(road));

  auto confirm = std::make_unique<TransFConfirm>();
  confirm->initWithWindowNibName("TransFConfirm");
  confirm->SetOut_ACCT(texts.payingShown);
  if (row.paying == PayingSide::BankCard) confirm->SetOut_RealACCT(values.payingAccount);
  confirm->SetIn_ACCT(texts.payeeShown);
  confirm->SetTrans_Amount(baMoney);
  confirm->SetReaderName(baReaderName);
  confirm->SethCardHandle(static_cast<int>(hCard));
  confirm->SetReaderType(p.D1ReaderType);
  confirm->SetCardPIN(values.pin);  // straight from the form: the PIN never rests in baPIN
  confirm->SetATM_Check_Code(p.D3CheckCode);
  confirm->SetATM_NO(p.D3TerminalId);
  confirm->SetAccountIndex(texts.accountIndex);
  confirm->SetAgentNo(p.D3AgentNo);
  confirm->SetAcceptNo(texts.payeeBank);
  confirm->SetImportAccount(format("%016s", values.payee));
  confirm->SetTransDateTime(p.D3TransDateTime);
  confirm->SetPCODE(p.D4PCode);
  confirm->SetCounter(values.secondsLeft);
  confirm->SetLoginIssuerID(p.D1IssuerId);
  confirm->SetLoginIssuerAccount(p.D1IssuerAccount);
  appkit::app().runModalForWindow(confirm->window());

  const long code = codeOfDialog(confirm->GetReturnCode());
  if (code != rc::kOk) {
    closeReaderAndCard(road);
    return code;
  }
  // A bank-card transfer to a bank tells the page whether both banks are one.
  if (row.paying == PayingSide::BankCard && row.payeeAtBank)
    baP_CODE = values.payeeBank.substr(0, 3) == values.payingBank ? "2523" : "2524";

  stCardAnswer card;
  card.sIssueNo = confirm->GetOutData_cardinfo_IssueNo();
  card.sRemark = trimReturn(confirm->GetOutData_cardinfo_Remark());
  card.sMainAccount = confirm->GetOutData_cardinfo_MainAccount();
  card.sAccount = confirm->GetOutData_cardinfo_Account();
  card.sSerialNo = confirm->GetOutData_SNUM();
  card.sTac = confirm->GetOutData_TSAC();
  card.sTacId = confirm->GetOutData_PCODE();
  const RequestHead head{formTransferTxCode(card.sTacId), SessionId, confirm->GetInData_TrnsTime(),
                         confirm->GetInData_IFDId(), confirm->GetInData_IFDChkCode()};
  auto bank = [&road](const std::string& text) { return road.trimsRequestBanks ? bank8(text) : text; };
  XmlText elements;
  elements.element("trns_in_bank", bank(confirm->GetInData_AcceptNo()))
      .element("trns_out_bank", bank(card.sIssueNo))
      .element("agency_bank", confirm->GetInData_AageneyNo())
      .element("trns_in_account", confirm->GetInData_ImportAccount())
      .element("trns_out_account", card.sAccount)
      .element("trns_amount", confirm->GetInData_Money());
  const long sealed = finishRequest(requestXml(head, card, elements));
  closeReaderAndCard(road);
  return sealed;
}
