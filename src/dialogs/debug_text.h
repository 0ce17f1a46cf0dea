// Debug texts: how the debug window writes values, variable lines and separators, and its fixed messages.
#pragma once

#include "code/value.h"

#include <string>
#include <string_view>

namespace quillon {

inline constexpr std::string_view DEBUG_COMPILE_ERROR = "COMPILE ERROR";
inline constexpr std::string_view DEBUG_NO_SUCH_INSTANCE = "NO SUCH INSTANCE EXISTS";
inline constexpr std::string_view DEBUG_LINE_END = "\r\n";

// A string unchanged; a real as an integer (every digit) when it is within 1e-12 of one, else with the fewest
// of 2, 4, 6, 8 or 10 decimals that show it within 1e-12, rounded to 10 significant digits.
std::string format_debug_value(const Value& value);

// "name:" padded with blanks to 20 characters, the formatted value, a line end.
void append_variable_line(std::string& text, std::string_view name, const Value& value);
// 32 underscores and a line end.
void append_separator(std::string& text);

}  // namespace quillon
