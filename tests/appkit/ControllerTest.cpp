#include <algorithm>
#include <string>
#include <vector>

#include "ToolkitFixture.h"

namespace {

using namespace appkit::layout;
using appkit::app;

const appkit::LayoutRegistration kProbeLayout(appkit::Layout{
    "ProbeWindow",
    "Probe",
    {300, 200},
    {
        textField("edtName", rect(10, 10, 200, 24)).withEditable(),
        textField("edtShown", rect(10, 40, 200, 24)),
        button("btnGo", rect(10, 70, 80, 30), "Go", "btnGo:"),
        comboBox("cmbKind", rect(10, 110, 200, 26), "cmbKind:", {"a", "b", "c"}),
        tableView("tblRows", rect(10, 140, 200, 50), {{"Name", "Name", 100}}),
        button("btnToggle", rect(100, 70, 80, 30), "T", "btnGo:").withButtonType(appkit::ButtonType::Toggle),
    },
    "btnGo:"});

class Probe : public appkit::WindowController, public appkit::TableDataSource {
 public:
  Probe() {
    addAction("btnGo:", [this](appkit::View* s) { log.push_back("go"); });
    addAction("cmbKind:", [this](appkit::View*) { log.push_back("kind " + cmbKind->objectValueOfSelectedItem()); });
  }
  void windowDidLoad() override { log.push_back("loaded"); }
  void keyDown(const appkit::KeyEvent& e) override { log.push_back("key " + e.characters); }

  int numberOfRowsInTableView(appkit::TableView&) override { return static_cast<int>(rows.size()); }
  std::string tableViewObjectValue(appkit::TableView&, const std::string&, int row) override { return rows[row]; }
  void tableViewSetObjectValue(appkit::TableView&, const std::string& v, const std::string&, int row) override {
    rows[row] = v;
  }

  std::vector<std::string> log;
  std::vector<std::string> rows{"x", "y"};
  appkit::Outlet<appkit::TextField> edtName{this, "edtName"};
  appkit::Outlet<appkit::ComboBox> cmbKind{this, "cmbKind"};
  appkit::Outlet<appkit::TableView> tblRows{this, "tblRows"};
  appkit::Outlet<appkit::Button> btnGo{this, "btnGo"};
};

// Outlets the layout lacks or gives another class.
class ProbeWithMissingParts : public Probe {
 public:
  appkit::Outlet<appkit::TextField> edtMissing{this, "edtMissing"};
  appkit::Outlet<appkit::ComboBox> cmbMissing{this, "cmbMissing"};
  appkit::Outlet<appkit::TableView> tblMissing{this, "tblMissing"};
  appkit::Outlet<appkit::ComboBox> btnGoAsCombo{this, "btnGo"};
  appkit::Outlet<appkit::TextField> optionalLabel{this, "tfLabel", appkit::OutletBase::Need::Optional};
};

class ControllerTest : public ToolkitTest {};

TEST_F(ControllerTest, TheWindowLoadsOnFirstAskWithOutletsAndActionsWired) {
  Probe probe;
  probe.initWithWindowNibName("ProbeWindow");
  EXPECT_FALSE(probe.isWindowLoaded());
  EXPECT_TRUE(probe.log.empty());
  appkit::Window* w = probe.window();
  ASSERT_NE(nullptr, w);
  EXPECT_EQ(w, probe.window());
  EXPECT_EQ((std::vector<std::string>{"loaded"}), probe.log);
  EXPECT_TRUE(probe.wiringProblems().empty());
  EXPECT_EQ(w->viewWithIdentifier("edtName"), probe.edtName.get());
  probe.btnGo->performClick();
  w->clickCloseBox();
  EXPECT_EQ((std::vector<std::string>{"loaded", "go", "go"}), probe.log);
  probe.close();  // a closed window's controls and close box send nothing
  probe.btnGo->performClick();
  probe.cmbKind->choose(1);
  w->clickCloseBox();
  EXPECT_EQ(3u, probe.log.size());
}

TEST_F(ControllerTest, MissingOutletsTakeEveryCallAndAnswerEmpty) {
  ProbeWithMissingParts probe;
  probe.initWithWindowNibName("ProbeWindow");
  probe.window();
  probe.edtMissing->setStringValue("lost");
  probe.edtMissing->setIntegerValue(12);
  probe.edtMissing->setHidden(true);
  EXPECT_EQ("", probe.edtMissing->stringValue());
  EXPECT_EQ(0, probe.edtMissing->integerValue());
  EXPECT_FALSE(probe.edtMissing->isHidden());
  probe.cmbMissing->addItemWithObjectValue("x");
  probe.cmbMissing->selectItemAtIndex(0);
  EXPECT_EQ(0, probe.cmbMissing->numberOfItems());
  EXPECT_EQ(0, probe.cmbMissing->indexOfSelectedItem());
  EXPECT_EQ(0, probe.tblMissing->selectedRow());
  EXPECT_FALSE(static_cast<bool>(probe.edtMissing));
  EXPECT_EQ(3u, probe.wiringProblems().size() - 1);  // three missing, one of another class
  EXPECT_FALSE(static_cast<bool>(probe.btnGoAsCombo));
}

TEST_F(ControllerTest, LayoutActionsTheControllerLacksAreReported) {
  appkit::WindowController bare;
  bare.initWithWindowNibName("ProbeWindow");
  ASSERT_NE(nullptr, bare.window());
  std::vector<std::string> problems = bare.wiringProblems();
  EXPECT_NE(problems.end(), std::find(problems.begin(), problems.end(), "controller has no action \"btnGo:\""));
  EXPECT_NE(problems.end(),
            std::find(problems.begin(), problems.end(), "table \"tblRows\" wants the controller as its data source"));
}

TEST_F(ControllerTest, KeysGoToTheFocusedEditableFieldElseToTheController) {
  Probe probe;
  probe.initWithWindowNibName("ProbeWindow");
  appkit::Window* w = probe.window();
  w->sendKeyEvent(appkit::KeyEvent::character("a"));
  EXPECT_FALSE(w->makeFirstResponder(w->viewWithIdentifier("edtShown")));  // not editable
  ASSERT_TRUE(w->makeFirstResponder(probe.edtName.get()));
  w->sendKeyEvent(appkit::KeyEvent::character("b"));
  w->sendKeyEvent(appkit::KeyEvent::character("\x01"));  // control characters are not text
  probe.edtName->setHidden(true);                        // hiding drops the focus
  w->sendKeyEvent(appkit::KeyEvent::character("c"));
  EXPECT_EQ("b", probe.edtName->stringValue());
  EXPECT_EQ((std::vector<std::string>{"loaded", "key a", "key c"}), probe.log);
}

TEST_F(ControllerTest, CombosSendTheirActionOnlyWhenTheUserChooses) {
  Probe probe;
  probe.initWithWindowNibName("ProbeWindow");
  probe.window();
  appkit::ComboBox& combo = *probe.cmbKind;
  EXPECT_EQ(-1, combo.indexOfSelectedItem());
  combo.selectItemAtIndex(1);
  EXPECT_EQ("b", combo.stringValue());
  EXPECT_TRUE(combo.choose(2));
  combo.selectItemAtIndex(7);
  EXPECT_EQ(-1, combo.indexOfSelectedItem());
  combo.setEnabled(false);
  EXPECT_FALSE(combo.choose(0));
  combo.setEnabled(true);
  combo.removeAllItems();
  EXPECT_EQ(0, combo.numberOfItems());
  EXPECT_EQ(-1, combo.indexOfSelectedItem());
  EXPECT_FALSE(combo.choose(0));
  EXPECT_EQ((std::vector<std::string>{"loaded", "kind c"}), probe.log);
}

TEST_F(ControllerTest, TablesAskTheirDataSourceAndKeepASelectionInRange) {
  Probe probe;
  probe.initWithWindowNibName("ProbeWindow");
  probe.window();
  appkit::TableView& table = *probe.tblRows;
  EXPECT_EQ(2, table.numberOfRows());
  EXPECT_EQ(-1, table.selectedRow());
  EXPECT_EQ(0, table.numberOfSelectedRows());
  EXPECT_TRUE(table.editCell(1, "Name", "z"));
  EXPECT_EQ("z", table.cellText(1, "Name"));
  table.selectRow(1);
  probe.rows.pop_back();
  table.reloadData();
  EXPECT_EQ(-1, table.selectedRow());
  EXPECT_FALSE(table.clickRow(5));
  EXPECT_TRUE(table.clickRow(0));
  EXPECT_EQ(1, table.numberOfSelectedRows());
}

TEST_F(ControllerTest, TogglesFlipAndHiddenOrDisabledButtonsTakeNoClick) {
  Probe probe;
  probe.initWithWindowNibName("ProbeWindow");
  auto* toggle = dynamic_cast<appkit::Button*>(probe.window()->viewWithIdentifier("btnToggle"));
  ASSERT_NE(nullptr, toggle);
  toggle->performClick();
  EXPECT_EQ(1, toggle->state());
  toggle->performClick();
  EXPECT_EQ(0, toggle->state());
  toggle->setHidden(true);
  toggle->performClick();
  probe.btnGo->setEnabled(false);
  probe.btnGo->performClick();
  EXPECT_EQ(0, toggle->state());
  EXPECT_EQ(3u, probe.log.size());  // loaded, and the actions of the two clicks that were taken
}

TEST_F(ControllerTest, AScriptedUserReportsWhatItCannotDo) {
  Probe probe;
  probe.initWithWindowNibName("ProbeWindow");
  probe.btnGo->setEnabled(false);  // before the window loads the outlet is empty: this does nothing
  probe.window();
  probe.btnGo->setEnabled(false);
  std::vector<std::string> failures;
  appkit::ScriptedUser user([&](const std::string& m) { failures.push_back(m); });
  user.click("btnGo").click("nothing").chooseItem("cmbKind", "zz").expectText("edtShown", "?").answerAlert(1).run([&] {
    app().stopModal(probe.window());
  });
  app().runModalForWindow(probe.window());
  EXPECT_EQ((std::vector<std::string>{
                "cannot click disabled \"btnGo\"",
                "window \"ProbeWindow\" has no control \"nothing\" to click",
                "cannot choose \"zz\" in \"cmbKind\"",
                "\"edtShown\" shows \"\", expected \"?\"",
                "expected an alert to answer, found window \"ProbeWindow\"",
            }),
            failures);
}

}  // namespace

namespace {

TEST_F(ControllerTest, StepsWrittenAsWordsDriveTheSameUser) {
  Probe probe;
  probe.initWithWindowNibName("ProbeWindow");
  probe.window();
  std::vector<std::string> failures;
  appkit::ScriptedUser user([&](const std::string& m) { failures.push_back(m); });
  const std::vector<std::vector<std::string>> script = {
      {"expectWindow", "ProbeWindow"},
      {"chooseItem", "cmbKind", "b"},
      {"choose", "cmbKind", "2"},
      {"selectRow", "tblRows", "1"},
      {"editCell", "tblRows", "0", "Name", "q"},
      {"focus", "edtName"},
      {"type", "ab"},
      {"key", "backspace"},
      {"expectText", "edtName", "a"},
      {"wait", "2.5"},
      {"click", "btnGo"},
      {"closeWindow"},
  };
  for (const auto& words : script) {
    std::string error;
    EXPECT_TRUE(user.addStep(words, &error)) << error;
  }
  const std::vector<std::vector<std::string>> refused = {
      {},
      {"dance"},
      {"click"},
      {"choose", "cmbKind", "two"},
      {"wait", "-1"},
      {"wait", "nan"},
      {"answerAlert", "4"},
      {"expectAlert", "a", "b", "loud"},
      {"type", "a", "b"},
  };
  for (const auto& words : refused) {
    std::string error;
    EXPECT_FALSE(user.addStep(words, &error));
    EXPECT_FALSE(error.empty());
  }
  user.run([&] { app().stopModal(probe.window()); });
  app().runModalForWindow(probe.window());
  EXPECT_TRUE(failures.empty()) << failures.front();
  EXPECT_TRUE(user.finished());
  EXPECT_EQ((std::vector<std::string>{"loaded", "kind b", "kind c", "go", "go"}), probe.log);
  EXPECT_EQ("q", probe.rows[0]);
  EXPECT_EQ(1, probe.tblRows->selectedRow());
  EXPECT_DOUBLE_EQ(2.5, appkit::Clock::now());
}

}  // namespace
