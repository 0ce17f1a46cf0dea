// Bitmap24: a 24-bit picture in memory, the form of every sprite frame and background image.
#pragma once

#include "support/color.h"

#include <cstdint>
#include <vector>

namespace quillon {

// Rows run from top to bottom without padding; each pixel is three bytes in the order blue, green, red,
// as in a 24-bit BMP file.
struct Bitmap24 {
    int width = 0;                      // pixels per row
    int height = 0;                     // rows
    std::vector<std::uint8_t> pixels;   // width * height * 3 bytes

    Bitmap24() = default;
    Bitmap24(int width, int height, Color fill = 0);

    std::uint8_t* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width * 3; }
    const std::uint8_t* row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * width * 3; }
    Color pixel(int x, int y) const;
    void set_pixel(int x, int y, Color color);

    // The colour of the bottom-left pixel, which marks the transparent pixels of sprites and backgrounds.
    Color transparent_color() const { return height > 0 && width > 0 ? pixel(0, height - 1) : 0; }

    bool operator==(const Bitmap24&) const = default;
};

}  // namespace quillon
