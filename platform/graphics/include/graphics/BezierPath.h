#pragma once

#include <cairo.h>

#include <vector>

#include "graphics/Geometry.h"

namespace graphics {

// A path of lines and cubic curves, stroked or filled in the current context's colour.
class BezierPath {
 public:
  static BezierPath withRect(const Rect& rect);

  void moveToPoint(Point p);
  void lineToPoint(Point p);
  // A cubic curve from the current point to `end`, bent by two control points.
  void curveToPoint(Point end, Point controlPoint1, Point controlPoint2);
  void closePath();

  void setLineWidth(double width) { lineWidth_ = width; }
  double lineWidth() const { return lineWidth_; }

  void stroke() const;
  void fill() const;

  bool isEmpty() const { return elements_.empty(); }

 private:
  enum class Kind { Move, Line, Curve, Close };
  struct Element {
    Kind kind;
    Point points[3];
  };
  void addTo(cairo_t* cr) const;

  std::vector<Element> elements_;
  double lineWidth_ = 1;
};

}  // namespace graphics
