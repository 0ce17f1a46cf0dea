// Other programs that a game starts: a process with its arguments in the current directory, and documents or
// addresses opened with the desktop's handler.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quillon::platform {

// Starts the executable with these arguments (after the program's own name); the process id, none when the
// process cannot be started. Processes not waited for are collected later, so none is left behind as a zombie.
std::optional<int> start_program(const std::filesystem::path& program, const std::vector<std::string>& arguments);

// Whether the process has ended; an ended process is collected.
bool program_ended(int process);

// Opens a file or an address with the desktop's handler (xdg-open), without waiting; false when the handler
// cannot be started.
bool open_with_desktop(const std::string& target);

}  // namespace quillon::platform
