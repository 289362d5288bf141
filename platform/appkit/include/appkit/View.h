#pragma once

#include <memory>
#include <string>

#include "appkit/Events.h"
#include "graphics/Geometry.h"
#include "graphics/Image.h"

namespace appkit {

using graphics::Point;
using graphics::Rect;
using graphics::Size;

class Window;
struct LayoutItem;

// The backing layer of a layer-backed view: the image it shows.
class Layer {
 public:
  void setContents(std::shared_ptr<graphics::Image> image) { contents_ = std::move(image); }
  const std::shared_ptr<graphics::Image>& contents() const { return contents_; }

 private:
  std::shared_ptr<graphics::Image> contents_;
};

// A rectangle of a window that draws itself and may take clicks and keys. Views come from a window's
// layout; the outlet name they were declared with is their identifier.
class View {
 public:
  View() = default;
  virtual ~View() = default;
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  const Rect& frame() const { return frame_; }
  void setFrame(const Rect& frame) { frame_ = frame; }
  Rect bounds() const { return Rect{{0, 0}, frame_.size}; }

  bool isHidden() const { return hidden_; }
  void setHidden(bool hidden);

  const std::string& identifier() const { return identifier_; }
  Window* window() const { return window_; }

  // True for the stand-in that answers for an outlet the layout does not have: it takes every call
  // and changes nothing anywhere.
  bool isNil() const { return nil_; }

  void setNeedsDisplay(bool needs = true) { needsDisplay_ = needs; }
  bool needsDisplay() const { return needsDisplay_; }

  // A layer-backed view that wants updateLayer fills its layer itself instead of drawing.
  virtual bool wantsUpdateLayer() const { return false; }
  virtual void updateLayer() {}
  Layer* layer() { return &layer_; }

  // Draws the view into the current context, whose origin is the view's top-left corner and which is
  // clipped to its bounds. The default shows the layer's contents.
  virtual void draw(const Rect& bounds);

  // A click on the view (the scripted user's click arrives here).
  virtual void mouseDown(const MouseEvent& event) {}
  // Whether the view takes typed keys when it is focused.
  virtual bool acceptsFirstResponder() const { return false; }
  // A typed key while the view has the focus; false passes it on to the window's controller.
  virtual bool keyDown(const KeyEvent& event) { return false; }

  // Takes what the layout says of this view. Subclasses take their own parts and call their base.
  virtual void configure(const LayoutItem& item);

  // Used by windows and outlets.
  void attach(Window* window, const std::string& identifier);
  void markNil() { nil_ = true; }

 private:
  Rect frame_;
  bool hidden_ = false;
  bool needsDisplay_ = true;
  bool nil_ = false;
  std::string identifier_;
  Window* window_ = nullptr;
  Layer layer_;
};

}  // namespace appkit
