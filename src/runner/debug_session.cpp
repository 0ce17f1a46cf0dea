// DebugSession: a game played in debug mode, driven by the debug window or a script of commands.
#include "runner/debug_session.h"

#include "dialogs/debug_captions.h"

namespace quillon {

using platform::DebugAction;

DebugSession::DebugSession(GameLoop& loop, World& world, platform::Clock& clock, platform::Input& input,
    DebugSessionParts parts)
    : m_loop(loop)
    , m_clock(clock)
    , m_input(input)
    , m_parts(std::move(parts))
    , m_debugger(loop, world, m_parts.show_message)
{
    if (m_parts.window && !m_parts.window->open())
        m_parts.window.reset();
    if (m_parts.transcript)
        m_debugger.set_refreshed_hook([this] { write_transcript(); });
    m_debugger.set_shown(true);
}

DebugSession::~DebugSession()
{
    if (m_parts.window)
        m_parts.window->close();
}

void DebugSession::play()
{
    m_last_timer = m_clock.ticks_ms();
    tick_timer(true);
    m_loop.run_game();
    while (m_loop.running()) {
        wait_while_paused();
        if (m_loop.running() && !m_loop.paused())
            m_loop.run_game();
    }
}

void DebugSession::after_step()
{
    // The loop counts a step as it begins; the texts belong to the step now ending.
    m_step = m_loop.steps_run();
    m_debugger.refresh();
    // A single step of a paused game takes no requests: they wait for the paused loop.
    if (m_loop.paused())
        return;
    if (m_termination.requested()) {
        perform({DebugAction::stop, -1, {}});
        return;
    }
    if (m_parts.commands) {
        while (const DebugCommand* command = m_parts.commands->next_due(m_step)) {
            perform(command->request);
            if (m_loop.paused())
                break;
        }
    }
    tick_timer(false);
}

void DebugSession::wait_while_paused()
{
    while (m_loop.running() && m_loop.paused()) {
        m_step = m_loop.steps_run();
        poll_game_input();
        if (m_termination.requested() || m_loop.input().quit) {
            perform({DebugAction::stop, -1, {}});
            break;
        }
        // The step count stands still, so the script's next lines come at once, whatever their step.
        if (m_parts.commands && !m_parts.commands->used_up()) {
            perform(m_parts.commands->next()->request);
            continue;
        }
        // Without a window nothing could ever resume the game.
        if (!m_parts.window) {
            perform({DebugAction::stop, -1, {}});
            break;
        }
        tick_timer(false);
        m_clock.sleep_ms(PAUSED_POLL_MS);
    }
}

void DebugSession::perform(const platform::DebugRequest& request) { m_debugger.perform(request); }

// Keys, buttons and the mouse keep their state while the game is paused.
void DebugSession::poll_game_input()
{
    m_events.clear();
    m_input.poll(m_events);
    for (const platform::Event& event : m_events)
        m_loop.input().apply(event);
}

// Every TIMER_MS: the mouse panel and the actions' enabling, then the window with what the user asked for.
void DebugSession::tick_timer(bool force)
{
    if (!m_parts.window)
        return;
    std::uint64_t now = m_clock.ticks_ms();
    if (!force && now - m_last_timer < TIMER_MS)
        return;
    m_last_timer = now;
    m_debugger.refresh_timer();
    m_requests.clear();
    m_parts.window->update(m_debugger.view(), m_requests);
    for (const platform::DebugRequest& request : m_requests)
        perform(request);
}

void DebugSession::write_transcript()
{
    const platform::DebugView& view = m_debugger.view();
    std::ostream& out = *m_parts.transcript;
    out << "== " << DEBUG_WINDOW_CAPTION << ", step " << m_step << (m_loop.paused() ? ", paused" : "") << "\n";
    out << view.status[0] << " | " << view.status[1] << " | " << view.status[2] << "\n";
    out << WATCH_HEADER_EXPRESSION << '\t' << WATCH_HEADER_VALUE << "\n";
    for (std::size_t row = 0; row < view.expressions.size(); ++row)
        out << view.expressions[row] << '\t' << view.values[row] << "\n";
    out << "\t\n";
    for (const platform::DebugInfoView& window : view.windows) {
        if (!window.shown)
            continue;
        out << "== " << window.caption << "\n" << window.text;
        if (!window.text.empty() && window.text.back() != '\n')
            out << "\n";
    }
    out.flush();
}

}  // namespace quillon
