// Bitmap24: a 24-bit picture in memory, the form of every sprite frame and background image.
#include "support/bitmap.h"

namespace quillon {

Bitmap24::Bitmap24(int width_, int height_, Color fill)
    : width(width_ < 1 ? 1 : width_)
    , height(height_ < 1 ? 1 : height_)
    , pixels(static_cast<std::size_t>(width) * height * 3)
{
    for (std::size_t i = 0; i < pixels.size(); i += 3) {
        pixels[i] = color_blue(fill);
        pixels[i + 1] = color_green(fill);
        pixels[i + 2] = color_red(fill);
    }
}

Color Bitmap24::pixel(int x, int y) const
{
    const std::uint8_t* p = row(y) + x * 3;
    return make_color(p[2], p[1], p[0]);
}

void Bitmap24::set_pixel(int x, int y, Color color)
{
    std::uint8_t* p = row(y) + x * 3;
    p[0] = color_blue(color);
    p[1] = color_green(color);
    p[2] = color_red(color);
}

}  // namespace quillon
