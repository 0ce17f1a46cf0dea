// DebugSession: a game played in debug mode. The debugger is driven by its window or by a script of commands,
// its refreshes are written out as text when asked, and a paused game waits here until it runs or stops.
#pragma once

#include "dialogs/debug_commands.h"
#include "dialogs/debugger.h"
#include "platform/clock.h"
#include "platform/debug_view.h"
#include "platform/input.h"
#include "platform/termination_request.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

namespace quillon {

// What the session uses besides the game: each part may be missing.
struct DebugSessionParts {
    std::unique_ptr<platform::DebugWindow> window;  // the window on screen, none when headless
    std::optional<DebugCommands> commands;          // --debug-commands
    std::ostream* transcript = nullptr;             // where every refresh is written as text, or nowhere
    Debugger::ShowMessage show_message;             // short messages for the user
};

class DebugSession {
public:
    // Milliseconds between the timer's refreshes of the window, and between polls of a paused game.
    static constexpr std::uint64_t TIMER_MS = 50;
    static constexpr std::uint32_t PAUSED_POLL_MS = 10;

    DebugSession(GameLoop& loop, World& world, platform::Clock& clock, platform::Input& input,
        DebugSessionParts parts);
    ~DebugSession();

    // Plays the game until it ends: it steps while it runs and waits here while it is paused.
    void play();
    // The loop's hook after every step: the refresh, then the window's and the script's requests.
    void after_step();
    // `show_debug_message`.
    void debug_message(std::string_view text) { m_debugger.debug_message(text); }

    const Debugger& debugger() const { return m_debugger; }

private:
    void wait_while_paused();
    void perform(const platform::DebugRequest& request);
    void poll_game_input();
    void tick_timer(bool force);
    void write_transcript();

    GameLoop& m_loop;                     // the game played
    platform::Clock& m_clock;             // the timer and the paused wait
    platform::Input& m_input;             // the game window's events while paused
    DebugSessionParts m_parts;            // window, script, transcript
    Debugger m_debugger;                  // the model
    platform::TerminationWatch m_termination;  // SIGTERM ends the game in order
    std::vector<platform::DebugRequest> m_requests;  // the window's requests of one update
    std::vector<platform::Event> m_events;           // the game window's events of one poll
    std::uint64_t m_last_timer = 0;       // when the timer last fired
    std::int64_t m_step = 0;              // the step the texts belong to
};

}  // namespace quillon
