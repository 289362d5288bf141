// Payments: the merchant payment from a bank card, the postal payment by processing code, and the
// card start, which the system does not offer.
#include "CardRecord.h"
#include "PageInputs.h"
#include "RequestXml.h"
#include "TransactionCodes.h"
#include "TransactionRecords.h"
#include "ZododovuRavuVODCtrl.h"

namespace {
constexpr const char* kPaymentCode = "2541";
constexpr std::size_t kPaymentRecordLength = 94;
constexpr RecordSlot kMerchantId{48, 30};
constexpr RecordSlot kPaymentAccountUsed{78, 16};

constexpr std::size_t kPostalRecordLength = 64;
}  // namespace

long ZododovuRavuVODCtrl::CardStart() {
  TrnsMsg.clear();
  return refuseStep(rc::kRefused);
}

long ZododovuRavuVODCtrl::Payment() {
  TrnsMsg.clear();
  stPaymentIn in{baPIN,         baIFD_Chk_Code,           baIFD_ID,        format("%02s", bAccountID), baMerchantID,
                 baOrderNumber, format("%014s", baMoney), GetOptionData(1)};
  stPaymentOut out;
  lastResult = doPayment(in, out);
  if (stepFailed(lastResult)) return lastResult;
  RequestHead head{"MSG2541U", SessionId, in.sDateTime, in.sTerminalId, in.sCheckCode};
  XmlText elements, block;
  elements.element("trns_out_bank", out.sIssueNo)
      .element("trns_out_account", out.sAccount)
      .element("trns_amount", in.sAmount);
  block.open("payment")
      .element("merchant_id", in.sMerchantId)
      .element("order_number", in.sOrderNumber)
      .close("payment");
  return finishRequest(requestXml(head, out, elements, block));
}

long ZododovuRavuVODCtrl::doPayment(stPaymentIn& in, stPaymentOut& out) {
  using namespace bankslot;
  if (!fits({{kAmount, in.sAmount},
             {kTerminalId, in.sTerminalId},
             {kCheckCode, in.sCheckCode},
             {kDateTime, in.sDateTime},
             {kMerchantId, in.sMerchantId},
             {kAccountSlot, bSelectedAccount}}))
    return refuseStep(rc::kInputMissing);
  if (!pinStep(in.sPIN)) return lastResult;
  if (!cardDataStep(out, in.sAccountIndex)) return lastResult;
  selectedAccountStep(out);
  out.sTacId = kPaymentCode;
  CardRecord record(kPaymentRecordLength);
  record.put(kCode, out.sTacId)
      .put(kAmount, in.sAmount)
      .put(kTerminalId, in.sTerminalId)
      .put(kCheckCode, in.sCheckCode)
      .put(kDateTime, in.sDateTime)
      .put(kMerchantId, in.sMerchantId)
      .put(kPaymentAccountUsed, out.sAccount);
  return writeStep(record, out);
}

long ZododovuRavuVODCtrl::RodaPayment() {
  TrnsMsg.clear();
  stPaymentIn in{baPIN, baIFD_Chk_Code,        baIFD_ID,        format("%02s", bAccountID), "",
                 "",    postalAmount(baMoney), GetOptionData(1)};
  stPaymentOut out;
  lastResult = doRodaPayment(in, out);
  if (stepFailed(lastResult)) return lastResult;
  // The card step wrote only for a processing code of the table.
  const PostalPaymentCode* row = postalPaymentCode(out.sTacId);
  if (!row) return refuseStep(rc::kNoTransactionCode);
  RequestHead head{row->txCode, SessionId, in.sDateTime, in.sTerminalId, in.sCheckCode};
  XmlText elements;
  elements.element("trns_out_bank", out.sIssueNo).element("trns_out_account", out.sAccount);
  if (row->field == PaymentField::UserReference) {
    elements.element("trns_in_account", "00" + baUSER_REF + baCIF_TEL_AREA)
        .element("trns_date", baTax_Date)
        .element("trns_user_ref", baUSER_REF)
        .element("trns_cif_tel_area", baCIF_TEL_AREA);
  } else {
    elements.element("trns_in_account", baCancelNo);
  }
  elements.element("trns_amount", in.sAmount);
  return finishRequest(requestXml(head, out, elements));
}

long ZododovuRavuVODCtrl::doRodaPayment(stPaymentIn& in, stPaymentOut& out) {
  using namespace postalslot;
  const PostalPaymentCode* row = postalPaymentCode(baP_CODE);
  std::string field;
  if (row && row->field == PaymentField::CancelNo) field = baCancelNo;
  if (row && row->field == PaymentField::UserReference) field = "00" + baUSER_REF + baCIF_TEL_AREA;
  if (!fits({{kAmount, in.sAmount}, {kCheckCode, in.sCheckCode}, {kDateTime, in.sDateTime}, {kAccountField, field}}))
    return refuseStep(rc::kInputMissing);
  if (!pinStep(in.sPIN)) return lastResult;
  if (!cardDataStep(out, in.sAccountIndex)) return lastResult;
  // A code outside the table has no request: refuse it before the card writes anything.
  if (!row) return refuseStep(rc::kNoTransactionCode);
  out.sTacId = baP_CODE;
  if (row->field == PaymentField::CancelNo && baCancelNo.empty()) return refuseStep(rc::kInputMissing);
  CardRecord record(kPostalRecordLength);
  record.put(kCode, row->cardCode)
      .put(kAmount, in.sAmount)
      .put(kAccountField, field)
      .put(kProcessingCode, baP_CODE)
      .put(kCheckCode, in.sCheckCode)
      .put(kDateTime, in.sDateTime)
      .put(kAccountUsed, out.sAccount);
  return writeStep(record, out);
}
