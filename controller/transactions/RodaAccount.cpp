// The postal account service chosen by its processing code.
#include "CardRecord.h"
#include "PageInputs.h"
#include "RequestXml.h"
#include "TransactionCodes.h"
#include "TransactionRecords.h"
#include "ZododovuRavuVODCtrl.h"

namespace {
constexpr std::size_t kRecordLength = 64;
constexpr const char* kContactCode = "D38713";
}  // namespace

long ZododovuRavuVODCtrl::RodaAccount() {
  TrnsMsg.clear();
  stTransferIn in = transferInput(*this);
  in.sAmount = postalAmount(baMoney);
  stTransferOut out;
  lastResult = doRodaAccount(in, out);
  if (stepFailed(lastResult)) return lastResult;
  std::string txCode = "MSG2584U";
  if (out.sTacId.size() == 6 && !accountServiceCode(out.sTacId).empty()) txCode = accountServiceCode(out.sTacId);
  RequestHead head{txCode, SessionId, in.sDateTime, in.sTerminalId, in.sCheckCode};
  XmlText elements;
  elements.element("trns_in_bank", in.sPayeeBank)
      .element("trns_out_bank", out.sIssueNo)
      .element("agency_bank", in.sAgencyBank)
      .element("trns_in_account", in.sPayeeAccount)
      .element("trns_out_account", out.sAccount)
      .element("trns_amount", in.sAmount);
  if (out.sTacId == kContactCode)
    elements.element("trns_acc_tel", baACC_TEL)
        .element("trns_acc_addr", baACC_ADDR)
        .element("trns_acc_email", baACC_EMAIL);
  else
    elements.element("trns_user_ref", baUSER_REF);
  return finishRequest(requestXml(head, out, elements));
}

long ZododovuRavuVODCtrl::doRodaAccount(stTransferIn& in, stTransferOut& out) {
  using namespace postalslot;
  if (!fits({{kProcessingCode, baP_CODE}, {kCheckCode, in.sCheckCode}, {kDateTime, in.sDateTime}}))
    return refuseStep(rc::kInputMissing);
  if (!pinStep(in.sPIN)) return lastResult;
  if (!cardDataStep(out, in.sAccountIndex)) return lastResult;
  out.sTacId = baP_CODE;
  CardRecord record(kRecordLength);
  record.put(kCode, accountServiceCode(out.sTacId))
      .put(kAmount, std::string(14, '0'))  // this record carries no amount
      .put(kAccountField, out.sAccount)
      .put(kProcessingCode, out.sTacId)
      .put(kCheckCode, in.sCheckCode)
      .put(kDateTime, in.sDateTime)
      .put(kAccountUsed, out.sAccount);
  return writeStep(record, out);
}
