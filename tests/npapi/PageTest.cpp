// Page scripts in the test browser against the built plug-in: each page must run clean (no script error,
// no misuse of the browser functions, no leaked object, identifier or memory) and reach its last line.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "cardbench/Pcscd.h"
#include "programrun/ProgramRun.h"

namespace {

using rvp::programrun::RunResult;

// Pages run in the test's pictures folder, so the pictures they write land there.
RunResult runPage(const std::string& page) {
  return rvp::programrun::run(std::string("cd '") + PICTURES_DIR + "' && " + TESTBROWSER_PROGRAM + " --plugin " +
                              PLUGIN_LIBRARY + " " + PAGES_DIR + "/" + page + ".html");
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

TEST(Pages, MacWindowsEventsLayerAndLabels) {
  const char* const pictures[] = {"macwindow-layer.png", "macwindow-context.png"};
  for (const char* picture : pictures) std::remove((std::string(PICTURES_DIR) + "/" + picture).c_str());
  expectClean("macwindow");
  for (const char* picture : pictures)
    EXPECT_TRUE(std::ifstream(std::string(PICTURES_DIR) + "/" + picture).good())
        << picture << " in the pictures folder";
}
TEST(Pages, LayersFreedOnceWhateverTheBrowserAnswers) {
  for (const char* answer : {"yes", "no", "unknown"}) expectClean(std::string("layer-retain-") + answer);
}

// The layer ledger at the end catches a browser (or plug-in) that keeps a layer or releases it too often.
TEST(Pages, TheLayerLedgerReportsLeaksAndOverReleases) {
  struct Case {
    const char* name;
    const char* script;
    int status;
    const char* report;
  };
  const Case cases[] = {
      {"layer-kept", "testbrowser.layerRetain('plugin');", 2, "leaked layer(s): 2 never freed"},  // root and label
      {"layer-over-released", "testbrowser.layerRelease('plugin');", 1, "layer released after it was freed, 1 time(s)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = ::testing::TempDir() + c.name + ".html";
    std::ofstream(path) << "<page location=\"https://webatm.postbank.example/\">\n"
                        << "<browser layerretain=\"yes\">\n"
                        << "<embed id=\"plugin\" type=\"application/roda-vennoral-plugin\">\n"
                        << "<script>testbrowser.setWindow('plugin', {width: 10, height: 10});\n"
                        << "testbrowser.layer('plugin');\n"
                        << c.script << "</script>\n";
    RunResult r = rvp::programrun::run(std::string(TESTBROWSER_PROGRAM) + " --plugin " + PLUGIN_LIBRARY + " " + path);
    EXPECT_EQ(r.status, c.status) << r.output;
    EXPECT_NE(r.output.find(c.report), std::string::npos) << r.output;
  }
}

TEST(Pages, ListReadersThroughPcscd) {
  rvp::cardbench::ensurePcscd();
  expectClean("readers");
}

}  // namespace
