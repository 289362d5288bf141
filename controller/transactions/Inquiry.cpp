// Inquiry: the card writes an inquiry record and the request carries the card's account.
#include "CardRecord.h"
#include "RequestXml.h"
#include "TransactionCodes.h"
#include "TransactionRecords.h"
#include "ZododovuRavuVODCtrl.h"

namespace {
constexpr const char* kBankInquiryCode = "2500";

constexpr std::size_t kBankRecordLength = 28;
constexpr RecordSlot kBankCheckCode{4, 8};
constexpr RecordSlot kBankAccountUsed{12, 16};

constexpr std::size_t kPostalRecordLength = 64;
constexpr RecordSlot kPostalZeros{4, 16};
constexpr RecordSlot kPostalProcessingCode{20, 6, SlotCoding::Ebcdic};
constexpr RecordSlot kPostalCheckCode{26, 8, SlotCoding::Ebcdic};
constexpr RecordSlot kPostalDateTime{34, 14, SlotCoding::Ebcdic};
constexpr RecordSlot kPostalAccountUsed{48, 16};

std::string inquiryTxCode(const std::string& tacId) {
  if (numberValue(tacId) == 2500) return kBankInquiryCode;
  return postalInquiryCode(tacId);
}
}  // namespace

long ZododovuRavuVODCtrl::Inquiry() {
  TrnsMsg.clear();
  stInquiryIn in{baPIN, baIFD_Chk_Code, baIFD_ID, format("%02ld", numberValue(bAccountID))};
  stInquiryOut out;
  const bool postal = !baP_CODE.empty();
  lastResult = postal ? doRodaInquiry(in, out) : doInquiry(in, out);
  if (stepFailed(lastResult)) {
    LogMsg(2, "Inquiry",
           postal ? "doRodaInquiry() error with error code:[0x%08x]." : "doInquiry() error with error code:[0x%08x].",
           lastResult);
    return lastResult;
  }
  RequestHead head{inquiryTxCode(out.sTacId), SessionId, GetOptionData(1), in.sTerminalId, in.sCheckCode};
  XmlText elements;
  elements.element("trns_out_bank", out.sIssueNo).element("trns_out_account", out.sAccount);
  return finishRequest(requestXml(head, out, elements));
}

long ZododovuRavuVODCtrl::doInquiry(stInquiryIn& in, stInquiryOut& out) {
  if (!fits({{kBankCheckCode, in.sCheckCode}, {kAccountSlot, bSelectedAccount}})) return refuseStep(rc::kInputMissing);
  if (!pinStep(in.sPIN)) return lastResult;
  if (!cardDataStep(out, in.sAccountIndex)) return lastResult;
  selectedAccountStep(out);
  out.sTacId = kBankInquiryCode;
  CardRecord record(kBankRecordLength);
  record.put(bankslot::kCode, out.sTacId).put(kBankCheckCode, in.sCheckCode).put(kBankAccountUsed, out.sAccount);
  return writeStep(record, out);
}

long ZododovuRavuVODCtrl::doRodaInquiry(stInquiryIn& in, stInquiryOut& out) {
  const std::string dateTime = GetOptionData(1);
  if (!fits({{kPostalProcessingCode, baP_CODE}, {kPostalCheckCode, in.sCheckCode}, {kPostalDateTime, dateTime}}))
    return refuseStep(rc::kInputMissing);
  if (!pinStep(in.sPIN)) return lastResult;
  if (!cardDataStep(out, in.sAccountIndex)) return lastResult;
  scratchText = baP_CODE;
  out.sTacId = baP_CODE;
  CardRecord record(kPostalRecordLength);
  record.put(postalslot::kCode, postalInquiryCode(baP_CODE))
      .put(kPostalZeros, std::string(16, '0'))
      .put(kPostalProcessingCode, baP_CODE)
      .put(kPostalCheckCode, in.sCheckCode)
      .put(kPostalDateTime, dateTime)
      .put(kPostalAccountUsed, out.sAccount);
  return writeStep(record, out);
}
