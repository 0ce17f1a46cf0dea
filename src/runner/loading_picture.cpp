// Loading picture: the runner's own artwork for the loading window, its picture and its two bars.
#include "runner/loading_picture.h"

#include "graphics/text_engine.h"

#include <string_view>
#include <vector>

namespace quillon {

namespace {

constexpr int BAR_PICTURE_WIDTH = LOADING_PICTURE_WIDTH - 48;

std::uint8_t blend(std::uint8_t from, std::uint8_t to, int step, int steps)
{
    return static_cast<std::uint8_t>(from + (to - from) * step / steps);
}

Color blend_color(Color from, Color to, int step, int steps)
{
    return make_color(blend(color_red(from), color_red(to), step, steps),
        blend(color_green(from), color_green(to), step, steps), blend(color_blue(from), color_blue(to), step, steps));
}

void fill_rows(Bitmap24& picture, int top, int bottom, Color color)
{
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < picture.width; ++x)
            picture.set_pixel(x, y, color);
    }
}

void frame_edges(Bitmap24& picture, Color color)
{
    for (int x = 0; x < picture.width; ++x) {
        picture.set_pixel(x, 0, color);
        picture.set_pixel(x, picture.height - 1, color);
    }
    for (int y = 0; y < picture.height; ++y) {
        picture.set_pixel(0, y, color);
        picture.set_pixel(picture.width - 1, y, color);
    }
}

// Writes the text with its top-left corner at (x, y) of the picture, through a canvas over a copy of its pixels.
void write_text(Bitmap24& picture, int font, Color color, int x, int y, std::string_view text)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(picture.width) * picture.height);
    for (int row = 0; row < picture.height; ++row)
        for (int column = 0; column < picture.width; ++column)
            pixels[static_cast<std::size_t>(row) * picture.width + column] = color_to_pixel(picture.pixel(column, row));
    SurfaceCanvas canvas {pixels.data(), picture.width, picture.height, picture.width * 4,
        {0, 0, picture.width, picture.height}};
    text_engine().draw(canvas, font, color, 0, x, y, text);
    for (int row = 0; row < picture.height; ++row)
        for (int column = 0; column < picture.width; ++column)
            picture.set_pixel(column, row, pixel_to_color(pixels[static_cast<std::size_t>(row) * picture.width + column]));
}

}  // namespace

Bitmap24 builtin_loading_picture()
{
    Bitmap24 picture(LOADING_PICTURE_WIDTH, LOADING_PICTURE_HEIGHT);
    for (int y = 0; y < picture.height; ++y)
        fill_rows(picture, y, y + 1, blend_color(make_color(18, 24, 64), make_color(52, 30, 84), y, picture.height));
    // Faint diagonal hatching, like the ruled lines of writing paper turned on edge.
    for (int y = 1; y < picture.height - 1; ++y) {
        for (int x = 1; x < picture.width - 1; ++x) {
            if ((x + y) % 12 == 0)
                picture.set_pixel(x, y, blend_color(picture.pixel(x, y), make_color(255, 255, 255), 1, 10));
        }
    }
    frame_edges(picture, make_color(200, 170, 90));

    constexpr std::string_view TITLE = "Quillon";
    int font = text_engine().font({"Times New Roman", 32, FONT_BOLD | FONT_ITALIC});
    TextExtent extent = text_engine().measure(font, TITLE);
    int left = (picture.width - extent.width) / 2;
    write_text(picture, font, make_color(8, 8, 24), left + 3, 5, TITLE);
    write_text(picture, font, make_color(250, 226, 160), left, 2, TITLE);
    return picture;
}

Bitmap24 builtin_empty_bar()
{
    Bitmap24 bar(BAR_PICTURE_WIDTH, 20, make_color(226, 222, 210));
    fill_rows(bar, 1, 3, make_color(178, 172, 160));
    frame_edges(bar, make_color(70, 58, 44));
    return bar;
}

Bitmap24 builtin_full_bar()
{
    Bitmap24 bar(BAR_PICTURE_WIDTH, 16);
    for (int y = 0; y < bar.height; ++y)
        fill_rows(bar, y, y + 1, blend_color(make_color(255, 226, 130), make_color(232, 156, 56), y, bar.height - 1));
    fill_rows(bar, 0, 1, make_color(255, 244, 200));
    return bar;
}

}  // namespace quillon
