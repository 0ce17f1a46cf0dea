// The file family: one text file, files and folders, the file search, the registry values of the game, other
// programs, and the command-line parameters.
#pragma once

#include "functions/args.h"

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace quillon {

std::span<const FunctionEntry> file_functions();

// What `parameter_string` gives: 0 the game file, then the arguments after "--" (both as the system gave them).
// The game's folder is where `execute_program` looks for programs first.
void set_game_command_line(const std::filesystem::path& game_file, const std::vector<std::string>& arguments);

// Hands what the game wrote to its text file to the system. Writes are flushed at the latest by the next file
// function, the next frame, or the end of the program.
void flush_text_file();

// The player's secure-mode preference in the user's store; off when it was never set.
bool secure_mode_preference();
// Stores the preference; false when the store could not keep it.
bool set_secure_mode_preference(bool on);

}  // namespace quillon
