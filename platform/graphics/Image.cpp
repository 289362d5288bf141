#include "graphics/Image.h"

#include <algorithm>
#include <cmath>

#include "graphics/Context.h"

namespace graphics {
namespace {
int pixels(double points) { return std::max(1, static_cast<int>(std::ceil(points))); }
}  // namespace

Image::Image(Size size)
    : size_(size), surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels(size.width), pixels(size.height))) {}

Image::~Image() {
  context_.reset();
  cairo_surface_destroy(surface_);
}

void Image::lockFocus() {
  if (context_) return;
  context_ = std::make_unique<Context>(surface_);
  Context::push(context_.get());
}

void Image::unlockFocus() {
  if (!context_) return;
  context_.reset();  // leaves the context stack on destruction
  cairo_surface_flush(surface_);
}

void Image::drawInRect(const Rect& rect) const {
  Context* c = Context::current();
  if (!c || size_.width <= 0 || size_.height <= 0) return;
  cairo_surface_flush(surface_);
  cairo_t* cr = c->cairo();
  cairo_save(cr);
  cairo_rectangle(cr, rect.minX(), rect.minY(), rect.width(), rect.height());
  cairo_clip(cr);
  cairo_translate(cr, rect.minX(), rect.minY());
  cairo_scale(cr, rect.width() / cairo_image_surface_get_width(surface_),
              rect.height() / cairo_image_surface_get_height(surface_));
  cairo_set_source_surface(cr, surface_, 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
  c->setColor(c->color());
}

std::uint32_t Image::pixelAt(int x, int y) const {
  cairo_surface_flush(surface_);
  int width = cairo_image_surface_get_width(surface_);
  int height = cairo_image_surface_get_height(surface_);
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  int stride = cairo_image_surface_get_stride(surface_);
  return *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
}

bool Image::writePng(const std::string& path) const {
  cairo_surface_flush(surface_);
  return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace graphics
