// The caption drawn inside the game image when the window shows none (full screen, or no border).
#include "runner/caption_painter.h"

#include "runner/loading_font.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr int CAPTION_PADDING = 1;              // pixels of the box around the glyphs
constexpr std::uint32_t CAPTION_BOX = 0xFFFFFF; // solid white behind the text
constexpr std::uint32_t CAPTION_TEXT = 0x000000;

}  // namespace

void paint_caption_text(SurfaceCanvas& canvas, std::string_view caption)
{
    // 1. The box the text takes, from the image's top left corner, kept on the canvas.
    int right = std::min(font_text_width(caption, 1) + 2 * CAPTION_PADDING, canvas.width);
    int bottom = std::min(FONT_GLYPH_HEIGHT + 2 * CAPTION_PADDING, canvas.height);
    for (int y = 0; y < bottom; ++y) {
        for (int x = 0; x < right; ++x)
            canvas.at(x, y) = CAPTION_BOX;
    }
    // 2. The text over it.
    draw_font_text(caption, CAPTION_PADDING, CAPTION_PADDING, 1, [&canvas](int x, int y) {
        if (x >= 0 && y >= 0 && x < canvas.width && y < canvas.height)
            canvas.at(x, y) = CAPTION_TEXT;
    });
}

}  // namespace quillon
