// The account services on the page's card connection: account setting and card renewal. Both write
// one postal record and send a request with tx_code 2581; neither opens or closes reader or card.
#include "CardRecord.h"
#include "PageInputs.h"
#include "RequestXml.h"
#include "TransactionCodes.h"
#include "TransactionRecords.h"
#include "ZododovuRavuVODCtrl.h"

namespace {
constexpr std::size_t kRecordLength = 64;
constexpr const char* kServiceCode = "2581";
constexpr const char* kRenewalAccountIndex = "01";
const std::string kNoAmount(14, '0');

// What differs between the two services' requests.
struct ServiceRequest {
  bool withAgencyBank;
  std::string payeeAccount;
  std::string amount;
};

std::string serviceRequest(const ZododovuRavuVODCtrl& ctrl, const stTransferIn& in, const stTransferOut& out,
                           const ServiceRequest& service) {
  RequestHead head{kServiceCode, ctrl.GetSessionId(), in.sDateTime, in.sTerminalId, in.sCheckCode};
  XmlText elements;
  elements.element("trns_in_bank", in.sPayeeBank).element("trns_out_bank", out.sIssueNo);
  if (service.withAgencyBank) elements.element("agency_bank", in.sAgencyBank);
  elements.element("trns_in_account", service.payeeAccount)
      .element("trns_out_account", out.sAccount)
      .element("trns_amount", service.amount);
  return requestXml(head, out, elements);
}

// The record both services have the card write; they differ in the code, the amount and the account
// at offset 18.
CardRecord serviceRecord(const std::string& code, const std::string& amount, const std::string& accountField,
                         const stTransferIn& in, const stTransferOut& out) {
  using namespace postalslot;
  CardRecord record(kRecordLength);
  record.put(kCode, code)
      .put(kAmount, amount)
      .put(kAccountField, accountField)
      .put(kProcessingCode, out.sTacId)
      .put(kCheckCode, in.sCheckCode)
      .put(kDateTime, in.sDateTime)
      .put(kAccountUsed, out.sAccount);
  return record;
}
}  // namespace

long ZododovuRavuVODCtrl::AccountSetting() {
  TrnsMsg.clear();
  stTransferIn in = transferInput(*this);
  stTransferOut out;
  lastResult = doAccountSetting(in, out);
  if (stepFailed(lastResult)) return lastResult;
  return finishRequest(serviceRequest(*this, in, out, {false, in.sPayeeAccount, in.sAmount}));
}

long ZododovuRavuVODCtrl::VisaRenewal() {
  TrnsMsg.clear();
  bAccountID = kRenewalAccountIndex;
  stTransferIn in = transferInput(*this);
  in.sAmount = kNoAmount;
  stTransferOut out;
  lastResult = doVisaRenew(in, out);
  if (stepFailed(lastResult)) return lastResult;
  // The payee account as the page set it, not the record's 16-character form.
  return finishRequest(serviceRequest(*this, in, out, {true, baImport_Account, in.sAmount}));
}

long ZododovuRavuVODCtrl::doAccountSetting(stTransferIn& in, stTransferOut& out) {
  using namespace postalslot;
  if (!fits({{kAccountField, in.sPayeeAccount},
             {kProcessingCode, baP_CODE},
             {kCheckCode, in.sCheckCode},
             {kDateTime, in.sDateTime}}))
    return refuseStep(rc::kInputMissing);
  if (!pinStep(in.sPIN)) return lastResult;
  if (!cardDataStep(out, in.sAccountIndex)) return lastResult;
  out.sTacId = baP_CODE;
  return writeStep(serviceRecord(accountSettingCardCode(out.sTacId), kNoAmount, in.sPayeeAccount, in, out), out);
}

long ZododovuRavuVODCtrl::doVisaRenew(stTransferIn& in, stTransferOut& out) {
  using namespace postalslot;
  if (!fits(
          {{kAmount, in.sAmount}, {kProcessingCode, baP_CODE}, {kCheckCode, in.sCheckCode}, {kDateTime, in.sDateTime}}))
    return refuseStep(rc::kInputMissing);
  if (!cardDataStep(out, in.sAccountIndex)) return lastResult;
  if (!pinStep(in.sPIN)) return lastResult;
  out.sTacId = baP_CODE;
  return writeStep(serviceRecord(kServiceCode, in.sAmount, out.sAccount, in, out), out);
}
