// The runner's command line: quillon-runner [options] [GAME] [-- GAME-ARGS...].
#include "runner/command_line.h"
#include "support/ascii_case.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>
#include <utility>

namespace quillon {

namespace {

template<typename Number>
std::optional<Number> parse_number(std::string_view text)
{
    Number value {};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc {} || end != text.data() + text.size() || std::cmp_less(value, 0))
        return std::nullopt;
    return value;
}

bool ends_with_png(std::string_view file)
{
    return file.size() > 4 && ends_with_ignoring_ascii_case(file, ".png");
}

std::optional<ScreenshotRequest> parse_screenshot(std::string_view text)
{
    // dialog:N:FILE, for the N-th dialog the runner draws (from 1).
    constexpr std::string_view DIALOG = "dialog:";
    if (text.starts_with(DIALOG)) {
        text.remove_prefix(DIALOG.size());
        auto colon = text.find(':');
        auto number = colon == std::string_view::npos ? std::nullopt : parse_number<std::int32_t>(text.substr(0, colon));
        if (!number || *number < 1 || !ends_with_png(text.substr(colon + 1)))
            return std::nullopt;
        return ScreenshotRequest {0, std::filesystem::path(text.substr(colon + 1)), 0, *number};
    }
    auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    // STEP, or STEP.N for the N-th frame of a transition (from 1).
    std::string_view when = text.substr(0, colon);
    std::optional<std::int32_t> frame = 0;
    if (auto dot = when.find('.'); dot != std::string_view::npos) {
        frame = parse_number<std::int32_t>(when.substr(dot + 1));
        when = when.substr(0, dot);
        if (frame && *frame < 1)
            frame.reset();
    }
    auto step = parse_number<std::int64_t>(when);
    auto file = text.substr(colon + 1);
    if (!step || !frame || !ends_with_png(file))
        return std::nullopt;
    return ScreenshotRequest {*step, std::filesystem::path(file), *frame};
}

// One option: its name, what its value is called in messages (empty for a flag), and how the value is kept.
struct OptionRule {
    std::string_view name;        // as typed, with its dashes
    std::string_view value_kind;  // "a number", "a file name"...; empty when the option takes no value
    bool (*apply)(CommandLine& line, std::string_view value);  // false when the value is not acceptable
};

constexpr OptionRule OPTION_RULES[] = {
    {"--headless", "", [](CommandLine& line, std::string_view) { line.headless = true; return true; }},
    {"--no-sleep", "", [](CommandLine& line, std::string_view) { line.no_sleep = true; return true; }},
    {"--watch", "", [](CommandLine& line, std::string_view) { line.watch = true; return true; }},
    {"--help", "", [](CommandLine& line, std::string_view) { line.help = true; return true; }},
    {"-h", "", [](CommandLine& line, std::string_view) { line.help = true; return true; }},
    {"--version", "", [](CommandLine& line, std::string_view) { line.version = true; return true; }},
    {"--functions", "", [](CommandLine& line, std::string_view) { line.functions = true; return true; }},
    {"--steps", "a number",
        [](CommandLine& line, std::string_view value) {
            line.steps = parse_number<std::int64_t>(value);
            return line.steps.has_value();
        }},
    {"--seed", "a number",
        [](CommandLine& line, std::string_view value) {
            line.seed = parse_number<std::uint32_t>(value);
            return line.seed.has_value();
        }},
    {"--input", "a file name",
        [](CommandLine& line, std::string_view value) {
            line.input_file = value;
            return !value.empty();
        }},
    {"--answers", "a file name",
        [](CommandLine& line, std::string_view value) {
            line.answers_file = value;
            return !value.empty();
        }},
    {"--audio", "a file name",
        [](CommandLine& line, std::string_view value) {
            line.audio_file = value;
            return !value.empty();
        }},
    // The debugger's options.
    {"--debug", "", [](CommandLine& line, std::string_view) { line.debug = true; return true; }},
    {"--debug-commands", "a file name",
        [](CommandLine& line, std::string_view value) {
            line.debug = true;
            line.debug_commands_file = value;
            return !value.empty();
        }},
    {"--debug-output", "a file name",
        [](CommandLine& line, std::string_view value) {
            line.debug = true;
            line.debug_output_file = value;
            return !value.empty();
        }},
    {"--screenshot", "STEP[.N]:FILE.png or dialog:N:FILE.png",
        [](CommandLine& line, std::string_view value) {
            auto request = parse_screenshot(value);
            if (request)
                line.screenshots.push_back(*request);
            return request.has_value();
        }},
    {"--secure-mode", "on or off",
        [](CommandLine& line, std::string_view value) {
            if (value == "on" || value == "off")
                line.secure_mode = value == "on";
            return value == "on" || value == "off";
        }},
};

UsageError usage_error(std::string_view problem) { return UsageError {"quillon-runner: " + std::string(problem)}; }

const OptionRule* find_rule(std::string_view name)
{
    for (const OptionRule& rule : OPTION_RULES) {
        if (rule.name == name)
            return &rule;
    }
    return nullptr;
}

}  // namespace

std::variant<CommandLine, UsageError> parse_command_line(std::span<const char* const> arguments)
{
    CommandLine line;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        std::string_view argument = arguments[index];
        if (argument == "--") {
            line.game_arguments.assign(arguments.begin() + static_cast<std::ptrdiff_t>(index) + 1, arguments.end());
            break;
        }
        if (!argument.starts_with('-')) {
            if (line.game)
                return usage_error("only one game can be given, not '" + line.game->string() + "' and '"
                    + std::string(argument) + "'");
            line.game = std::filesystem::path(argument);
            continue;
        }
        // Both "--steps 10" and "--steps=10" are accepted.
        auto equals = argument.find('=');
        std::string_view name = argument.substr(0, equals);
        const OptionRule* rule = find_rule(name);
        if (rule == nullptr)
            return usage_error("unknown option '" + std::string(name) + "' (see --help)");
        std::optional<std::string_view> value;
        if (equals != std::string_view::npos)
            value = argument.substr(equals + 1);
        if (rule->value_kind.empty()) {
            if (value)
                return usage_error(std::string(name) + " takes no value");
            rule->apply(line, {});
            continue;
        }
        if (!value && index + 1 < arguments.size())
            value = arguments[++index];
        if (!value)
            return usage_error(std::string(name) + " needs " + std::string(rule->value_kind));
        if (!rule->apply(line, *value))
            return usage_error(std::string(name) + " needs " + std::string(rule->value_kind) + ", not '"
                + std::string(*value) + "'");
    }
    return line;
}

std::string usage_text()
{
    return "Usage: quillon-runner [options] [GAME] [-- GAME-ARGS...]\n"
           "Plays a Quillon game: a game file or a project folder. Without GAME: game.dat in the\n"
           "current directory, else the game appended to this program.\n"
           "\n"
           "Options:\n"
           "  --headless                 no window, frames drawn in memory; sound mixed silently on game time\n"
           "  --steps N                  end the game after N steps, as game_end() would\n"
           "  --no-sleep                 run steps back to back instead of at the room speed\n"
           "  --watch                    play the project folder GAME again whenever a file of it changes\n"
           "  --seed N                   seed the random generator with N instead of the clock\n"
           "  --input FILE               scripted keyboard and mouse input, by step\n"
           "  --answers FILE             scripted answers to messages, questions and input boxes\n"
           "  --screenshot STEP[.N]:FILE.png\n"
           "                             save the frame presented after step STEP, or frame N of the\n"
           "                             transition shown in or after it (repeatable)\n"
           "  --screenshot dialog:N:FILE.png\n"
           "                             save the N-th dialog the runner draws (from 1) as it opens\n"
           "  --secure-mode on|off       store the player's secure-mode preference; without GAME, exit\n"
           "  --debug                    play in debug mode, with the debug window\n"
           "  --debug-commands FILE      debugger commands by step (implies --debug)\n"
           "  --debug-output FILE        write the debugger's texts after each refresh to FILE\n"
           "  --audio FILE.wav           write everything the game plays to FILE.wav (44.1 kHz stereo),\n"
           "                             mixed step by step on game time\n"
           "  -h, --help                 show this help and exit\n"
           "  --version                  show the version and exit\n"
           "  --functions                list the built-in functions with their argument counts and exit\n"
           "  -- GAME-ARGS...            hand the remaining arguments to the game\n"
           "\n"
           "Exit status: 0 normal end, 1 the game could not be loaded or prepared,\n"
           "2 a fatal game error, 64 a bad command line.\n";
}

std::optional<UsageError> check_output_folders(const CommandLine& line)
{
    for (const ScreenshotRequest& request : line.screenshots) {
        std::filesystem::path folder = request.file.parent_path();
        std::error_code error;
        if (!folder.empty() && !std::filesystem::is_directory(folder, error))
            return usage_error("the folder of the screenshot '" + request.file.string() + "' does not exist");
    }
    return std::nullopt;
}

std::string version_text() { return "quillon-runner 0.1.0"; }

}  // namespace quillon
