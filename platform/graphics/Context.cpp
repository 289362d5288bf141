#include "graphics/Context.h"

#include <algorithm>
#include <vector>

namespace graphics {
namespace {
std::vector<Context*>& stack() {
  thread_local std::vector<Context*> contexts;
  return contexts;
}
}  // namespace

Context::Context(cairo_surface_t* surface) : cr_(cairo_create(surface)) { setColor(Color::blackColor()); }

Context::~Context() {
  pop(this);
  cairo_destroy(cr_);
}

Context* Context::current() { return stack().empty() ? nullptr : stack().back(); }

void Context::push(Context* context) { stack().push_back(context); }

void Context::pop(Context* context) {
  auto& contexts = stack();
  auto it = std::find(contexts.rbegin(), contexts.rend(), context);
  if (it != contexts.rend()) contexts.erase(std::next(it).base());
}

void Context::setColor(const Color& color) {
  color_ = color;
  cairo_set_source_rgba(cr_, color.red, color.green, color.blue, color.alpha);
}

SavedState::SavedState() : context_(Context::current()) {
  if (!context_) return;
  color_ = context_->color();
  cairo_save(context_->cairo());
}

SavedState::~SavedState() {
  if (!context_) return;
  cairo_restore(context_->cairo());
  context_->setColor(color_);
}

void translate(double dx, double dy) {
  if (Context* c = Context::current()) cairo_translate(c->cairo(), dx, dy);
}

void clipToRect(const Rect& rect) {
  if (Context* c = Context::current()) {
    cairo_rectangle(c->cairo(), rect.minX(), rect.minY(), rect.width(), rect.height());
    cairo_clip(c->cairo());
  }
}

void rectFill(const Rect& rect) {
  Context* c = Context::current();
  if (!c) return;
  cairo_rectangle(c->cairo(), rect.minX(), rect.minY(), rect.width(), rect.height());
  cairo_fill(c->cairo());
}

void frameRectWithWidth(const Rect& rect, double width) {
  if (width <= 0) return;
  // Four bands inside the rectangle, as a frame drawn along the edges of the area.
  double w = std::min(width, rect.width() / 2);
  double h = std::min(width, rect.height() / 2);
  rectFill(Rect::make(rect.minX(), rect.minY(), rect.width(), h));
  rectFill(Rect::make(rect.minX(), rect.maxY() - h, rect.width(), h));
  rectFill(Rect::make(rect.minX(), rect.minY() + h, w, rect.height() - 2 * h));
  rectFill(Rect::make(rect.maxX() - w, rect.minY() + h, w, rect.height() - 2 * h));
}

void frameRect(const Rect& rect) { frameRectWithWidth(rect, 1); }

}  // namespace graphics
