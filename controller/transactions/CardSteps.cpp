// The steps that the card steps share: PIN, card data, the page's selected account, the transfer
// check, the write to the card's log and its answer; and the sealing of the request.
#include <memory>
#include <optional>

#include "ATM_Trans_Dlg.h"
#include "CardRecord.h"
#include "TransactionRecords.h"
#include "ZododovuRavuVODCtrl.h"
#include "appkit/Application.h"
#include "card/CardAnswer.h"
#include "card/FISC.h"
#include "card/GP.h"

long ZododovuRavuVODCtrl::refuseStep(long code) {
  lastResult = code;
  return code;
}

bool ZododovuRavuVODCtrl::stepFailed(long result) const { return result != 0 || swRaw != kSwOk; }

bool ZododovuRavuVODCtrl::pinStep(const std::string& pin) {
  SetbaPIN(pin.c_str());
  if (baPIN.empty()) return true;
  VerifyPIN();
  if (!stepFailed(lastResult)) return true;
  uiSW12 = swRaw;
  return false;
}

bool ZododovuRavuVODCtrl::cardDataStep(stCardAnswer& out, const std::string& accountIndex) {
  lastResult = getCardInfo(out, accountIndex);
  if (!stepFailed(lastResult)) return true;
  uiSW12 = swRaw;
  return false;
}

void ZododovuRavuVODCtrl::selectedAccountStep(stCardAnswer& out) {
  if (bSelectedAccount.size() <= 5) return;
  out.sAccount = format("%016s", bSelectedAccount);
  bSelectedAccount.clear();
}

bool ZododovuRavuVODCtrl::transferCheckStep(int confirmed, const stCardAnswer& out, const stTransferIn& in) {
  if (confirmed || baP_CODE == "I03533" || baP_CODE == "I03537") return true;
  auto dialog = std::make_unique<ATM_Trans_Dlg>();
  dialog->initWithWindowNibName("ATM_Trans_Dlg");
  dialog->SetTransferAccount(out.sIssueNo.substr(0, 3) + "/" + out.sAccount);
  dialog->SetImportAccount(in.sPayeeBank.substr(0, 3) + "/" + in.sPayeeAccount);
  dialog->SetAmount(doNumString(in.sAmount, 2));
  appkit::app().runModalForWindow(dialog->window());
  return dialog->GetReturnCode() == ATM_Trans_Dlg::kGoOn;
}

long ZododovuRavuVODCtrl::writeStep(const CardRecord& record, stCardAnswer& out) {
  // P1 P2 name the log file; nothing is selected, so baEFID stays at the card data's file.
  static const char kLogFile[] = "1080";
  unsigned char p1p2[2] = {};
  GP_PackData(kLogFile, sizeof kLogFile - 1, p1p2, sizeof p1p2);
  unsigned char answer[256] = {};
  unsigned char answerLength = 0;
  swRaw = 0;
  lastResult = static_cast<long>(FISC_WriteRecordWithSNUMTAC(hCard, p1p2, static_cast<unsigned char>(record.size()),
                                                             record.bytes().data(), answer, sizeof answer,
                                                             &answerLength, &swRaw));
  uiSW12 = swRaw;
  if (stepFailed(lastResult)) {
    LogMsg(2, "writeStep", "FISC_WriteRecordWithSNUMTAC() error with error code:[0x%08x], uiSW12:[0x%08x].", lastResult,
           swRaw);
    return refuseStep(rc::kWriteFailed);
  }
  const std::optional<WriteAnswer> written = writeAnswer(answer, answerLength);
  if (!written) {
    LogMsg(2, "writeStep", "answer of [%d] bytes refused.", answerLength);
    return refuseStep(rc::kWriteFailed);
  }
  out.sSerialNo = written->serial;
  out.sTac = GP_UnpackData(written->tac, written->tacLength);
  return lastResult;
}

long ZododovuRavuVODCtrl::finishRequest(const std::string& xml) {
  XMLStr = xml;
  return sealRequest(xml);
}
