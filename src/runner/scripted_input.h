// Scripted input: keyboard, mouse and joystick events read from a file and handed out step by step, for
// headless runs.
#pragma once

#include "platform/input.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// The events of one step, in file order.
struct ScriptedEvent {
    std::int64_t step;       // delivered just before this step runs; the first step is 1
    platform::Event event;   // what happens
};

class ScriptedInput {
public:
    // Reads a script; on a bad line the error names the file, the line number and the problem.
    static std::optional<ScriptedInput> parse(std::string_view text, const std::string& source, std::string& error);
    static std::optional<ScriptedInput> load(const std::filesystem::path& file, std::string& error);

    // Appends the events of this step to `events`, in file order.
    void events_for(std::int64_t step, std::vector<platform::Event>& events);
    // Appends the events of the next step that has any, whatever its number; false when none are left.
    bool next_events(std::vector<platform::Event>& events);

private:
    std::vector<ScriptedEvent> m_events;  // sorted by step, file order within a step
    std::size_t m_next = 0;               // the first event not handed out yet
};

// The virtual-key code of a key name in scripts ("A", "7", "F5", "Left", "Space", "Shift", ...), or of a number
// given directly; nothing for an unknown name.
std::optional<int> virtual_key_by_name(std::string_view name);

}  // namespace quillon
