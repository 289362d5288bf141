#pragma once

#include <string>

#include "DialogFrame.h"

// The transfer check: shows the paying account, the payee account and the amount, and lets the
// customer go on (btnOK:, code 1) or stop (btnCancel:, code 2). No countdown.
class ATM_Trans_Dlg : public DialogFrame {
 public:
  static constexpr int kGoOn = 1;
  static constexpr int kStop = 2;

  ATM_Trans_Dlg();

  void windowDidLoad() override;

  void SetTransferAccount(const std::string& text);
  void SetImportAccount(const std::string& text);
  void SetAmount(const std::string& text);

  void btnOK(appkit::View* sender);
  void btnCancel(appkit::View* sender);

  appkit::Outlet<appkit::Button> btnCancelOutlet{this, "btnCancel"};
  appkit::Outlet<appkit::Button> btnOKOutlet{this, "btnOK"};
  appkit::Outlet<appkit::TextField> edtTransferAccount{this, "edtTransferAccount"};
  appkit::Outlet<appkit::TextField> edtImportAccount{this, "edtImportAccount"};
  appkit::Outlet<appkit::TextField> edtAmount{this, "edtAmount"};

 private:
  std::string m_TransferAccount;
  std::string m_ImportAccount;
  std::string m_Amount;
};
