#pragma once
// The NPAPI form of a browser stream: binds the browser's NPStream record, turns the NPP stream calls into
// stream events, and reads ranges, writes and closes through the instance's host. Every stream sends one
// completion, carrying the real result; an end the plug-in brings about (close, cancel, teardown) is a
// failure. The stream keeps itself alive until the browser is done with it: destroyed and (for a stream
// the plug-in asked for) notified, or its host shut down.

#include <cstdint>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include "BrowserStream.h"
#include "npapi/NPAPI.h"

namespace PF {
namespace Npapi {

class NpapiBrowserHost;
typedef boost::shared_ptr<NpapiBrowserHost> NpapiBrowserHostPtr;

class NpapiStream : public PF::BrowserStream {
 public:
  NpapiStream(const std::string& url, bool cache, bool seekable, size_t internalBufferSize,
              const NpapiBrowserHostPtr& host);
  ~NpapiStream() override;

  // Refused without a browser call: a range that ends before it starts, starts beyond 2^31 - 1 or is
  // longer than 2^32 - 1 bytes.
  bool readRanges(const std::vector<Range>& ranges) override;
  bool write(const char* data, size_t dataLength, size_t& written) override;
  // Idempotent; the first close of a stream that has not completed sends its (failed) completion.
  bool close() override;

  virtual void setCreated();
  virtual void setDestroyed();
  virtual void setNotified();
  // Answers how many bytes were taken (at most the internal buffer size).
  virtual int32_t signalDataArrived(void* buf, int32_t len, int32_t offset);
  virtual void signalOpened();
  virtual void signalFailedOpen();
  virtual void signalCompleted(bool success);
  virtual void signalCacheFilename(const std::wstring& name);
  virtual void setStream(NPStream* stream) {
    m_strm = stream;
    m_wasBound = m_wasBound || stream;
  }
  // Whether the browser ever opened this stream.
  bool wasOpenedByBrowser() const { return m_wasBound; }
  virtual NPStream* getStream() const { return m_strm; }
  virtual NpapiBrowserHostPtr getHost() const { return m_host.lock(); }

  // The browser will send no URL notification for this stream (one it offered on its own).
  void expectNoNotification() { setNotified(); }
  // The host is going away: end the stream and let go of the self-reference whatever the browser did.
  void abandon();

 private:
  // Sends the one completion of this stream; later calls send nothing.
  void sendCompletion(bool success);
  void dropSelf();

  NPStream* m_strm = nullptr;
  boost::weak_ptr<NpapiBrowserHost> m_host;
  boost::shared_ptr<NpapiStream> m_self;
  bool m_destroyed = false;
  bool m_notified = false;
  bool m_completionSent = false;
  bool m_wasBound = false;
};

typedef boost::shared_ptr<NpapiStream> NpapiStreamPtr;

}  // namespace Npapi
}  // namespace PF
