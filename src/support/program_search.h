// What a game's call to start a program names: the executable file, found as it would be on the game's home
// system, and the words of its arguments.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The executable file for a program name (Windows-1252 bytes). A name with a folder is found as a game path; a
// plain name in the game's folder, then in the current directory, then in the folders of PATH. A name ending in
// ".exe" that finds nothing is tried without that ending; double quotes around the name are dropped. None when
// nothing executable is found.
std::optional<std::filesystem::path> find_program(std::string_view name, const std::filesystem::path& game_folder);

// The words of an argument text as the game's home system splits a command line: blanks and tabs separate them,
// double quotes keep blanks inside a word, and a backslash before a double quote makes it a plain quote.
std::vector<std::string> split_arguments(std::string_view text);

}  // namespace quillon
