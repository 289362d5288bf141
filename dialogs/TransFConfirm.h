#pragma once

#include <string>

#include "CaptchaButton.h"
#include "DialogFrame.h"
#include "ZododovuRavuVODCtrl.h"
#include "transactions/TransactionRecords.h"

// The last window of a form-driven transfer: shows the paying account, the payee account and the amount
// in drawn boxes (captcha buttons as entry displays), continues the form's countdown, and on OK has the card write the
// transaction record itself (reconnect, the pull-out check for reader type "1", the login-card check, the card step).
// The card's answer stays in the records for the caller's getters. Ends with 0 when the card wrote the record, 2 on
// Cancel or a failed reconnection, 9950 when the time ran out, or the card step's own code; a card that refused the
// write (8900), a card not pulled out and a card that is not the login card leave it open for another OK.
class TransFConfirm : public DialogFrame {
 public:
  static constexpr int kSeconds = 600;

  TransFConfirm();
  ~TransFConfirm() override;

  bool initWithWindow(std::unique_ptr<appkit::Window> window) override;
  void windowDidLoad() override;
  bool refusesPhysicalKeys() const override { return true; }

  // Setters, in the order the transactions send them.
  void SetOut_ACCT(const std::string& text);
  void SetOut_RealACCT(const std::string& text) { Out_RealACCT = text; }
  void SetIn_ACCT(const std::string& text);
  void SetTrans_Amount(const std::string& text);
  void SetReaderName(const std::string& text) { ReaderName = text; }
  void SethCardHandle(int handle) { hCardHandle = handle; }
  void SetReaderType(const std::string& text);
  void SetCardPIN(const std::string& text) { CardPIN = text; }
  void SetATM_Check_Code(const std::string& text) { ATM_Check_Code = text; }
  void SetATM_NO(const std::string& text) { ATM_NO = text; }
  void SetAccountIndex(const std::string& text) { AccountIndex = text; }
  void SetAgentNo(const std::string& text) { AgentNo = text; }
  void SetAcceptNo(const std::string& text) { AcceptNo = text; }
  void SetImportAccount(const std::string& text) { ImportAccount = text; }
  void SetTransDateTime(const std::string& text) { TransDataTime = text; }
  void SetPCODE(const std::string& text) { PCODE = text; }
  void SetLoginIssuerID(const std::string& text) { LoginIssuerID = text; }
  void SetLoginIssuerAccount(const std::string& text) { LoginIssuerAccount = text; }

  // What the card step sent and what the card answered.
  std::string GetOutData_cardinfo_IssueNo() const { return stOutData.sIssueNo; }
  std::string GetOutData_cardinfo_Remark() const { return stOutData.sRemark; }
  std::string GetOutData_cardinfo_MainAccount() const { return stOutData.sMainAccount; }
  std::string GetOutData_cardinfo_Account() const { return stOutData.sAccount; }
  std::string GetOutData_SNUM() const { return stOutData.sSerialNo; }
  std::string GetOutData_TSAC() const { return stOutData.sTac; }
  std::string GetOutData_PCODE() const { return stOutData.sTacId; }
  std::string GetInData_IFDChkCode() const { return stInData.sCheckCode; }
  std::string GetInData_IFDId() const { return stInData.sTerminalId; }
  std::string GetInData_AageneyNo() const { return stInData.sAgencyBank; }
  std::string GetInData_AcceptNo() const { return stInData.sPayeeBank; }
  std::string GetInData_ImportAccount() const { return stInData.sPayeeAccount; }
  std::string GetInData_Money() const { return stInData.sAmount; }
  std::string GetInData_TrnsTime() const { return stInData.sDateTime; }

  void btnOK(appkit::View* sender);
  void btnCancel(appkit::View* sender);

  appkit::Outlet<CaptchaButton> cbOutAccount{this, "cbOutAccount"};
  appkit::Outlet<CaptchaButton> cbInAccount{this, "cbInAccount"};
  appkit::Outlet<CaptchaButton> cbAmount{this, "cbAmount"};
  appkit::Outlet<appkit::Button> btnCancelOutlet{this, "btnCancel"};
  appkit::Outlet<appkit::Button> btnOKOutlet{this, "btnOK"};
  appkit::Outlet<appkit::TextField> ReadType2Text{this, "ReadType2Text"};

 private:
  // The card step of one OK, on a controller of its own; the dialog has ended or stays open after it.
  void cardStep(ZododovuRavuVODCtrl& card);
  void fillCardStepInput();
  void showReaderTypeNote();

  stTransferIn stInData;
  stTransferOut stOutData;
  std::string LoginIssuerID;
  std::string LoginIssuerAccount;
  std::string Out_ACCT;
  std::string In_ACCT;
  std::string Trans_Amount;
  std::string CardPIN;
  std::string ATM_Check_Code;
  std::string ATM_NO;
  std::string AccountIndex;
  std::string AgentNo;
  std::string AcceptNo;
  std::string ImportAccount;
  std::string TransDataTime;
  std::string PCODE;
  std::string Out_RealACCT;
  std::string ReaderName;
  std::string ReaderType;
  int hCardHandle = 0;
};
