// A context is a cairo image with the platform's fill and stroke colours and text state on top.
#include "mac/GraphicsContext.h"

#include <cstring>
#include <string>
#include <vector>

#include <cairo.h>

namespace {

struct Rgba {
  double r = 0, g = 0, b = 0, a = 1;
};

struct TextState {
  cairo_matrix_t matrix;  // the platform's text matrix (glyph space y up)
  std::string family = "Helvetica";
  double size = 12;
};

struct State {
  Rgba fill, stroke;
  TextState text;
};

}  // namespace

struct RvpGraphicsContext {
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  State state;
  std::vector<State> saved;
  size_t draws = 0;
  std::string lastText;
};

extern "C" {

RvpGraphicsContext* rvp_gc_create(int width, int height) {
  if (width < 1 || height < 1 || width > 16384 || height > 16384) return nullptr;
  RvpGraphicsContext* context = new RvpGraphicsContext;
  context->surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  context->cr = cairo_create(context->surface);
  cairo_matrix_init_identity(&context->state.text.matrix);
  return context;
}

void rvp_gc_destroy(RvpGraphicsContext* context) {
  if (!context) return;
  cairo_destroy(context->cr);
  cairo_surface_destroy(context->surface);
  delete context;
}

void rvp_gc_save_state(RvpGraphicsContext* context) {
  if (!context) return;
  context->saved.push_back(context->state);
  cairo_save(context->cr);
}

void rvp_gc_restore_state(RvpGraphicsContext* context) {
  if (!context || context->saved.empty()) return;
  context->state = context->saved.back();
  context->saved.pop_back();
  cairo_restore(context->cr);
}

void rvp_gc_set_fill_color(RvpGraphicsContext* context, double r, double g, double b, double a) {
  if (context) context->state.fill = Rgba{r, g, b, a};
}

void rvp_gc_set_stroke_color(RvpGraphicsContext* context, double r, double g, double b, double a) {
  if (context) context->state.stroke = Rgba{r, g, b, a};
}

void rvp_gc_fill_rect(RvpGraphicsContext* context, double x, double y, double width, double height) {
  if (!context) return;
  const Rgba& c = context->state.fill;
  cairo_set_source_rgba(context->cr, c.r, c.g, c.b, c.a);
  cairo_rectangle(context->cr, x, y, width, height);
  cairo_fill(context->cr);
  ++context->draws;
}

void rvp_gc_set_text_matrix(RvpGraphicsContext* context, double a, double b, double c, double d, double tx, double ty) {
  if (context) cairo_matrix_init(&context->state.text.matrix, a, b, c, d, tx, ty);
}

void rvp_gc_select_font(RvpGraphicsContext* context, const char* family, double size) {
  if (!context) return;
  context->state.text.family = family ? family : "";
  context->state.text.size = size;
}

void rvp_gc_show_text_at_point(RvpGraphicsContext* context, double x, double y, const char* text, size_t length) {
  if (!context || !text || length == 0 || !(context->state.text.size > 0)) return;
  const TextState& t = context->state.text;
  cairo_t* cr = context->cr;
  cairo_save(cr);
  cairo_select_font_face(cr, t.family.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  // Glyph space is y-up on the platform and y-down in cairo: flip it before the text matrix applies.
  cairo_matrix_t font;
  cairo_matrix_init(&font, t.matrix.xx * t.size, t.matrix.yx * t.size, -t.matrix.xy * t.size, -t.matrix.yy * t.size, 0,
                    0);
  cairo_set_font_matrix(cr, &font);
  const Rgba& c = context->state.fill;
  cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
  cairo_move_to(cr, x, y);
  const std::string bytes(text, length);
  cairo_show_text(cr, bytes.c_str());
  context->lastText = bytes;
  cairo_restore(cr);
  ++context->draws;
}

uint32_t rvp_gc_pixel(const RvpGraphicsContext* context, int x, int y) {
  if (!context) return 0;
  cairo_surface_t* s = context->surface;
  cairo_surface_flush(s);
  const int width = cairo_image_surface_get_width(s), height = cairo_image_surface_get_height(s);
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const unsigned char* row =
      cairo_image_surface_get_data(s) + static_cast<size_t>(y) * cairo_image_surface_get_stride(s);
  return reinterpret_cast<const uint32_t*>(row)[x];
}

size_t rvp_gc_draw_count(const RvpGraphicsContext* context) { return context ? context->draws : 0; }

size_t rvp_gc_last_text(const RvpGraphicsContext* context, char* buf, size_t cap) {
  if (!context) return 0;
  const std::string& t = context->lastText;
  if (buf && cap >= t.size() + 1) std::memcpy(buf, t.c_str(), t.size() + 1);
  return t.size();
}

int rvp_gc_write_png(const RvpGraphicsContext* context, const char* path) {
  if (!context || !path) return -1;
  return cairo_surface_write_to_png(context->surface, path) == CAIRO_STATUS_SUCCESS ? 0 : -1;
}

}  // extern "C"
