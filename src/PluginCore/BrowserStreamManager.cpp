#include "BrowserStreamManager.h"

namespace PF {

BrowserStreamManager::~BrowserStreamManager()
{
    boost::recursive_mutex::scoped_lock lock(m_xtmutex);
    // A copy: a stream's completion comes back to releaseStream, which must not pull the set from under us.
    const std::set<BrowserStreamPtr> streams = m_retainedStreams;
    for (const BrowserStreamPtr& stream : streams)
        stream->close();
    m_retainedStreams.clear();
}

bool BrowserStreamManager::HandleEvent(PluginEvent* event, PluginEventSource* source)
{
    StreamCompletedEvent* completed = dynamic_cast<StreamCompletedEvent*>(event);
    BrowserStream* stream = dynamic_cast<BrowserStream*>(source);
    if (completed && stream)
        return onStreamCompleted(completed, stream);
    return false;
}

bool BrowserStreamManager::onStreamCompleted(StreamCompletedEvent*, BrowserStream* stream)
{
    boost::recursive_mutex::scoped_lock lock(m_xtmutex);
    for (const BrowserStreamPtr& held : m_retainedStreams) {
        if (held.get() == stream) {
            const BrowserStreamPtr keep = held;
            releaseStream(keep);
            break;
        }
    }
    return false;
}

void BrowserStreamManager::retainStream(const BrowserStreamPtr& stream)
{
    boost::recursive_mutex::scoped_lock lock(m_xtmutex);
    stream->AttachObserver(PluginEventSink::shared_from_this());
    m_retainedStreams.insert(stream);
}

void BrowserStreamManager::releaseStream(const BrowserStreamPtr& stream)
{
    boost::recursive_mutex::scoped_lock lock(m_xtmutex);
    // The weak self-reference is gone while the manager is being destroyed; the stream then simply
    // forgets an observer that no longer exists.
    if (PluginEventSinkPtr self = weak_from_this().lock())
        stream->DetachObserver(self);
    m_retainedStreams.erase(stream);
}

} // namespace PF
