#pragma once
// A base for stream observers: dispatches the stream's events to one handler each, and holds the stream
// it observes from attachment to detachment (or the stream's end).

#include <boost/shared_ptr.hpp>

#include "BrowserStream.h"
#include "PluginEventSink.h"

namespace PF {

class DefaultBrowserStreamHandler : public PluginEventSink {
 public:
  DefaultBrowserStreamHandler() = default;
  ~DefaultBrowserStreamHandler() override {}

  bool HandleEvent(PluginEvent* event, PluginEventSource* source) override;

  virtual bool onStreamAttached(PluginEvent* evt, BrowserStream* stream);
  virtual bool onStreamDetached(PluginEvent* evt, BrowserStream* stream);
  virtual bool onStreamCreated(StreamCreatedEvent* evt, BrowserStream* stream) { return false; }
  virtual bool onStreamDestroyed(StreamDestroyedEvent* evt, BrowserStream* stream);
  virtual bool onStreamDataArrived(StreamDataArrivedEvent* evt, BrowserStream* stream) { return false; }
  virtual bool onStreamFailedOpen(StreamFailedOpenEvent* evt, BrowserStream* stream) { return false; }
  virtual bool onStreamOpened(StreamOpenedEvent* evt, BrowserStream* stream) { return false; }
  virtual bool onStreamCompleted(StreamCompletedEvent* evt, BrowserStream* stream) { return false; }

  virtual BrowserStreamPtr getStream() const { return m_stream; }
  // Ends the held stream from the plug-in's side; false when none is held.
  virtual bool cancel();
  virtual void setStream(const BrowserStreamPtr& stream) { m_stream = stream; }
  virtual void clearStream() { m_stream.reset(); }

 protected:
  BrowserStreamPtr m_stream;
};

typedef boost::shared_ptr<DefaultBrowserStreamHandler> DefaultBrowserStreamHandlerPtr;

}  // namespace PF
