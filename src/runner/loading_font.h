// Loading font: a tiny 5x7 pixel font for the loading window's captions and the built-in picture's title.
#pragma once

#include <cstddef>
#include <string_view>

namespace quillon {

constexpr int FONT_GLYPH_WIDTH = 5;    // columns of a glyph
constexpr int FONT_GLYPH_HEIGHT = 7;   // rows of a glyph
constexpr int FONT_ADVANCE = 6;        // glyph width plus one pixel of spacing

// Whether the glyph of a byte has its pixel at (column 0..4, row 0..6) set. Bytes outside printable ASCII
// are drawn as '?'.
bool font_pixel(unsigned char character, int column, int row);

// Calls plot(x, y) for every set pixel of the text, drawn with its top-left corner at (left, top) and every
// font pixel as a scale x scale square.
template <typename Plot>
void draw_font_text(std::string_view text, int left, int top, int scale, Plot&& plot)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        int glyph_left = left + static_cast<int>(i) * FONT_ADVANCE * scale;
        for (int row = 0; row < FONT_GLYPH_HEIGHT; ++row) {
            for (int column = 0; column < FONT_GLYPH_WIDTH; ++column) {
                if (!font_pixel(static_cast<unsigned char>(text[i]), column, row))
                    continue;
                for (int dy = 0; dy < scale; ++dy) {
                    for (int dx = 0; dx < scale; ++dx)
                        plot(glyph_left + column * scale + dx, top + row * scale + dy);
                }
            }
        }
    }
}

// The width the text takes at a scale (no spacing after the last glyph).
constexpr int font_text_width(std::string_view text, int scale)
{
    return text.empty() ? 0 : (static_cast<int>(text.size()) * FONT_ADVANCE - 1) * scale;
}

}  // namespace quillon
