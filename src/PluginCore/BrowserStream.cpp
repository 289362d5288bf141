#include "BrowserStream.h"

namespace PF {

BrowserStream::BrowserStream(const std::string& url, bool cache, bool seekable, std::size_t internalBufferSize)
    : m_url(url), m_seekable(seekable), m_cached(cache), m_internalBufferSize(internalBufferSize) {}

BrowserStream::~BrowserStream() {
  // An observer's exception must not leave a destructor (that would end the process).
  try {
    StreamDestroyedEvent evt(this);
    SendEvent(&evt);
  } catch (...) {
  }
}

boost::shared_ptr<BrowserStream> BrowserStream::shared_from_this() {
  return boost::static_pointer_cast<BrowserStream>(PluginEventSource::shared_from_this());
}

bool BrowserStream::readRange(std::size_t start, std::size_t end) {
  return readRanges(std::vector<Range>(1, Range(start, end)));
}

}  // namespace PF
