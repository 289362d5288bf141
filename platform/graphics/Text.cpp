#include "graphics/Text.h"

#include <pango/pangocairo.h>

#include <memory>

#include "graphics/Context.h"

namespace graphics {
namespace {

// Always offer the CJK face behind the requested family, so Chinese captions never come out as boxes.
const char* const kFallbackFamilies = ",Liberation Sans,DejaVu Sans,WenQuanYi Micro Hei,sans-serif";

struct LayoutDeleter {
  void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, LayoutDeleter>;

LayoutPtr makeLayout(cairo_t* cr, const std::string& text, const TextStyle& style) {
  LayoutPtr layout(pango_cairo_create_layout(cr));
  PangoFontDescription* desc = pango_font_description_new();
  std::string families = style.font.name + kFallbackFamilies;
  pango_font_description_set_family(desc, families.c_str());
  pango_font_description_set_absolute_size(desc, style.font.size * PANGO_SCALE);
  pango_font_description_set_weight(desc, style.font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_layout_set_font_description(layout.get(), desc);
  pango_font_description_free(desc);
  if (style.wrapWidth > 0) {
    pango_layout_set_width(layout.get(), static_cast<int>(style.wrapWidth * PANGO_SCALE));
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  }
  switch (style.alignment) {
    case TextAlignment::Left:
      pango_layout_set_alignment(layout.get(), PANGO_ALIGN_LEFT);
      break;
    case TextAlignment::Center:
      pango_layout_set_alignment(layout.get(), PANGO_ALIGN_CENTER);
      break;
    case TextAlignment::Right:
      pango_layout_set_alignment(layout.get(), PANGO_ALIGN_RIGHT);
      break;
  }
  // Invalid UTF-8 would make pango warn and draw nothing useful; draw what is valid.
  const char* end = nullptr;
  if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), &end)) {
    pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
  } else {
    pango_layout_set_text(layout.get(), text.data(), static_cast<int>(end - text.data()));
  }
  return layout;
}

Size layoutSize(PangoLayout* layout) {
  int width = 0, height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  return Size{static_cast<double>(width), static_cast<double>(height)};
}

}  // namespace

void drawString(const std::string& text, Point at, const TextStyle& style) {
  Context* c = Context::current();
  if (!c || text.empty()) return;
  cairo_t* cr = c->cairo();
  LayoutPtr layout = makeLayout(cr, text, style);
  cairo_save(cr);
  cairo_set_source_rgba(cr, style.color.red, style.color.green, style.color.blue, style.color.alpha);
  cairo_move_to(cr, at.x, at.y);
  pango_cairo_show_layout(cr, layout.get());
  cairo_restore(cr);
  c->setColor(c->color());
}

void drawString(const std::string& text, Point at, const Font& font) {
  TextStyle style;
  style.font = font;
  drawString(text, at, style);
}

void drawStringInRect(const std::string& text, const Rect& rect, TextStyle style) {
  Context* c = Context::current();
  if (!c || text.empty()) return;
  // Pango aligns within the wrap width, so centred and right-aligned text wraps at the rectangle's width.
  if (style.alignment != TextAlignment::Left || style.wrapWidth > rect.width()) style.wrapWidth = rect.width();
  Size size = sizeOfString(text, style);
  SavedState saved;
  clipToRect(rect);
  drawString(text, Point{rect.minX(), rect.minY() + (rect.height() - size.height) / 2}, style);
}

Size sizeOfString(const std::string& text, const TextStyle& style) {
  // Measuring needs a cairo context; a one-pixel scratch surface serves.
  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(scratch);
  Size size;
  {
    LayoutPtr layout = makeLayout(cr, text, style);
    size = layoutSize(layout.get());
  }
  cairo_destroy(cr);
  cairo_surface_destroy(scratch);
  return size;
}

}  // namespace graphics
