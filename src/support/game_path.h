// Paths that game code hands over: written for Windows, so '\' separates folders as well as '/'.
#pragma once

#include <filesystem>
#include <string_view>

namespace quillon {

// Turns a game path (Windows-1252 bytes, either separator) into a path of this system.
std::filesystem::path game_path(std::string_view text);

// The folder that relative file names of game code start from: the game file's own folder once the runner has
// found it, so that a game finds the files beside it wherever it was started from. Empty: the current directory.
void set_game_folder(const std::filesystem::path& folder);
// A file name of game code as game_path gives it, a relative one taken from the game's folder.
std::filesystem::path game_file_path(std::string_view text);

}  // namespace quillon
