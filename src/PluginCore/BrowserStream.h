#pragma once
// A download or upload the browser carries out for the plug-in. A browser binding supplies the concrete
// stream; observers (event sinks) learn of its progress through the events of BrowserStreamEvents.h.

#include <cstddef>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "BrowserStreamEvents.h"
#include "PluginEventSource.h"

namespace PF {

class BrowserStream : public PluginEventSource {
 public:
  // [start, end): end exclusive.
  struct Range {
    Range(std::size_t start, std::size_t end) : start(start), end(end) {}
    std::size_t start;
    std::size_t end;
  };

  BrowserStream(const std::string& url, bool cache, bool seekable, std::size_t internalBufferSize);
  // Observers hear StreamDestroyedEvent first.
  ~BrowserStream() override;

  // The owning shared reference; boost::bad_weak_ptr when the stream has none.
  virtual boost::shared_ptr<BrowserStream> shared_from_this();

  virtual bool readRange(std::size_t start, std::size_t end);
  virtual bool readRanges(const std::vector<Range>& ranges) = 0;
  virtual bool write(const char* data, std::size_t dataLength, std::size_t& written) = 0;
  // Ends the stream from the plug-in's side.
  virtual bool close() = 0;

  virtual std::string getUrl() const { return m_url; }
  virtual bool isSeekableByServer() const { return m_seekableByServer; }
  virtual bool isSeekableRequested() const { return m_seekable; }
  virtual bool isSeekable() const { return isSeekableRequested() && isSeekableByServer(); }
  virtual bool isCached() const { return m_cached; }
  virtual bool isCompleted() const { return m_completed; }
  virtual bool isOpen() const { return m_opened; }
  virtual std::string getMimeType() const { return m_mimeType; }
  virtual std::wstring getCacheFilename() const { return m_cacheFilename; }
  virtual std::string getHeaders() const { return m_headers; }
  virtual std::size_t getInternalBufferSize() const { return m_internalBufferSize; }
  // 0 when the browser gave no length.
  virtual std::size_t getLength() const { return m_length; }

  virtual void setUrl(const std::string& url) { m_url = url; }
  virtual void setSeekableByServer(bool seekable) { m_seekableByServer = seekable; }
  virtual void setCached(bool cached) { m_cached = cached; }
  virtual void setCompleted(bool completed) { m_completed = completed; }
  virtual void setOpen(bool open) { m_opened = open; }
  virtual void setMimeType(const std::string& type) { m_mimeType = type; }
  virtual void setCacheFilename(const std::wstring& name) { m_cacheFilename = name; }
  virtual void setHeaders(const std::string& headers) { m_headers = headers; }
  virtual void setInternalBufferSize(std::size_t size) { m_internalBufferSize = size; }
  virtual void setLength(std::size_t length) { m_length = length; }

 private:
  std::string m_url;
  bool m_seekable;
  bool m_seekableByServer = false;
  bool m_cached;
  std::size_t m_internalBufferSize;
  std::wstring m_cacheFilename;
  std::size_t m_length = 0;
  std::string m_mimeType;
  bool m_completed = false;
  bool m_opened = false;
  std::string m_headers;
};

typedef boost::shared_ptr<BrowserStream> BrowserStreamPtr;

}  // namespace PF
