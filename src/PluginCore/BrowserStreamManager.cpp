#include "BrowserStreamManager.h"

namespace PF {

// The lock guards the set alone: no stream is called while it is held, since a stream's own calls take the
// stream's lock and reach its observers (this manager among them), possibly on another thread.

BrowserStreamManager::~BrowserStreamManager() {
  std::set<BrowserStreamPtr> streams;
  {
    boost::recursive_mutex::scoped_lock lock(m_xtmutex);
    streams.swap(m_retainedStreams);
  }
  for (const BrowserStreamPtr& stream : streams) stream->close();
}

bool BrowserStreamManager::HandleEvent(PluginEvent* event, PluginEventSource* source) {
  StreamCompletedEvent* completed = dynamic_cast<StreamCompletedEvent*>(event);
  BrowserStream* stream = dynamic_cast<BrowserStream*>(source);
  if (completed && stream) return onStreamCompleted(completed, stream);
  return false;
}

bool BrowserStreamManager::onStreamCompleted(StreamCompletedEvent*, BrowserStream* stream) {
  BrowserStreamPtr held;
  {
    boost::recursive_mutex::scoped_lock lock(m_xtmutex);
    for (const BrowserStreamPtr& candidate : m_retainedStreams) {
      if (candidate.get() == stream) {
        held = candidate;
        break;
      }
    }
  }
  if (held) releaseStream(held);
  return false;
}

void BrowserStreamManager::retainStream(const BrowserStreamPtr& stream) {
  const PluginEventSinkPtr self = PluginEventSink::shared_from_this();
  {
    boost::recursive_mutex::scoped_lock lock(m_xtmutex);
    m_retainedStreams.insert(stream);
  }
  stream->AttachObserver(self);
  // A completion that came before the attachment was not heard here; the stream is done all the same.
  if (stream->isCompleted()) releaseStream(stream);
}

void BrowserStreamManager::releaseStream(const BrowserStreamPtr& stream) {
  {
    boost::recursive_mutex::scoped_lock lock(m_xtmutex);
    m_retainedStreams.erase(stream);
  }
  // The weak self-reference is gone while the manager is being destroyed; the stream then simply
  // forgets an observer that no longer exists.
  if (PluginEventSinkPtr self = weak_from_this().lock()) stream->DetachObserver(self);
}

}  // namespace PF
