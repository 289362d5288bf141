#pragma once
// Fetches a whole resource through a browser stream and hands it to a completion callback in one piece:
// blocks are placed by their offset (gaps, repeats and reordering are harmless), joined at the end, the
// response headers parsed, and the callback called once. The synchronous forms wait for that callback on
// another thread than the main one and end (empty) when the host shuts down.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include <boost/shared_array.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/thread/condition_variable.hpp>
#include <boost/thread/mutex.hpp>
#include <boost/weak_ptr.hpp>

#include "BrowserStreamRequest.h"
#include "DefaultBrowserStreamHandler.h"

namespace PF {

class BrowserHost;
typedef boost::shared_ptr<BrowserHost> BrowserHostPtr;
class SimpleStreamHelper;
typedef boost::shared_ptr<SimpleStreamHelper> SimpleStreamHelperPtr;

struct HttpStreamResponse {
  HttpStreamResponse(bool success, const HeaderMap& headers, const boost::shared_array<std::uint8_t>& data,
                     std::size_t size)
      : success(success), headers(headers), data(data), size(size) {}
  bool success;
  HeaderMap headers;
  boost::shared_array<std::uint8_t> data;
  std::size_t size;
};
typedef boost::shared_ptr<HttpStreamResponse> HttpStreamResponsePtr;

class SimpleStreamHelper : public DefaultBrowserStreamHandler {
 public:
  // A block size of 0 means the request's default.
  SimpleStreamHelper(const HttpCallback& callback, std::size_t blockSize);

  static SimpleStreamHelperPtr AsyncGet(const BrowserHostPtr& host, const URI& uri, const HttpCallback& callback,
                                        bool cache = true, std::size_t bufferSize = 128 * 1024);
  static SimpleStreamHelperPtr AsyncRoda(const BrowserHostPtr& host, const URI& uri, const std::string& postdata,
                                         const HttpCallback& callback, bool cache = true,
                                         std::size_t bufferSize = 128 * 1024);
  // Throws std::runtime_error "Invalid callback" for a request without one. When the browser refuses the
  // request, the callback hears of the failure at once and the result is empty. From another thread the
  // start is carried to the main thread (and fails as that carriage fails).
  static SimpleStreamHelperPtr AsyncRequest(const BrowserHostPtr& host, const BrowserStreamRequest& req);
  static SimpleStreamHelperPtr AsyncRequest(const BrowserHostPtr& host, const BrowserStreamPtr& stream,
                                            const BrowserStreamRequest& req);

  // Not on the main thread (the request runs there): an empty result, as for every failure to start or
  // a host that shuts down during the wait.
  static HttpStreamResponsePtr SynchronousGet(const BrowserHostPtr& host, const URI& uri, bool cache = true,
                                              std::size_t bufferSize = 128 * 1024);
  static HttpStreamResponsePtr SynchronousRoda(const BrowserHostPtr& host, const URI& uri, const std::string& postdata,
                                               bool cache = true, std::size_t bufferSize = 128 * 1024);
  static HttpStreamResponsePtr SynchronousRequest(const BrowserHostPtr& host, const BrowserStreamRequest& req);

  // Raw header block -> (name, value) pairs; lines without ":" (the status line) are skipped.
  static HeaderMap parse_http_headers(const std::string& headers);

  bool onStreamDataArrived(StreamDataArrivedEvent* evt, BrowserStream* stream) override;
  bool onStreamOpened(StreamOpenedEvent* evt, BrowserStream* stream) override;
  bool onStreamCompleted(StreamCompletedEvent* evt, BrowserStream* stream) override;

  void keepReference(const SimpleStreamHelperPtr& self) { m_self = self; }

 private:
  // Joins the placed blocks into one body of m_size bytes; false when that much memory is not there.
  bool joinBlocks();

  std::map<std::size_t, boost::shared_array<std::uint8_t>> m_blocks;  // block index -> block
  boost::shared_array<std::uint8_t> m_data;
  bool m_joined = false;
  const std::size_t m_blockSize;
  std::size_t m_size = 0;  // one past the highest byte placed
  HttpCallback m_callback;
  SimpleStreamHelperPtr m_self;
};

// The meeting point of a synchronous caller and the completion callback. Both own it, so neither outlives
// what the other still uses.
class SyncHTTPHelper {
 public:
  void getURLCallback(bool success, const HeaderMap& headers, const boost::shared_array<std::uint8_t>& data,
                      std::size_t size);
  // Until the callback ran or the host shut down; the response is empty in the second case.
  HttpStreamResponsePtr waitForDone(const BrowserHost& host);
  void setHelper(const SimpleStreamHelperPtr& helper) { m_helper = helper; }

 private:
  bool m_done = false;
  boost::weak_ptr<SimpleStreamHelper> m_helper;
  boost::condition_variable m_cond;
  boost::mutex m_mutex;
  HttpStreamResponsePtr m_response;
};

}  // namespace PF
