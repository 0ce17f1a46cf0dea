// Debug commands: a script of debugger actions by step number, so that headless runs can use the debugger.
#pragma once

#include "platform/debug_view.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

struct DebugCommand {
    std::int64_t step = 0;            // carried out at the end of this step; the first step is 1
    platform::DebugRequest request;   // what the window would have asked for
};

// One command a line, "STEP ACTION [ARGUMENTS]"; blank lines and lines starting with '#' are skipped. The
// format is in docs/runner.md.
class DebugCommands {
public:
    // On a bad line the error names the source, the line number and the problem.
    static std::optional<DebugCommands> parse(std::string_view text, const std::string& source, std::string& error);
    static std::optional<DebugCommands> load(const std::filesystem::path& file, std::string& error);

    // The next command, in step order and file order within a step, when its step has come; none else.
    const DebugCommand* next_due(std::int64_t step);
    // The next command whatever its step, for a paused game, whose step count stands still.
    const DebugCommand* next();
    bool used_up() const { return m_next >= m_commands.size(); }

private:
    std::vector<DebugCommand> m_commands;  // sorted by step, file order within a step
    std::size_t m_next = 0;                // the first command not handed out yet
};

}  // namespace quillon
