// Strokes of wide pens, drawn by Cairo straight onto a surface's pixels.
#pragma once

#include "graphics/shape_geometry.h"
#include "graphics/surface.h"

#include <cstdint>

namespace quillon {

// Strokes the outline with round ends and joins, `width` pixels wide, in one pixel value, without
// anti-aliasing, inside the canvas's clip rectangle. False (nothing drawn) when a coordinate lies too far out for
// Cairo's fixed-point numbers; the caller then draws the outline 1 pixel wide.
bool stroke_outline(SurfaceCanvas& canvas, const Outline& outline, std::uint32_t pixel, double width);

}  // namespace quillon
