// Colours as games use them: 24 bits with red in the low byte (R + 256*G + 65536*B).
#pragma once

#include <cstdint>

namespace quillon {

using Color = std::uint32_t;

constexpr Color make_color(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return Color(red) | Color(green) << 8 | Color(blue) << 16;
}
constexpr std::uint8_t color_red(Color color) { return color & 0xFF; }
constexpr std::uint8_t color_green(Color color) { return (color >> 8) & 0xFF; }
constexpr std::uint8_t color_blue(Color color) { return (color >> 16) & 0xFF; }

// The fill colour of fresh canvases (red 64, green 128, blue 0).
constexpr Color CANVAS_FILL_COLOR = 32832;

}  // namespace quillon
