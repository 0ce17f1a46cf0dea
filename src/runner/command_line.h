// The runner's command line: quillon-runner [options] [GAME] [-- GAME-ARGS...].
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace quillon {

// The exit status of a bad command line.
inline constexpr int USAGE_EXIT_STATUS = 64;

// One --screenshot request: save the frame presented after that step.
struct ScreenshotRequest {
    std::int64_t step = 0;       // the step whose frame is saved
    std::filesystem::path file;  // a .png file
};

struct CommandLine {
    std::optional<std::filesystem::path> game;  // the game file; without it game.dat, else the executable's data
    bool headless = false;                      // no window, frames drawn in memory only, sound mixed silently
    std::optional<std::int64_t> steps;          // end the game after this many steps
    bool no_sleep = false;                      // run steps back to back instead of at the room speed
    std::optional<std::uint32_t> seed;          // seed of the random generator instead of the clock
    std::optional<std::filesystem::path> input_file;    // scripted keyboard and mouse input by step
    std::optional<std::filesystem::path> answers_file;  // scripted answers to messages, questions, input boxes
    std::vector<ScreenshotRequest> screenshots;  // in the order given
    std::optional<std::filesystem::path> audio_file;  // everything the game played, as a WAV file
    bool help = false;                           // print the usage text and end
    bool version = false;                        // print the version and end
    std::vector<std::string> game_arguments;     // everything after "--", for the game's parameter functions
};

// A bad command line; the message is one line that starts with "quillon-runner: ".
struct UsageError {
    std::string message;  // what is wrong, naming the option or argument
};

// Parses the arguments that follow the program name.
std::variant<CommandLine, UsageError> parse_command_line(std::span<const char* const> arguments);

// The text of --help, every line ending in a line feed.
std::string usage_text();
// The text of --version: one line, without a line feed.
std::string version_text();

}  // namespace quillon
