// The host's stream operations: requests become streams through the binding, kept by the stream manager
// until they complete, or go through the simple stream helper when only a completion callback waits.
#include "BrowserHost.h"

#include "BrowserStreamManager.h"
#include "BrowserStreamRequest.h"
#include "SimpleStreamHelper.h"

namespace PF {

BrowserStreamPtr BrowserHost::createStream(const BrowserStreamRequest& req, bool enable_async) const {
  // The browser is asked on its main thread only; from elsewhere the request is carried there.
  if (!isMainThread()) return CallOnMainThread([this, req, enable_async] { return createStream(req, enable_async); });
  if (enable_async && req.getCallback() && !req.getEventSink()) {
    BrowserHostPtr self = boost::const_pointer_cast<BrowserHost>(shared_from_this());
    SimpleStreamHelperPtr helper = SimpleStreamHelper::AsyncRequest(self, req);
    return helper ? helper->getStream() : BrowserStreamPtr();
  }
  BrowserStreamPtr stream = _createStream(req);
  // A copy: shutdown may drop the member on another thread.
  const boost::shared_ptr<BrowserStreamManager> manager = m_streamManager;
  if (stream && manager) manager->retainStream(stream);
  return stream;
}

namespace {

// A request whose events go to a sink; the post data matters to "RODA" only.
BrowserStreamRequest sinkRequest(const std::string& url, const std::string& method, const PluginEventSinkPtr& sink,
                                 const std::string& postdata, bool cache, bool seekable, size_t internalBufferSize) {
  BrowserStreamRequest req(url, method, true);
  req.setEventSink(sink);
  req.setCacheable(cache);
  req.setSeekable(seekable);
  req.setBufferSize(internalBufferSize);
  req.setPostData(postdata);
  return req;
}

}  // namespace

BrowserStreamPtr BrowserHost::createStream(const std::string& url, const PluginEventSinkPtr& callback, bool cache,
                                           bool seekable, size_t internalBufferSize) const {
  return createStream(sinkRequest(url, "GET", callback, std::string(), cache, seekable, internalBufferSize), true);
}

BrowserStreamPtr BrowserHost::createRodaStream(const std::string& url, const PluginEventSinkPtr& callback,
                                               const std::string& postdata, bool cache, bool seekable,
                                               size_t internalBufferSize) const {
  return createStream(sinkRequest(url, "RODA", callback, postdata, cache, seekable, internalBufferSize), true);
}

BrowserStreamPtr BrowserHost::createUnsolicitedStream(const BrowserStreamRequest& req) const {
  if (!isMainThread()) return CallOnMainThread([this, req] { return createUnsolicitedStream(req); });
  BrowserStreamPtr stream = _createUnsolicitedStream(req);
  const boost::shared_ptr<BrowserStreamManager> manager = m_streamManager;
  if (stream && manager) manager->retainStream(stream);
  return stream;
}

BrowserStreamPtr BrowserHost::_createStream(const BrowserStreamRequest&) const { return BrowserStreamPtr(); }

BrowserStreamPtr BrowserHost::_createUnsolicitedStream(const BrowserStreamRequest&) const { return BrowserStreamPtr(); }

}  // namespace PF
