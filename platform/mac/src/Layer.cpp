// Layers live in one ledger under one lock. A layer's record goes with its last reference, so a
// long-lived browser holds only the layers alive; a pointer is followed only while the ledger holds it,
// so late releases are counted rather than followed.
#include "mac/Layer.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include <cairo.h>
#include <pango/pangocairo.h>

namespace {

struct Color {
  double r = 0, g = 0, b = 0, a = 0;
};

}  // namespace

struct RvpLayer {
  long references = 1;
  bool text = false;
  double x = 0, y = 0, width = 0, height = 0;
  unsigned autoresizing = 0;
  bool needsDisplayOnBoundsChange = false;
  bool hidden = false;
  Color background;
  std::string string;
  double fontSize = 36;
  Color foreground{1, 1, 1, 1};
  RvpLayer* superlayer = nullptr;
  std::vector<RvpLayer*> sublayers;  // each holds one reference
};

namespace {

struct Ledger {
  std::recursive_mutex mutex;
  std::unordered_map<const RvpLayer*, std::unique_ptr<RvpLayer>> records;  // the layers not yet freed
  size_t created = 0;
  size_t overReleases = 0;
};

Ledger& ledger() {
  static Ledger* instance = new Ledger;  // outlives every static that may still release a layer
  return *instance;
}

// Looks the pointer up before touching it: a freed layer's memory is gone.
bool alive(const RvpLayer* layer) {
  if (!layer) return false;
  const auto& records = ledger().records;
  const auto found = records.find(layer);
  return found != records.end() && found->second->references > 0;
}

RvpLayer* make(bool text) {
  Ledger& l = ledger();
  std::lock_guard<std::recursive_mutex> lock(l.mutex);
  auto layer = std::make_unique<RvpLayer>();
  layer->text = text;
  RvpLayer* made = layer.get();
  l.records.emplace(made, std::move(layer));
  ++l.created;
  return made;
}

void detach(RvpLayer* layer) {
  RvpLayer* parent = layer->superlayer;
  if (!parent) return;
  auto& subs = parent->sublayers;
  subs.erase(std::remove(subs.begin(), subs.end(), layer), subs.end());
  layer->superlayer = nullptr;
}

void releaseLocked(RvpLayer* layer) {
  if (!layer) return;
  if (!alive(layer)) {
    ++ledger().overReleases;
    return;
  }
  if (--layer->references > 0) return;
  std::vector<RvpLayer*> subs;
  subs.swap(layer->sublayers);
  for (RvpLayer* sub : subs) {
    sub->superlayer = nullptr;
    releaseLocked(sub);
  }
  if (layer->superlayer) {
    // Its superlayer's reference was released by someone else: an over-release, counted as the
    // superlayer's own release would have been.
    ++ledger().overReleases;
    detach(layer);
  }
  ledger().records.erase(layer);
}

void setColor(Color& color, double r, double g, double b, double a) { color = Color{r, g, b, a}; }

void drawLayer(cairo_t* cr, const RvpLayer* layer) {
  if (!alive(layer) || layer->hidden) return;
  cairo_save(cr);
  cairo_translate(cr, layer->x, layer->y);
  cairo_rectangle(cr, 0, 0, layer->width, layer->height);
  cairo_clip(cr);
  if (layer->background.a > 0) {
    cairo_set_source_rgba(cr, layer->background.r, layer->background.g, layer->background.b, layer->background.a);
    cairo_paint(cr);
  }
  if (layer->text && !layer->string.empty() && layer->fontSize > 0) {
    PangoLayout* text = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_from_string("Sans");
    pango_font_description_set_absolute_size(font, layer->fontSize * PANGO_SCALE);
    pango_layout_set_font_description(text, font);
    pango_layout_set_text(text, layer->string.c_str(), -1);
    cairo_set_source_rgba(cr, layer->foreground.r, layer->foreground.g, layer->foreground.b, layer->foreground.a);
    pango_cairo_show_layout(cr, text);
    pango_font_description_free(font);
    g_object_unref(text);
  }
  for (const RvpLayer* sub : layer->sublayers) drawLayer(cr, sub);
  cairo_restore(cr);
}

}  // namespace

#define LOCKED          \
  Ledger& l = ledger(); \
  std::lock_guard<std::recursive_mutex> lock(l.mutex)

extern "C" {

RvpLayer* rvp_layer_create(void) { return make(false); }
RvpLayer* rvp_layer_create_text(void) { return make(true); }

RvpLayer* rvp_layer_retain(RvpLayer* layer) {
  LOCKED;
  if (alive(layer)) ++layer->references;
  return layer;
}

void rvp_layer_release(RvpLayer* layer) {
  LOCKED;
  releaseLocked(layer);
}

long rvp_layer_retain_count(const RvpLayer* layer) {
  LOCKED;
  return alive(layer) ? layer->references : 0;
}

void rvp_layer_set_frame(RvpLayer* layer, double x, double y, double width, double height) {
  LOCKED;
  if (!alive(layer)) return;
  const double dw = width - layer->width, dh = height - layer->height;
  layer->x = x;
  layer->y = y;
  layer->width = width;
  layer->height = height;
  for (RvpLayer* sub : layer->sublayers) {
    double w = sub->width + ((sub->autoresizing & RVP_LAYER_WIDTH_SIZABLE) ? dw : 0);
    double h = sub->height + ((sub->autoresizing & RVP_LAYER_HEIGHT_SIZABLE) ? dh : 0);
    rvp_layer_set_frame(sub, sub->x, sub->y, std::max(0.0, w), std::max(0.0, h));
  }
}

void rvp_layer_get_frame(const RvpLayer* layer, double* x, double* y, double* width, double* height) {
  LOCKED;
  const bool ok = alive(layer);
  if (x) *x = ok ? layer->x : 0;
  if (y) *y = ok ? layer->y : 0;
  if (width) *width = ok ? layer->width : 0;
  if (height) *height = ok ? layer->height : 0;
}

void rvp_layer_set_autoresizing_mask(RvpLayer* layer, unsigned mask) {
  LOCKED;
  if (alive(layer)) layer->autoresizing = mask;
}

unsigned rvp_layer_autoresizing_mask(const RvpLayer* layer) {
  LOCKED;
  return alive(layer) ? layer->autoresizing : 0;
}

void rvp_layer_set_needs_display_on_bounds_change(RvpLayer* layer, int needs) {
  LOCKED;
  if (alive(layer)) layer->needsDisplayOnBoundsChange = needs != 0;
}

int rvp_layer_needs_display_on_bounds_change(const RvpLayer* layer) {
  LOCKED;
  return alive(layer) && layer->needsDisplayOnBoundsChange ? 1 : 0;
}

void rvp_layer_set_hidden(RvpLayer* layer, int hidden) {
  LOCKED;
  if (alive(layer)) layer->hidden = hidden != 0;
}

int rvp_layer_is_hidden(const RvpLayer* layer) {
  LOCKED;
  return alive(layer) && layer->hidden ? 1 : 0;
}

void rvp_layer_set_background_color(RvpLayer* layer, double r, double g, double b, double a) {
  LOCKED;
  if (alive(layer)) setColor(layer->background, r, g, b, a);
}

void rvp_layer_set_string(RvpLayer* layer, const char* utf8) {
  LOCKED;
  if (alive(layer)) layer->string = utf8 ? utf8 : "";
}

size_t rvp_layer_string(const RvpLayer* layer, char* buf, size_t cap) {
  LOCKED;
  if (!alive(layer)) return 0;
  const std::string& s = layer->string;
  if (buf && cap >= s.size() + 1) std::memcpy(buf, s.c_str(), s.size() + 1);
  return s.size();
}

void rvp_layer_set_font_size(RvpLayer* layer, double size) {
  LOCKED;
  if (alive(layer)) layer->fontSize = size;
}

void rvp_layer_set_foreground_color(RvpLayer* layer, double r, double g, double b, double a) {
  LOCKED;
  if (alive(layer)) setColor(layer->foreground, r, g, b, a);
}

int rvp_layer_is_text(const RvpLayer* layer) {
  LOCKED;
  return alive(layer) && layer->text ? 1 : 0;
}

void rvp_layer_add_sublayer(RvpLayer* layer, RvpLayer* sublayer) {
  LOCKED;
  if (!alive(layer) || !alive(sublayer) || layer == sublayer) return;
  for (RvpLayer* up = layer; up; up = up->superlayer)
    if (up == sublayer) return;  // no cycles
  ++sublayer->references;
  if (sublayer->superlayer) {
    detach(sublayer);
    releaseLocked(sublayer);
  }
  layer->sublayers.push_back(sublayer);
  sublayer->superlayer = layer;
}

void rvp_layer_remove_from_superlayer(RvpLayer* layer) {
  LOCKED;
  if (!alive(layer) || !layer->superlayer) return;
  detach(layer);
  releaseLocked(layer);
}

size_t rvp_layer_sublayer_count(const RvpLayer* layer) {
  LOCKED;
  return alive(layer) ? layer->sublayers.size() : 0;
}

RvpLayer* rvp_layer_sublayer_at(const RvpLayer* layer, size_t index) {
  LOCKED;
  return alive(layer) && index < layer->sublayers.size() ? layer->sublayers[index] : nullptr;
}

RvpLayer* rvp_layer_superlayer(const RvpLayer* layer) {
  LOCKED;
  return alive(layer) ? layer->superlayer : nullptr;
}

int rvp_layer_render_png(const RvpLayer* layer, const char* path, int width, int height) {
  LOCKED;
  if (!alive(layer) || !path) return -1;
  if (width <= 0) width = static_cast<int>(std::min(layer->width, 16384.0));
  if (height <= 0) height = static_cast<int>(std::min(layer->height, 16384.0));
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return -1;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_translate(cr, -layer->x, -layer->y);
  drawLayer(cr, layer);
  cairo_destroy(cr);
  const int result = cairo_surface_write_to_png(surface, path) == CAIRO_STATUS_SUCCESS ? 0 : -1;
  cairo_surface_destroy(surface);
  return result;
}

size_t rvp_layer_ledger_created(void) {
  LOCKED;
  return l.created;
}

size_t rvp_layer_ledger_live(void) {
  LOCKED;
  return static_cast<size_t>(
      std::count_if(l.records.begin(), l.records.end(), [](const auto& record) { return alive(record.first); }));
}

size_t rvp_layer_ledger_records(void) {
  LOCKED;
  return l.records.size();
}

size_t rvp_layer_ledger_over_releases(void) {
  LOCKED;
  return l.overReleases;
}

void rvp_layer_ledger_reset(void) {
  LOCKED;
  l.created = l.records.size();
  l.overReleases = 0;
}

}  // extern "C"
