// Paths that game code hands over: written for Windows, so '\' separates folders as well as '/'.
#include "support/game_path.h"

#include "support/win1252.h"

#include <algorithm>

namespace quillon {

namespace {

std::filesystem::path& game_folder()
{
    static std::filesystem::path s_folder;
    return s_folder;
}

}  // namespace

std::filesystem::path game_path(std::string_view text)
{
    std::string converted = win1252_to_utf8(text);
    std::replace(converted.begin(), converted.end(), '\\', '/');
    return std::filesystem::path(converted);
}

void set_game_folder(const std::filesystem::path& folder) { game_folder() = folder; }

std::filesystem::path game_file_path(std::string_view text)
{
    std::filesystem::path path = game_path(text);
    if (path.is_absolute() || game_folder().empty() || path.empty())
        return path;
    return game_folder() / path;
}

}  // namespace quillon
