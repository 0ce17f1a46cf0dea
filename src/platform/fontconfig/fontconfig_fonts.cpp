// Fonts: font files that a game carries, added to fontconfig's application fonts of this process.
#include "platform/fonts.h"

#include <fontconfig/fontconfig.h>

namespace quillon::platform {

bool register_font_file(const std::filesystem::path& file)
{
    FcConfig* config = FcConfigGetCurrent();
    if (!config)
        return false;
    FcFontSet* before = FcConfigGetFonts(config, FcSetApplication);
    int count_before = before ? before->nfont : 0;
    if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(file.c_str())))
        return false;
    FcFontSet* after = FcConfigGetFonts(config, FcSetApplication);
    return after && after->nfont > count_before;
}

bool unregister_font_files()
{
    FcConfig* config = FcConfigGetCurrent();
    if (!config)
        return false;
    // fontconfig forgets application fonts all at once; every one of them came from the game's data files.
    FcConfigAppFontClear(config);
    return true;
}

std::optional<std::filesystem::path> fixed_pitch_font_file()
{
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("Courier New:spacing=mono"));
    if (!pattern)
        return std::nullopt;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    std::optional<std::filesystem::path> file;
    FcChar8* name = nullptr;
    int spacing = 0;
    if (match && FcPatternGetString(match, FC_FILE, 0, &name) == FcResultMatch
        && FcPatternGetInteger(match, FC_SPACING, 0, &spacing) == FcResultMatch && spacing == FC_MONO)
        file = std::filesystem::path(reinterpret_cast<const char*>(name));
    if (match)
        FcPatternDestroy(match);
    return file;
}

}  // namespace quillon::platform
