#include "PluginEventMac.h"

#include "FactoryBase.h"
#include "NpapiBrowserHost.h"

namespace PF {

int PluginEventMac::initPluginEventMac(const Npapi::NpapiBrowserHostPtr& host, int drawingModel) {
  if (drawingModel != NPDrawingModelCoreGraphics && drawingModel != NPDrawingModelCoreAnimation &&
      drawingModel != NPDrawingModelInvalidatingCoreAnimation)
    return EventModelNone;
  NPBool supported = 0;
  if (host->GetValue(NPNVsupportsCocoaBool, &supported) != NPERR_NO_ERROR || !supported) return EventModelNone;
  if (host->SetValue(NPPVpluginEventModel, reinterpret_cast<void*>(static_cast<intptr_t>(NPEventModelCocoa))) !=
      NPERR_NO_ERROR)
    return EventModelNone;
  return NPEventModelCocoa;
}

PluginEventMac* PluginEventMac::createPluginEventMac(int eventModel) {
  if (eventModel == NPEventModelCocoa) return getFactoryInstance()->createPluginEventMacCocoa();
  return nullptr;
}

}  // namespace PF
