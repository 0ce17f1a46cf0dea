// The text built-ins of the graphics family, and the font variables they draw with.
#pragma once

#include "functions/args.h"

#include <span>

namespace quillon {

// draw_text, draw_text_ext, string_width, string_height, string_width_ext, string_height_ext and
// draw_text_sprite.
std::span<const FunctionEntry> text_drawing_functions();

// Serves font_name, font_size, font_style, font_color, font_angle and font_align from the drawing font.
void serve_font_variables();

}  // namespace quillon
