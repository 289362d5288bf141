#pragma once
// The NPAPI instance on the Mac browser interface: agrees a drawing and an event model with the browser,
// makes the matching window and event translator, and routes window, event and layer requests to them.

#include <boost/shared_ptr.hpp>

#include "NpapiPlugin.h"

namespace PF {

class PluginWindowMac;
class PluginEventMac;

namespace Npapi {

class NpapiPluginMac : public NpapiPlugin {
 public:
  NpapiPluginMac(const NpapiBrowserHostPtr& host, const std::string& mimetype);
  ~NpapiPluginMac() override;

  void init(NPMIMEType pluginType, int16_t argc, char* argn[], char* argv[]) override;
  NPError SetWindow(NPWindow* window) override;
  int16_t HandleEvent(void* event) override;
  NPError GetValue(NPPVariable variable, void* value) override;
  void HandleTimerEvent();

  int eventModel() const { return m_eventModel; }
  int drawingModel() const { return m_drawingModel; }
  const boost::shared_ptr<PluginWindowMac>& pluginWindow() const { return m_pluginWindow; }
  const boost::shared_ptr<PluginEventMac>& pluginEvent() const { return m_pluginEvent; }

 private:
  void attachWindowToCore();

  int m_eventModel = -1;
  int m_drawingModel = -1;
  boost::shared_ptr<PluginWindowMac> m_pluginWindow;
  boost::shared_ptr<PluginEventMac> m_pluginEvent;
};

}  // namespace Npapi
}  // namespace PF
