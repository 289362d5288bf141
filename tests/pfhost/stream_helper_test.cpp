// The browser-neutral stream pieces on a stream of our own: the helper's reassembly of a body from blocks,
// the header parser, the default handler and the stream manager.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <stdexcept>
#include <chrono>
#include <future>
#include <string>
#include <utility>
#include <vector>

#include "BrowserStreamManager.h"
#include "BrowserStreamRequest.h"
#include "DefaultBrowserStreamHandler.h"
#include "SimpleStreamHelper.h"
#include "fake_browser.h"

namespace {

// A stream whose close completes it with failure once, as a binding's does.
class OwnStream : public PF::BrowserStream {
 public:
  explicit OwnStream(size_t length = 0) : PF::BrowserStream("http://127.0.0.1/x", false, false, 4) {
    setLength(length);
  }
  bool readRanges(const std::vector<Range>&) override { return false; }
  bool write(const char*, size_t, size_t& written) override { return (written = 0) != 0; }
  bool close() override {
    ++closes;
    if (isCompleted()) return false;
    complete(false);
    return true;
  }
  void data(size_t offset, const std::string& text) {
    PF::StreamDataArrivedEvent evt(this, text.data(), text.size(), offset, 0);
    SendEvent(&evt);
  }
  void complete(bool success) {
    setCompleted(true);
    PF::StreamCompletedEvent evt(this, success);
    SendEvent(&evt);
  }
  int closes = 0;
};

struct Fetched {
  int calls = 0;
  bool success = false;
  std::string body;
  bool hasData = false;
};

PF::SimpleStreamHelperPtr helperInto(Fetched& f, size_t blockSize) {
  PF::HttpCallback cb = [&f](bool ok, const PF::HeaderMap&, const boost::shared_array<uint8_t>& data, size_t size) {
    ++f.calls;
    f.success = ok;
    f.hasData = bool(data);
    f.body = data ? std::string(reinterpret_cast<const char*>(data.get()), size) : std::string();
  };
  PF::SimpleStreamHelperPtr helper = boost::make_shared<PF::SimpleStreamHelper>(cb, blockSize);
  helper->keepReference(helper);
  return helper;
}

TEST(SimpleStreamHelper, PlacesBlocksByOffsetWhateverTheirOrder) {
  struct Case {
    const char* name;
    size_t blockSize;
    std::vector<std::pair<size_t, std::string>> blocks;
    std::string body;
  };
  const Case cases[] = {
      {"one event across three blocks", 4, {{0, "0123456789"}}, "0123456789"},
      {"block boundaries inside events", 4, {{0, "012"}, {3, "3456"}, {7, "789"}}, "0123456789"},
      {"out of order", 4, {{8, "89"}, {4, "4567"}, {0, "0123"}}, "0123456789"},
      {"repeated blocks", 4, {{0, "0123"}, {0, "0123"}, {2, "23456"}, {7, "789"}}, "0123456789"},
      {"a gap reads as zeros",
       4,
       {{0, "01"}, {6, "67"}},
       std::string("01\0\0\0\0"
                   "67",
                   8)},
      {"empty body", 4, {}, ""},
      {"block size 0 is the default", 0, {{0, "abc"}, {3, "def"}}, "abcdef"},
      {"block size 1", 1, {{1, "bc"}, {0, "a"}}, "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fetched f;
    auto stream = boost::make_shared<OwnStream>();
    // Held here too, so that a second completion still finds the helper.
    PF::SimpleStreamHelperPtr helper = helperInto(f, c.blockSize);
    stream->AttachObserver(helper);
    for (const auto& b : c.blocks) stream->data(b.first, b.second);
    stream->complete(true);
    stream->complete(true);  // a second completion reaches no callback
    EXPECT_EQ(f.calls, 1);
    EXPECT_TRUE(f.success);
    EXPECT_TRUE(f.hasData);
    EXPECT_EQ(f.body, c.body);
  }
}

TEST(SimpleStreamHelper, FailureOrAShortBodyReportsNoData) {
  for (size_t length : {size_t(0), size_t(10)}) {
    Fetched f;
    auto stream = boost::make_shared<OwnStream>(length);
    stream->AttachObserver(helperInto(f, 4));
    stream->data(0, "0123");
    stream->complete(length != 0);  // failure without a length; "success" short of the announced length
    EXPECT_EQ(f.calls, 1);
    EXPECT_FALSE(f.success);
    EXPECT_FALSE(f.hasData);
  }
}

TEST(SimpleStreamHelper, ACallbackThatThrowsStillLetsTheHelperGo) {
  auto stream = boost::make_shared<OwnStream>();
  PF::HttpCallback cb = [](bool, const PF::HeaderMap&, const boost::shared_array<uint8_t>&, size_t) {
    throw std::runtime_error("the caller's own failure");
  };
  PF::SimpleStreamHelperPtr helper = boost::make_shared<PF::SimpleStreamHelper>(cb, 4);
  helper->keepReference(helper);
  stream->AttachObserver(helper);
  boost::weak_ptr<PF::SimpleStreamHelper> weak = helper;
  helper.reset();
  stream->data(0, "ab");
  EXPECT_THROW(stream->complete(true), std::runtime_error);
  EXPECT_TRUE(weak.expired()) << "the helper kept itself alive after its only completion";
}

TEST(SyncHTTPHelper, AHostShutDownEndsTheWaitEmptyEvenAfterAnAnswer) {
  pfhost_test::FakeHostPtr host = pfhost_test::FakeHost::make();
  PF::SyncHTTPHelper answered;
  answered.getURLCallback(true, PF::HeaderMap(), boost::shared_array<uint8_t>(new uint8_t[1]()), 1);
  ASSERT_TRUE(answered.waitForDone(*host));
  host->shutdown();
  // However the answer and the shut-down met, the caller sees the same empty result.
  ASSERT_FALSE(answered.waitForDone(*host));
  PF::SyncHTTPHelper unanswered;
  EXPECT_FALSE(unanswered.waitForDone(*host));
}

TEST(SimpleStreamHelper, HeaderParsing) {
  struct Case {
    const char* name;
    std::string raw;
    PF::HeaderMap parsed;
  };
  const Case cases[] = {
      {"status line, blanks, repeats",
       "HTTP/1.1 200 OK\r\nContent-Type:  text/plain \r\n\r\nX-A: 1\r\nX-A: 2\r\n",
       {{"Content-Type", "text/plain"}, {"X-A", "1"}, {"X-A", "2"}}},
      {"colons stay in the value",
       "Date: Tue, 15 Nov 1994 08:12:31 GMT\n",
       {{"Date", "Tue, 15 Nov 1994 08:12:31 GMT"}}},
      {"bare carriage returns and no colon", "a: 1\rjunk\rB :2", {{"a", "1"}, {"B", "2"}}},
      {"empty", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PF::SimpleStreamHelper::parse_http_headers(c.raw), c.parsed);
  }
}

TEST(BrowserStreamRequest, DefaultsAndOfferedHeaders) {
  PF::BrowserStreamRequest req("http://127.0.0.1:8080/a?b=c", "GET", false);
  EXPECT_EQ(req.getBufferSize(), 131072u);
  EXPECT_FALSE(req.isSeekable());
  EXPECT_FALSE(req.isCacheable());
  EXPECT_FALSE(req.wasAccepted());
  req.setHeaders("HTTP/1.1 200 OK\r\nX: 1\r\n");
  req.setHeaders("Y: 2\r\n");  // replaces
  EXPECT_EQ(req.getHeaders(), (PF::HeaderMap{{"Y", "2"}}));
}

TEST(BrowserStream, SeekableOnlyWhenAskedForAndAllowed) {
  for (int asked = 0; asked < 2; ++asked)
    for (int allowed = 0; allowed < 2; ++allowed) {
      class Seek : public OwnStream {
       public:
        explicit Seek(bool asked) { m_asked = asked; }
        bool isSeekableRequested() const override { return m_asked; }
        bool m_asked = false;
      } s(asked != 0);
      s.setSeekableByServer(allowed != 0);
      EXPECT_EQ(s.isSeekable(), asked && allowed);
    }
}

TEST(DefaultBrowserStreamHandler, HoldsTheStreamWhileAttachedAndCancelsThroughIt) {
  auto handler = boost::make_shared<PF::DefaultBrowserStreamHandler>();
  EXPECT_FALSE(handler->cancel());
  auto stream = boost::make_shared<OwnStream>();
  stream->AttachObserver(handler);
  EXPECT_EQ(handler->getStream(), stream);
  EXPECT_TRUE(handler->cancel());
  EXPECT_EQ(stream->closes, 1);
  stream->DetachObserver(handler);
  EXPECT_FALSE(handler->getStream());
}

TEST(BrowserStreamManager, KeepsStreamsUntilTheyCompleteAndClosesTheRestWhenDropped) {
  auto manager = boost::make_shared<PF::BrowserStreamManager>();
  auto failed = boost::make_shared<OwnStream>();
  auto open = boost::make_shared<OwnStream>();
  boost::weak_ptr<OwnStream> weakFailed = failed, weakOpen = open;
  manager->retainStream(failed);
  manager->retainStream(open);
  failed.reset();
  open.reset();
  ASSERT_FALSE(weakFailed.expired());
  weakFailed.lock()->complete(false);  // released whatever the result
  EXPECT_TRUE(weakFailed.expired());
  ASSERT_FALSE(weakOpen.expired());
  boost::shared_ptr<OwnStream> watch = weakOpen.lock();
  manager.reset();
  EXPECT_EQ(watch->closes, 1);
  EXPECT_TRUE(watch->isCompleted());
  watch.reset();
  EXPECT_TRUE(weakOpen.expired());
}

// A stream that, while the manager attaches to it, has another thread retain and release a stream of the
// same manager: that thread gets through only if the manager holds no lock of its own while calling a stream.
class ProbingStream : public OwnStream {
 public:
  explicit ProbingStream(PF::BrowserStreamManager& manager) : manager(manager) {}
  using OwnStream::AttachObserver;
  void AttachObserver(PF::PluginEventSinkPtr sink) override {
    OwnStream::AttachObserver(sink);
    PF::BrowserStreamManager* m = &manager;
    other = std::async(std::launch::async, [m] {
      auto another = boost::make_shared<OwnStream>();
      m->retainStream(another);
      m->releaseStream(another);
    });
    otherGotThrough = other.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  }
  PF::BrowserStreamManager& manager;
  std::future<void> other;
  bool otherGotThrough = false;
};

TEST(BrowserStreamManager, CallsNoStreamWhileHoldingItsLock) {
  auto manager = boost::make_shared<PF::BrowserStreamManager>();
  auto probe = boost::make_shared<ProbingStream>(*manager);
  manager->retainStream(probe);
  probe->other.wait();
  EXPECT_TRUE(probe->otherGotThrough) << "another thread waited on the manager while it called a stream";
  probe->complete(true);
}

}  // namespace
