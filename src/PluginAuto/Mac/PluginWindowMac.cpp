#include "PluginWindowMac.h"

#include "FactoryBase.h"
#include "NpapiBrowserHost.h"

namespace PF {

namespace {

// Asks the browser whether it supports the model and, if so, tells it the plug-in uses it.
bool agree(const Npapi::NpapiBrowserHostPtr& host, NPNVariable supports, int model)
{
    NPBool supported = 0;
    if (host->GetValue(supports, &supported) != NPERR_NO_ERROR || !supported)
        return false;
    return host->SetValue(NPPVpluginDrawingModel, reinterpret_cast<void*>(static_cast<intptr_t>(model))) ==
           NPERR_NO_ERROR;
}

bool coreAnimation(const Npapi::NpapiBrowserHostPtr& host)
{
    return agree(host, NPNVsupportsCoreAnimationBool, NPDrawingModelCoreAnimation);
}

bool coreGraphics(const Npapi::NpapiBrowserHostPtr& host)
{
    return agree(host, NPNVsupportsCoreGraphicsBool, NPDrawingModelCoreGraphics);
}

} // namespace

int PluginWindowMac::initPluginWindowMac(const Npapi::NpapiBrowserHostPtr& host)
{
    if (coreAnimation(host))
        return NPDrawingModelCoreAnimation;
    if (coreGraphics(host))
        return NPDrawingModelCoreGraphics;
    return DrawingModelNone;
}

int PluginWindowMac::initPluginWindowMac(const Npapi::NpapiBrowserHostPtr& host, const std::string& drawingModel)
{
    if (drawingModel == "NPDrawingModelCoreAnimation")
        return coreAnimation(host) ? NPDrawingModelCoreAnimation : DrawingModelNone;
    if (drawingModel == "NPDrawingModelCoreGraphics")
        return coreGraphics(host) ? NPDrawingModelCoreGraphics : DrawingModelNone;
    return DrawingModelNone;
}

PluginWindowMac* PluginWindowMac::createPluginWindowMac(int drawingModel)
{
    if (drawingModel == NPDrawingModelCoreGraphics)
        return getFactoryInstance()->createPluginWindowMacCG();
    if (drawingModel == NPDrawingModelCoreAnimation)
        return getFactoryInstance()->createPluginWindowMacCA();
    return nullptr;
}

NPError PluginWindowMac::SetWindow(NPWindow* window)
{
    if (window)
        m_window = *window;
    return NPERR_NO_ERROR;
}

NPError PluginWindowMacCA::GetValue(NPPVariable variable, void* value)
{
    if (variable != NPPVpluginCoreAnimationLayer || !value)
        return NPERR_GENERIC_ERROR;
    *static_cast<void**>(value) = &m_layer;
    return NPERR_NO_ERROR;
}

// The real windows of this platform, replacing the framework's empty stand-ins.
PluginWindowMac* createPluginWindowMacCA()
{
    return new PluginWindowMacCA();
}

PluginWindowMac* createPluginWindowMacCG()
{
    return new PluginWindowMacCG();
}

} // namespace PF
