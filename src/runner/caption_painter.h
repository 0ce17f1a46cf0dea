// The caption drawn inside the game image when the window shows none (full screen, or no border).
#pragma once

#include "graphics/surface.h"

#include <string_view>

namespace quillon {

// Writes the caption at the top left corner of the canvas in the runner's own pixel font: black text on a solid
// white box that covers the text's extent.
void paint_caption_text(SurfaceCanvas& canvas, std::string_view caption);

}  // namespace quillon
