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

// One --screenshot request: save the frame presented after that step, a frame of a transition shown while
// or after it ran, or one of the dialogs the runner draws itself as it opens.
struct ScreenshotRequest {
    std::int64_t step = 0;       // the step whose frame is saved; 0 is the first room's first frame
    std::filesystem::path file;  // a .png file
    std::int32_t transition_frame = 0;  // 0: the finished frame; N: the N-th frame of the step's transition
    std::int32_t dialog = 0;     // N: the N-th dialog of the run (from 1) instead of a step's frame

    bool operator==(const ScreenshotRequest&) const = default;
};

struct CommandLine {
    std::optional<std::filesystem::path> game;  // the game file; without it game.dat, else the executable's data
    bool headless = false;                      // no window, frames drawn in memory only, sound mixed silently
    std::optional<std::int64_t> steps;          // end the game after this many steps
    bool no_sleep = false;                      // run steps back to back instead of at the room speed
    bool watch = false;                         // play the project folder again whenever it changes
    std::optional<std::uint32_t> seed;          // seed of the random generator instead of the clock
    std::optional<std::filesystem::path> input_file;    // scripted keyboard and mouse input by step
    std::optional<std::filesystem::path> answers_file;  // scripted answers to messages, questions, input boxes
    std::vector<ScreenshotRequest> screenshots;  // in the order given
    // The debugger: debug mode whatever the game file says, a script of its commands, where its texts go.
    bool debug = false;                                         // --debug, also set by the two below
    std::optional<std::filesystem::path> debug_commands_file;  // --debug-commands
    std::optional<std::filesystem::path> debug_output_file;    // --debug-output
    std::optional<std::filesystem::path> audio_file;  // everything the game played, as a WAV file
    bool help = false;                           // print the usage text and end
    bool version = false;                        // print the version and end
    bool functions = false;                      // print the built-in functions with their argument counts and end
    std::vector<std::string> game_arguments;     // everything after "--", for the game's parameter functions
    std::optional<bool> secure_mode;             // --secure-mode: the player's preference to store
};

// A bad command line; the message is one line that starts with "quillon-runner: ".
struct UsageError {
    std::string message;  // what is wrong, naming the option or argument
};

// Parses the arguments that follow the program name.
std::variant<CommandLine, UsageError> parse_command_line(std::span<const char* const> arguments);

// The text of --help, every line ending in a line feed.
std::string usage_text();
// A usage error when a file the command line asks to write lies in a folder that does not exist (checked before
// the game starts, so a long run does not end in a file that cannot be written).
std::optional<UsageError> check_output_folders(const CommandLine& line);
// The text of --version: one line, without a line feed.
std::string version_text();

}  // namespace quillon
