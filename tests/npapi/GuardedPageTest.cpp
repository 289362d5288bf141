// Only the bank's pages reach the card: page scripts in the test browser drive the built plug-in (the
// build whose dialogs take the page's user steps) with the virtual bank card in the reader.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cardbench/CardBench.h"
#include "programrun/ProgramRun.h"

namespace {

using namespace rvp::cardbench;
using rvp::programrun::RunResult;

RunResult runPage(const std::string& page, const std::string& location = std::string()) {
  std::string command = std::string(TESTBROWSER_PROGRAM) + " --plugin " + PAGED_PLUGIN_LIBRARY;
  if (!location.empty()) command += " --location '" + location + "'";
  return rvp::programrun::run(command + " " + PAGES_DIR + "/" + page + ".html");
}

// The page ran to its last line with no script error, misuse or leak (a dialog nobody answers is an error).
void expectClean(const RunResult& r, const std::string& doneLine) {
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find(doneLine), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("0 script error(s), 0 misuse(s), 0 leak(s)"), std::string::npos) << r.output;
}

std::set<int> instructionsSeen(BenchCard& card) {
  std::set<int> seen;
  for (const rvp::cardsim::Bytes& command : card.apduCommands())
    if (command.size() >= 4) seen.insert(command[1]);
  return seen;
}

class GuardedPage : public CardBenchTest {};

TEST_F(GuardedPage, ARefusedPageGets9980FromEveryGuardedMemberAndTheCardHearsNothing) {
  const char* const refusedOrigins[] = {
      "https://webatm.postbank.example.evil.example/atm/index.html",
      "https://evil.example/?next=https://webatm.postbank.example/",
      "https://webatm.postbank.example@evil.example/atm/",
      "http://192.168.20./atm/",       // an address prefix is no host of its own
      "https://localhost:+8080/atm/",  // a port with a sign
      "https://webatm.postbank.example:-0/atm/",
      "file:///webatm.postbank.example/atm/index.html",
  };
  BenchCard& card = startCard(0, "bank");
  for (const char* origin : refusedOrigins) {
    SCOPED_TRACE(origin);
    card.clearApduLog();
    expectClean(runPage("guarded-refused", origin), "guarded refused done");
    EXPECT_TRUE(card.apduCommands().empty());
    EXPECT_EQ(card.card().pinTriesLeft(), 3);
  }
}

TEST_F(GuardedPage, AnAllowedPageReachesTheCardWithEveryGuardedMember) {
  const char* const allowedOrigins[] = {
      "https://webatm.postbank.example/atm/index.html",
      "http://localhost:8080/atm/",
      "http://192.168.20.7/atm/",
  };
  for (const char* origin : allowedOrigins) {
    SCOPED_TRACE(origin);
    BenchCard& card = startCard(0, "bank");
    expectClean(runPage("guarded-bank", origin), "guarded bank done");
    // select, read binary, verify, read record, update record, write with serial and TAC
    const std::set<int> expected = {0xA4, 0xB0, 0x20, 0xB2, 0xD2, 0xE2};
    const std::set<int> seen = instructionsSeen(card);
    for (int ins : expected) EXPECT_TRUE(seen.count(ins)) << std::hex << ins;
  }
}

TEST_F(GuardedPage, AnInstanceDestroyedWhileItReadsThePagesAddressReachesNothing) {
  BenchCard& card = startCard(0, "bank");
  expectClean(runPage("guarded-destroyed"), "guarded destroyed done");
  EXPECT_TRUE(card.apduCommands().empty());
}

TEST_F(GuardedPage, AHostilePageGetsResultsOrScriptErrorsOnly) {
  BenchCard& card = startCard(0, "bank");
  const RunResult r = runPage("hostile");
  expectClean(r, "hostile done");
  EXPECT_TRUE(card.apduCommands().empty());
}

// The engine's depth limit ends the recursion with an exception inside a page function the plug-in
// called; the browser reports that one as a script error, and nothing else may go wrong.
TEST_F(GuardedPage, APageCallingBackFromInsideTheAddressReadGetsResultsOrScriptErrorsOnly) {
  BenchCard& card = startCard(0, "bank");
  const RunResult r = runPage("hostile-reentry");
  EXPECT_NE(r.output.find("hostile reentry done"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find(" script error(s), 0 misuse(s), 0 leak(s)"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("Sanitizer"), std::string::npos) << r.output;
  EXPECT_TRUE(r.status == 0 || r.status == 1) << r.output;
  EXPECT_TRUE(card.apduCommands().empty());
}

}  // namespace
