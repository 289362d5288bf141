// Stream pages in the test browser with the stream test plug-in: each page must run clean (no script
// error, no misuse, no leak, every stream ended) and reach its last line. The HTTP pages talk to a real
// loopback server serving pages/data.
#include <gtest/gtest.h>

#include <string>

#include "httpserver/HttpServer.h"
#include "programrun/ProgramRun.h"

namespace {

using rvp::programrun::RunResult;

// Runs the page; answers the test browser's output.
std::string expectClean(const std::string& page, const std::string& location) {
  SCOPED_TRACE(page);
  RunResult r = rvp::programrun::run(std::string(TESTBROWSER_PROGRAM) + " --plugin " + STREAM_PLUGIN + " --location " +
                                     location + " " + PAGES_DIR + "/" + page + ".html");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find(page + " done"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("0 script error(s), 0 misuse(s), 0 leak(s)"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("left open"), std::string::npos) << r.output;
  return r.output;
}

// Both lines are in the output, the first one earlier.
testing::AssertionResult comesBefore(const std::string& output, const std::string& first, const std::string& second) {
  const size_t a = output.find(first), b = output.find(second);
  if (a != std::string::npos && b != std::string::npos && a < b) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "\"" << first << "\" is not followed by \"" << second << "\" in:\n" << output;
}

// A page opened from disk: its streams are file: addresses next to it.
std::string filePage(const std::string& page) { return std::string("file://") + PAGES_DIR + "/" + page + ".html"; }

TEST(StreamPages, LifecycleInBothOrdersAndWithoutALength) {
  const std::string output = expectClean("lifecycle", filePage("lifecycle"));
  // The page's first request ends as browsers mostly do, its second with the notification first.
  EXPECT_TRUE(comesBefore(output, "#1 NPP_DestroyStream 0", "#1 NPP_URLNotify 0"));
  EXPECT_TRUE(comesBefore(output, "#2 NPP_URLNotify 0", "#2 NPP_DestroyStream 0"));
}
TEST(StreamPages, NetworkErrorsCancelsAndRefusalsEachEndOnceInFailure) {
  expectClean("failures", filePage("failures"));
}
TEST(StreamPages, RangeReadsAndAServerThatCannotSeek) { expectClean("seek", filePage("seek")); }
// The embed's src is page-relative: the browser reads it from the page's folder.
TEST(StreamPages, AnEmbedSrcIsOfferedAsAnUnsolicitedStream) { expectClean("embed", filePage("embed")); }

TEST(StreamPages, RealHttpChunkedRangesPostsDropsAndAWorkerThread) {
  rvp::httpserver::HttpServer server(std::string(PAGES_DIR) + "/data");
  expectClean("http", server.url("/http.html"));
  EXPECT_GE(server.requests(), 8);
}

TEST(StreamPages, AServerThatStopsAnsweringEndsItsStreamsAtTheTimeLimit) {
  rvp::httpserver::HttpServer server(std::string(PAGES_DIR) + "/data");
  expectClean("hang", server.url("/hang.html"));
}

TEST(StreamPages, DestroyingTheInstanceEndsAWaitingWorker) {
  rvp::httpserver::HttpServer server(std::string(PAGES_DIR) + "/data");
  expectClean("midwait", server.url("/midwait.html"));
}

}  // namespace
