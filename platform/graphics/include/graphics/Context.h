#pragma once

#include <cairo.h>

#include "graphics/Color.h"
#include "graphics/Geometry.h"

namespace graphics {

// A drawing target with a current colour. Contexts stack per thread: an image that locks focus pushes
// its context, and the free drawing functions below draw into the top one. With no current context
// they draw nothing.
class Context {
 public:
  explicit Context(cairo_surface_t* surface);
  ~Context();
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;

  static Context* current();
  static void push(Context* context);
  static void pop(Context* context);

  cairo_t* cairo() const { return cr_; }
  const Color& color() const { return color_; }
  void setColor(const Color& color);

 private:
  cairo_t* cr_;
  Color color_;
};

// Keeps the current context's state (translation, clip, colour) for one scope.
class SavedState {
 public:
  SavedState();
  ~SavedState();
  SavedState(const SavedState&) = delete;
  SavedState& operator=(const SavedState&) = delete;

 private:
  Context* context_;
  Color color_;
};

// Moves the origin of the current context (inside a SavedState scope).
void translate(double dx, double dy);
// Limits drawing to a rectangle (inside a SavedState scope).
void clipToRect(const Rect& rect);

// Fills a rectangle with the current colour.
void rectFill(const Rect& rect);
// Draws a border of the given width inside the edges of a rectangle, in the current colour.
void frameRectWithWidth(const Rect& rect, double width);
void frameRect(const Rect& rect);

}  // namespace graphics
