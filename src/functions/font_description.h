// The font an action argument describes, as text: "name,size,colour,style". Each field may be left empty (or,
// at the end, left out) to keep what the font has; a negative size, colour or style keeps it too. The style is
// the sum of 1 bold, 2 italic, 4 underline and 8 strike-out, as `font_style` takes it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

struct FontDescription {
    std::string name; // empty: the name stays
    std::optional<std::int32_t> size; // in points
    std::optional<std::int32_t> color; // 0xBBGGRR
    std::optional<std::int32_t> style; // the style bits
};

// The description the text gives; none when it has more than four fields or a field that is not a number.
std::optional<FontDescription> parse_font_description(std::string_view text);

} // namespace quillon
