// Debug view: what the debug window and its information windows show, as plain data, and the requests the
// user makes through them. The debugger fills the view; a window driver draws it and hands requests back.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::platform {

// Every action of the debug window. ORDER: the table of captions and hints in dialogs/debug_texts.cpp.
enum class DebugAction {
    run,
    pause,
    step,
    stop,
    restart,
    watch_add,
    watch_delete,
    watch_change,
    watch_clear,
    watch_load,
    watch_save,
    execute_code,
    set_speed,
    show_globals,
    show_instances,
    show_locals,
    show_messages,
    hide_window,     // an information window was closed
};
inline constexpr std::size_t DEBUG_ACTION_COUNT = 18;

// One request: the action, the watch row or information window it applies to, and the text typed for it.
struct DebugRequest {
    DebugAction action = DebugAction::run;  // what to do
    int row = -1;                           // watch row counted from 0, or information window index
    std::string text;                       // the answer to the action's question, or a file name
};

// How an action appears: its caption (an ampersand marks the access key), hint, and whether it can act now.
// An action with a question asks it first; `prefill` is the answer offered.
struct DebugActionView {
    std::string_view caption;           // "&Run"
    std::string_view hint;              // "Run or resume the game"
    std::string_view question_caption;  // empty when the action asks nothing
    std::string_view question_prompt;
    bool enabled = true;                // refreshed with the view
    bool on_tool_bar = false;           // shown as a tool bar button too
};

// One information window: caption and text (lines end in carriage return and line feed).
struct DebugInfoView {
    std::string caption;   // "Global Variables", "Local Variables for ..."
    std::string text;      // read-only contents
    bool shown = false;    // hidden windows keep their text but are not drawn
};

struct DebugView {
    std::array<DebugActionView, DEBUG_ACTION_COUNT> actions;  // by DebugAction
    std::vector<std::string> expressions;   // the watch rows
    std::vector<std::string> values;        // their values, one per expression
    std::array<std::string, 3> status;      // the status bar's panels
    std::string remembered_code;            // offered by Execute Code
    std::string speed;                      // offered by Set Speed
    std::vector<DebugInfoView> windows;     // every information window made so far
    bool game_running = false;              // a game is on; when it ends the window may close
};

// The debug window of a driver: a window of its own, drawn from the view on request.
class DebugWindow {
public:
    virtual ~DebugWindow() = default;

    // Opens the window always on top at its place on the screen; false when the window system refuses.
    virtual bool open() = 0;
    virtual void close() = 0;
    // Handles the window's pending events and draws the view; the user's requests are appended.
    virtual void update(const DebugView& view, std::vector<DebugRequest>& requests) = 0;
};

}  // namespace quillon::platform
