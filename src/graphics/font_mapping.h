// Font names as games give them, which are the names of Windows fonts, turned into families installed here.
#pragma once

#include <string>
#include <string_view>

namespace quillon {

// The family to draw a font name (UTF-8) with. The common Windows fonts become the installed fonts with the
// same metrics (Arial: Liberation Sans, Times New Roman: Liberation Serif, Courier New: Liberation Mono); any
// other name that fontconfig knows as a family, such as a font file the game registered, is kept; the rest,
// "MS Sans Serif" among them, become the sans-serif family.
std::string installed_family(std::string_view name);

// The family of names that are neither mapped nor installed.
inline constexpr std::string_view FALLBACK_FAMILY = "Liberation Sans";

}  // namespace quillon
