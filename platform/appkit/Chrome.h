#pragma once

// Shared look of the stand-in's controls: a flat, readable style for PNG pictures of dialogs.
#include "graphics/BezierPath.h"
#include "graphics/Color.h"
#include "graphics/Context.h"
#include "graphics/Geometry.h"

namespace appkit::chrome {

inline graphics::Color windowBackground() { return graphics::Color::rgb(0.93, 0.93, 0.93); }
inline graphics::Color border() { return graphics::Color::rgb(0.62, 0.62, 0.62); }
inline graphics::Color disabledText() { return graphics::Color::rgb(0.6, 0.6, 0.6); }
inline graphics::Color selection() { return graphics::Color::rgb(0.23, 0.49, 0.85); }

// A rectangle with rounded corners, filled and outlined.
void roundedBox(const graphics::Rect& rect, double radius, const graphics::Color& fill, const graphics::Color& line);

}  // namespace appkit::chrome
