#pragma once

#include <string>
#include <vector>

#include "DialogFrame.h"
#include "appkit/Controls.h"

// A dialog built on the frame as the real dialogs are: a countdown of 600 seconds, a confirm button,
// a cancel button and close box wired to CloseWindow:, a question asked with a message box, a list
// and a table, and two buttons that run a second sample dialog above itself: one hands the child its
// remaining seconds and takes back what is left (the parent's countdown pauses), the other lets both
// count at once.
class SampleDialog : public DialogFrame, public appkit::TableDataSource {
 public:
  SampleDialog();

  bool initWithWindow(std::unique_ptr<appkit::Window> window) override;
  void windowDidLoad() override;

  int numberOfRowsInTableView(appkit::TableView& table) override;
  std::string tableViewObjectValue(appkit::TableView& table, const std::string& column, int row) override;

  // What the question returned (-1 before it was asked), and how often an action ran after the end.
  int questionAnswer = -1;
  int actionsAfterEnd = 0;
  int childReturnCode = -1;
  int endings = 0;

  void windowWillClose(appkit::Window& window) override { ++endings; }

 protected:
  bool refusesPhysicalKeys() const override { return true; }

 private:
  void btnOK(appkit::View* sender);
  void btnAsk(appkit::View* sender);
  void btnChild(appkit::View* sender);
  void btnChildAlongside(appkit::View* sender);
  int runChild(int* secondsLeft);
  void cmbBank(appkit::View* sender);

  std::vector<std::string> rows_;
  appkit::Outlet<appkit::TextField> tfCaption{this, "tfCaption"};
  appkit::Outlet<appkit::ComboBox> cmbBankList{this, "cmbBankList"};
  appkit::Outlet<appkit::TableView> tblRows{this, "tblRows"};
  appkit::Outlet<appkit::TextField> edtNote{this, "edtNote"};
};
