// Page natives of the Mac browser interface. Records are built from plain page objects; anything the
// page leaves out is 0 (strings absent), so a page can send the hostile records a real browser never would.
#include "testbrowser/MacPage.h"

#include <duktape.h>

#include <cmath>
#include <cstring>
#include <string>

#include "mac/GraphicsContext.h"
#include "mac/Layer.h"
#include "mac/MainBundle.h"
#include "mac/PlatformString.h"
#include "npapi/NPCocoaEvent.h"
#include "testbrowser/Browser.h"

namespace testbrowser {

namespace {

Browser& B() { return *Browser::current(); }

Instance& liveInstance(duk_context* ctx, duk_idx_t idx) {
  Instance* instance = nullptr;
  if (duk_is_number(ctx, idx)) instance = B().instanceByIndex(duk_get_uint(ctx, idx));
  if (duk_is_string(ctx, idx)) instance = B().instanceById(duk_get_string(ctx, idx));
  if (!instance || !instance->alive) duk_range_error(ctx, "no such live plug-in");
  return *instance;
}

double numberField(duk_context* ctx, duk_idx_t obj, const char* name, double fallback = 0) {
  duk_get_prop_string(ctx, obj, name);
  double value = duk_is_undefined(ctx, -1) ? fallback : duk_to_number(ctx, -1);
  duk_pop(ctx);
  return value;
}

int32_t intField(duk_context* ctx, duk_idx_t obj, const char* name, int32_t fallback = 0) {
  duk_get_prop_string(ctx, obj, name);
  int32_t value = duk_is_undefined(ctx, -1) ? fallback : duk_to_int32(ctx, -1);
  duk_pop(ctx);
  return value;
}

bool hasField(duk_context* ctx, duk_idx_t obj, const char* name) {
  duk_get_prop_string(ctx, obj, name);
  bool has = !duk_is_undefined(ctx, -1);
  duk_pop(ctx);
  return has;
}

// A platform string made from a text field; null when the field is absent or null.
RvpString* stringField(duk_context* ctx, duk_idx_t obj, const char* name) {
  duk_get_prop_string(ctx, obj, name);
  RvpString* s = nullptr;
  if (!duk_is_undefined(ctx, -1) && !duk_is_null(ctx, -1)) {
    duk_size_t length = 0;
    const char* text = duk_to_lstring(ctx, -1, &length);
    s = rvp_string_create(text, length);
  }
  duk_pop(ctx);
  return s;
}

// Sets the layer's frame to the plug-in's rectangle, as the browser does for the layer it shows.
void sizeLayer(RvpLayer* layer, const NPWindow& w) {
  if (layer) rvp_layer_set_frame(layer, 0, 0, w.width, w.height);
}

}  // namespace

struct MacNatives {
  static MacPage::InstanceState& state(Instance& instance) { return B().mac().states_[&instance]; }

  // testbrowser.cocoaEvent(id, record): NPP_HandleEvent with the record; answers its result.
  static duk_ret_t cocoaEvent(duk_context* ctx) {
    Instance& instance = liveInstance(ctx, 0);
    if (!duk_is_object(ctx, 1)) return duk_type_error(ctx, "cocoaEvent needs a record object");
    NPCocoaEvent e;
    std::memset(&e, 0, sizeof e);
    const int32_t type = intField(ctx, 1, "type");
    std::memcpy(&e.type, &type, sizeof type);  // any number, as a hostile browser might send
    RvpString* strings[3] = {nullptr, nullptr, nullptr};
    switch (type) {
      case NPCocoaEventDrawRect: {
        const NPWindow& w = instance.window;
        MacPage::InstanceState& s = state(instance);
        duk_get_prop_string(ctx, 1, "context");
        const bool noContext = !duk_is_undefined(ctx, -1) && !duk_to_boolean(ctx, -1);
        duk_pop(ctx);
        e.data.draw.context = noContext ? nullptr : s.context;
        e.data.draw.x = numberField(ctx, 1, "x");
        e.data.draw.y = numberField(ctx, 1, "y");
        e.data.draw.width = numberField(ctx, 1, "width", w.width);
        e.data.draw.height = numberField(ctx, 1, "height", w.height);
        break;
      }
      case NPCocoaEventKeyDown:
      case NPCocoaEventKeyUp:
      case NPCocoaEventFlagsChanged:
        e.data.key.modifierFlags = static_cast<uint32_t>(numberField(ctx, 1, "modifiers"));
        e.data.key.keyCode = static_cast<uint16_t>(intField(ctx, 1, "keyCode"));
        e.data.key.isARepeat = intField(ctx, 1, "repeat") ? 1 : 0;
        strings[0] = stringField(ctx, 1, "characters");
        strings[1] = hasField(ctx, 1, "charactersIgnoringModifiers")
                         ? stringField(ctx, 1, "charactersIgnoringModifiers")
                         : rvp_string_retain(strings[0]);
        e.data.key.characters = strings[0];
        e.data.key.charactersIgnoringModifiers = strings[1];
        break;
      case NPCocoaEventFocusChanged:
      case NPCocoaEventWindowFocusChanged:
        e.data.focus.hasFocus = intField(ctx, 1, "hasFocus") ? 1 : 0;
        break;
      case NPCocoaEventTextInput:
        strings[2] = stringField(ctx, 1, "text");
        e.data.text.text = strings[2];
        break;
      default:  // the mouse records, and unknown types with whatever mouse fields the page gave
        e.data.mouse.modifierFlags = static_cast<uint32_t>(numberField(ctx, 1, "modifiers"));
        e.data.mouse.pluginX = numberField(ctx, 1, "x");
        e.data.mouse.pluginY = numberField(ctx, 1, "y");
        e.data.mouse.buttonNumber = intField(ctx, 1, "button");
        e.data.mouse.clickCount = intField(ctx, 1, "clicks", 1);
        e.data.mouse.deltaX = numberField(ctx, 1, "dx");
        e.data.mouse.deltaY = numberField(ctx, 1, "dy");
        e.data.mouse.deltaZ = numberField(ctx, 1, "dz");
        break;
    }
    const NPPluginFuncs& plugin = B().pluginFuncs();
    int16_t answer = plugin.event ? plugin.event(&instance.npp, &e) : 0;
    for (RvpString* s : strings) rvp_string_release(s);
    duk_push_int(ctx, answer);
    return 1;
  }

  // testbrowser.setWindow(id, {x, y, width, height, clip: [top, left, bottom, right], newContext}): the
  // browser's NPP_SetWindow; under Core Graphics with a graphics context of the window's size (a new one
  // when asked, or when there is none yet). Answers the plug-in's result.
  static duk_ret_t setWindow(duk_context* ctx) {
    Instance& instance = liveInstance(ctx, 0);
    if (!duk_is_object(ctx, 1)) return duk_type_error(ctx, "setWindow needs a window object");
    NPWindow& w = instance.window;
    w.x = intField(ctx, 1, "x", w.x);
    w.y = intField(ctx, 1, "y", w.y);
    w.width = static_cast<uint32_t>(numberField(ctx, 1, "width", w.width));
    w.height = static_cast<uint32_t>(numberField(ctx, 1, "height", w.height));
    duk_get_prop_string(ctx, 1, "clip");
    if (duk_is_array(ctx, -1)) {
      uint16_t* sides[4] = {&w.clipRect.top, &w.clipRect.left, &w.clipRect.bottom, &w.clipRect.right};
      for (duk_uarridx_t i = 0; i < 4; ++i) {
        duk_get_prop_index(ctx, -1, i);
        *sides[i] = static_cast<uint16_t>(duk_to_uint32(ctx, -1));
        duk_pop(ctx);
      }
    }
    duk_pop(ctx);
    MacPage::InstanceState& s = state(instance);
    RvpGraphicsContext* old = nullptr;
    if (instance.drawingModel == NPDrawingModelCoreGraphics) {
      duk_get_prop_string(ctx, 1, "newContext");
      const bool fresh = duk_to_boolean(ctx, -1) || !s.context;
      duk_pop(ctx);
      if (fresh) {
        old = s.context;
        s.context = rvp_gc_create(static_cast<int>(std::fmin(std::fmax(w.width, 1), 4096)),
                                  static_cast<int>(std::fmin(std::fmax(w.height, 1), 4096)));
      }
      instance.cgContext.context = s.context;
      instance.cgContext.window = &instance;
      w.window = &instance.cgContext;
    } else {
      w.window = nullptr;
    }
    const NPPluginFuncs& plugin = B().pluginFuncs();
    NPError result = plugin.setwindow ? plugin.setwindow(&instance.npp, &w) : static_cast<NPError>(NPERR_GENERIC_ERROR);
    rvp_gc_destroy(old);  // the plug-in was told about the new one
    sizeLayer(s.layer, w);
    duk_push_int(ctx, result);
    return 1;
  }

  // testbrowser.layer(id): asks the plug-in for its Core Animation layer and holds it; true when one came.
  static duk_ret_t layer(duk_context* ctx) {
    Instance& instance = liveInstance(ctx, 0);
    MacPage::InstanceState& s = state(instance);
    void* value = nullptr;
    const NPPluginFuncs& plugin = B().pluginFuncs();
    if (!plugin.getvalue || plugin.getvalue(&instance.npp, NPPVpluginCoreAnimationLayer, &value) != NPERR_NO_ERROR ||
        !value) {
      duk_push_false(ctx);
      return 1;
    }
    RvpLayer* given = static_cast<RvpLayer*>(value);
    if (B().mac().retainsLayers()) rvp_layer_retain(given);
    rvp_layer_release(s.layer);  // the one held before, if any
    s.layer = given;
    sizeLayer(s.layer, instance.window);
    duk_push_true(ctx);
    return 1;
  }

  // testbrowser.renderLayer(id, file) / renderContext(id, file): the picture as PNG; true when written.
  static duk_ret_t renderLayer(duk_context* ctx) {
    MacPage::InstanceState& s = state(liveInstance(ctx, 0));
    duk_push_boolean(ctx, rvp_layer_render_png(s.layer, duk_require_string(ctx, 1), 0, 0) == 0);
    return 1;
  }
  static duk_ret_t renderContext(duk_context* ctx) {
    MacPage::InstanceState& s = state(liveInstance(ctx, 0));
    duk_push_boolean(ctx, rvp_gc_write_png(s.context, duk_require_string(ctx, 1)) == 0);
    return 1;
  }

  // testbrowser.layerText(id): the texts of the visible text layers of the held layer, joined by "|".
  static duk_ret_t layerText(duk_context* ctx) {
    MacPage::InstanceState& s = state(liveInstance(ctx, 0));
    std::string joined;
    if (s.layer && !rvp_layer_is_hidden(s.layer)) {
      for (size_t i = 0; i < rvp_layer_sublayer_count(s.layer); ++i) {
        RvpLayer* sub = rvp_layer_sublayer_at(s.layer, i);
        if (!rvp_layer_is_text(sub) || rvp_layer_is_hidden(sub)) continue;
        std::string text(rvp_layer_string(sub, nullptr, 0) + 1, '\0');
        text.resize(rvp_layer_string(sub, &text[0], text.size()));
        joined += (joined.empty() ? "" : "|") + text;
      }
    }
    duk_push_string(ctx, joined.c_str());
    return 1;
  }

  // testbrowser.drawnText(id): the latest text drawn into the instance's graphics context.
  static duk_ret_t drawnText(duk_context* ctx) {
    MacPage::InstanceState& s = state(liveInstance(ctx, 0));
    std::string text(rvp_gc_last_text(s.context, nullptr, 0) + 1, '\0');
    text.resize(rvp_gc_last_text(s.context, &text[0], text.size()));
    duk_push_string(ctx, text.c_str());
    return 1;
  }

  // A browser that gets layers wrong, so that the ledger check can be seen to work.
  static duk_ret_t layerRetain(duk_context* ctx) {
    rvp_layer_retain(state(liveInstance(ctx, 0)).layer);
    return 0;
  }
  static duk_ret_t layerRelease(duk_context* ctx) {
    rvp_layer_release(state(liveInstance(ctx, 0)).layer);
    return 0;
  }

  // testbrowser.mainBundle(identifier, {key: value, ...}): the browser's own bundle, as plug-ins see it.
  static duk_ret_t mainBundle(duk_context* ctx) {
    rvp_bundle_reset();
    rvp_bundle_set_identifier(duk_is_string(ctx, 0) ? duk_get_string(ctx, 0) : nullptr);
    if (duk_is_object(ctx, 1)) {
      duk_enum(ctx, 1, DUK_ENUM_OWN_PROPERTIES_ONLY);
      while (duk_next(ctx, -1, 1)) {
        rvp_bundle_set_info_value(duk_to_string(ctx, -2), duk_to_string(ctx, -1));
        duk_pop_2(ctx);
      }
      duk_pop(ctx);
    }
    return 0;
  }

  // testbrowser.proxyAnswer(text): what getvalueforurl answers for the proxy; null: the browser has none.
  static duk_ret_t proxyAnswer(duk_context* ctx) {
    if (duk_is_null_or_undefined(ctx, 0))
      B().setProxyAnswer(std::nullopt);
    else
      B().setProxyAnswer(std::string(duk_to_string(ctx, 0)));
    return 0;
  }
};

MacPage::~MacPage() {
  for (auto& entry : states_) rvp_gc_destroy(entry.second.context);
}

void MacPage::putNatives(duk_context* ctx) {
  static const duk_function_list_entry natives[] = {{"cocoaEvent", MacNatives::cocoaEvent, 2},
                                                    {"setWindow", MacNatives::setWindow, 2},
                                                    {"layer", MacNatives::layer, 1},
                                                    {"renderLayer", MacNatives::renderLayer, 2},
                                                    {"renderContext", MacNatives::renderContext, 2},
                                                    {"layerText", MacNatives::layerText, 1},
                                                    {"drawnText", MacNatives::drawnText, 1},
                                                    {"layerRetain", MacNatives::layerRetain, 1},
                                                    {"layerRelease", MacNatives::layerRelease, 1},
                                                    {"mainBundle", MacNatives::mainBundle, 2},
                                                    {"proxyAnswer", MacNatives::proxyAnswer, 1},
                                                    {nullptr, nullptr, 0}};
  duk_put_function_list(ctx, -1, natives);
}

bool MacPage::retainsLayers() const {
  const int answer = browser_.page().browser.layerRetained;
  if (answer >= 0) return answer == 1;
  // A browser that does not say: the ones that expect a retained layer are named by the bundle.
  char id[64] = "";
  rvp_bundle_identifier(id, sizeof id);
  return std::strcmp(id, "com.apple.Safari") != 0 && !rvp_bundle_has_info_value("PluginCALayerRetain");
}

void MacPage::instanceDestroyed(Instance& instance) {
  auto it = states_.find(&instance);
  if (it == states_.end()) return;
  rvp_layer_release(it->second.layer);
  rvp_gc_destroy(it->second.context);
  states_.erase(it);
}

void MacPage::checkLedger() {
  const size_t live = rvp_layer_ledger_live(), over = rvp_layer_ledger_over_releases();
  if (live) browser_.faults().add(Faults::Kind::Leak, "leaked layer(s): " + std::to_string(live) + " never freed");
  if (over) browser_.misuse("layer released after it was freed, " + std::to_string(over) + " time(s)");
}

}  // namespace testbrowser
