// quillon-runner: plays a game file in a window, or headless.
#include "functions/files.h"
#include "pack_error.h"
#include "packer.h"
#include "platform/headless/headless_dialog_host.h"
#include "runner/command_line.h"
#include "runner/language_setup.h"
#include "runner/runner.h"
#include "runner/watch_session.h"

#include <cstdio>
#include <variant>

using namespace quillon;

namespace {

// A project folder is packed in memory, exactly as quillon-pack would pack it, and played from there.
std::optional<CStream> pack_in_memory(const std::filesystem::path& folder)
{
    try {
        std::vector<std::string> unused;
        CStream stream(write_game_file(pack_project(FolderSource(folder), 0, &unused)));
        for (const std::string& path : unused)
            std::fprintf(stderr, "quillon-runner: warning: %s: no list or record of the project names this file\n",
                         path.c_str());
        return stream;
    } catch (const PackError& error) {
        std::fprintf(stderr, "quillon-runner: %s\n", error.what());
        return std::nullopt;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    auto parsed = parse_command_line(std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1)));
    if (auto* error = std::get_if<UsageError>(&parsed)) {
        std::fprintf(stderr, "%s\n", error->message.c_str());
        return USAGE_EXIT_STATUS;
    }
    CommandLine command_line = std::get<CommandLine>(std::move(parsed));
    if (command_line.help) {
        std::fputs(usage_text().c_str(), stdout);
        return EXIT_NORMAL_END;
    }
    if (command_line.version) {
        std::printf("%s\n", version_text().c_str());
        return EXIT_NORMAL_END;
    }
    if (command_line.functions) {
        std::fputs(function_list_text().c_str(), stdout);
        return EXIT_NORMAL_END;
    }
    if (auto error = check_output_folders(command_line)) {
        std::fprintf(stderr, "%s\n", error->message.c_str());
        return USAGE_EXIT_STATUS;
    }
    if (command_line.secure_mode) {
        if (!set_secure_mode_preference(*command_line.secure_mode)) {
            std::fputs("quillon-runner: the secure-mode preference could not be stored\n", stderr);
            return EXIT_LOAD_FAILED;
        }
        if (!command_line.game)
            return EXIT_NORMAL_END;
    }
    if (!command_line.headless && !platform::display_available()) {
        std::fputs("quillon-runner: no display available, running headless\n", stderr);
        command_line.headless = true;
    }
    auto platform = platform::create_platform(command_line.headless ? "headless" : "sdl2");
    if (command_line.answers_file && command_line.headless) {
        auto& dialogs = static_cast<platform::HeadlessDialogHost&>(*platform->dialogs);
        if (!dialogs.load_answers(*command_line.answers_file)) {
            std::fprintf(stderr, "quillon-runner: cannot read the answers file %s\n", command_line.answers_file->c_str());
            return USAGE_EXIT_STATUS;
        }
    }
    if (command_line.answers_file && !command_line.headless)
        std::fputs("quillon-runner: --answers is used in headless runs only; in a window the dialogs wait for you\n",
            stderr);
    std::optional<ScriptedInput> input;
    if (command_line.input_file) {
        std::string error;
        input = ScriptedInput::load(*command_line.input_file, error);
        if (!input) {
            std::fprintf(stderr, "quillon-runner: %s\n", error.c_str());
            return USAGE_EXIT_STATUS;
        }
    }
    std::error_code error;
    bool folder = command_line.game && std::filesystem::is_directory(*command_line.game, error);
    if (command_line.watch) {
        if (!folder) {
            std::fputs("quillon-runner: --watch needs a project folder as GAME\n", stderr);
            return USAGE_EXIT_STATUS;
        }
        return play_watching(*platform, command_line, input, [&] { return pack_in_memory(*command_line.game); });
    }
    std::optional<CStream> packed;
    if (folder) {
        packed = pack_in_memory(*command_line.game);
        if (!packed)
            return EXIT_LOAD_FAILED;
    }
    std::optional<DebugCommands> debug_commands;
    if (command_line.debug_commands_file) {
        std::string error;
        debug_commands = DebugCommands::load(*command_line.debug_commands_file, error);
        if (!debug_commands) {
            std::fprintf(stderr, "quillon-runner: %s\n", error.c_str());
            return USAGE_EXIT_STATUS;
        }
    }
    Runner runner(*platform, std::move(command_line));
    if (packed)
        runner.set_game_data(std::move(*packed));
    if (input)
        runner.set_scripted_input(std::move(*input));
    if (debug_commands)
        runner.set_debug_commands(std::move(*debug_commands));
    return runner.run();
}
