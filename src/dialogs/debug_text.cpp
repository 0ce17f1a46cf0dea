// Debug texts: how the debug window writes values, variable lines and separators.
#include "dialogs/debug_text.h"

#include "code/number_text.h"

#include <cmath>
#include <cstdio>

namespace quillon {

namespace {

constexpr double CLOSE_ENOUGH = 1e-12;
constexpr std::size_t NAME_COLUMN = 20;
constexpr int SIGNIFICANT_DIGITS = 10;

bool nearly_integral(double value) { return std::fabs(value - std::nearbyint(value)) < CLOSE_ENOUGH; }

std::string integer_text(double value)
{
    double rounded = std::nearbyint(value);
    if (std::fabs(rounded) < 9.2e18)
        return std::to_string(round_to_int64(rounded));
    char text[400];
    std::snprintf(text, sizeof text, "%.0f", rounded);
    return text;
}

// The fewest decimals, of 2, 4, 6 and 8, that write the value within the tolerance; else 10.
int decimals_for(double value)
{
    double scale = 1;
    for (int decimals = 2; decimals <= 8; decimals += 2) {
        scale *= 100;
        if (nearly_integral(value * scale))
            return decimals;
    }
    return 10;
}

}  // namespace

std::string format_debug_value(const Value& value)
{
    if (value.is_string())
        return value.string.str();
    double real = value.real;
    if (std::isfinite(real) && nearly_integral(real))
        return integer_text(real);
    return format_fixed(real, SIGNIFICANT_DIGITS, std::isfinite(real) ? decimals_for(real) : 2);
}

void append_variable_line(std::string& text, std::string_view name, const Value& value)
{
    std::size_t start = text.size();
    text += name;
    text += ':';
    if (text.size() - start < NAME_COLUMN)
        text.append(NAME_COLUMN - (text.size() - start), ' ');
    if (value.is_string())
        text += value.string.view();
    else
        text += format_debug_value(value);
    text += DEBUG_LINE_END;
}

void append_separator(std::string& text)
{
    text.append(32, '_');
    text += DEBUG_LINE_END;
}

}  // namespace quillon
