#pragma once
// Drawing into a platform graphics context the browser handed over with a draw event (not owned).

#include <string>

#include "mac/GraphicsContext.h"

namespace PF {

class GraphicsContextRef {
 public:
  explicit GraphicsContextRef(void* context) : m_context(static_cast<RvpGraphicsContext*>(context)) {}

  bool isNull() const { return m_context == nullptr; }
  void saveState() { rvp_gc_save_state(m_context); }
  void restoreState() { rvp_gc_restore_state(m_context); }
  void setFillColor(double r, double g, double b, double a) { rvp_gc_set_fill_color(m_context, r, g, b, a); }
  void setStrokeColor(double r, double g, double b, double a) { rvp_gc_set_stroke_color(m_context, r, g, b, a); }
  void fillRect(double x, double y, double width, double height) { rvp_gc_fill_rect(m_context, x, y, width, height); }
  void setTextMatrix(double a, double b, double c, double d, double tx, double ty) {
    rvp_gc_set_text_matrix(m_context, a, b, c, d, tx, ty);
  }
  void selectFont(const char* family, double size) { rvp_gc_select_font(m_context, family, size); }
  void showTextAtPoint(double x, double y, const std::string& text) {
    rvp_gc_show_text_at_point(m_context, x, y, text.data(), text.size());
  }

 private:
  RvpGraphicsContext* m_context;
};

}  // namespace PF
