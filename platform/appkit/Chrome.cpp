#include "Chrome.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace appkit::chrome {

void roundedBox(const graphics::Rect& rect, double radius, const graphics::Color& fill, const graphics::Color& line) {
  graphics::Context* c = graphics::Context::current();
  if (!c) return;
  cairo_t* cr = c->cairo();
  graphics::Rect r = rect.insetBy(0.5, 0.5);
  double rad = std::min({radius, r.width() / 2, r.height() / 2});
  cairo_new_path(cr);
  cairo_arc(cr, r.maxX() - rad, r.minY() + rad, rad, -M_PI / 2, 0);
  cairo_arc(cr, r.maxX() - rad, r.maxY() - rad, rad, 0, M_PI / 2);
  cairo_arc(cr, r.minX() + rad, r.maxY() - rad, rad, M_PI / 2, M_PI);
  cairo_arc(cr, r.minX() + rad, r.minY() + rad, rad, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
  cairo_set_source_rgba(cr, fill.red, fill.green, fill.blue, fill.alpha);
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, line.red, line.green, line.blue, line.alpha);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  c->setColor(c->color());
}

}  // namespace appkit::chrome
