// Browser streams in-process, through the real NPP stream functions of the module: a browser table of our
// own records what the plug-in asks of the browser (URL requests, posts, range reads, stream destruction)
// and the tests play the browser's side call by call.
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <boost/make_shared.hpp>

#include "BrowserStreamManager.h"
#include "BrowserStreamRequest.h"
#include "NpapiBrowserHost.h"
#include "NpapiPlugin.h"
#include "NpapiPluginModule.h"
#include "NpapiStream.h"
#include "NpnTable.h"
#include "SimpleStreamHelper.h"
#include "TestFactory.h"
#include "npapi/HostLoop.h"

extern "C" NPError NP_Initialize(NPNetscapeFuncs* bFuncs);

namespace npapi_test {
namespace {

using PF::Npapi::NpapiPluginModule;

// ---- The browser's side ----------------------------------------------------------------------------------

struct Request {
  std::string method, url, body;
  void* notifyData;
};

struct StreamBrowser {
  std::vector<Request> requests;
  NPError answer = NPERR_NO_ERROR;  // to URL requests
  std::vector<std::pair<int32_t, uint32_t>> ranges;
  int rangeCalls = 0;
  std::vector<NPReason> destroyCalls;
  std::string written;
  int32_t writeAnswer = -2;  // -2: all of it
  std::vector<std::thread::id> requestThreads;
};

StreamBrowser& browser() {
  static StreamBrowser b;
  return b;
}

NPError getUrlNotify(NPP, const char* url, const char*, void* notifyData) {
  browser().requestThreads.push_back(std::this_thread::get_id());
  browser().requests.push_back(Request{"GET", url ? url : "", "", notifyData});
  return browser().answer;
}
NPError postUrlNotify(NPP, const char* url, const char*, uint32_t len, const char* buf, NPBool, void* notifyData) {
  browser().requests.push_back(Request{"POST", url ? url : "", std::string(buf, len), notifyData});
  return browser().answer;
}
NPError requestRead(NPStream*, NPByteRange* list) {
  ++browser().rangeCalls;
  for (; list; list = list->next) browser().ranges.emplace_back(list->offset, list->length);
  return NPERR_NO_ERROR;
}
int32_t write(NPP, NPStream*, int32_t len, void* buffer) {
  int32_t n = browser().writeAnswer == -2 ? len : browser().writeAnswer;
  if (n > 0) browser().written.append(static_cast<const char*>(buffer), static_cast<size_t>(n));
  return n;
}
NPError destroyStream(NPP, NPStream*, NPReason reason) {
  browser().destroyCalls.push_back(reason);
  return NPERR_NO_ERROR;
}

// Every stream event, as text, in order; holds no stream (so a stream's end is seen).
class Recorder : public PF::PluginEventSink {
 public:
  bool HandleEvent(PF::PluginEvent* event, PF::PluginEventSource*) override {
    if (dynamic_cast<PF::StreamCreatedEvent*>(event)) log.push_back("Created");
    if (dynamic_cast<PF::StreamOpenedEvent*>(event)) log.push_back("Opened");
    if (dynamic_cast<PF::StreamFailedOpenEvent*>(event)) log.push_back("FailedOpen");
    if (auto* e = dynamic_cast<PF::StreamDataArrivedEvent*>(event)) {
      log.push_back("Data " + std::to_string(e->getDataPosition()) + " " + std::to_string(e->getLength()) + " " +
                    std::to_string(static_cast<int>(e->getProgress())));
      body.append(static_cast<const char*>(e->getData()), e->getLength());
    }
    if (auto* e = dynamic_cast<PF::StreamCompletedEvent*>(event))
      log.push_back(e->success ? "Completed ok" : "Completed failed");
    if (dynamic_cast<PF::StreamDestroyedEvent*>(event)) log.push_back("Destroyed");
    return false;
  }
  std::vector<std::string> log;
  std::string body;
};

typedef std::vector<std::string> Log;

// A recorder whose owner fails at one event.
class ThrowingRecorder : public Recorder {
 public:
  explicit ThrowingRecorder(const std::string& at) : at_(at) {}
  bool HandleEvent(PF::PluginEvent* event, PF::PluginEventSource* source) override {
    const size_t before = log.size();
    Recorder::HandleEvent(event, source);
    if (log.size() > before && log.back() == at_) throw std::runtime_error("the observer's own failure");
    return false;
  }

 private:
  std::string at_;
};

class Streams : public ::testing::Test {
 protected:
  void SetUp() override {
    table = makeNpnTable();
    table.geturlnotify = getUrlNotify;
    table.posturlnotify = postUrlNotify;
    table.requestread = requestRead;
    table.destroystream = destroyStream;
    table.write = write;
    NP_Initialize(&table);
    factoryControl() = FactoryControl();
    browser() = StreamBrowser();
    objectsBefore = npnState().objects.size();
    blocksBefore = npnState().blocks.size();
    ASSERT_EQ(NpapiPluginModule::NPP_New(const_cast<char*>("application/x-test"), &npp, NP_EMBED, 0, nullptr, nullptr,
                                         nullptr),
              NPERR_NO_ERROR);
    recorder = boost::make_shared<Recorder>();
  }
  void TearDown() override {
    if (npp.pdata) NpapiPluginModule::NPP_Destroy(&npp, nullptr);
    factoryControl() = FactoryControl();
    rvp_hostloop_discard();
    EXPECT_EQ(npnState().objects.size(), objectsBefore) << "objects left alive";
    EXPECT_EQ(npnState().blocks.size(), blocksBefore) << "memory left allocated";
  }
  // A fresh instance for the next case of a table.
  void again() {
    TearDown();
    SetUp();
  }
  PF::Npapi::NpapiBrowserHostPtr host() { return PF::Npapi::getPlugin(&npp)->host(); }

  // A GET for our recorder; the browser's record is prepared from the request it received.
  boost::weak_ptr<PF::BrowserStream> request(bool seekable = false, size_t buffer = 4) {
    PF::BrowserStreamPtr s = host()->createStream("http://127.0.0.1/file.txt", recorder, false, seekable, buffer);
    EXPECT_TRUE(s);
    EXPECT_EQ(browser().requests.size(), 1u);
    answerLastRequest();
    return s;
  }
  // The browser's record for the last request it received (always of the same address).
  void answerLastRequest(const char* headers = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n") {
    record = NPStream();
    record.url = "http://127.0.0.1/file.txt";
    record.notifyData = browser().requests.back().notifyData;
    record.headers = headers;
  }
  NPError open(uint32_t end, NPBool seekable = 0) {
    record.end = end;
    return NpapiPluginModule::NPP_NewStream(&npp, const_cast<char*>("text/plain"), &record, seekable, &stype);
  }
  // Offers the text from offset as the browser does: WriteReady, then Write with what remains.
  void deliver(const std::string& text, int32_t offset = 0) {
    size_t at = 0;
    while (at < text.size()) {
      int32_t ready = NpapiPluginModule::NPP_WriteReady(&npp, &record);
      ASSERT_GT(ready, 0);
      int32_t taken =
          NpapiPluginModule::NPP_Write(&npp, &record, offset + static_cast<int32_t>(at),
                                       static_cast<int32_t>(text.size() - at), const_cast<char*>(text.data() + at));
      ASSERT_GT(taken, 0);
      at += static_cast<size_t>(taken);
    }
  }
  void destroy(NPReason reason) { NpapiPluginModule::NPP_DestroyStream(&npp, &record, reason); }
  void notify(NPReason reason) { NpapiPluginModule::NPP_URLNotify(&npp, record.url, reason, record.notifyData); }
  // The browser's end of a stream in either order.
  void finish(NPReason reason, bool notifyFirst) {
    void* notifyData = record.notifyData;  // destroying clears the record's copy
    if (notifyFirst) notify(reason);
    destroy(reason);
    if (!notifyFirst) NpapiPluginModule::NPP_URLNotify(&npp, record.url, reason, notifyData);
  }

  NPNetscapeFuncs table;
  NPP_t npp{};
  NPStream record{};
  uint16_t stype = 0;
  boost::shared_ptr<Recorder> recorder;
  size_t objectsBefore = 0, blocksBefore = 0;
};

// ---- Lifecycle -------------------------------------------------------------------------------------------

TEST_F(Streams, FullLifecycleInEitherOrderOfDestroyAndNotify) {
  for (bool notifyFirst : {false, true}) {
    SCOPED_TRACE(notifyFirst ? "notify first" : "destroy first");
    boost::weak_ptr<PF::BrowserStream> weak = request();
    ASSERT_EQ(open(10), NPERR_NO_ERROR);
    EXPECT_EQ(stype, NP_NORMAL);
    deliver("0123456789");
    finish(NPRES_DONE, notifyFirst);
    EXPECT_TRUE(weak.expired()) << "the stream outlived the browser's end of it";
    EXPECT_EQ(recorder->log,
              (Log{"Created", "Opened", "Data 0 4 40", "Data 4 4 80", "Data 8 2 100", "Completed ok", "Destroyed"}));
    EXPECT_EQ(recorder->body, "0123456789");
    again();
  }
}

TEST_F(Streams, AnObserverThatThrowsAtTheStreamsEndDoesNotEndTheProcess) {
  recorder = boost::make_shared<ThrowingRecorder>("Destroyed");
  boost::weak_ptr<PF::BrowserStream> weak = request();
  ASSERT_EQ(open(2), NPERR_NO_ERROR);
  deliver("ab");
  finish(NPRES_DONE, false);
  EXPECT_TRUE(weak.expired());
  EXPECT_EQ(recorder->log, (Log{"Created", "Opened", "Data 0 2 100", "Completed ok", "Destroyed"}));
}

TEST_F(Streams, UnknownLengthReportsProgressZero) {
  request();
  ASSERT_EQ(open(0), NPERR_NO_ERROR);
  deliver("abcdef");
  finish(NPRES_DONE, false);
  EXPECT_EQ(recorder->log, (Log{"Created", "Opened", "Data 0 4 0", "Data 4 2 0", "Completed ok", "Destroyed"}));
}

TEST_F(Streams, NetworkErrorAndCancelEachGiveOneFailedCompletion) {
  struct Case {
    const char* name;
    bool notifyFirst;
    bool cancel;
  };
  for (const Case& c : {Case{"error, destroy first", false, false}, Case{"error, notify first", true, false},
                        Case{"cancel", false, true}}) {
    SCOPED_TRACE(c.name);
    boost::weak_ptr<PF::BrowserStream> weak = request();
    ASSERT_EQ(open(10), NPERR_NO_ERROR);
    deliver("0123");
    if (c.cancel) {
      EXPECT_TRUE(weak.lock()->close());
      EXPECT_FALSE(weak.lock()->close()) << "a second close did something";
      EXPECT_EQ(browser().destroyCalls, (std::vector<NPReason>{NPRES_USER_BREAK}));
      finish(NPRES_USER_BREAK, false);  // what the browser does after the plug-in's destroy
    } else {
      finish(NPRES_NETWORK_ERR, c.notifyFirst);
    }
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(recorder->log, (Log{"Created", "Opened", "Data 0 4 40", "Completed failed", "Destroyed"}));
    again();
  }
}

TEST_F(Streams, CancelBeforeTheBrowserOpensIsOneFailureAndTheOpenIsRefused) {
  boost::weak_ptr<PF::BrowserStream> weak = request();
  EXPECT_TRUE(weak.lock()->close());
  EXPECT_TRUE(browser().destroyCalls.empty());  // nothing of the browser's to destroy yet
  EXPECT_NE(open(10), NPERR_NO_ERROR);
  EXPECT_EQ(record.pdata, nullptr);
  notify(NPRES_USER_BREAK);
  EXPECT_TRUE(weak.expired());
  EXPECT_EQ(recorder->log, (Log{"Created", "Completed failed", "Destroyed"}));
}

TEST_F(Streams, ASecondOpeningOfTheSameRequestIsRefusedAndLeavesTheFirstAlone) {
  boost::weak_ptr<PF::BrowserStream> weak = request();
  ASSERT_EQ(open(10), NPERR_NO_ERROR);
  NPStream twin = record;
  twin.pdata = nullptr;
  EXPECT_NE(NpapiPluginModule::NPP_NewStream(&npp, const_cast<char*>("text/plain"), &twin, 0, &stype), NPERR_NO_ERROR);
  EXPECT_EQ(twin.pdata, nullptr);
  EXPECT_EQ(NpapiPluginModule::NPP_WriteReady(&npp, &twin), -1);
  deliver("0123456789");
  finish(NPRES_DONE, false);
  EXPECT_TRUE(weak.expired());
  EXPECT_EQ(recorder->log,
            (Log{"Created", "Opened", "Data 0 4 40", "Data 4 4 80", "Data 8 2 100", "Completed ok", "Destroyed"}));
}

TEST_F(Streams, ShutdownEndsOpenStreamsOnceAndFreesThem) {
  boost::weak_ptr<PF::BrowserStream> weak = request();
  ASSERT_EQ(open(10), NPERR_NO_ERROR);
  deliver("0123");
  NpapiPluginModule::NPP_Destroy(&npp, nullptr);
  EXPECT_TRUE(weak.expired());
  EXPECT_EQ(recorder->log, (Log{"Created", "Opened", "Data 0 4 40", "Completed failed", "Destroyed"}));
  EXPECT_TRUE(browser().destroyCalls.empty()) << "a stream call reached the browser during NPP_Destroy";
}

TEST_F(Streams, ARefusedRequestGivesNoStream) {
  browser().answer = NPERR_GENERIC_ERROR;
  EXPECT_FALSE(host()->createStream("http://127.0.0.1/x", recorder, false, false, 4));
  EXPECT_EQ(recorder->log, (Log{"Destroyed"}));
}

// ---- What the browser hands over is checked, never followed blindly ---------------------------------------

TEST_F(Streams, WritesWithBadArgumentsOrForeignRecordsAnswerMinusOne) {
  request(false, 65536);
  ASSERT_EQ(open(0), NPERR_NO_ERROR);
  std::vector<char> big(100000, 'x');
  EXPECT_EQ(NpapiPluginModule::NPP_Write(&npp, &record, 0, 100000, big.data()), 65536);
  EXPECT_EQ(NpapiPluginModule::NPP_Write(&npp, &record, 0, -1, big.data()), -1);
  EXPECT_EQ(NpapiPluginModule::NPP_Write(&npp, &record, -1, 4, big.data()), -1);
  EXPECT_EQ(NpapiPluginModule::NPP_Write(&npp, &record, 0, 4, nullptr), -1);

  int notAStream = 0;
  NPStream foreign{};
  foreign.pdata = &notAStream;  // not a stream of this host
  EXPECT_EQ(NpapiPluginModule::NPP_WriteReady(&npp, &foreign), -1);
  EXPECT_EQ(NpapiPluginModule::NPP_Write(&npp, &foreign, 0, 4, big.data()), -1);
  EXPECT_EQ(NpapiPluginModule::NPP_DestroyStream(&npp, &foreign, NPRES_DONE), NPERR_NO_ERROR);
  NpapiPluginModule::NPP_URLNotify(&npp, "x", NPRES_DONE, &notAStream);
  NpapiPluginModule::NPP_StreamAsFile(&npp, &foreign, "/tmp/x");
  EXPECT_EQ(recorder->log, (Log{"Created", "Opened", "Data 0 65536 0"}));
}

TEST_F(Streams, WritesGoToTheBrowserOnlyWhileOpenAndReportShortWrites) {
  boost::weak_ptr<PF::BrowserStream> weak = request();
  size_t written = 9;
  EXPECT_FALSE(weak.lock()->write("abc", 3, written)) << "written before the browser opened the stream";
  EXPECT_EQ(written, 0u);
  ASSERT_EQ(open(0), NPERR_NO_ERROR);
  EXPECT_TRUE(weak.lock()->write("abc", 3, written));
  EXPECT_EQ(written, 3u);
  browser().writeAnswer = 1;
  EXPECT_FALSE(weak.lock()->write("de", 2, written)) << "a short write reported as whole";
  EXPECT_EQ(written, 1u);
  browser().writeAnswer = -1;
  EXPECT_FALSE(weak.lock()->write("f", 1, written));
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(browser().written, "abcd");
  weak.lock()->close();
  browser().writeAnswer = -2;
  EXPECT_FALSE(weak.lock()->write("g", 1, written)) << "written after close";
  EXPECT_EQ(browser().written, "abcd");
}

TEST_F(Streams, AnotherInstancesStreamIsNotFollowed) {
  boost::weak_ptr<PF::BrowserStream> weak = request();
  ASSERT_EQ(open(10), NPERR_NO_ERROR);
  NPP_t other{};
  ASSERT_EQ(NpapiPluginModule::NPP_New(const_cast<char*>("application/x-test"), &other, NP_EMBED, 0, nullptr, nullptr,
                                       nullptr),
            NPERR_NO_ERROR);
  char data[] = "0123";
  EXPECT_EQ(NpapiPluginModule::NPP_WriteReady(&other, &record), -1);
  EXPECT_EQ(NpapiPluginModule::NPP_Write(&other, &record, 0, 4, data), -1);
  NpapiPluginModule::NPP_URLNotify(&other, record.url, NPRES_NETWORK_ERR, record.notifyData);
  NpapiPluginModule::NPP_DestroyStream(&other, &record, NPRES_NETWORK_ERR);
  NpapiPluginModule::NPP_Destroy(&other, nullptr);
  EXPECT_EQ(recorder->log, (Log{"Created", "Opened"})) << "the other instance reached this one's stream";
  EXPECT_NE(record.pdata, nullptr);
  finish(NPRES_DONE, false);
  EXPECT_TRUE(weak.expired());
}

TEST_F(Streams, CacheFileNamesAreReadAsUtf8) {
  boost::weak_ptr<PF::BrowserStream> weak = request();
  ASSERT_EQ(open(0), NPERR_NO_ERROR);
  NpapiPluginModule::NPP_StreamAsFile(&npp, &record, "/tmp/\xe9\x83\xb5\xe5\xb1\x80.txt");  // 郵局
  EXPECT_EQ(weak.lock()->getCacheFilename(), L"/tmp/\u90f5\u5c40.txt");
  NpapiPluginModule::NPP_StreamAsFile(&npp, &record, "/tmp/\xff");  // not UTF-8: one character per byte
  EXPECT_EQ(weak.lock()->getCacheFilename(), L"/tmp/\u00ff");
}

// ---- Seeking -----------------------------------------------------------------------------------------------

TEST_F(Streams, ASeekableRequestOnAServerThatCannotSeekFailsToOpen) {
  boost::weak_ptr<PF::BrowserStream> weak = request(true);
  EXPECT_EQ(open(10, 0), NPERR_STREAM_NOT_SEEKABLE);
  EXPECT_EQ(boost::static_pointer_cast<PF::Npapi::NpapiStream>(weak.lock())->getStream(), nullptr);
  EXPECT_EQ(record.pdata, nullptr);
  notify(NPRES_NETWORK_ERR);
  EXPECT_TRUE(weak.expired());
  EXPECT_EQ(recorder->log, (Log{"Created", "FailedOpen", "Completed failed", "Destroyed"}));
}

TEST_F(Streams, RangeReadsBecomeExactByteRangeListsAndBadRangesNeverReachTheBrowser) {
  boost::weak_ptr<PF::BrowserStream> weak = request(true);
  ASSERT_EQ(open(100, 1), NPERR_NO_ERROR);
  EXPECT_EQ(stype, NP_SEEK);
  PF::BrowserStreamPtr s = weak.lock();
  typedef PF::BrowserStream::Range R;
  EXPECT_TRUE(s->readRanges({R(0, 4), R(50, 60), R(8, 9)}));
  EXPECT_EQ(browser().ranges, (std::vector<std::pair<int32_t, uint32_t>>{{0, 4}, {50, 10}, {8, 1}}));
  EXPECT_TRUE(s->readRanges({}));
  const size_t big = size_t(1) << 32;
  for (const std::vector<R>& bad :
       {std::vector<R>{R(5, 3)}, std::vector<R>{R(0, 4), R(9, 8)},
        std::vector<R>{R(size_t(INT32_MAX) + 1, size_t(INT32_MAX) + 2)}, std::vector<R>{R(0, big)}}) {
    EXPECT_FALSE(s->readRanges(bad));
  }
  EXPECT_EQ(browser().rangeCalls, 1);
  // A seekable stream stays open while the browser holds it, and completes when the browser ends it.
  notify(NPRES_DONE);
  EXPECT_TRUE(s->isOpen());
  s.reset();
  destroy(NPRES_DONE);
  EXPECT_TRUE(weak.expired());
  EXPECT_EQ(recorder->log, (Log{"Created", "Opened", "Completed ok", "Destroyed"}));
}

// ---- Streams the browser offers on its own ------------------------------------------------------------------

TEST_F(Streams, UnsolicitedStreamsAreOfferedToTheCoreAndNeedNoNotification) {
  factoryControl().unsolicitedSink = recorder;
  NPStream offered{};
  offered.url = "http://127.0.0.1/embedded.bin";
  offered.end = 3;
  offered.headers = "HTTP/1.1 200 OK\r\n";
  ASSERT_EQ(NpapiPluginModule::NPP_NewStream(&npp, const_cast<char*>("application/octet-stream"), &offered, 0, &stype),
            NPERR_NO_ERROR);
  ASSERT_NE(offered.pdata, nullptr);
  EXPECT_EQ(NpapiPluginModule::NPP_Write(&npp, &offered, 0, 3, const_cast<char*>("abc")), 3);
  NpapiPluginModule::NPP_DestroyStream(&npp, &offered, NPRES_DONE);
  EXPECT_EQ(recorder->log, (Log{"Created", "Opened", "Data 0 3 100", "Completed ok", "Destroyed"}));
}

TEST_F(Streams, ADeclinedUnsolicitedStreamIsNotOurs) {
  NPStream offered{};
  offered.url = "http://127.0.0.1/embedded.bin";
  EXPECT_EQ(NpapiPluginModule::NPP_NewStream(&npp, const_cast<char*>("text/plain"), &offered, 0, &stype),
            NPERR_NO_ERROR);
  EXPECT_EQ(offered.pdata, nullptr);
  EXPECT_EQ(NpapiPluginModule::NPP_WriteReady(&npp, &offered), -1);
}

// ---- Requests as the browser receives them ---------------------------------------------------------------

TEST_F(Streams, APostCarriesItsFormHeadersAndBody) {
  EXPECT_TRUE(host()->createRodaStream("http://127.0.0.1/echo", recorder, "a=1&b=2", false, false, 4));
  ASSERT_EQ(browser().requests.size(), 1u);
  EXPECT_EQ(browser().requests[0].method, "POST");
  EXPECT_EQ(browser().requests[0].url, "http://127.0.0.1/echo");
  EXPECT_EQ(browser().requests[0].body,
            "Content-type: application/x-www-form-urlencoded\nContent-Length: 7\n\na=1&b=2");
}

TEST_F(Streams, ARequestWithSinkAndCallbackReportsOnlyToTheSink) {
  bool called = false;
  PF::BrowserStreamRequest req("http://127.0.0.1/file.txt", "GET");
  req.setEventSink(recorder);
  req.setCallback([&](bool, const PF::HeaderMap&, const boost::shared_array<uint8_t>&, size_t) { called = true; });
  ASSERT_TRUE(host()->createStream(req));
  answerLastRequest();
  ASSERT_EQ(open(2), NPERR_NO_ERROR);
  deliver("ok");
  finish(NPRES_DONE, false);
  EXPECT_FALSE(called);
  EXPECT_EQ(recorder->log.back(), "Destroyed");
}

// ---- The simple stream helper through the browser ----------------------------------------------------------

struct Fetched {
  int calls = 0;
  bool success = false;
  std::string body;
  size_t size = 0;
  PF::HeaderMap headers;
};

PF::HttpCallback into(Fetched& f) {
  return [&f](bool ok, const PF::HeaderMap& h, const boost::shared_array<uint8_t>& data, size_t size) {
    ++f.calls;
    f.success = ok;
    f.size = size;
    f.headers = h;
    f.body = data ? std::string(reinterpret_cast<const char*>(data.get()), size) : std::string();
  };
}

TEST_F(Streams, TheHelperReportsTheWholeBodyOrAFailureNeverAPartialSuccess) {
  struct Case {
    const char* name;
    uint32_t end;
    NPReason reason;
    bool notifyFirst;
    bool success;
  };
  for (const Case& c : {Case{"done", 10, NPRES_DONE, false, true}, Case{"unknown length", 0, NPRES_DONE, true, true},
                        Case{"network error", 10, NPRES_NETWORK_ERR, false, false},
                        Case{"network error, notify first", 10, NPRES_NETWORK_ERR, true, false},
                        Case{"done but short", 20, NPRES_DONE, false, false}}) {
    SCOPED_TRACE(c.name);
    Fetched f;
    PF::SimpleStreamHelper::AsyncGet(host(), PF::URI("http://127.0.0.1/file.txt"), into(f), false, 4);
    ASSERT_EQ(browser().requests.size(), 1u);
    answerLastRequest("HTTP/1.1 200 OK\r\nX-A: 1\r\n\r\n");
    ASSERT_EQ(open(c.end), NPERR_NO_ERROR);
    deliver("0123456789");
    finish(c.reason, c.notifyFirst);
    EXPECT_EQ(f.calls, 1);
    EXPECT_EQ(f.success, c.success);
    EXPECT_EQ(f.body, c.success ? "0123456789" : "");
    if (c.success) {
      EXPECT_EQ(f.headers, (PF::HeaderMap{{"X-A", "1"}}));
    }
    again();
  }
}

// A synchronous get on a thread of its own, as a plug-in's worker makes one; joined at the latest when it goes.
struct SyncGetWorker {
  SyncGetWorker(const PF::BrowserHostPtr& host, const std::string& url)
      : thread([this, host, url] {
          response = PF::SimpleStreamHelper::SynchronousGet(host, PF::URI(url), false, 4);
          finished = true;
        }) {}
  ~SyncGetWorker() { join(); }
  void join() {
    if (thread.joinable()) thread.join();
  }
  // Not empty until the worker answers, so that an empty answer shows.
  PF::HttpStreamResponsePtr response =
      boost::make_shared<PF::HttpStreamResponse>(true, PF::HeaderMap(), boost::shared_array<uint8_t>(), 1);
  std::atomic<bool> finished{false};
  std::thread thread;
};

TEST_F(Streams, ASynchronousGetFromAWorkerThreadReturnsTheBody) {
  SyncGetWorker worker(host(), "http://127.0.0.1/file.txt");
  while (browser().requests.empty()) rvp_hostloop_drain();  // the start is carried to this thread
  answerLastRequest();
  ASSERT_EQ(open(5), NPERR_NO_ERROR);
  deliver("hello");
  finish(NPRES_DONE, false);
  worker.join();
  ASSERT_TRUE(worker.response);
  EXPECT_TRUE(worker.response->success);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(worker.response->data.get()), worker.response->size), "hello");
}

TEST_F(Streams, AnInstanceDestroyedMidWaitEndsTheSynchronousGetEmpty) {
  SyncGetWorker worker(host(), "http://127.0.0.1/x");
  while (browser().requests.empty()) rvp_hostloop_drain();
  NpapiPluginModule::NPP_Destroy(&npp, nullptr);
  worker.join();
  EXPECT_FALSE(worker.response);
}

TEST_F(Streams, ASynchronousGetOnTheMainThreadReturnsAtOnce) {
  EXPECT_FALSE(PF::SimpleStreamHelper::SynchronousGet(host(), PF::URI("http://127.0.0.1/x")));
  EXPECT_TRUE(browser().requests.empty());
}

TEST_F(Streams, AStreamAskedForOnAnotherThreadIsRequestedOnTheMainThread) {
  PF::BrowserHostPtr h = host();
  std::atomic<bool> made{false};
  std::thread worker([&] { made = bool(h->createStream("http://127.0.0.1/file.txt", recorder, false, false, 4)); });
  while (browser().requests.empty()) rvp_hostloop_drain();
  worker.join();
  EXPECT_TRUE(made);
  EXPECT_EQ(browser().requestThreads, (std::vector<std::thread::id>{std::this_thread::get_id()}));
  h.reset();
}

TEST_F(Streams, TheHelpersPostCarriesItsFormHeadersAndBodyAndOnlyAGetHasNoBody) {
  Fetched f;
  PF::SimpleStreamHelper::AsyncRoda(host(), PF::URI("http://127.0.0.1/echo"), "abc", into(f), false, 4);
  PF::SimpleStreamHelper::AsyncGet(host(), PF::URI("http://127.0.0.1/file.txt"), into(f), false, 4);
  ASSERT_EQ(browser().requests.size(), 2u);
  EXPECT_EQ(browser().requests[0].method, "POST");
  EXPECT_EQ(browser().requests[0].url, "http://127.0.0.1/echo");
  EXPECT_EQ(browser().requests[0].body, "Content-type: application/x-www-form-urlencoded\nContent-Length: 3\n\nabc");
  EXPECT_EQ(browser().requests[1].method, "GET");
  EXPECT_EQ(browser().requests[1].body, "");
  NpapiPluginModule::NPP_Destroy(&npp, nullptr);  // while f can still hear of it
  EXPECT_EQ(f.calls, 2);
  EXPECT_FALSE(f.success);
}

TEST_F(Streams, AnOfferedStreamAcceptedWithACallbackIsFetchedByTheHelper) {
  Fetched f;
  factoryControl().unsolicitedCallback = into(f);
  NPStream offered{};
  offered.url = "http://127.0.0.1/embedded.bin";
  offered.end = 3;
  offered.headers = "HTTP/1.1 200 OK\r\nX-A: 1\r\n\r\n";
  ASSERT_EQ(NpapiPluginModule::NPP_NewStream(&npp, const_cast<char*>("application/octet-stream"), &offered, 0, &stype),
            NPERR_NO_ERROR);
  ASSERT_NE(offered.pdata, nullptr);
  EXPECT_EQ(NpapiPluginModule::NPP_Write(&npp, &offered, 0, 3, const_cast<char*>("abc")), 3);
  NpapiPluginModule::NPP_DestroyStream(&npp, &offered, NPRES_DONE);
  EXPECT_EQ(f.calls, 1);
  EXPECT_TRUE(f.success);
  EXPECT_EQ(f.body, "abc");
  EXPECT_EQ(f.headers, (PF::HeaderMap{{"X-A", "1"}}));
}

TEST_F(Streams, AHelperItsCallerStillHoldsLetsTheStreamGoAtItsEnd) {
  Fetched f;
  PF::SimpleStreamHelperPtr helper =
      PF::SimpleStreamHelper::AsyncGet(host(), PF::URI("http://127.0.0.1/file.txt"), into(f), false, 4);
  ASSERT_TRUE(helper);
  boost::weak_ptr<PF::BrowserStream> weak = helper->getStream();
  answerLastRequest();
  ASSERT_EQ(open(2), NPERR_NO_ERROR);
  deliver("ok");
  finish(NPRES_DONE, false);
  EXPECT_EQ(f.calls, 1);
  EXPECT_TRUE(weak.expired()) << "the helper kept the stream after its end";
}

TEST_F(Streams, ARefusedHelperRequestCallsBackOnceInFailureAndLeavesNoCallerWaiting) {
  browser().answer = NPERR_GENERIC_ERROR;
  Fetched f;
  EXPECT_FALSE(PF::SimpleStreamHelper::AsyncGet(host(), PF::URI("http://127.0.0.1/x"), into(f), false, 4));
  ASSERT_EQ(f.calls, 1);  // (without it, the wait below would never end)
  EXPECT_FALSE(f.success);

  SyncGetWorker worker(host(), "http://127.0.0.1/x");
  while (!worker.finished) rvp_hostloop_drain();
  worker.join();
  ASSERT_TRUE(worker.response);
  EXPECT_FALSE(worker.response->success);
}

TEST_F(Streams, AHelperRequestWithoutCallbackIsRefusedBeforeAnyStream) {
  PF::BrowserStreamRequest req("http://127.0.0.1/x", "GET");
  EXPECT_THROW(PF::SimpleStreamHelper::AsyncRequest(host(), req), std::runtime_error);
  EXPECT_TRUE(browser().requests.empty());
}

}  // namespace
}  // namespace npapi_test
