#include "SimpleStreamHelper.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <boost/algorithm/string/trim.hpp>
#include <boost/bind/bind.hpp>
#include <boost/date_time/posix_time/posix_time_types.hpp>
#include <boost/make_shared.hpp>

#include "BrowserHost.h"

namespace PF {

SimpleStreamHelper::SimpleStreamHelper(const HttpCallback& callback, std::size_t blockSize)
    : m_blockSize(blockSize ? blockSize : BrowserStreamRequest::DefaultBufferSize), m_callback(callback) {}

namespace {

// The request of the helper's own forms; the post data matters to "RODA" only.
BrowserStreamRequest fetchRequest(const URI& uri, const std::string& method, const std::string& postdata, bool cache,
                                  std::size_t bufferSize) {
  BrowserStreamRequest req(uri, method);
  req.setCacheable(cache);
  req.setBufferSize(bufferSize);
  req.setPostData(postdata);
  return req;
}

}  // namespace

SimpleStreamHelperPtr SimpleStreamHelper::AsyncGet(const BrowserHostPtr& host, const URI& uri,
                                                   const HttpCallback& callback, bool cache, std::size_t bufferSize) {
  BrowserStreamRequest req = fetchRequest(uri, "GET", std::string(), cache, bufferSize);
  req.setCallback(callback);
  return AsyncRequest(host, req);
}

SimpleStreamHelperPtr SimpleStreamHelper::AsyncRoda(const BrowserHostPtr& host, const URI& uri,
                                                    const std::string& postdata, const HttpCallback& callback,
                                                    bool cache, std::size_t bufferSize) {
  BrowserStreamRequest req = fetchRequest(uri, "RODA", postdata, cache, bufferSize);
  req.setCallback(callback);
  return AsyncRequest(host, req);
}

SimpleStreamHelperPtr SimpleStreamHelper::AsyncRequest(const BrowserHostPtr& host, const BrowserStreamRequest& req) {
  if (!req.getCallback()) throw std::runtime_error("Invalid callback");
  if (!host->isMainThread()) return host->CallOnMainThread([host, req] { return AsyncRequest(host, req); });
  BrowserStreamPtr stream = host->createStream(req, false);
  if (!stream) {
    // The browser refused: the caller still hears exactly once that nothing came of it.
    req.getCallback()(false, HeaderMap(), boost::shared_array<std::uint8_t>(), 0);
    return SimpleStreamHelperPtr();
  }
  return AsyncRequest(host, stream, req);
}

SimpleStreamHelperPtr SimpleStreamHelper::AsyncRequest(const BrowserHostPtr& host, const BrowserStreamPtr& stream,
                                                       const BrowserStreamRequest& req) {
  if (!host->isMainThread())
    return host->CallOnMainThread([host, stream, req] { return AsyncRequest(host, stream, req); });
  if (!stream) return SimpleStreamHelperPtr();
  SimpleStreamHelperPtr helper = boost::make_shared<SimpleStreamHelper>(req.getCallback(), req.getBufferSize());
  helper->keepReference(helper);
  stream->AttachObserver(helper);
  return helper;
}

HttpStreamResponsePtr SimpleStreamHelper::SynchronousGet(const BrowserHostPtr& host, const URI& uri, bool cache,
                                                         std::size_t bufferSize) {
  return SynchronousRequest(host, fetchRequest(uri, "GET", std::string(), cache, bufferSize));
}

HttpStreamResponsePtr SimpleStreamHelper::SynchronousRoda(const BrowserHostPtr& host, const URI& uri,
                                                          const std::string& postdata, bool cache,
                                                          std::size_t bufferSize) {
  return SynchronousRequest(host, fetchRequest(uri, "RODA", postdata, cache, bufferSize));
}

HttpStreamResponsePtr SimpleStreamHelper::SynchronousRequest(const BrowserHostPtr& host,
                                                             const BrowserStreamRequest& req) {
  // On the main thread the wait would hold up the very delivery it waits for.
  if (!host || host->isMainThread()) return HttpStreamResponsePtr();
  try {
    boost::shared_ptr<SyncHTTPHelper> sync = boost::make_shared<SyncHTTPHelper>();
    BrowserStreamRequest copy(req);
    using namespace boost::placeholders;
    copy.setCallback(boost::bind(&SyncHTTPHelper::getURLCallback, sync, _1, _2, _3, _4));
    sync->setHelper(AsyncRequest(host, copy));
    return sync->waitForDone(*host);
  } catch (const std::exception&) {
    return HttpStreamResponsePtr();
  }
}

HeaderMap SimpleStreamHelper::parse_http_headers(const std::string& headers) {
  HeaderMap out;
  std::vector<std::string> lines;
  boost::split(lines, headers, boost::is_any_of("\r\n"));
  for (const std::string& raw : lines) {
    const std::string line = boost::trim_copy(raw);
    const std::string::size_type colon = line.find(':');
    if (line.empty() || colon == std::string::npos) continue;
    out.insert(std::make_pair(boost::trim_copy(line.substr(0, colon)), boost::trim_copy(line.substr(colon + 1))));
  }
  return out;
}

bool SimpleStreamHelper::onStreamDataArrived(StreamDataArrivedEvent* evt, BrowserStream*) {
  const std::uint8_t* data = static_cast<const std::uint8_t*>(evt->getData());
  std::size_t remaining = evt->getLength();
  std::size_t offset = evt->getDataPosition();
  if (!data || remaining == 0 || m_joined || offset + remaining < offset) return false;
  m_size = std::max(m_size, offset + remaining);
  while (remaining) {
    const std::size_t index = offset / m_blockSize;
    const std::size_t within = offset % m_blockSize;
    boost::shared_array<std::uint8_t>& block = m_blocks[index];
    if (!block) block.reset(new std::uint8_t[m_blockSize]());  // gaps read as zero bytes
    const std::size_t n = std::min(remaining, m_blockSize - within);
    std::memcpy(block.get() + within, data, n);
    data += n;
    offset += n;
    remaining -= n;
  }
  return false;
}

bool SimpleStreamHelper::onStreamOpened(StreamOpenedEvent*, BrowserStream*) { return false; }

bool SimpleStreamHelper::joinBlocks() {
  if (m_joined) return true;
  std::uint8_t* body = new (std::nothrow) std::uint8_t[m_size]();
  if (!body) return false;
  m_data.reset(body);
  for (const auto& entry : m_blocks) {
    const std::size_t start = entry.first * m_blockSize;
    if (start < m_size) std::memcpy(body + start, entry.second.get(), std::min(m_blockSize, m_size - start));
  }
  m_blocks.clear();
  m_joined = true;
  return true;
}

bool SimpleStreamHelper::onStreamCompleted(StreamCompletedEvent* evt, BrowserStream* stream) {
  // The self-reference goes however the callback ends (it may throw); the local keeps this object alive
  // to the end of the call, and may be its last owner.
  SimpleStreamHelperPtr self;
  self.swap(m_self);
  // Nor does a helper its caller still holds keep the stream past its end: the stream's last owner
  // then stays the browser's side, on the main thread.
  const BrowserStreamPtr held = getStream();
  clearStream();
  const HttpCallback callback = m_callback;
  m_callback.clear();
  // A body shorter than the length the browser announced is not the resource, whatever the result says.
  const bool whole = !stream || stream->getLength() == 0 || m_size >= stream->getLength();
  if (evt->success && whole && joinBlocks()) {
    if (callback && stream) callback(true, parse_http_headers(stream->getHeaders()), m_data, m_size);
  } else if (callback) {
    callback(false, HeaderMap(), boost::shared_array<std::uint8_t>(), m_size);
  }
  return false;
}

void SyncHTTPHelper::getURLCallback(bool success, const HeaderMap& headers,
                                    const boost::shared_array<std::uint8_t>& data, std::size_t size) {
  boost::mutex::scoped_lock lock(m_mutex);
  m_response = boost::make_shared<HttpStreamResponse>(success, headers, data, size);
  m_done = true;
  m_cond.notify_all();
}

HttpStreamResponsePtr SyncHTTPHelper::waitForDone(const BrowserHost& host) {
  boost::mutex::scoped_lock lock(m_mutex);
  for (;;) {
    // The shut-down comes first: the host's teardown also completes the stream (in failure), and the
    // caller must see the same empty answer however the two threads met.
    if (host.isShutDown()) return HttpStreamResponsePtr();
    if (m_done) return m_response;
    m_cond.timed_wait(lock, boost::posix_time::milliseconds(10));
  }
}

}  // namespace PF
