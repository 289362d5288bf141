#pragma once

#include <string>

#include "graphics/Color.h"
#include "graphics/Geometry.h"

namespace graphics {

// A font by family name and size in points. Families the machine lacks fall back to a sans-serif face,
// and characters the face lacks (Chinese) come from a CJK face.
struct Font {
  std::string name = "Helvetica";
  double size = 13;
  bool bold = false;

  static Font named(const std::string& name, double size) { return Font{name, size, false}; }
  static Font system(double size = 13) { return Font{"Helvetica", size, false}; }
  static Font boldSystem(double size = 13) { return Font{"Helvetica", size, true}; }
};

enum class TextAlignment { Left, Center, Right };

struct TextStyle {
  Font font;
  Color color = Color::blackColor();
  TextAlignment alignment = TextAlignment::Left;
  double wrapWidth = -1;  // wrap lines at this width; -1 keeps each line whole
};

// Draws UTF-8 text with its top-left corner at a point of the current context.
void drawString(const std::string& text, Point at, const TextStyle& style);
void drawString(const std::string& text, Point at, const Font& font);
// Draws text vertically centred in a rectangle, aligned as the style says, clipped to the rectangle.
void drawStringInRect(const std::string& text, const Rect& rect, TextStyle style);
// The size the text takes when drawn in that style.
Size sizeOfString(const std::string& text, const TextStyle& style);

}  // namespace graphics
