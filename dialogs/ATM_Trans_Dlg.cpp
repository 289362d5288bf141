#include "ATM_Trans_Dlg.h"

#include "appkit/Layout.h"

namespace {
using namespace appkit::layout;

const appkit::LayoutRegistration kLayout(appkit::Layout{
    "ATM_Trans_Dlg",
    "轉帳交易確認",
    {420, 230},
    {
        label("", rect(20, 16, 380, 24), "請確認以下轉帳資料：").withFontSize(15).withBold(),
        label("", rect(20, 56, 90, 24), "轉出帳號"),
        textField("edtTransferAccount", rect(120, 54, 280, 26)),
        label("", rect(20, 94, 90, 24), "轉入帳號"),
        textField("edtImportAccount", rect(120, 92, 280, 26)),
        label("", rect(20, 132, 90, 24), "轉帳金額"),
        textField("edtAmount", rect(120, 130, 280, 26)),
        button("btnOK", rect(190, 180, 100, 32), "確定", "btnOK:"),
        button("btnCancel", rect(300, 180, 100, 32), "取消", "btnCancel:"),
    },
    "btnCancel:"});
}  // namespace

ATM_Trans_Dlg::ATM_Trans_Dlg() {
  addAction("btnOK:", [this](appkit::View* sender) { btnOK(sender); });
  addAction("btnCancel:", [this](appkit::View* sender) { btnCancel(sender); });
}

void ATM_Trans_Dlg::windowDidLoad() {
  DialogFrame::windowDidLoad();
  edtTransferAccount->setStringValue(m_TransferAccount);
  edtImportAccount->setStringValue(m_ImportAccount);
  edtAmount->setStringValue(m_Amount);
  edtTransferAccount->setEditable(false);
  edtImportAccount->setEditable(false);
  edtAmount->setEditable(false);
}

void ATM_Trans_Dlg::SetTransferAccount(const std::string& text) {
  m_TransferAccount = text;
  edtTransferAccount->setStringValue(text);
}

void ATM_Trans_Dlg::SetImportAccount(const std::string& text) {
  m_ImportAccount = text;
  edtImportAccount->setStringValue(text);
}

void ATM_Trans_Dlg::SetAmount(const std::string& text) {
  m_Amount = text;
  edtAmount->setStringValue(text);
}

void ATM_Trans_Dlg::btnOK(appkit::View*) { endDialog(kGoOn, ModalEnd::Stop); }

void ATM_Trans_Dlg::btnCancel(appkit::View*) { endDialog(kStop, ModalEnd::Stop); }
