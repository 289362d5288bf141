#pragma once
// Turns the browser's events for the agreed event model into plug-in events. The plug-in consumes none.

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

namespace PF {

namespace Npapi {
class NpapiBrowserHost;
typedef boost::shared_ptr<NpapiBrowserHost> NpapiBrowserHostPtr;
} // namespace Npapi

class PluginWindowMac;

class PluginEventMac
{
public:
    enum { EventModelNone = -1 };

    virtual ~PluginEventMac() {}

    // Cocoa only, and only for the drawing models that go with it.
    static int initPluginEventMac(const Npapi::NpapiBrowserHostPtr& host, int drawingModel);
    static PluginEventMac* createPluginEventMac(int eventModel);

    // True when a sink handled the event.
    virtual bool HandleEvent(void* event);
    void setPluginWindow(const boost::weak_ptr<PluginWindowMac>& window) { m_window = window; }

protected:
    boost::weak_ptr<PluginWindowMac> m_window;
};

class PluginEventMacCocoa : public PluginEventMac
{
};

} // namespace PF
