#include "PageInputs.h"

#include "ZododovuRavuVODCtrl.h"

stTransferIn transferInput(const ZododovuRavuVODCtrl& ctrl) {
  stTransferIn in;
  in.sPIN = ctrl.GetbaPIN();
  in.sCheckCode = ctrl.GetbaIFD_Chk_Code();
  in.sTerminalId = ctrl.GetbaIFD_ID();
  in.sAccountIndex = ZododovuRavuVODCtrl::format("%02s", ctrl.GetbAccountID());
  in.sAgencyBank = ctrl.GetbaAagency_No();
  in.sPayeeBank = ctrl.GetbaAccept_No();
  in.sPayeeAccount = ZododovuRavuVODCtrl::format("%016s", ctrl.GetbaImport_Account());
  in.sAmount = ZododovuRavuVODCtrl::format("%014s", ctrl.GetbaMoney());
  in.sDateTime = ctrl.GetOptionData(1);
  return in;
}

std::string postalAmount(const std::string& money) { return ZododovuRavuVODCtrl::format("%014s", money + "00"); }
