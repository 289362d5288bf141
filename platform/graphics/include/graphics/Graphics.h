#pragma once

// Everything for drawing: geometry, colours, the current context and its fills, images, paths, text.
#include "graphics/BezierPath.h"
#include "graphics/Color.h"
#include "graphics/Context.h"
#include "graphics/Geometry.h"
#include "graphics/Image.h"
#include "graphics/Text.h"
