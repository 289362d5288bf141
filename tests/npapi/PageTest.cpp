// Page scripts in the test browser against the built plug-in: each page must run clean (no script error,
// no misuse of the browser functions, no leaked object, identifier or memory) and reach its last line.
#include <gtest/gtest.h>

#include <string>

#include "cardbench/Pcscd.h"
#include "programrun/ProgramRun.h"

namespace {

using rvp::programrun::RunResult;

RunResult runPage(const std::string& page) {
  return rvp::programrun::run(std::string(TESTBROWSER_PROGRAM) + " --plugin " + PLUGIN_LIBRARY + " " + PAGES_DIR +
                              "/" + page + ".html");
}

void expectClean(const std::string& page) {
  SCOPED_TRACE(page);
  RunResult r = runPage(page);
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find(page + " done"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("0 script error(s), 0 misuse(s), 0 leak(s)"), std::string::npos) << r.output;
}

TEST(Pages, StartUpOrderWithOnloadAfter250Milliseconds) { expectClean("startup"); }
TEST(Pages, PropertiesMethodsEnumerationAndExceptions) { expectClean("values"); }
TEST(Pages, RefusedOriginGets9980) { expectClean("refused"); }
TEST(Pages, EventsReachListenersAfterTheLoopRuns) { expectClean("events"); }
TEST(Pages, CallsAfterDestroyFailCleanly) { expectClean("destroyed"); }
TEST(Pages, TwoInstancesSideBySide) { expectClean("instances"); }
TEST(Pages, DrawingAndEventModelsAgreedWithTheBrowser) {
  expectClean("models");
  expectClean("nomodels");
}

TEST(Pages, ListReadersThroughPcscd) {
  rvp::cardbench::ensurePcscd();
  expectClean("readers");
}

}  // namespace
