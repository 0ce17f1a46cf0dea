// The drawing functions of the graphics family but text, and the pen and brush variables.
#pragma once

#include "functions/args.h"

#include <span>

namespace quillon {

// Colours, sprite and background images, pixels, flood fills, shapes and polygons.
std::span<const FunctionEntry> drawing_functions();
// Makes the pen and brush variables read and write the drawing state.
void serve_drawing_variables();

}  // namespace quillon
