// Tax and fee payments from a bank card.
#include "CardRecord.h"
#include "RequestXml.h"
#include "TransactionCodes.h"
#include "TransactionRecords.h"
#include "ZododovuRavuVODCtrl.h"

namespace {
constexpr std::size_t kTaxRecordLength = 85;
constexpr RecordSlot kPaymentType{48, 5};
constexpr RecordSlot kTaxAccountUsed{53, 16};
constexpr RecordSlot kPayeeNumber{69, 16};

constexpr std::size_t kFeeRecordLength = 64;
constexpr RecordSlot kFeeAccountUsed{48, 16};

// Payment types 15000 to 15999 name a tax unit; every other type a tax date.
bool isUnitType(const std::string& paymentType) {
  long type = numberValue(paymentType);
  return type >= 15000 && type <= 15999;
}
}  // namespace

long ZododovuRavuVODCtrl::Tax() {
  TrnsMsg.clear();
  if (baCancelNo.empty()) return refuseStep(rc::kInputMissing);
  stTaxIn in{
      baPIN, baIFD_Chk_Code,           baIFD_ID,        format("%02s", bAccountID), baAagency_No, baPaymentType, "", "",
      "",    format("%014s", baMoney), GetOptionData(1)};
  stTaxOut out;
  lastResult = doTax(in, out);
  if (stepFailed(lastResult)) return lastResult;
  RequestHead head{"MSG" + out.sTacId + "U", SessionId, in.sDateTime, in.sTerminalId, in.sCheckCode};
  XmlText elements, block;
  elements.element("trns_out_bank", out.sIssueNo)
      .element("agency_bank", in.sAgencyBank)
      .element("trns_in_account", baCancelNo)
      .element("trns_out_account", out.sAccount)
      .element("trns_amount", in.sAmount);
  block.open("tax").element("tax_type", in.sPaymentType);
  if (isUnitType(in.sPaymentType))
    block.element("tax_unit", in.sTaxUnit);
  else
    block.element("tax_date", in.sTaxDate);
  block.close("tax");
  return finishRequest(requestXml(head, out, elements, block));
}

long ZododovuRavuVODCtrl::doTax(stTaxIn& in, stTaxOut& out) {
  using namespace bankslot;
  if (!fits({{kAmount, in.sAmount},
             {kTerminalId, in.sTerminalId},
             {kCheckCode, in.sCheckCode},
             {kDateTime, in.sDateTime},
             {kPaymentType, in.sPaymentType},
             {kPayeeNumber, baCancelNo},
             {kAccountSlot, bSelectedAccount}}))
    return refuseStep(rc::kInputMissing);
  if (!pinStep(in.sPIN)) return lastResult;
  if (!cardDataStep(out, in.sAccountIndex)) return lastResult;
  selectedAccountStep(out);
  out.sTacId = taxCardCode(out.sIssueNo);

  // The payee number the record and the request carry, made from the cancel number.
  std::string payee;
  if (!isUnitType(in.sPaymentType)) {
    payee = addEmpty(baCancelNo, 16);
  } else {
    const std::string head = out.sTacId == "2532" ? baTax_Unit : "00000";
    if (baCancelNo.size() < 9)
      payee = addEmpty(head + baCancelNo, 16);
    else
      payee = head + doChangesWord(baCancelNo) + (out.sTacId == "2532" ? "  " : "");
  }
  if (!fits({{kPayeeNumber, payee}})) return refuseStep(rc::kInputMissing);
  baCancelNo = payee;
  in.sPayeeNumber = payee;
  if (isUnitType(in.sPaymentType))
    in.sTaxUnit = baTax_Unit;
  else
    in.sTaxDate = baTax_Date;

  CardRecord record(kTaxRecordLength);
  record.put(kCode, out.sTacId)
      .put(kAmount, in.sAmount)
      .put(kTerminalId, in.sTerminalId)
      .put(kCheckCode, in.sCheckCode)
      .put(kDateTime, in.sDateTime)
      .put(kPaymentType, in.sPaymentType)
      .put(kTaxAccountUsed, out.sAccount)
      .put(kPayeeNumber, in.sPayeeNumber);
  return writeStep(record, out);
}

long ZododovuRavuVODCtrl::WideFee() {
  TrnsMsg.clear();
  stWideFeeIn in{baPIN,         baIFD_Chk_Code, baIFD_ID,     format("%02s", bAccountID), baAccept_No,     baAagency_No,
                 baPaymentType, baTaxAgencyNo,  baTaxComment, format("%014s", baMoney),   GetOptionData(1)};
  stWideFeeOut out;
  lastResult = doWideFee(in, out);
  if (stepFailed(lastResult)) return lastResult;
  RequestHead head{"MSG" + out.sTacId + "U", SessionId, in.sDateTime, in.sTerminalId, in.sCheckCode};
  XmlText elements, block;
  elements.element("trns_in_bank", in.sPayeeBank)
      .element("trns_out_bank", out.sIssueNo)
      .element("agency_bank", in.sAgencyBank)
      .element("trns_out_account", out.sAccount)
      .element("trns_amount", in.sAmount);
  block.open("tax")
      .element("tax_type", in.sPaymentType)
      .element("tax_agency_no", in.sFeeAgencyNo)
      .element("tax_comment", in.sFeeComment)
      .close("tax");
  return finishRequest(requestXml(head, out, elements, block));
}

long ZododovuRavuVODCtrl::doWideFee(stWideFeeIn& in, stWideFeeOut& out) {
  using namespace bankslot;
  if (!fits({{kAmount, in.sAmount},
             {kTerminalId, in.sTerminalId},
             {kCheckCode, in.sCheckCode},
             {kDateTime, in.sDateTime},
             {kAccountSlot, bSelectedAccount}}))
    return refuseStep(rc::kInputMissing);
  if (!pinStep(in.sPIN)) return lastResult;
  if (!cardDataStep(out, in.sAccountIndex)) return lastResult;
  selectedAccountStep(out);
  out.sTacId = wideFeeCardCode(bankCombo(out.sIssueNo, in.sPayeeBank));
  CardRecord record(kFeeRecordLength);
  record.put(kCode, out.sTacId)
      .put(kAmount, in.sAmount)
      .put(kTerminalId, in.sTerminalId)
      .put(kCheckCode, in.sCheckCode)
      .put(kDateTime, in.sDateTime)
      .put(kFeeAccountUsed, out.sAccount);
  return writeStep(record, out);
}
