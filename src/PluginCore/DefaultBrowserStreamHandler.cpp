#include "DefaultBrowserStreamHandler.h"

namespace PF {

bool DefaultBrowserStreamHandler::HandleEvent(PluginEvent* event, PluginEventSource* source) {
  BrowserStream* stream = dynamic_cast<BrowserStream*>(source);
  if (!stream) return false;
  if (dynamic_cast<AttachedEvent*>(event)) return onStreamAttached(event, stream);
  if (dynamic_cast<DetachedEvent*>(event)) return onStreamDetached(event, stream);
  if (auto* e = dynamic_cast<StreamCreatedEvent*>(event)) return onStreamCreated(e, stream);
  if (auto* e = dynamic_cast<StreamDestroyedEvent*>(event)) return onStreamDestroyed(e, stream);
  if (auto* e = dynamic_cast<StreamFailedOpenEvent*>(event)) return onStreamFailedOpen(e, stream);
  if (auto* e = dynamic_cast<StreamOpenedEvent*>(event)) return onStreamOpened(e, stream);
  if (auto* e = dynamic_cast<StreamDataArrivedEvent*>(event)) return onStreamDataArrived(e, stream);
  if (auto* e = dynamic_cast<StreamCompletedEvent*>(event)) return onStreamCompleted(e, stream);
  return false;
}

bool DefaultBrowserStreamHandler::onStreamAttached(PluginEvent*, BrowserStream* stream) {
  setStream(stream->shared_from_this());
  return false;
}

bool DefaultBrowserStreamHandler::onStreamDetached(PluginEvent*, BrowserStream*) {
  clearStream();
  return false;
}

bool DefaultBrowserStreamHandler::onStreamDestroyed(StreamDestroyedEvent*, BrowserStream*) {
  clearStream();
  return false;
}

bool DefaultBrowserStreamHandler::cancel() {
  // A copy: closing may detach us and drop the held reference mid-call.
  const BrowserStreamPtr stream = m_stream;
  return stream ? stream->close() : false;
}

}  // namespace PF
