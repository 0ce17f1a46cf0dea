// Text blocks: text cut into lines, wrapped to a width, aligned and stepped along the text's angle, as scripts
// draw and measure it.
#pragma once

#include "graphics/text_engine.h"

#include <cstdint>
#include <string_view>

namespace quillon {

inline constexpr std::int32_t ALIGN_LEFT = 0;
inline constexpr std::int32_t ALIGN_CENTER = 1;
inline constexpr std::int32_t ALIGN_RIGHT = 2;

// How a block is drawn.
struct TextLook {
    int font = 0;                       // a handle of the engine
    Color color = 0;                    // red in the low byte
    double angle = 0;                   // degrees counter-clockwise
    std::int32_t align = ALIGN_LEFT;    // ALIGN_*; any other value aligns left
};

// Where a block goes: its canvas, and the room position of the canvas's top-left pixel.
struct TextTarget {
    SurfaceCanvas canvas;   // drawing stays inside its clip rectangle
    int offset_x = 0;       // room x of column 0
    int offset_y = 0;       // room y of row 0
};

struct TextBlockSize {
    double width = 1;    // the widest line, at least 1
    double height = 1;   // 1 for a text without lines
};

// The text (Windows-1252 bytes) is cut into lines at every carriage return and every line feed; a break at the
// very end starts no further line. A separation below 0 means the height of "M" in the font. With a width of 0
// or more each line is wrapped: words end after a space or a hyphen, a wrapped line takes words while it stays
// within the width (always at least one word), and empty lines are left out. Each line is aligned on its own
// and the next line starts one separation further along the direction perpendicular to the text's angle.
void draw_text_block(TextEngine& engine, TextTarget& target, const TextLook& look, double x, double y,
    std::string_view text, double separation, double width);

// The size of the block as draw_text_block lays it out: the widest line, and the height of "M" plus one
// separation for every further line.
TextBlockSize measure_text_block(TextEngine& engine, int font, std::string_view text, double separation, double width);

}  // namespace quillon
