#include "PluginEventSource.h"

#include <vector>

namespace PF {

void PluginEventSource::AttachObserver(PluginEventSink* sink) { AttachObserver(sink->shared_from_this()); }

void PluginEventSource::AttachObserver(PluginEventSinkPtr sink) {
  boost::recursive_mutex::scoped_lock lock(m_observerLock);
  m_observers.push_back(sink);
  AttachedEvent evt;
  sink->HandleEvent(&evt, this);
}

void PluginEventSource::DetachObserver(PluginEventSink* sink) { DetachObserver(sink->shared_from_this()); }

void PluginEventSource::DetachObserver(PluginEventSinkPtr sink) {
  boost::recursive_mutex::scoped_lock lock(m_observerLock);
  std::vector<PluginEventSinkPtr> detached;
  for (auto it = m_observers.begin(); it != m_observers.end();) {
    PluginEventSinkPtr entry = it->lock();
    if (!entry) {
      it = m_observers.erase(it);
    } else if (entry == sink) {
      detached.push_back(entry);
      it = m_observers.erase(it);
    } else {
      ++it;
    }
  }
  for (const PluginEventSinkPtr& entry : detached) {
    DetachedEvent evt;
    entry->HandleEvent(&evt, this);
  }
}

bool PluginEventSource::SendEvent(PluginEvent* event) {
  boost::recursive_mutex::scoped_lock lock(m_observerLock);
  // A copy, so sinks may attach and detach while the event is being offered.
  const ObserverList observers = m_observers;
  for (const auto& weak : observers) {
    PluginEventSinkPtr sink = weak.lock();
    if (sink && sink->HandleEvent(event, this)) return true;
  }
  return false;
}

}  // namespace PF
