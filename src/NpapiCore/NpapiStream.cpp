#include "NpapiStream.h"

#include <algorithm>
#include <limits>

#include "NpapiBrowserHost.h"

namespace PF {
namespace Npapi {

NpapiStream::NpapiStream(const std::string& url, bool cache, bool seekable, size_t internalBufferSize,
                         const NpapiBrowserHostPtr& host)
    : BrowserStream(url, cache, seekable, internalBufferSize), m_host(host) {}

NpapiStream::~NpapiStream() {
  // Nothing is bound any more in the normal course; a record still bound is given back without events,
  // since no observer can be told about a stream that is going away.
  if (NPStream* strm = m_strm) {
    m_strm = nullptr;
    if (NpapiBrowserHostPtr host = getHost()) host->DestroyStream(strm, NPRES_USER_BREAK);
  }
  if (NpapiBrowserHostPtr host = getHost()) host->forgetStream(this);
}

bool NpapiStream::readRanges(const std::vector<Range>& ranges) {
  for (const Range& r : ranges) {
    if (r.end < r.start || r.start > static_cast<size_t>(std::numeric_limits<int32_t>::max()) ||
        r.end - r.start > std::numeric_limits<uint32_t>::max())
      return false;
  }
  if (!m_strm || !isSeekable() || !isOpen()) return false;
  if (ranges.empty()) return true;
  NpapiBrowserHostPtr host = getHost();
  if (!host) return false;
  std::vector<NPByteRange> list(ranges.size());
  for (size_t i = 0; i < ranges.size(); ++i) {
    list[i].offset = static_cast<int32_t>(ranges[i].start);
    list[i].length = static_cast<uint32_t>(ranges[i].end - ranges[i].start);
    list[i].next = i + 1 < ranges.size() ? &list[i + 1] : nullptr;
  }
  return host->RequestRead(m_strm, list.data()) == NPERR_NO_ERROR;
}

bool NpapiStream::write(const char* data, size_t dataLength, size_t& written) {
  written = 0;
  if (!m_strm || !isOpen() || (!data && dataLength) ||
      dataLength > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    return false;
  NpapiBrowserHostPtr host = getHost();
  if (!host) return false;
  const int32_t n = host->Write(m_strm, static_cast<int32_t>(dataLength), const_cast<char*>(data));
  written = n > 0 ? static_cast<size_t>(n) : 0;
  return written == dataLength;
}

bool NpapiStream::close() {
  bool ended = false;
  if (!isCompleted()) {
    setCompleted(true);
    setOpen(false);
    sendCompletion(false);
    ended = true;
  }
  setOpen(false);
  NPStream* strm = m_strm;
  if (!strm) return ended;
  m_strm = nullptr;
  NpapiBrowserHostPtr host = getHost();
  return host && host->DestroyStream(strm, NPRES_USER_BREAK) == NPERR_NO_ERROR;
}

void NpapiStream::setCreated() { m_self = boost::static_pointer_cast<NpapiStream>(shared_from_this()); }

void NpapiStream::setDestroyed() {
  m_destroyed = true;
  if (m_notified) dropSelf();
}

void NpapiStream::setNotified() {
  m_notified = true;
  if (m_destroyed) dropSelf();
}

void NpapiStream::dropSelf() {
  // Last: this may be the last reference.
  boost::shared_ptr<NpapiStream> self;
  self.swap(m_self);
}

void NpapiStream::abandon() {
  // Kept alive to the end of this call, whoever else lets go meanwhile.
  boost::shared_ptr<NpapiStream> self = m_self;
  close();
  m_destroyed = m_notified = true;
  dropSelf();
}

int32_t NpapiStream::signalDataArrived(void* buf, int32_t len, int32_t offset) {
  if (!buf || len < 0 || offset < 0) return -1;
  const size_t limit = std::min<size_t>(getInternalBufferSize(), std::numeric_limits<int32_t>::max());
  const int32_t taken = static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(len), limit));
  if (taken != 0 && isOpen()) {
    const size_t total = getLength();
    const float progress =
        total ? static_cast<float>(static_cast<double>(offset) + taken) / static_cast<float>(total) * 100.0f : 0.0f;
    StreamDataArrivedEvent evt(this, buf, static_cast<size_t>(taken), static_cast<size_t>(offset), progress);
    SendEvent(&evt);
  }
  return taken;
}

void NpapiStream::signalOpened() {
  setOpen(true);
  StreamOpenedEvent evt(this);
  SendEvent(&evt);
}

void NpapiStream::signalFailedOpen() {
  StreamFailedOpenEvent evt(this);
  SendEvent(&evt);
}

void NpapiStream::signalCompleted(bool success) {
  if (isCompleted()) return;
  // A seekable stream the browser still holds stays open for range reads.
  if (success && isSeekable() && m_strm) return;
  setCompleted(true);
  close();
  sendCompletion(success);
}

void NpapiStream::signalCacheFilename(const std::wstring& name) { setCacheFilename(name); }

void NpapiStream::sendCompletion(bool success) {
  if (m_completionSent) return;
  m_completionSent = true;
  StreamCompletedEvent evt(this, success);
  SendEvent(&evt);
}

}  // namespace Npapi
}  // namespace PF
