// The watch session: build, play, and on a change of the project folder, build and play again.
#include "runner/watch_session.h"

#include "platform/folder_watcher.h"
#include "runner/runner.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>

namespace quillon {

namespace {

volatile std::sig_atomic_t s_interrupted = 0;

void interrupt(int) { s_interrupted = 1; }

// At most this many changed files are named; the rest are counted.
constexpr std::size_t NAMED_CHANGES = 8;

void say(const std::string& line) { std::fprintf(stderr, "quillon-runner: %s\n", line.c_str()); }

// Waits for a change, then for the folder to be quiet, and says what changed. False when interrupted first.
bool wait_for_change(platform::FolderWatcher& watcher)
{
    while (!s_interrupted && !watcher.wait(std::chrono::milliseconds(250))) {
    }
    if (s_interrupted)
        return false;
    std::vector<std::string> changes = watcher.take_changes();
    while (!s_interrupted && watcher.wait(WATCH_SETTLE_TIME)) {
        for (std::string& name : watcher.take_changes())
            if (std::find(changes.begin(), changes.end(), name) == changes.end())
                changes.push_back(std::move(name));
    }
    std::string line = "changed:";
    for (std::size_t i = 0; i < changes.size() && i < NAMED_CHANGES; ++i)
        line += (i == 0 ? " " : ", ") + changes[i];
    if (changes.size() > NAMED_CHANGES)
        line += " and " + std::to_string(changes.size() - NAMED_CHANGES) + " more";
    say(line);
    return !s_interrupted;
}

}  // namespace

int play_watching(platform::Platform& platform, const CommandLine& command_line,
    const std::optional<ScriptedInput>& input, const std::function<std::optional<CStream>()>& build)
{
    std::string error;
    std::unique_ptr<platform::FolderWatcher> watcher = platform::FolderWatcher::open(*command_line.game, error);
    if (!watcher) {
        say(error);
        return USAGE_EXIT_STATUS;
    }
    s_interrupted = 0;
    auto previous_int = std::signal(SIGINT, interrupt);
    auto previous_term = std::signal(SIGTERM, interrupt);
    say("watching " + command_line.game->string() + " for changes (Ctrl+C stops)");
    for (;;) {
        bool changed = false;
        if (std::optional<CStream> game = build()) {
            Runner runner(platform, command_line);
            runner.set_game_data(std::move(*game));
            if (input)
                runner.set_scripted_input(*input);
            runner.keep_window_open();
            runner.set_stop_request([&watcher] { return s_interrupted || watcher->has_changes(); });
            runner.run();
            changed = runner.stopped_on_request() && !s_interrupted;
            if (!changed && !s_interrupted)
                say("the game ended; waiting for a change");
        } else {
            say("waiting for a change");
        }
        if (!wait_for_change(*watcher))
            break;
        say("restarting");
    }
    platform.display->close();
    std::signal(SIGINT, previous_int);
    std::signal(SIGTERM, previous_term);
    return EXIT_NORMAL_END;
}

}  // namespace quillon
