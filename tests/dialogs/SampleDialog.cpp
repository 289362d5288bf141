#include "SampleDialog.h"

#include "MessageBox.h"
#include "appkit/Layout.h"
#include "graphics/BezierPath.h"
#include "graphics/Graphics.h"

namespace {

using namespace appkit::layout;

// A small card in a reader, to show that layouts can carry pictures.
void drawCard(const appkit::Rect& bounds) {
  graphics::Color::rgb(0.18, 0.45, 0.30).set();
  graphics::rectFill(bounds.insetBy(4, 10));
  graphics::Color::rgb(0.95, 0.80, 0.30).set();
  graphics::rectFill(appkit::Rect::make(14, bounds.height() / 2 - 8, 18, 14));
  graphics::Color::whiteColor().set();
  graphics::BezierPath swoosh;
  swoosh.moveToPoint({40, bounds.height() - 18});
  swoosh.curveToPoint({bounds.width() - 10, 18}, {60, 10}, {bounds.width() - 30, bounds.height()});
  swoosh.setLineWidth(2);
  swoosh.stroke();
}

const appkit::LayoutRegistration kSampleLayout(appkit::Layout{
    "SampleDialog",
    "郵政晶片金融卡 範例",
    {460, 330},
    {
        label("tfCaption", rect(20, 16, 300, 22), "請在時間內完成交易").withFontSize(15).withBold(),
        label("", rect(330, 16, 70, 22), "剩餘秒數"),
        label("tfTimer", rect(400, 16, 40, 22), "600").withTextColor(graphics::Color::redColor()),
        comboBox("cmbBankList", rect(20, 52, 300, 26),
                 "cmbBank:", {"==選擇銀行代號==", "700 中華郵政", "004 臺灣銀行"}),
        imageView("DIGPICView", rect(340, 48, 100, 64), drawCard),
        tableView("tblRows", rect(20, 90, 300, 110),
                  {{"BankID", "銀行", 60}, {"InAccount", "帳號", 150}, {"Comment", "備註", 90}}),
        label("", rect(20, 212, 60, 24), "備註"),
        textField("edtNote", rect(80, 212, 240, 24)).withEditable(),
        button("btnAsk", rect(340, 130, 100, 30), "詢問", "btnAsk:"),
        button("btnChild", rect(340, 170, 100, 30), "下一步", "btnChild:"),
        button("btnChildAlongside", rect(340, 210, 100, 30), "同時", "btnChildAlongside:"),
        button("btnOK", rect(230, 280, 100, 32), "確定", "btnOK:"),
        button("btnCancel", rect(340, 280, 100, 32), "取消", "CloseWindow:"),
    },
    "CloseWindow:"});

}  // namespace

SampleDialog::SampleDialog() {
  addAction("btnOK:", [this](appkit::View* s) { btnOK(s); });
  addAction("btnAsk:", [this](appkit::View* s) { btnAsk(s); });
  addAction("btnChild:", [this](appkit::View* s) { btnChild(s); });
  addAction("btnChildAlongside:", [this](appkit::View* s) { btnChildAlongside(s); });
  addAction("cmbBank:", [this](appkit::View* s) { cmbBank(s); });
}

bool SampleDialog::initWithWindow(std::unique_ptr<appkit::Window> window) {
  if (!DialogFrame::initWithWindow(std::move(window))) return false;
  rows_ = {"700|0001234567|媽媽", "008|1234567890|房租"};
  return true;
}

void SampleDialog::windowDidLoad() {
  DialogFrame::windowDidLoad();
  cmbBankList->selectItemAtIndex(0);
  tblRows->reloadData();
  startCountdown(600);
}

int SampleDialog::numberOfRowsInTableView(appkit::TableView&) { return static_cast<int>(rows_.size()); }

std::string SampleDialog::tableViewObjectValue(appkit::TableView&, const std::string& column, int row) {
  const std::string& text = rows_.at(static_cast<std::size_t>(row));
  std::size_t first = text.find('|'), second = text.find('|', first + 1);
  if (column == "BankID") return text.substr(0, first);
  if (column == "InAccount") return text.substr(first + 1, second - first - 1);
  if (column == "Comment") return text.substr(second + 1);
  return std::string();
}

void SampleDialog::btnOK(appkit::View*) {
  if (hasEnded()) ++actionsAfterEnd;
  endDialog(kConfirmed);
}

// Asks, then confirms on "確定" as a form's OK handler does after its last warning.
void SampleDialog::btnAsk(appkit::View*) {
  questionAnswer = MessageBox("確定要送出嗎？", "範例", 3);
  if (hasEnded()) {
    ++actionsAfterEnd;
    return;
  }
  endDialog(questionAnswer == 6 ? kConfirmed : kCancelled);
}

int SampleDialog::runChild(int* secondsLeft) {
  SampleDialog child;
  child.initWithWindowNibName("SampleDialog");
  child.SetCounter(GetCounter());
  appkit::app().runModalForWindow(child.window());
  if (secondsLeft) *secondsLeft = child.GetCounter();
  return child.GetReturnCode();
}

void SampleDialog::btnChild(appkit::View*) {
  stopCountdown();
  int left = 0;
  childReturnCode = runChild(&left);
  // The child had the rest of the time; what it left is ours again.
  SetCounter(left);
  startCountdownTimer();
}

void SampleDialog::btnChildAlongside(appkit::View*) { childReturnCode = runChild(nullptr); }

void SampleDialog::cmbBank(appkit::View*) { tfCaption->setStringValue(cmbBankList->objectValueOfSelectedItem()); }
