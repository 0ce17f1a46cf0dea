// Paths that game code hands over: written for Windows, so '\' separates folders as well as '/'.
#pragma once

#include <filesystem>
#include <string_view>

namespace quillon {

// Turns a game path (Windows-1252 bytes, either separator) into a path of this system.
std::filesystem::path game_path(std::string_view text);

}  // namespace quillon
