// Paths that game code hands over: written for Windows, so '\' separates folders as well as '/', and a name
// finds a file whose name differs only in letter case, as it would there.
#pragma once

#include <filesystem>
#include <string_view>

namespace quillon {

// Turns a game path (Windows-1252 bytes, either separator) into a path of this system.
std::filesystem::path game_path(std::string_view text);

// The existing file or folder a game names: the exact path when it exists; otherwise, folder by folder, an
// entry whose name differs only in letter case (the first in byte order when several do). A path that cannot
// be found is given as written. A name holding a zero byte names nothing: the result is empty.
std::filesystem::path find_game_path(std::string_view text);
// The same for a path relative to this folder (an absolute path ignores the folder).
std::filesystem::path find_game_path_in(const std::filesystem::path& folder, std::string_view text);

// Where a game's new file or folder goes: the folders above it are found as find_game_path finds them, the last
// name is kept exactly as written, so creating never picks a file of another name. Empty for a zero byte.
std::filesystem::path creation_game_path(std::string_view text);

// The folder that the names below start from: the game file's own folder once the runner has found it, so that
// a game finds the files beside it wherever it was started from. Empty: the current directory.
void set_game_folder(const std::filesystem::path& folder);
// find_game_path and creation_game_path for names relative to the game's folder.
std::filesystem::path find_in_game_folder(std::string_view text);
std::filesystem::path creation_path_in_game_folder(std::string_view text);

// Both names are equal when only the letter case of Windows-1252 letters (A to Z, accented letters) differs;
// the names are UTF-8.
bool equal_ignoring_letter_case(std::string_view a, std::string_view b);

}  // namespace quillon
