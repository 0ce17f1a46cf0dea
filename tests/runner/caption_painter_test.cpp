// The caption inside the image: black glyphs on a white box at the image's top left corner, nothing around it.
#include "runner/caption_painter.h"
#include "runner/loading_font.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillon;

TEST(CaptionPainter, BlackTextOnAWhiteBoxAtTheTopLeftCorner)
{
    constexpr std::uint32_t ROOM = 0x3060A0;
    constexpr int WIDTH = 40;
    constexpr int HEIGHT = 14;
    std::vector<std::uint32_t> pixels(WIDTH * HEIGHT, ROOM);
    SurfaceCanvas canvas {pixels.data(), WIDTH, HEIGHT, WIDTH * 4, {0, 0, WIDTH, HEIGHT}};
    paint_caption_text(canvas, "Hi");

    // The box is the text's extent with one pixel around it; each pixel in it is a glyph pixel or white.
    int box_width = font_text_width("Hi", 1) + 2;
    int box_height = FONT_GLYPH_HEIGHT + 2;
    int glyph_pixels = 0;
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            std::uint32_t pixel = canvas.at(x, y);
            if (x >= box_width || y >= box_height) {
                EXPECT_EQ(pixel, ROOM) << x << "," << y;
                continue;
            }
            int column = (x - 1) % FONT_ADVANCE;
            int glyph = (x - 1) / FONT_ADVANCE;
            bool ink = x >= 1 && y >= 1 && y <= FONT_GLYPH_HEIGHT && column < FONT_GLYPH_WIDTH && glyph < 2
                && font_pixel("Hi"[glyph], column, y - 1);
            EXPECT_EQ(pixel, ink ? 0x000000u : 0xFFFFFFu) << x << "," << y;
            glyph_pixels += ink;
        }
    }
    EXPECT_GT(glyph_pixels, 0);
    EXPECT_EQ(canvas.at(0, 0), 0xFFFFFFu);

    // A canvas smaller than the caption is painted as far as it goes.
    std::vector<std::uint32_t> small(4 * 3, ROOM);
    SurfaceCanvas tiny {small.data(), 4, 3, 16, {0, 0, 4, 3}};
    paint_caption_text(tiny, "A long caption");
    EXPECT_EQ(tiny.at(0, 0), 0xFFFFFFu);
}
