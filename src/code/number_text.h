// Conversions between reals and text for `real`, `string` and `string_format`.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The real rounded to at most `precision` significant digits and `decimals` decimals, written with exactly
// `decimals` decimals; scientific notation when the integer part has more than `precision` digits.
std::string format_fixed(double value, int precision, int decimals);
// The text of `string`: an integral real within the 64-bit integers as that integer, any other real as
// format_fixed with 10 and 2.
std::string format_real(double value);

// The number in the text: optional spaces, sign, digits with at most one point, an optional exponent,
// optional spaces. None for anything else.
std::optional<double> parse_real(std::string_view text);

}  // namespace quillon
