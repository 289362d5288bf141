#include "graphics/Color.h"

#include <algorithm>
#include <cmath>

#include "graphics/Context.h"

namespace graphics {

Color Color::blackColor() { return rgb(0, 0, 0); }
Color Color::whiteColor() { return rgb(1, 1, 1); }
Color Color::redColor() { return rgb(1, 0, 0); }
Color Color::greenColor() { return rgb(0, 1, 0); }
Color Color::blueColor() { return rgb(0, 0, 1); }
Color Color::cyanColor() { return rgb(0, 1, 1); }
Color Color::yellowColor() { return rgb(1, 1, 0); }
Color Color::magentaColor() { return rgb(1, 0, 1); }
Color Color::orangeColor() { return rgb(1, 0.5, 0); }
Color Color::purpleColor() { return rgb(0.5, 0, 0.5); }
Color Color::brownColor() { return rgb(0.6, 0.4, 0.2); }
Color Color::grayColor() { return rgb(0.5, 0.5, 0.5); }
Color Color::lightGrayColor() { return rgb(2.0 / 3, 2.0 / 3, 2.0 / 3); }
Color Color::darkGrayColor() { return rgb(1.0 / 3, 1.0 / 3, 1.0 / 3); }
Color Color::clearColor() { return rgb(0, 0, 0, 0); }

void Color::set() const {
  if (Context* context = Context::current()) context->setColor(*this);
}

std::uint32_t Color::argb() const {
  auto byte = [](double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
  return byte(alpha) << 24 | byte(red) << 16 | byte(green) << 8 | byte(blue);
}

}  // namespace graphics
