// The caption drawn inside the game image when the window shows none (full screen, or no border).
#pragma once

#include "graphics/surface.h"

#include <string_view>

namespace quillon {

// Writes the caption at the top left corner of the canvas in black "Times New Roman" of size 10 without style,
// on a solid white box as large as the text (the caption is one line, drawn as it is).
void paint_caption_text(SurfaceCanvas& canvas, std::string_view caption);

}  // namespace quillon
