#include "NpapiPlugin.h"

#include "FactoryBase.h"
#include "NPJavascriptObject.h"
#include "NpapiBrowserHost.h"
#include "PluginCore.h"
#include "PluginInfo.h"

namespace PF {
namespace Npapi {

namespace {
// The factory may have no core for a MIME type; an instance without one cannot exist.
const PluginCorePtr& requireCore(const PluginCorePtr& core)
{
    if (!core)
        throw PluginCreateError("No plug-in for this MIME type");
    return core;
}
} // namespace

NpapiPlugin::NpapiPlugin(const NpapiBrowserHostPtr& host, const std::string& mimetype)
    : BrowserPlugin(mimetype),
      m_host(host),
      m_mimeType(mimetype),
      m_pluginName(getFactoryInstance()->getPluginName(mimetype)),
      m_pluginDesc(getFactoryInstance()->getPluginDescription(mimetype))
{
    requireCore(pluginMain)->SetHost(host);
}

NpapiPlugin::~NpapiPlugin()
{
    if (m_scriptableObject)
        m_host->ReleaseObject(m_scriptableObject);
}

void NpapiPlugin::init(NPMIMEType, int16_t argc, char* argn[], char* argv[])
{
    VariantMap params;
    for (int16_t i = 0; i < argc; ++i) {
        if (argn && argv && argn[i] && argv[i])
            params[argn[i]] = variant(std::string(argv[i]));
    }
    pluginMain->setParams(params);
    if (pluginGuiEnabled())
        pluginMain->isWindowless();
    setReady();
}

void NpapiPlugin::setReady()
{
    if (!m_isReady)
        m_isReady = pluginMain->setReady();
}

void NpapiPlugin::shutdown()
{
    pluginMain->ClearWindow();
    pluginMain->shutdown();
}

NPObject* NpapiPlugin::getScriptableObject()
{
    if (!m_scriptableObject) {
        JSAPIPtr root = pluginMain->getRootJSAPI();
        m_scriptableObject =
            static_cast<NPJavascriptObject*>(NPJavascriptObject::NewObject(m_host, JSAPIWeakPtr(root), false));
    }
    if (m_scriptableObject && m_retainScriptableObject)
        m_host->RetainObject(m_scriptableObject);
    return m_scriptableObject;
}

NPError NpapiPlugin::GetValue(NPPVariable variable, void* value)
{
    switch (variable) {
    case NPPVpluginScriptableNPObject:
        *static_cast<NPObject**>(value) = getScriptableObject();
        return NPERR_NO_ERROR;
    case NPPVpluginNameString:
        *static_cast<const char**>(value) = m_pluginName.c_str();
        return NPERR_NO_ERROR;
    case NPPVpluginDescriptionString:
        *static_cast<const char**>(value) = m_pluginDesc.c_str();
        return NPERR_NO_ERROR;
    default:
        return NPERR_GENERIC_ERROR;
    }
}

NPError NpapiPlugin::SetValue(NPNVariable, void*) { return NPERR_NO_ERROR; }
NPError NpapiPlugin::SetWindow(NPWindow*) { return NPERR_NO_ERROR; }
int16_t NpapiPlugin::HandleEvent(void*) { return 0; }
void NpapiPlugin::Print(NPPrint*) {}

// This plug-in asks for no streams and takes none the browser offers: every stream is "not ours".
NPError NpapiPlugin::NewStream(NPMIMEType, NPStream*, NPBool, uint16_t*) { return NPERR_NO_ERROR; }
NPError NpapiPlugin::DestroyStream(NPStream*, NPReason) { return NPERR_NO_ERROR; }
int32_t NpapiPlugin::WriteReady(NPStream*) { return -1; }
int32_t NpapiPlugin::Write(NPStream*, int32_t, int32_t, void*) { return -1; }
void NpapiPlugin::StreamAsFile(NPStream*, const char*) {}
void NpapiPlugin::URLNotify(const char*, NPReason, void*) {}

} // namespace Npapi
} // namespace PF
