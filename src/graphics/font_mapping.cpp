// Font names as games give them, which are the names of Windows fonts, turned into families installed here.
#include "graphics/font_mapping.h"

#include "support/ascii_case.h"

#include <fontconfig/fontconfig.h>

#include <array>
#include <utility>

namespace quillon {

namespace {

// Windows fonts and the installed families drawn in their place, which share their widths.
constexpr std::array<std::pair<std::string_view, std::string_view>, 8> WINDOWS_FONTS = {{
    {"Arial", "Liberation Sans"},
    {"Arial Narrow", "Liberation Sans Narrow"},
    {"Helvetica", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Times", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
    {"MS Sans Serif", FALLBACK_FAMILY},
}};

// Whether fontconfig's best match for the name has that very family name, so that the name is installed (or
// was registered by the game) rather than substituted.
bool family_installed(const std::string& name)
{
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    bool installed = false;
    FcChar8* family = nullptr;
    for (int i = 0; match && !installed && FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i)
        installed = equal_ignoring_ascii_case(reinterpret_cast<const char*>(family), name);
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return installed;
}

}  // namespace

std::string installed_family(std::string_view name)
{
    for (const auto& [windows, installed] : WINDOWS_FONTS)
        if (equal_ignoring_ascii_case(windows, name))
            return std::string(installed);
    std::string family(name);
    if (family.empty() || family.find_first_of(",:") != std::string::npos || !family_installed(family))
        return std::string(FALLBACK_FAMILY);
    return family;
}

}  // namespace quillon
