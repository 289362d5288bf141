#pragma once
// The plug-in's window on the Mac browser interface, for the drawing model agreed with the browser. The
// plug-in draws nothing of its own; the window only answers the browser's window and layer requests.

#include <string>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include "PluginWindow.h"
#include "npapi/NPAPI.h"

namespace PF {

namespace Npapi {
class NpapiBrowserHost;
typedef boost::shared_ptr<NpapiBrowserHost> NpapiBrowserHostPtr;
} // namespace Npapi

class PluginEventMac;

class PluginWindowMac : public PluginWindow
{
public:
    enum { DrawingModelNone = -1 };

    PluginWindowMac() {}
    ~PluginWindowMac() override {}

    // Negotiation: Core Animation first, then Core Graphics; with a forced model only that one.
    static int initPluginWindowMac(const Npapi::NpapiBrowserHostPtr& host);
    static int initPluginWindowMac(const Npapi::NpapiBrowserHostPtr& host, const std::string& drawingModel);
    // A new window for the model, or null; the caller owns it.
    static PluginWindowMac* createPluginWindowMac(int drawingModel);

    virtual NPError SetWindow(NPWindow* window);
    virtual NPError GetValue(NPPVariable variable, void* value) { return NPERR_GENERIC_ERROR; }
    virtual void handleTimerEvent() {}
    virtual int drawingModel() const = 0;

    void setNpHost(const Npapi::NpapiBrowserHostPtr& host) { m_npHost = host; }
    void setPluginEvent(const boost::weak_ptr<PluginEventMac>& translator) { m_translator = translator; }
    void setShowDrawingModel(bool show) { m_showDrawingModel = show; }
    bool showDrawingModel() const { return m_showDrawingModel; }
    const NPWindow& window() const { return m_window; }

protected:
    Npapi::NpapiBrowserHostPtr m_npHost;
    boost::weak_ptr<PluginEventMac> m_translator;
    bool m_showDrawingModel = false;
    NPWindow m_window{};
};

// Drawing into the browser's graphics context.
class PluginWindowMacCG : public PluginWindowMac
{
public:
    int drawingModel() const override { return NPDrawingModelCoreGraphics; }
};

// Drawing into a layer handed to the browser.
class PluginWindowMacCA : public PluginWindowMac
{
public:
    int drawingModel() const override { return NPDrawingModelCoreAnimation; }
    NPError GetValue(NPPVariable variable, void* value) override;

private:
    // Stands for the platform layer; the browser treats it as opaque.
    struct Layer {
        const PluginWindowMacCA* owner;
    } m_layer{this};
};

} // namespace PF
