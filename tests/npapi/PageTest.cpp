// Page scripts in the test browser against the built plug-in: each page must run clean (no script error,
// no misuse of the browser functions, no leaked object, identifier or memory) and reach its last line.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "cardbench/Pcscd.h"

namespace {

struct RunResult {
  int status;
  std::string output;
};

RunResult runPage(const std::string& page) {
  std::string command = std::string(TESTBROWSER_PROGRAM) + " --plugin " + PLUGIN_LIBRARY + " " + PAGES_DIR + "/" +
                        page + ".html 2>&1";
  RunResult result{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.output.append(buffer.data(), n);
  int raw = pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
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
