#include "graphics/BezierPath.h"

#include <cairo.h>

#include "graphics/Context.h"

namespace graphics {

BezierPath BezierPath::withRect(const Rect& rect) {
  BezierPath path;
  path.moveToPoint({rect.minX(), rect.minY()});
  path.lineToPoint({rect.maxX(), rect.minY()});
  path.lineToPoint({rect.maxX(), rect.maxY()});
  path.lineToPoint({rect.minX(), rect.maxY()});
  path.closePath();
  return path;
}

void BezierPath::moveToPoint(Point p) { elements_.push_back({Kind::Move, {p, {}, {}}}); }
void BezierPath::lineToPoint(Point p) { elements_.push_back({Kind::Line, {p, {}, {}}}); }
void BezierPath::curveToPoint(Point end, Point c1, Point c2) { elements_.push_back({Kind::Curve, {c1, c2, end}}); }
void BezierPath::closePath() { elements_.push_back({Kind::Close, {}}); }

void BezierPath::addTo(cairo_t* cr) const {
  cairo_new_path(cr);
  for (const Element& e : elements_) {
    switch (e.kind) {
      case Kind::Move:
        cairo_move_to(cr, e.points[0].x, e.points[0].y);
        break;
      case Kind::Line:
        if (!cairo_has_current_point(cr)) cairo_move_to(cr, e.points[0].x, e.points[0].y);
        cairo_line_to(cr, e.points[0].x, e.points[0].y);
        break;
      case Kind::Curve:
        if (!cairo_has_current_point(cr)) cairo_move_to(cr, e.points[2].x, e.points[2].y);
        cairo_curve_to(cr, e.points[0].x, e.points[0].y, e.points[1].x, e.points[1].y, e.points[2].x, e.points[2].y);
        break;
      case Kind::Close:
        cairo_close_path(cr);
        break;
    }
  }
}

void BezierPath::stroke() const {
  Context* c = Context::current();
  if (!c) return;
  addTo(c->cairo());
  cairo_set_line_width(c->cairo(), lineWidth_);
  cairo_stroke(c->cairo());
}

void BezierPath::fill() const {
  Context* c = Context::current();
  if (!c) return;
  addTo(c->cairo());
  cairo_fill(c->cairo());
}

}  // namespace graphics
