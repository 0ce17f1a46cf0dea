// Debugger: the debug window's state and actions, apart from any toolkit.
#include "dialogs/debugger.h"

#include "code/executer.h"
#include "dialogs/debug_captions.h"
#include "dialogs/debug_text.h"

#include <charconv>

namespace quillon {

using platform::DebugAction;

namespace {

// An integer answer, blanks around it allowed; none for anything else.
std::optional<std::int32_t> integer_answer(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc {} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace

Debugger::Debugger(GameLoop& loop, World& world, ShowMessage show_message)
    : m_loop(loop)
    , m_world(world)
    , m_show_message(std::move(show_message))
{
    for (std::size_t i = 0; i < platform::DEBUG_ACTION_COUNT; ++i)
        m_view.actions[i] = debug_action_text(static_cast<DebugAction>(i));
    refresh_timer();
}

bool Debugger::can_perform(DebugAction action) const
{
    bool running = m_loop.running();
    bool paused = running && m_loop.paused();
    switch (action) {
    case DebugAction::run:
    case DebugAction::step: return paused;
    case DebugAction::pause: return running && !paused;
    case DebugAction::restart:
    case DebugAction::stop: return running;
    default: return true;
    }
}

void Debugger::perform(const platform::DebugRequest& request)
{
    if (!can_perform(request.action))
        return;
    switch (request.action) {
    case DebugAction::run:
    case DebugAction::pause:
    case DebugAction::step:
    case DebugAction::stop:
    case DebugAction::restart: control(request.action); break;
    case DebugAction::execute_code: execute_code(request.text); break;
    case DebugAction::set_speed: set_speed(request.text); break;
    case DebugAction::show_globals: show_window(WindowKind::globals); break;
    case DebugAction::show_instances: show_window(WindowKind::instances); break;
    case DebugAction::show_messages: show_window(WindowKind::messages); break;
    case DebugAction::show_locals: show_local_variables(request.text); break;
    case DebugAction::hide_window:
        if (request.row >= 0 && request.row < static_cast<int>(m_windows.size()))
            m_view.windows[request.row].shown = false;
        break;
    default: watch_request(request); break;
    }
    refresh_timer();
}

void Debugger::control(DebugAction action)
{
    switch (action) {
    case DebugAction::run: m_loop.resume(); break;
    case DebugAction::pause: m_loop.pause(); break;
    // The step refreshes the window itself, as every step does while it is shown.
    case DebugAction::step: m_loop.single_step(); break;
    case DebugAction::restart:
        m_loop.request_restart();
        m_loop.resume();
        break;
    default:
        // A paused game ends at once; a running one at the end of its step, as game_end() ends it.
        if (m_loop.paused())
            m_loop.stop();
        else
            m_loop.request_end_game();
        break;
    }
}

void Debugger::watch_request(const platform::DebugRequest& request)
{
    bool refresh_all = false;
    switch (request.action) {
    case DebugAction::watch_add: refresh_all = m_watches.add(request.text); break;
    case DebugAction::watch_change: refresh_all = m_watches.change(request.row, request.text); break;
    case DebugAction::watch_delete: m_watches.remove(request.row); break;
    case DebugAction::watch_clear: m_watches.clear(); break;
    case DebugAction::watch_load: {
        std::string problem = m_watches.load(request.text);
        if (!problem.empty())
            m_show_message(problem);
        refresh_all = true;
        break;
    }
    case DebugAction::watch_save:
        if (!m_watches.save(request.text))
            m_show_message("Cannot write the watch file " + request.text);
        break;
    default: break;
    }
    if (refresh_all)
        refresh();
    else
        refresh_watch_rows();
}

void Debugger::execute_code(const std::string& code_text)
{
    if (code_text.empty())
        return;
    m_view.remembered_code = code_text;
    CCode code(code_text, false);
    if (!code.compile()) {
        errors().clear_code_error();
        m_show_message(DEBUG_COMPILE_ERROR);
        return;
    }
    CInstance temporary(&m_world.sprites());
    temporary.create(0, -1, nullptr, 0, 0);
    Value result;
    execute_reporting(&temporary, &temporary, code, result);
    // What the code changed shows at once, also in a paused game.
    refresh();
}

void Debugger::set_speed(const std::string& answer)
{
    LiveRoom* room = m_world.current_room();
    if (auto speed = integer_answer(answer); speed && room)
        room->speed = *speed;
}

int Debugger::find_window(WindowKind kind) const
{
    for (std::size_t i = 0; i < m_windows.size(); ++i)
        if (m_windows[i].kind == kind)
            return static_cast<int>(i);
    return -1;
}

int Debugger::make_window(WindowKind kind, std::string_view caption)
{
    m_windows.push_back({kind, {}});
    m_view.windows.push_back({std::string(caption), {}, false});
    return static_cast<int>(m_windows.size()) - 1;
}

void Debugger::show_window(WindowKind kind)
{
    int index = find_window(kind);
    if (index < 0) {
        std::string_view caption = kind == WindowKind::globals ? GLOBALS_CAPTION
            : kind == WindowKind::instances                    ? INSTANCES_CAPTION
                                                               : MESSAGES_CAPTION;
        index = make_window(kind, caption);
    }
    m_view.windows[index].shown = true;
    refresh();
}

void Debugger::show_local_variables(const std::string& answer)
{
    if (answer.empty())
        return;
    // The first hidden local-variables window is used again; a new one is made while there are fewer than 100.
    int index = -1;
    std::size_t locals = 0;
    for (std::size_t i = 0; i < m_windows.size() && index < 0; ++i) {
        if (m_windows[i].kind != WindowKind::locals)
            continue;
        ++locals;
        if (!m_view.windows[i].shown)
            index = static_cast<int>(i);
    }
    if (index < 0) {
        if (locals >= MAX_LOCAL_WINDOWS)
            return;
        index = make_window(WindowKind::locals, {});
    }
    m_windows[index].choice = instance_choice(answer);
    m_view.windows[index].caption = std::string(LOCALS_CAPTION_PREFIX) + answer;
    m_view.windows[index].shown = true;
    refresh();
}

void Debugger::debug_message(std::string_view text)
{
    int index = find_window(WindowKind::messages);
    if (index < 0)
        index = make_window(WindowKind::messages, MESSAGES_CAPTION);
    std::string& messages = m_view.windows[index].text;
    messages += text;
    messages += DEBUG_LINE_END;
    messages += DEBUG_LINE_END;
    if (messages.size() > MAX_MESSAGES_BYTES) {
        std::size_t cut = messages.find('\n', messages.size() - MAX_MESSAGES_BYTES);
        messages.erase(0, cut == std::string::npos ? messages.size() : cut + 1);
    }
}

void Debugger::refresh()
{
    refresh_status();
    refresh_timer();
    m_watches.refresh(&m_world.sprites());
    refresh_watch_rows();
    // Global variables, then local variables, then all instances.
    for (WindowKind kind : {WindowKind::globals, WindowKind::locals, WindowKind::instances}) {
        for (std::size_t i = 0; i < m_windows.size(); ++i)
            if (m_windows[i].kind == kind && m_view.windows[i].shown)
                refresh_window(static_cast<int>(i));
    }
    if (m_refreshed)
        m_refreshed();
}

void Debugger::refresh_window(int index)
{
    std::string& text = m_view.windows[index].text;
    switch (m_windows[index].kind) {
    case WindowKind::globals: {
        CInstance reader(&m_world.sprites());
        reader.create(0, -1, nullptr, 0, 0);
        write_global_variables(text, reader);
        break;
    }
    case WindowKind::locals: write_local_variables(text, m_world, m_windows[index].choice); break;
    case WindowKind::instances: write_all_instances(text, m_world); break;
    case WindowKind::messages: break;
    }
}

void Debugger::refresh_watch_rows()
{
    int count = m_watches.count();
    m_view.expressions.resize(count);
    m_view.values.resize(count);
    for (int row = 0; row < count; ++row) {
        m_view.expressions[row] = m_watches.expression(row);
        m_view.values[row] = m_watches.value(row);
    }
}

void Debugger::refresh_status()
{
    LiveRoom* room = m_world.current_room();
    m_view.status[0] = std::to_string(m_loop.fps()) + " fps";
    m_view.status[1] = std::to_string(room ? room->instance_count() : 0) + " inst";
}

void Debugger::refresh_timer()
{
    // The last live instance in the room's order that covers the mouse, in room coordinates.
    m_view.status[2] = "mouse id: ";
    LiveRoom* room = m_world.current_room();
    m_view.speed = room ? std::to_string(room->speed) : std::string();
    if (room) {
        const InputState& input = m_loop.input();
        for (int i = room->instance_count() - 1; i >= 0; --i) {
            const CInstance& instance = *room->instance(i);
            if (!instance.m_destroyed && m_loop.collisions().point_inside(instance, input.mouse_x, input.mouse_y)) {
                m_view.status[2] += std::to_string(instance.m_id);
                break;
            }
        }
    }
    for (std::size_t i = 0; i < platform::DEBUG_ACTION_COUNT; ++i)
        m_view.actions[i].enabled = can_perform(static_cast<DebugAction>(i));
    m_view.game_running = m_loop.running();
}

}  // namespace quillon
