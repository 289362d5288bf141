#pragma once
// What a stream is to be before it exists: the address, the method ("GET", or "RODA" with a body), the
// delivery wishes, and who hears of it (an event sink, or a completion callback that gets the whole body).
// For a stream the browser offers on its own, the core accepts it by calling accept().

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include <boost/function.hpp>
#include <boost/shared_array.hpp>

#include "PluginEventSink.h"
#include "URI.h"

namespace PF {

typedef std::multimap<std::string, std::string> HeaderMap;
// (success, response headers, body, body length)
typedef boost::function<void(bool, const HeaderMap&, const boost::shared_array<std::uint8_t>&, const std::size_t)>
    HttpCallback;

class BrowserStreamRequest {
 public:
  static const std::size_t DefaultBufferSize = 131072;

  BrowserStreamRequest(const std::string& url, const std::string& method, bool accepted = true);
  BrowserStreamRequest(const URI& uri, const std::string& method, bool accepted = true);

  URI uri;
  std::string method;

  const URI& getURI() const { return uri; }
  const HeaderMap& getHeaders() const { return m_headers; }
  // Replaces the header table with the parsed raw header block (repeated names kept).
  void setHeaders(const std::string& rawHeaders);

  void setLastModified(std::uint32_t when) { m_lastModified = when; }
  std::uint32_t getLastModified() const { return m_lastModified; }
  void setSeekable(bool seekable) { m_seekable = seekable; }
  bool isSeekable() const { return m_seekable; }
  void setBufferSize(std::size_t size) { m_internalBufferSize = size; }
  std::size_t getBufferSize() const { return m_internalBufferSize; }
  void setCacheable(bool cache) { m_cache = cache; }
  bool isCacheable() const { return m_cache; }

  void setEventSink(const PluginEventSinkPtr& sink) { m_sink = sink; }
  PluginEventSinkPtr getEventSink() const { return m_sink; }
  void setCallback(const HttpCallback& callback) { m_callback = callback; }
  HttpCallback getCallback() const { return m_callback; }

  void accept() { m_accepted = true; }
  bool wasAccepted() const { return m_accepted; }

  void setPostData(const std::string& data, const std::string& headers = std::string()) {
    m_postData = data;
    m_postHeaders = headers;
  }
  const std::string& getPostData() const { return m_postData; }
  const std::string& getPostHeaders() const { return m_postHeaders; }

 private:
  HeaderMap m_headers;
  std::uint32_t m_lastModified = 0;
  bool m_seekable = false;
  std::size_t m_internalBufferSize = DefaultBufferSize;
  bool m_cache = false;
  PluginEventSinkPtr m_sink;
  HttpCallback m_callback;
  bool m_accepted;
  std::string m_postData;
  std::string m_postHeaders;
};

}  // namespace PF
