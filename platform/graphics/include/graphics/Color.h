#pragma once

#include <cstdint>

namespace graphics {

// An RGBA colour with components from 0 to 1.
struct Color {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 1;

  static Color rgb(double r, double g, double b, double a = 1) { return Color{r, g, b, a}; }
  static Color blackColor();
  static Color whiteColor();
  static Color redColor();
  static Color greenColor();
  static Color blueColor();
  static Color cyanColor();
  static Color yellowColor();
  static Color magentaColor();
  static Color orangeColor();
  static Color purpleColor();
  static Color brownColor();
  static Color grayColor();
  static Color lightGrayColor();
  static Color darkGrayColor();
  static Color clearColor();

  // Makes this the fill and stroke colour of the current drawing context.
  void set() const;

  // Packed as 0xAARRGGBB with 8 bits per component, for comparisons in tests.
  std::uint32_t argb() const;

  bool operator==(const Color& o) const { return argb() == o.argb(); }
  bool operator!=(const Color& o) const { return !(*this == o); }
};

}  // namespace graphics
