#pragma once
// Keeps every stream made through a host alive from its creation to its completion. Dropping the
// manager (the host's shutdown) closes whatever is still kept.

#include <set>

#include <boost/shared_ptr.hpp>
#include <boost/thread/recursive_mutex.hpp>

#include "BrowserStream.h"
#include "PluginEventSink.h"

namespace PF {

class BrowserStreamManager : public PluginEventSink {
 public:
  BrowserStreamManager() = default;
  ~BrowserStreamManager() override;

  bool HandleEvent(PluginEvent* event, PluginEventSource* source) override;
  // Releases the stream whatever the result; false, so later observers still see the event.
  virtual bool onStreamCompleted(StreamCompletedEvent* evt, BrowserStream* stream);

  // Throws boost::bad_weak_ptr when the manager is not owned by a shared reference.
  void retainStream(const BrowserStreamPtr& stream);
  void releaseStream(const BrowserStreamPtr& stream);

 private:
  std::set<BrowserStreamPtr> m_retainedStreams;
  boost::recursive_mutex m_xtmutex;
};

typedef boost::shared_ptr<BrowserStreamManager> BrowserStreamManagerPtr;

}  // namespace PF
