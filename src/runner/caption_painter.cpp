// The caption drawn inside the game image when the window shows none (full screen, or no border).
#include "runner/caption_painter.h"

#include "graphics/text_engine.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr std::uint32_t CAPTION_BOX = 0xFFFFFF;   // solid white behind the text
constexpr Color CAPTION_TEXT = 0x000000;
constexpr int CAPTION_POINTS = 10;

}  // namespace

void paint_caption_text(SurfaceCanvas& canvas, std::string_view caption)
{
    TextEngine& engine = text_engine();
    int font = engine.font({"Times New Roman", CAPTION_POINTS, 0});
    // 1. The box the text takes, from the image's top left corner, inside the clip rectangle.
    TextExtent extent = engine.measure(font, caption);
    int left = std::max(canvas.clip.left, 0);
    int top = std::max(canvas.clip.top, 0);
    int right = std::min({extent.width, canvas.clip.right, canvas.width});
    int bottom = std::min({extent.height, canvas.clip.bottom, canvas.height});
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            canvas.at(x, y) = CAPTION_BOX;
    // 2. The text over it.
    engine.draw(canvas, font, CAPTION_TEXT, 0, 0, 0, caption);
}

}  // namespace quillon
