// The font that scripts draw text with, kept across rooms: `font_name`, `font_size`, `font_style`,
// `font_color`, `font_angle` and `font_align`.
#pragma once

#include "graphics/text_block.h"

#include <cstdint>

namespace quillon {

// Colours with the top bit set name a colour of the system's scheme by their low byte; this one is the colour
// of text in windows.
inline constexpr std::int32_t SYSTEM_WINDOW_TEXT = -2147483640;

struct DrawingFont {
    TextFont font;                              // name "MS Sans Serif", 8 points, no style
    std::int32_t color = SYSTEM_WINDOW_TEXT;    // as written; drawn through color_value
    double angle = 0;                           // degrees counter-clockwise
    std::int32_t align = ALIGN_LEFT;            // as written; values other than 0 to 2 draw left aligned
};

// The process's drawing font; the screen's start-up sets it back to its first values.
DrawingFont& drawing_font();

// The colour a colour value draws: a system colour (top bit set) from the classic Windows scheme, any other
// value by its low 24 bits.
Color color_value(std::int32_t color);

}  // namespace quillon
