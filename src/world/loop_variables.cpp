// LoopVariables: the built-in variables of the keyboard, the mouse, the loop's frame rate, the cursor and the
// screen, served by a host layer that the world passes them on to.
#include "world/loop_variables.h"

#include "code/builtin_variables.h"
#include "graphics/screen.h"

#include <array>

namespace quillon {

namespace {

// ORDER: NAMES.
enum LoopVariable : std::int8_t {
    L_MOUSE_X, L_MOUSE_Y, L_MOUSE_BUTTON, L_KEYBOARD_KEY, L_KEYBOARD_LASTKEY, L_KEYBOARD_LASTCHAR,
    L_KEYBOARD_STRING, L_KEYBOARD_CONTINUOUS, L_MOUSE_CONTINUOUS, L_FPS, L_SHOW_CURSOR,
    // The screen's, served once a screen is attached.
    L_FULL_SCREEN, L_SCALE_SCREEN, L_SCALE_WINDOW, L_SCALE_FULL, L_MONITOR_WIDTH, L_MONITOR_HEIGHT,
    L_SCREEN_WIDTH, L_SCREEN_HEIGHT, L_COUNT,
};

// ORDER: LoopVariable.
constexpr std::array<const char*, L_COUNT> NAMES = {
    "mouse_x", "mouse_y", "mouse_button", "keyboard_key", "keyboard_lastkey", "keyboard_lastchar",
    "keyboard_string", "keyboard_continuous", "mouse_continuous", "fps", "show_cursor",
    "full_screen", "scale_screen", "scale_window", "scale_full", "monitor_width", "monitor_height",
    "screen_width", "screen_height",
};

constexpr double PERCENT = 100;

}  // namespace

LoopVariables::~LoopVariables()
{
    if (&host() == this)
        set_host(m_previous);
}

void LoopVariables::install()
{
    if (&host() != this)
        m_previous = &host();
    set_host(this);
}

int LoopVariables::kind_of(int id)
{
    if (!m_loop)
        return -1;
    if (m_kinds.empty()) {
        m_kinds.assign(builtin_variables().size(), -1);
        for (int variable = 0; variable < L_COUNT; ++variable)
            if (std::int32_t found = builtin_variables().find(NAMES[variable]); found >= 0)
                m_kinds[found] = static_cast<std::int8_t>(variable);
    }
    int kind = id >= 0 && id < static_cast<int>(m_kinds.size()) ? m_kinds[id] : -1;
    return kind >= L_FULL_SCREEN && !m_screen ? -1 : kind;
}

bool LoopVariables::get_variable(ScriptInstance* self, int id, int index, Value& result)
{
    int kind = kind_of(id);
    if (kind < 0)
        return m_previous->get_variable(self, id, index, result);
    InputState& input = m_loop->input();
    if (kind == L_MOUSE_X || kind == L_MOUSE_Y)
        input.read_mouse();
    switch (kind) {
    case L_MOUSE_X: result.set_real(input.mouse_x); return true;
    case L_MOUSE_Y: result.set_real(input.mouse_y); return true;
    case L_MOUSE_BUTTON: result.set_real(input.mouse_button); return true;
    case L_KEYBOARD_KEY: result.set_real(input.keyboard_key); return true;
    case L_KEYBOARD_LASTKEY: result.set_real(input.keyboard_lastkey); return true;
    case L_KEYBOARD_LASTCHAR: result.set_string(input.keyboard_lastchar); return true;
    case L_KEYBOARD_STRING: result.set_string(input.keyboard_string); return true;
    case L_KEYBOARD_CONTINUOUS: result.set_real(m_loop->keyboard_continuous); return true;
    case L_MOUSE_CONTINUOUS: result.set_real(m_loop->mouse_continuous); return true;
    case L_FPS: result.set_real(m_loop->fps()); return true;
    case L_SHOW_CURSOR: result.set_real(m_loop->show_cursor()); return true;
    case L_FULL_SCREEN: result.set_real(m_screen->full_screen()); return true;
    case L_SCALE_SCREEN: result.set_real(m_screen->full_scale() <= 0); return true;
    case L_SCALE_WINDOW: result.set_real(m_screen->window_scale() * PERCENT); return true;
    case L_SCALE_FULL: result.set_real(m_screen->full_scale() * PERCENT); return true;
    case L_MONITOR_WIDTH: result.set_real(m_screen->monitor_size().width); return true;
    case L_MONITOR_HEIGHT: result.set_real(m_screen->monitor_size().height); return true;
    case L_SCREEN_WIDTH: result.set_real(m_screen->width()); return true;
    default: result.set_real(m_screen->height()); return true;
    }
}

// Strings stay strings and numbers numbers: a key code given as text counts as 0, a text given as a number as
// the empty text.
bool LoopVariables::set_variable(ScriptInstance* self, int id, int index, const Value& value)
{
    int kind = kind_of(id);
    if (kind < 0)
        return m_previous->set_variable(self, id, index, value);
    InputState& input = m_loop->input();
    auto text = [&value] { return value.is_string() ? value.string.str() : std::string(); };
    switch (kind) {
    case L_MOUSE_BUTTON: input.mouse_button = as_integer(value); return true;
    case L_KEYBOARD_KEY: input.keyboard_key = as_integer(value); return true;
    case L_KEYBOARD_LASTKEY: input.keyboard_lastkey = as_integer(value); return true;
    case L_KEYBOARD_LASTCHAR: input.keyboard_lastchar = text(); return true;
    case L_KEYBOARD_STRING: input.keyboard_string = text(); return true;
    case L_KEYBOARD_CONTINUOUS: m_loop->keyboard_continuous = as_flag(value); return true;
    case L_MOUSE_CONTINUOUS: m_loop->mouse_continuous = as_flag(value); return true;
    case L_SHOW_CURSOR: m_loop->set_show_cursor(as_flag(value)); return true;
    case L_FULL_SCREEN: m_screen->set_full_screen(as_flag(value)); return true;
    case L_SCALE_SCREEN: m_screen->set_full_scale(as_flag(value) ? 0 : 1); return true;
    case L_SCALE_WINDOW: m_screen->set_window_scale(value.real / PERCENT); return true;
    case L_SCALE_FULL: m_screen->set_full_scale(value.real / PERCENT); return true;
    case L_SCREEN_WIDTH: m_screen->set_size(as_integer(value), m_screen->height()); return true;
    case L_SCREEN_HEIGHT: m_screen->set_size(m_screen->width(), as_integer(value)); return true;
    default: return true;  // mouse_x, mouse_y, fps and the monitor's size are read only
    }
}

}  // namespace quillon
