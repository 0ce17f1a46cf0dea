// Playing a project folder again whenever one of its files changes (--watch).
#pragma once

#include "platform/drivers.h"
#include "runner/command_line.h"
#include "runner/scripted_input.h"
#include "support/stream.h"

#include <chrono>
#include <functional>
#include <optional>

namespace quillon {

// A change is acted on once the folder has been quiet this long, so that saving several files is one restart.
constexpr std::chrono::milliseconds WATCH_SETTLE_TIME {200};

// Plays the game that build makes of the command line's project folder, and plays it again, in the same window,
// whenever a file of the folder changes. A build that fails (build reports why) or a game that ends waits for
// the next change. Ends on SIGINT or SIGTERM with status 0; 64 when the folder cannot be watched.
int play_watching(platform::Platform& platform, const CommandLine& command_line,
    const std::optional<ScriptedInput>& input, const std::function<std::optional<CStream>()>& build);

}  // namespace quillon
