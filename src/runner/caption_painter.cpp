// The caption drawn inside the game image when the window shows none (full screen, or no border).
#include "runner/caption_painter.h"

#include "runner/loading_font.h"

namespace quillon {

namespace {

constexpr int CAPTION_MARGIN = 4;            // pixels from the image's top left corner
constexpr std::uint32_t CAPTION_TEXT = 0xFFFFFF;
constexpr std::uint32_t CAPTION_SHADOW = 0x000000;

}  // namespace

void paint_caption_text(SurfaceCanvas& canvas, std::string_view caption)
{
    auto plot = [&canvas](std::uint32_t color) {
        return [&canvas, color](int x, int y) {
            if (x >= 0 && y >= 0 && x < canvas.width && y < canvas.height)
                canvas.at(x, y) = color;
        };
    };
    draw_font_text(caption, CAPTION_MARGIN + 1, CAPTION_MARGIN + 1, 1, plot(CAPTION_SHADOW));
    draw_font_text(caption, CAPTION_MARGIN, CAPTION_MARGIN, 1, plot(CAPTION_TEXT));
}

}  // namespace quillon
