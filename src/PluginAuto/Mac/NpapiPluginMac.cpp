#include "NpapiPluginMac.h"

#include <dlfcn.h>

#include "NpapiBrowserHost.h"
#include "PluginCore.h"
#include "PluginEventMac.h"
#include "PluginWindowMac.h"

extern "C" NPError NP_Initialize(NPNetscapeFuncs* bFuncs);

namespace PF {
namespace Npapi {

namespace {
// The plug-in's own file, as the loader reports it for one of its exports.
const std::string& pluginPath() {
  static const std::string path = [] {
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&NP_Initialize), &info) != 0 && info.dli_fname)
      return std::string(info.dli_fname);
    return std::string();
  }();
  return path;
}
}  // namespace

NpapiPluginPtr createNpapiPlugin(const NpapiBrowserHostPtr& host, const std::string& mimetype) {
  return boost::make_shared<NpapiPluginMac>(host, mimetype);
}

NpapiPluginMac::NpapiPluginMac(const NpapiBrowserHostPtr& host, const std::string& mimetype)
    : NpapiPlugin(host, mimetype) {
  PluginCore::setPlatform("Mac", "NPAPI");
  setFSPath(pluginPath());
}

NpapiPluginMac::~NpapiPluginMac() {
  m_pluginEvent.reset();
  m_pluginWindow.reset();
}

void NpapiPluginMac::init(NPMIMEType pluginType, int16_t argc, char* argn[], char* argv[]) {
  NpapiPlugin::init(pluginType, argc, argn, argv);

  boost::optional<std::string> forced = pluginMain->getParam("drawingmodel");
  m_drawingModel =
      forced ? PluginWindowMac::initPluginWindowMac(m_host, *forced) : PluginWindowMac::initPluginWindowMac(m_host);
  m_eventModel = PluginEventMac::initPluginEventMac(m_host, m_drawingModel);
  m_pluginEvent.reset(PluginEventMac::createPluginEventMac(m_eventModel));
  m_pluginWindow.reset(PluginWindowMac::createPluginWindowMac(m_drawingModel));

  if (m_pluginWindow) {
    m_pluginWindow->setNpHost(m_host);
    if (m_pluginEvent) m_pluginEvent->setPluginWindow(m_pluginWindow);
    m_pluginWindow->setPluginEvent(m_pluginEvent);
    boost::optional<std::string> show = pluginMain->getParam("showdrawingmodel");
    if (show && *show != "0") m_pluginWindow->setShowDrawingModel(true);
  }
}

void NpapiPluginMac::attachWindowToCore() {
  if (m_pluginWindow && !pluginMain->GetWindow()) pluginMain->SetWindow(m_pluginWindow.get());
}

NPError NpapiPluginMac::SetWindow(NPWindow* window) {
  if (!window) {
    pluginMain->ClearWindow();
    m_pluginWindow.reset();
    return NPERR_NO_ERROR;
  }
  NPError result = NPERR_NO_ERROR;
  if (m_pluginWindow) result = m_pluginWindow->SetWindow(window);
  attachWindowToCore();
  return result;
}

int16_t NpapiPluginMac::HandleEvent(void* event) { return m_pluginEvent ? m_pluginEvent->HandleEvent(event) : 0; }

NPError NpapiPluginMac::GetValue(NPPVariable variable, void* value) {
  if (variable != NPPVpluginCoreAnimationLayer) return NpapiPlugin::GetValue(variable, value);
  if (!m_pluginWindow) return NPERR_GENERIC_ERROR;
  NPError result = m_pluginWindow->GetValue(variable, value);
  attachWindowToCore();
  return result;
}

void NpapiPluginMac::HandleTimerEvent() {
  if (m_pluginWindow) m_pluginWindow->handleTimerEvent();
}

}  // namespace Npapi
}  // namespace PF
