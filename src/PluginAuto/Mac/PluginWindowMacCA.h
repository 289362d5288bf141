#pragma once
// The Core Animation form: the browser shows a layer the plug-in hands it. The layer stays empty but for
// a hidden label layer, shown when the page asked to see the drawing model.

#include "LayerRef.h"
#include "PluginWindowMac.h"

namespace PF {

class PluginWindowMacCA : public PluginWindowMac {
 public:
  PluginWindowMacCA();

  int getDrawingModel() const override { return DrawingModelCoreAnimation; }
  void* getDrawingPrimitive() const override { return m_rootLayer.get(); }
  void* getWindowRef() const override { return nullptr; }
  NPError SetWindow(NPWindow* window) override;
  // NPPVpluginCoreAnimationLayer: the root layer, retained once for the browser unless the browser
  // says it retains layers itself (or, when it does not say, unless it is not one that expects it).
  NPError GetValue(NPPVariable variable, void* value) override;

  RvpLayer* labelLayer() const { return m_labelLayer.get(); }

 private:
  bool browserExpectsRetainedLayer() const;

  // Declared in this order so the label goes before the root.
  LayerRef m_rootLayer;
  LayerRef m_labelLayer;
};

}  // namespace PF
