#include "PluginWindowMacCA.h"

#include "MainBundleInfo.h"
#include "NpapiBrowserHost.h"

namespace PF {

namespace {
const unsigned kWidthAndHeightSizable = RVP_LAYER_WIDTH_SIZABLE | RVP_LAYER_HEIGHT_SIZABLE;
}

PluginWindowMacCA::PluginWindowMacCA() : m_rootLayer(rvp_layer_create()), m_labelLayer(rvp_layer_create_text()) {
  RvpLayer* root = m_rootLayer.get();
  rvp_layer_set_autoresizing_mask(root, kWidthAndHeightSizable);
  rvp_layer_set_needs_display_on_bounds_change(root, 1);

  RvpLayer* label = m_labelLayer.get();
  rvp_layer_set_string(label,
                       getDrawingModel() == DrawingModelCoreAnimation ? "CoreAnimation" : "InvalidatingCoreAnimation");
  rvp_layer_set_font_size(label, 24);
  rvp_layer_set_foreground_color(label, 0, 1, 0, 1);
  rvp_layer_set_autoresizing_mask(label, kWidthAndHeightSizable);
  rvp_layer_set_needs_display_on_bounds_change(label, 1);
  rvp_layer_set_hidden(label, 1);
  rvp_layer_add_sublayer(root, label);
}

NPError PluginWindowMacCA::SetWindow(NPWindow* window) {
  const NPError result = PluginWindowMac::SetWindow(window);
  RvpLayer* label = m_labelLayer.get();
  rvp_layer_set_hidden(label, m_showDrawingModel ? 0 : 1);
  // Back on top of whatever else the root layer holds.
  rvp_layer_remove_from_superlayer(label);
  rvp_layer_add_sublayer(m_rootLayer.get(), label);
  return result;
}

bool PluginWindowMacCA::browserExpectsRetainedLayer() const {
  NPBool browserRetains = 0;
  if (m_npHost && m_npHost->GetValue(NPNVbrowserRetainsLayerBool, &browserRetains) == NPERR_NO_ERROR)
    return !browserRetains;
  return MainBundleInfo::identifier() == "com.apple.Safari" || MainBundleInfo::hasInfoValue("PluginCALayerRetain");
}

NPError PluginWindowMacCA::GetValue(NPPVariable variable, void* value) {
  if (variable != NPPVpluginCoreAnimationLayer) return NPERR_NO_ERROR;
  if (!value) return NPERR_INVALID_PARAM;
  RvpLayer* root = m_rootLayer.get();
  if (browserExpectsRetainedLayer()) rvp_layer_retain(root);
  *static_cast<void**>(value) = root;
  return NPERR_NO_ERROR;
}

PluginWindowMac* createPluginWindowMacCA() { return new PluginWindowMacCA(); }

}  // namespace PF
