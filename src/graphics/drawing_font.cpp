// The font that scripts draw text with, kept across rooms.
#include "graphics/drawing_font.h"

#include <array>

namespace quillon {

namespace {

// The classic Windows scheme by system colour index (scroll bar, desktop, captions, menus, windows, buttons,
// highlights, tool tips), red in the low byte.
constexpr std::array<Color, 25> SYSTEM_COLORS = {
    0xC0C0C0, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0xFFFFFF,
    0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080, 0x000000, 0xC0C0C0,
    0xFFFFFF, 0x000000, 0xDFDFDF, 0x000000, 0xE1FFFF,
};

}  // namespace

DrawingFont& drawing_font()
{
    static DrawingFont s_font;
    return s_font;
}

Color color_value(std::int32_t color)
{
    if (color >= 0)
        return static_cast<Color>(color) & 0xFFFFFF;
    std::size_t index = static_cast<std::uint32_t>(color) & 0xFF;
    return index < SYSTEM_COLORS.size() ? SYSTEM_COLORS[index] : 0;
}

}  // namespace quillon
