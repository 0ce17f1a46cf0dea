// Reading a font description: four comma-separated fields, spaces around each ignored.
#include "functions/font_description.h"

#include "code/value.h"

#include <charconv>

namespace quillon {

namespace {

constexpr int FIELD_COUNT = 4; // name, size, colour, style

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// A numeric field: true when it is empty or a number; `value` gets a number that is not negative, rounded.
bool read_number(std::string_view field, std::optional<std::int32_t>& value)
{
    if (field.empty())
        return true;
    double number = 0;
    auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), number);
    if (error != std::errc() || end != field.data() + field.size())
        return false;
    if (number >= 0)
        value = round_to_int32(number);
    return true;
}

} // namespace

std::optional<FontDescription> parse_font_description(std::string_view text)
{
    FontDescription font;
    std::optional<std::int32_t>* numbers[] = { &font.size, &font.color, &font.style };
    int field = 0;
    for (;;) {
        std::size_t comma = text.find(',');
        std::string_view part = trimmed(text.substr(0, comma));
        if (field >= FIELD_COUNT)
            return std::nullopt;
        if (field == 0)
            font.name = part;
        else if (!read_number(part, *numbers[field - 1]))
            return std::nullopt;
        ++field;
        if (comma == std::string_view::npos)
            return font;
        text.remove_prefix(comma + 1);
    }
}

} // namespace quillon
