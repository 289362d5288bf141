#pragma once
// Offers each event to its observers in attachment order until one handles it.
// Observers are held weakly and may stand in the list more than once.

#include <list>

#include <boost/enable_shared_from_this.hpp>
#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/thread/recursive_mutex.hpp>
#include <boost/weak_ptr.hpp>

#include "PluginEventSink.h"
#include "PluginEvents.h"

namespace PF {

class PluginEventSource : public boost::enable_shared_from_this<PluginEventSource>, boost::noncopyable {
 public:
  PluginEventSource() = default;
  virtual ~PluginEventSource() {}

  // Both forms send the sink an AttachedEvent. The pointer form throws
  // boost::bad_weak_ptr when the sink is not owned by a shared reference.
  virtual void AttachObserver(PluginEventSink* sink);
  virtual void AttachObserver(PluginEventSinkPtr sink);
  // Removes every entry of the sink (and every expired one); each removed entry of
  // the sink gets a DetachedEvent.
  virtual void DetachObserver(PluginEventSink* sink);
  virtual void DetachObserver(PluginEventSinkPtr sink);
  virtual bool SendEvent(PluginEvent* event);

 protected:
  typedef std::list<boost::weak_ptr<PluginEventSink>> ObserverList;
  ObserverList m_observers;
  boost::recursive_mutex m_observerLock;
};

}  // namespace PF
