#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>

#include "graphics/Geometry.h"

namespace graphics {

class Context;

// A bitmap of a given size in points (one pixel per point), initially transparent. Drawing goes into it
// between lockFocus and unlockFocus.
class Image {
 public:
  explicit Image(Size size);
  ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  static std::shared_ptr<Image> withSize(Size size) { return std::make_shared<Image>(size); }

  Size size() const { return size_; }

  // Makes the image the current drawing context until unlockFocus.
  void lockFocus();
  void unlockFocus();
  bool isFocused() const { return static_cast<bool>(context_); }

  // Draws the whole image scaled into a rectangle of the current context.
  void drawInRect(const Rect& rect) const;

  // The pixel at (x, y) as 0xAARRGGBB (premultiplied as stored); 0 outside the image.
  std::uint32_t pixelAt(int x, int y) const;

  // Writes the image as a PNG file; false when the file cannot be written.
  bool writePng(const std::string& path) const;

  cairo_surface_t* surface() const { return surface_; }

 private:
  Size size_;
  cairo_surface_t* surface_;
  std::unique_ptr<Context> context_;
};

}  // namespace graphics
