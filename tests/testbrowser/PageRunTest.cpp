// Runs the testbrowser program on pages against the fake plug-in and checks its exit status and output.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <fstream>
#include <string>

#include "programrun/ProgramRun.h"

namespace {

using rvp::programrun::RunResult;

RunResult runBrowser(const std::string& arguments, const char* plugin = FAKE_PLUGIN) {
  return rvp::programrun::run(std::string(TESTBROWSER_PROGRAM) + " --plugin " + plugin + " " + arguments);
}

std::string writePage(const std::string& name, const std::string& text) {
  std::string path = ::testing::TempDir() + "testbrowser-" + name + ".html";
  std::ofstream(path) << text;
  return path;
}

// Pages kept as files: each ends by logging "<name> done", and must run clean.
TEST(PageRun, PagesRunCleanAgainstTheFakePlugin) {
  for (const char* name : {"basics", "events", "instances", "models", "onload", "proxy"}) {
    RunResult r = runBrowser(std::string(PAGES_DIR) + "/" + name + ".html");
    EXPECT_EQ(r.status, 0) << name << ":\n" << r.output;
    EXPECT_NE(r.output.find(std::string(name) + " done"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("0 leak(s)"), std::string::npos) << r.output;
  }
}

struct Case {
  const char* name;
  const char* script;
  int status;
  const char* expected;  // text the output must contain
};

// Faults the browser must notice: leaks (status 2), script errors and plug-in misuse (status 1).
TEST(PageRun, FaultsAreReportedWithTheirStatus) {
  const Case cases[] = {
      {"leaked-object", "plugin.leakObject();", 2, "leaked object"},
      {"leaked-memory", "plugin.leakMemory(40);", 2, "40 byte(s) from memalloc never freed"},
      {"leaked-identifier-text", "plugin.leakIdentifierText();", 2, "from identifier text never freed"},
      {"uncaught", "throw new Error('boom');", 1, "uncaught exception"},
      {"uncaught-in-timer", "setTimeout(function () { null.x; }, 100);", 1, "in a timer"},
      {"throwing-listener", "plugin.callback(function () { throw new Error('listener'); });", 1,
       "in a page function the plug-in called"},
      {"released-twice", "plugin.releaseTwice();", 1, "releaseobject on an object that is not alive"},
      {"foreign-free", "plugin.freeForeign();", 1, "memfree of a block the browser did not allocate"},
      {"unused-user-step", "user.click('okButton');", 1, "scripted-user step(s) were queued but never used"},
      {"leak-and-error", "plugin.leakObject(); throw new Error('x');", 3, "leaked object"},
  };
  for (const Case& c : cases) {
    std::string page =
        "<embed id=\"plugin\" type=\"application/x-fake\">\n<script>" + std::string(c.script) + "</script>\n";
    RunResult r = runBrowser(writePage(c.name, page));
    EXPECT_EQ(r.status, c.status) << c.name << ":\n" << r.output;
    EXPECT_NE(r.output.find(c.expected), std::string::npos) << c.name << ":\n" << r.output;
  }
}

// The page feeds the dialog toolkit's scripted user, which answers a modal alert inside a plug-in call.
TEST(PageRun, PageFedScriptedUserAnswersDialogs) {
  RunResult r = runBrowser(std::string(PAGES_DIR) + "/dialog.html", DIALOG_PLUGIN);
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("dialog done"), std::string::npos) << r.output;

  const Case cases[] = {
      {"user-unknown-step", "user.dance(); plugin.ask('x');", 1, "scripted user: cannot read the step \"dance\""},
      {"user-wrong-check", "user.expectAlert('', 'other'); user.answerAlert(1); plugin.ask('x');", 1, "scripted user:"},
      {"user-step-never-taken", "user.answerAlert(1);", 1, "scripted user: 1 step(s) never taken"},
      // A page that expects a dialog the plug-in never opens fails, though the plug-in keeps its user.
      {"dialog-never-opened", "user.expectWindow('ATM_Trans_Dlg'); user.click('btnOK');", 1,
       "scripted user: 2 step(s) never taken"},
  };
  for (const Case& c : cases) {
    std::string page =
        "<embed id=\"plugin\" type=\"application/x-fake\">\n<script>" + std::string(c.script) + "</script>\n";
    RunResult fault = runBrowser(writePage(c.name, page), DIALOG_PLUGIN);
    EXPECT_EQ(fault.status, c.status) << c.name << ":\n" << fault.output;
    EXPECT_NE(fault.output.find(c.expected), std::string::npos) << c.name << ":\n" << fault.output;
  }
}

TEST(PageRun, CommandLineEmbedsAndScripts) {
  std::string script = ::testing::TempDir() + "testbrowser-cli.js";
  std::ofstream(script) << "assertEqual(plugin.param('mode'), 'x'); assertEqual(location.hostname, 'bank.example');"
                           "assertEqual(location.port, '8443'); console.log('cli done');";
  RunResult r = runBrowser(
      "--embed application/x-fake --param mode=x --location https://bank.example:8443/p "
      "--script " +
      script);
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("cli done"), std::string::npos) << r.output;
}

TEST(PageRun, SetupFailuresExitWithFour) {
  EXPECT_EQ(runBrowser("/nonexistent/page.html").status, 4);
  RunResult r = runBrowser("--no-such-option");
  EXPECT_EQ(r.status, 4);
  std::string page = writePage("missing-plugin", "<embed type=\"x\">");
  std::string command = std::string(TESTBROWSER_PROGRAM) + " --plugin /nonexistent/plugin.so " + page + " 2>&1";
  int raw = std::system(command.c_str());
  EXPECT_EQ(WEXITSTATUS(raw), 4);
}

}  // namespace
