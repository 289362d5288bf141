#pragma once

// Points, sizes and rectangles in points. Every surface here is flipped: the origin is the top-left
// corner and y grows downwards.
namespace graphics {

struct Point {
  double x = 0;
  double y = 0;
};

struct Size {
  double width = 0;
  double height = 0;
};

struct Rect {
  Point origin;
  Size size;

  static Rect make(double x, double y, double width, double height) { return Rect{{x, y}, {width, height}}; }
  double minX() const { return origin.x; }
  double minY() const { return origin.y; }
  double maxX() const { return origin.x + size.width; }
  double maxY() const { return origin.y + size.height; }
  double width() const { return size.width; }
  double height() const { return size.height; }
  bool contains(Point p) const { return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY(); }
  Rect insetBy(double dx, double dy) const {
    return make(origin.x + dx, origin.y + dy, size.width - 2 * dx, size.height - 2 * dy);
  }
};

}  // namespace graphics
