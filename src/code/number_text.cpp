// Conversions between reals and text.
#include "code/number_text.h"

#include "code/value.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quillon {

std::string format_real(double value)
{
    // Every integral real that fits a 64-bit integer, -2^63 included, is written with all its digits.
    constexpr double TWO_TO_63 = 9223372036854775808.0;
    if (value >= -TWO_TO_63 && value < TWO_TO_63 && value == std::trunc(value))
        return std::to_string(static_cast<std::int64_t>(value));
    return format_fixed(value, 10, 2);
}

std::string format_fixed(double value, int precision, int decimals)
{
    char text[400];
    precision = std::clamp(precision, 1, 60);
    decimals = std::clamp(decimals, 0, 60);
    double magnitude = std::fabs(value);
    int integer_digits = magnitude < 1 ? 1 : static_cast<int>(std::floor(std::log10(magnitude))) + 1;
    if (!std::isfinite(value) || integer_digits > precision) {
        std::snprintf(text, sizeof text, "%.*E", precision - 1, value);
        return text;
    }
    // Significant digits of a number below 1 start after its leading zeros.
    int allowed = magnitude >= 1 || magnitude == 0
                      ? precision - integer_digits
                      : precision - 1 - static_cast<int>(std::floor(std::log10(magnitude)));
    int shown = std::min(decimals, std::max(0, allowed));
    std::snprintf(text, sizeof text, "%.*f", shown, value);
    std::string result = text;
    // A negative number that rounds to zero is written as zero, without a sign.
    if (result.front() == '-' && result.find_first_of("123456789") == std::string::npos)
        result.erase(0, 1);
    if (shown < decimals) {
        if (shown == 0)
            result += '.';
        result.append(static_cast<std::size_t>(decimals - shown), '0');
    }
    return result;
}

std::optional<double> parse_real(std::string_view text)
{
    std::size_t at = 0;
    auto skip_spaces = [&] {
        while (at < text.size() && text[at] == ' ')
            ++at;
    };
    auto digits = [&] {
        std::size_t start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9')
            ++at;
        return at - start;
    };
    skip_spaces();
    std::size_t start = at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    std::size_t count = digits();
    if (at < text.size() && text[at] == '.') {
        ++at;
        count += digits();
    }
    if (count == 0)
        return std::nullopt;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            ++at;
        if (digits() == 0)
            return std::nullopt;
    }
    std::string number(text.substr(start, at - start));
    skip_spaces();
    if (at != text.size())
        return std::nullopt;
    return std::strtod(number.c_str(), nullptr);
}

}  // namespace quillon
