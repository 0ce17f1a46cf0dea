// InputState: the keyboard and mouse as the game's events and variables see them, fed from window events.
#include "world/input_state.h"

namespace quillon {

namespace {

constexpr std::size_t KEYBOARD_STRING_KEPT = 80;  // the typed text is cut to this before it grows

bool valid_key(int code) { return code >= 0 && code < KEY_CODES; }
bool valid_button(int button) { return button >= 1 && button < MOUSE_BUTTONS; }

}  // namespace

void InputState::apply(const platform::Event& event)
{
    using platform::EventKind;
    switch (event.kind) {
    case EventKind::key_down: key_down(event.virtual_key); break;
    case EventKind::key_up: key_up(event.virtual_key); break;
    case EventKind::text:
        for (char character : event.text)
            typed(static_cast<std::uint8_t>(character));
        break;
    case EventKind::mouse_move:
    case EventKind::mouse_down:
    case EventKind::mouse_up: {
        m_pointer_known = true;
        m_pointer_x = event.x;
        m_pointer_y = event.y;
        read_mouse();
        if (event.kind == EventKind::mouse_down)
            mouse_down(event.button);
        else if (event.kind == EventKind::mouse_up)
            mouse_up(event.button);
        break;
    }
    case EventKind::window_close: close_request(); break;
    case EventKind::focus_gained: active = true; break;
    case EventKind::focus_lost: active = false; break;
    case EventKind::quit: quit = true; break;
    case EventKind::window_exposed: break;
    }
}

void InputState::key_down(int code)
{
    if (!valid_key(code) || code == 0)
        return;
    keyboard_key = code;
    keyboard_lastkey = code;
    ButtonState& key = keys[code];
    // Auto-repeat brings the went-down bit back but presses nothing again.
    if (key.state == 0)
        key.pressed = true;
    key.state = WENT_DOWN | HELD_DOWN;
}

void InputState::key_up(int code)
{
    if (!valid_key(code) || code == 0)
        return;
    if (keyboard_key == code)
        keyboard_key = 0;
    ButtonState& key = keys[code];
    key.state &= WENT_DOWN;
    key.released = true;
}

void InputState::typed(std::uint8_t character)
{
    keyboard_lastchar.assign(1, static_cast<char>(character));
    if (keyboard_string.size() > KEYBOARD_STRING_KEPT)
        keyboard_string.erase(0, keyboard_string.size() - KEYBOARD_STRING_KEPT);
    if (character == KEY_BACKSPACE) {
        if (!keyboard_string.empty())
            keyboard_string.pop_back();
    } else if (character > 31) {
        keyboard_string.push_back(static_cast<char>(character));
    }
}

void InputState::mouse_down(int button)
{
    if (!valid_button(button))
        return;
    mouse_button = button;
    buttons[button].state = WENT_DOWN | HELD_DOWN;
    buttons[button].pressed = true;
}

void InputState::mouse_up(int button)
{
    if (!valid_button(button))
        return;
    mouse_button = 0;
    buttons[button].state &= WENT_DOWN;
    buttons[button].released = true;
}

void InputState::mouse_moved(double x, double y)
{
    m_pointer_known = false;
    mouse_x = x;
    mouse_y = y;
}

void InputState::read_mouse()
{
    if (!m_pointer_known)
        return;
    mouse_x = m_pointer_x;
    mouse_y = m_pointer_y;
    if (window_to_room)
        window_to_room(m_pointer_x, m_pointer_y, mouse_x, mouse_y);
}

// The window is never closed directly: the request becomes Escape, which ends the game when the game allows.
void InputState::close_request()
{
    keys[KEY_ESCAPE].state = WENT_DOWN;
    keyboard_lastkey = KEY_ESCAPE;
}

void InputState::clear()
{
    clear_keys();
    buttons.fill({});
    keyboard_key = 0;
    keyboard_lastkey = 0;
    keyboard_lastchar.clear();
    keyboard_string.clear();
    mouse_button = 0;
}

void InputState::clear_keys() { keys.fill({}); }

void InputState::clear_went_down()
{
    for (ButtonState& key : keys)
        key.state &= HELD_DOWN;
    for (ButtonState& button : buttons)
        button.state &= HELD_DOWN;
}

}  // namespace quillon
