// Paths that game code hands over: written for Windows, so '\' separates folders as well as '/'.
#include "support/game_path.h"

#include "support/win1252.h"

#include <algorithm>

namespace quillon {

std::filesystem::path game_path(std::string_view text)
{
    std::string converted = win1252_to_utf8(text);
    std::replace(converted.begin(), converted.end(), '\\', '/');
    return std::filesystem::path(converted);
}

}  // namespace quillon
