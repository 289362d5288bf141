// Transfers: the page's Transfer, PayTransfer and PayCredit, and the bank and postal card steps that
// the confirmation form also calls with its confirmed flag.
#include "CardRecord.h"
#include "PageInputs.h"
#include "RequestXml.h"
#include "TransactionCodes.h"
#include "TransactionRecords.h"
#include "ZododovuRavuVODCtrl.h"
#include "crypto/Setting.h"

namespace {
constexpr int kTransferKind = 1361;
constexpr int kPayTransferKind = 1365;
constexpr int kPayCreditKind = 12522;

constexpr std::size_t kBankRecordLength = 80;
constexpr RecordSlot kBankPayeeAccount{48, 16};
constexpr RecordSlot kBankAccountUsed{64, 16};
constexpr std::size_t kPostalRecordLength = 64;

// The six transfer elements every transfer request carries.
XmlText transferElements(const stTransferIn& in, const stTransferOut& out, const std::string& payeeAccount) {
  XmlText xml;
  xml.element("trns_in_bank", in.sPayeeBank)
      .element("trns_out_bank", out.sIssueNo)
      .element("agency_bank", in.sAgencyBank)
      .element("trns_in_account", payeeAccount)
      .element("trns_out_account", out.sAccount)
      .element("trns_amount", in.sAmount);
  return xml;
}

}  // namespace

long ZododovuRavuVODCtrl::Transfer() {
  TrnsMsg.clear();
  stTransferIn in = transferInput(*this);
  stTransferOut out;
  if (!baP_CODE.empty()) {
    in.sAmount = postalAmount(baMoney);
    lastResult = doRodaTransfer(in, out, 0);
  } else {
    lastResult = doTransfer(in, out, kTransferKind, 0);
  }
  if (stepFailed(lastResult)) return lastResult;
  RequestHead head{transferTxCode(out.sTacId), SessionId, in.sDateTime, in.sTerminalId, in.sCheckCode};
  return finishRequest(requestXml(head, out, transferElements(in, out, in.sPayeeAccount)));
}

long ZododovuRavuVODCtrl::PayTransfer() {
  TrnsMsg.clear();
  stTransferIn in = transferInput(*this);
  stTransferOut out;
  lastResult = doTransfer(in, out, kPayTransferKind, 0);
  if (stepFailed(lastResult)) return lastResult;
  RequestHead head{"MSG2525U", SessionId, in.sDateTime, in.sTerminalId, in.sCheckCode};
  XmlText tax;
  tax.open("tax").element("tax_type", baPaymentType).close("tax");
  return finishRequest(requestXml(head, out, transferElements(in, out, in.sPayeeAccount), tax));
}

long ZododovuRavuVODCtrl::PayCredit() {
  TrnsMsg.clear();
  stTransferIn in = transferInput(*this);
  stTransferOut out;
  lastResult = doTransfer(in, out, kPayCreditKind, 0);
  if (stepFailed(lastResult)) return lastResult;
  RequestHead head{"MSG" + out.sTacId + "U", SessionId, in.sDateTime, in.sTerminalId, in.sCheckCode};
  // The payee account as the page set it, not the card record's form.
  return finishRequest(requestXml(head, out, transferElements(in, out, baImport_Account)));
}

long ZododovuRavuVODCtrl::doTransfer(stTransferIn& in, stTransferOut& out, int kind, int confirmed) {
  using namespace bankslot;
  if (!fits({{kAmount, in.sAmount},
             {kTerminalId, in.sTerminalId},
             {kCheckCode, in.sCheckCode},
             {kDateTime, in.sDateTime},
             {kBankPayeeAccount, in.sPayeeAccount},
             {kAccountSlot, bSelectedAccount}}))
    return refuseStep(rc::kInputMissing);
  if (!cardDataStep(out, in.sAccountIndex)) return lastResult;
  selectedAccountStep(out);
  if (!transferCheckStep(confirmed, out, in)) return rc::kCancelled;
  if (!pinStep(in.sPIN)) return lastResult;

  const BankCombo combo = bankCombo(out.sIssueNo, in.sPayeeBank);
  std::string code = transferCardCode(kind, combo);
  if (code.empty()) return refuseStep(rc::kNoTransactionCode);
  if (code == std::to_string(TRANSFER)) scratchText = format("%d", TRANSFER);
  if (kind == kPayCreditKind && combo == BankCombo::OwnToOwn) in.sPayeeAccount = "00" + in.sPayeeAccount.substr(0, 14);
  out.sTacId = code;

  CardRecord record(kBankRecordLength);
  record.put(kCode, code)
      .put(kAmount, in.sAmount)
      .put(kTerminalId, in.sTerminalId)
      .put(kCheckCode, in.sCheckCode)
      .put(kDateTime, in.sDateTime)
      .put(kBankPayeeAccount, in.sPayeeAccount)
      .put(kBankAccountUsed, out.sAccount);
  return writeStep(record, out);
}

long ZododovuRavuVODCtrl::doRodaTransfer(stTransferIn& in, stTransferOut& out, int confirmed) {
  using namespace postalslot;
  const std::string processingCode = confirmed == 1 ? in.sConfirmedCode : baP_CODE;
  if (!fits({{kAmount, in.sAmount},
             {kAccountField, in.sPayeeAccount},
             {kProcessingCode, processingCode},
             {kCheckCode, in.sCheckCode},
             {kDateTime, in.sDateTime}}))
    return refuseStep(rc::kInputMissing);
  if (!cardDataStep(out, in.sAccountIndex)) return lastResult;
  if (!transferCheckStep(confirmed, out, in)) return rc::kCancelled;
  if (!pinStep(in.sPIN)) return lastResult;

  out.sTacId = processingCode;
  CardRecord record(kPostalRecordLength);
  record.put(kCode, postalTransferCode(processingCode))
      .put(kAmount, in.sAmount)
      .put(kAccountField, in.sPayeeAccount)
      .put(kProcessingCode, processingCode)
      .put(kCheckCode, in.sCheckCode)
      .put(kDateTime, in.sDateTime)
      .put(kAccountUsed, out.sAccount);
  return writeStep(record, out);
}
