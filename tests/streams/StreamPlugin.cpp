// A small plug-in built from the framework for the stream tests. Its scripting object starts streams the
// way a plug-in would (a sink per stream, the simple stream helper, a synchronous get on a worker thread)
// and tells the page what happened:
//
//   get(url, options) / post(url, data, options)  -> id (-1 when refused); options: "buffer=N", "seekable",
//                                                    "cached", "cancelafter=N" (the sink cancels once N
//                                                    bytes arrived)
//   fetch(url, options)   -> id; the helper's result comes as the event "fetched"(id, success, body, size)
//   syncGet(url)          -> id; a worker thread waits for the body; workerDone(id), workerResult(id)
//   cancel(id)            -> the handler's cancel()
//   readRanges(id, "A-B,C-D") -> readRanges with [A,B) and [C,D)
//   log(id), body(id)     -> the stream's events ("Created;Opened;Data 0 4 40;...") and the bytes by offset
//   cacheFile(id)         -> the file the browser delivered the stream as (seen at completion)
// Every completion fires "streamdone"(id, success). With the tag parameter acceptoffered, a stream the
// browser offers on its own is accepted and logged as id 0.
#include <atomic>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include <boost/make_shared.hpp>

#include "BrowserHost.h"
#include "BrowserStreamRequest.h"
#include "DefaultBrowserStreamHandler.h"
#include "FactoryBase.h"
#include "JSAPIAuto.h"
#include "PluginCore.h"
#include "SimpleStreamHelper.h"
#include "utf8_tools.h"

namespace {

struct Options {
  size_t buffer = 131072;
  bool seekable = false;
  bool cached = false;
  long cancelAfter = -1;
};

Options parseOptions(const std::string& text) {
  Options o;
  std::istringstream in(text);
  std::string word;
  while (in >> word) {
    if (word == "seekable") o.seekable = true;
    if (word == "cached") o.cached = true;
    if (word.compare(0, 7, "buffer=") == 0) o.buffer = std::stoul(word.substr(7));
    if (word.compare(0, 12, "cancelafter=") == 0) o.cancelAfter = std::stol(word.substr(12));
  }
  return o;
}

class StreamsObject;

// One stream's observer: its events as text, its bytes placed by offset.
class StreamLog : public PF::DefaultBrowserStreamHandler {
 public:
  StreamLog(const boost::weak_ptr<StreamsObject>& owner, long id, long cancelAfter)
      : owner_(owner), id_(id), cancelAfter_(cancelAfter) {}

  bool onStreamCreated(PF::StreamCreatedEvent*, PF::BrowserStream*) override { return note("Created"); }
  bool onStreamOpened(PF::StreamOpenedEvent*, PF::BrowserStream*) override { return note("Opened"); }
  bool onStreamFailedOpen(PF::StreamFailedOpenEvent*, PF::BrowserStream*) override { return note("FailedOpen"); }
  bool onStreamDataArrived(PF::StreamDataArrivedEvent* e, PF::BrowserStream*) override {
    note("Data " + std::to_string(e->getDataPosition()) + " " + std::to_string(e->getLength()) + " " +
         std::to_string(static_cast<int>(e->getProgress())));
    const size_t end = e->getDataPosition() + e->getLength();
    if (body_.size() < end) body_.resize(end, '?');
    body_.replace(e->getDataPosition(), e->getLength(), static_cast<const char*>(e->getData()), e->getLength());
    received_ += static_cast<long>(e->getLength());
    if (cancelAfter_ >= 0 && received_ >= cancelAfter_) {
      cancelAfter_ = -1;
      cancel();
    }
    return false;
  }
  bool onStreamCompleted(PF::StreamCompletedEvent* e, PF::BrowserStream* stream) override;
  bool onStreamDestroyed(PF::StreamDestroyedEvent* e, PF::BrowserStream* stream) override {
    note("Destroyed");
    return PF::DefaultBrowserStreamHandler::onStreamDestroyed(e, stream);
  }

  std::string log() const {
    std::string out;
    for (const std::string& entry : log_) out += (out.empty() ? "" : ";") + entry;
    return out;
  }
  const std::string& body() const { return body_; }
  const std::string& cacheFile() const { return cacheFile_; }

 private:
  bool note(const std::string& entry) {
    log_.push_back(entry);
    return false;
  }
  boost::weak_ptr<StreamsObject> owner_;
  long id_;
  long cancelAfter_;
  long received_ = 0;
  std::vector<std::string> log_;
  std::string body_;
  std::string cacheFile_;
};

struct WorkerResult {
  std::atomic<bool> done{false};
  std::string text;
};

// Threads started by the page; joined when the plug-in shuts down (after the host, which ends their waits).
struct Workers {
  std::mutex mutex;
  std::vector<std::thread> threads;
  void joinAll() {
    std::vector<std::thread> all;
    {
      std::lock_guard<std::mutex> lock(mutex);
      all.swap(threads);
    }
    for (std::thread& t : all) t.join();
  }
};

class StreamsObject : public PF::JSAPIAuto {
 public:
  StreamsObject(const PF::BrowserHostPtr& host, const boost::shared_ptr<Workers>& workers)
      : PF::JSAPIAuto("streams"), host_(host), workers_(workers) {
    registerMethod("get", PF::make_method(this, &StreamsObject::get));
    registerMethod("post", PF::make_method(this, &StreamsObject::post));
    registerMethod("fetch", PF::make_method(this, &StreamsObject::fetch));
    registerMethod("syncGet", PF::make_method(this, &StreamsObject::syncGet));
    registerMethod("workerDone", PF::make_method(this, &StreamsObject::workerDone));
    registerMethod("workerResult", PF::make_method(this, &StreamsObject::workerResult));
    registerMethod("cancel", PF::make_method(this, &StreamsObject::cancel));
    registerMethod("readRanges", PF::make_method(this, &StreamsObject::readRanges));
    registerMethod("log", PF::make_method(this, &StreamsObject::log));
    registerMethod("body", PF::make_method(this, &StreamsObject::body));
    registerMethod("cacheFile", PF::make_method(this, &StreamsObject::cacheFile));
  }

  boost::shared_ptr<StreamLog> offered() {
    auto sink = boost::make_shared<StreamLog>(self(), 0, -1);
    logs_[0] = sink;
    return sink;
  }

  long get(const std::string& url, const std::string& options) { return start(url, nullptr, options); }
  long post(const std::string& url, const std::string& data, const std::string& options) {
    return start(url, &data, options);
  }

  long fetch(const std::string& url, const std::string& options) {
    const long id = nextId_++;
    const Options o = parseOptions(options);
    boost::weak_ptr<StreamsObject> weak = self();
    PF::HttpCallback done = [weak, id](bool ok, const PF::HeaderMap&, const boost::shared_array<uint8_t>& data,
                                       size_t size) {
      if (auto me = weak.lock()) {
        std::string text = data ? std::string(reinterpret_cast<const char*>(data.get()), size) : std::string();
        me->FireEvent("onfetched", {PF::variant(id), PF::variant(ok), PF::variant(text), PF::variant(long(size))});
      }
    };
    PF::SimpleStreamHelper::AsyncGet(host(), PF::URI(url), done, o.cached, o.buffer);
    return id;
  }

  long syncGet(const std::string& url) {
    const long id = nextId_++;
    auto result = boost::make_shared<WorkerResult>();
    results_[id] = result;
    PF::BrowserHostPtr h = host();
    std::lock_guard<std::mutex> lock(workers_->mutex);
    workers_->threads.emplace_back([h, url, result] {
      PF::HttpStreamResponsePtr r = PF::SimpleStreamHelper::SynchronousGet(h, PF::URI(url), false, 4);
      if (!r)
        result->text = "empty";
      else if (!r->success)
        result->text = "failed";
      else
        result->text =
            "ok " + std::to_string(r->size) + " " + std::string(reinterpret_cast<const char*>(r->data.get()), r->size);
      result->done = true;
    });
    return id;
  }
  bool workerDone(long id) { return results_.count(id) && results_[id]->done; }
  std::string workerResult(long id) { return workerDone(id) ? results_[id]->text : std::string(); }

  bool cancel(long id) { return logs_.count(id) && logs_[id]->cancel(); }

  bool readRanges(long id, const std::string& rangeText) {
    if (!logs_.count(id) || !logs_[id]->getStream()) return false;
    std::vector<PF::BrowserStream::Range> ranges;
    std::istringstream in(rangeText);
    std::string part;
    while (std::getline(in, part, ',')) {
      size_t dash = part.find('-');
      if (dash == std::string::npos) return false;
      ranges.emplace_back(std::stoul(part.substr(0, dash)), std::stoul(part.substr(dash + 1)));
    }
    return logs_[id]->getStream()->readRanges(ranges);
  }

  std::string log(long id) { return logs_.count(id) ? logs_[id]->log() : std::string(); }
  std::string body(long id) { return logs_.count(id) ? logs_[id]->body() : std::string(); }
  std::string cacheFile(long id) { return logs_.count(id) ? logs_[id]->cacheFile() : std::string(); }

  void streamDone(long id, bool success) { FireEvent("onstreamdone", {PF::variant(id), PF::variant(success)}); }

 private:
  boost::shared_ptr<StreamsObject> self() { return boost::static_pointer_cast<StreamsObject>(shared_from_this()); }
  PF::BrowserHostPtr host() {
    PF::BrowserHostPtr h = host_.lock();
    if (!h) throw PF::script_error("The page is gone");
    return h;
  }
  long start(const std::string& url, const std::string* data, const std::string& options) {
    const long id = nextId_++;
    const Options o = parseOptions(options);
    auto sink = boost::make_shared<StreamLog>(self(), id, o.cancelAfter);
    logs_[id] = sink;
    PF::BrowserStreamPtr s = data ? host()->createRodaStream(url, sink, *data, o.cached, o.seekable, o.buffer)
                                  : host()->createStream(url, sink, o.cached, o.seekable, o.buffer);
    return s ? id : -1;
  }

  boost::weak_ptr<PF::BrowserHost> host_;
  boost::shared_ptr<Workers> workers_;
  long nextId_ = 1;
  std::map<long, boost::shared_ptr<StreamLog>> logs_;
  std::map<long, boost::shared_ptr<WorkerResult>> results_;
};

bool StreamLog::onStreamCompleted(PF::StreamCompletedEvent* e, PF::BrowserStream* stream) {
  note(e->success ? "Completed ok" : "Completed failed");
  cacheFile_ = PF::wstring_to_utf8(stream->getCacheFilename());
  if (auto owner = owner_.lock()) owner->streamDone(id_, e->success);
  // Range reads need the stream until it completes; after that the browser alone decides its end.
  clearStream();
  return false;
}

class StreamsCore : public PF::PluginCore {
 public:
  StreamsCore() : workers_(boost::make_shared<Workers>()) {}
  bool HandleEvent(PF::PluginEvent*, PF::PluginEventSource*) override { return false; }
  PF::JSAPIPtr createJSAPI() override { return boost::make_shared<StreamsObject>(m_host, workers_); }
  void handleUnsolicitedStream(PF::BrowserStreamRequest& req) override {
    if (!getParam("acceptoffered")) return;
    auto api = boost::static_pointer_cast<StreamsObject>(getRootJSAPI());
    req.setEventSink(api->offered());
    req.setSeekable(false);  // read as it comes, not by ranges
    req.accept();
  }
  void shutdown() override { workers_->joinAll(); }

 private:
  boost::shared_ptr<Workers> workers_;
};

class StreamsFactory : public PF::FactoryBase {
 public:
  boost::shared_ptr<PF::PluginCore> createPlugin(const std::string&) override {
    return boost::make_shared<StreamsCore>();
  }
};

}  // namespace

PF::FactoryBasePtr getFactoryInstance() {
  static PF::FactoryBasePtr factory(new StreamsFactory());
  return factory;
}
