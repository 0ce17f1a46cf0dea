// InputState: the keyboard, mouse and joysticks as the game's events, variables and input functions see them,
// fed from window events.
#include "world/input_state.h"

#include <algorithm>
#include <numeric>

namespace quillon {

namespace {

constexpr std::size_t KEYBOARD_STRING_KEPT = 80;  // the typed text is cut to this before it grows
constexpr std::size_t JOYSTICK_NAME_LENGTH = 32;  // the longest product name a driver gives

constexpr std::uint8_t PHYSICAL_DOWN = 1;            // the physical key is down
constexpr std::uint8_t PHYSICAL_SINCE_QUESTION = 2;  // it went down since the last direct question about it
// The virtual keys of the mouse buttons, by button number.
constexpr int BUTTON_VIRTUAL_KEYS[MOUSE_BUTTONS] = {0, 1, 2, 4};
// Shift, Ctrl and Alt: the first plain code and the first left-side code; each right side follows its left.
constexpr int FIRST_EITHER_SIDE = 16;
constexpr int FIRST_LEFT_SIDE = 160;

bool valid_key(int code) { return code >= 0 && code < KEY_CODES; }
bool valid_button(int button) { return button >= 1 && button < MOUSE_BUTTONS; }

}  // namespace

InputState::InputState() { unset_key_map(); }

void InputState::apply(const platform::Event& event)
{
    using platform::EventKind;
    switch (event.kind) {
    case EventKind::key_down:
        physical_key(event, true);
        key_down(key_map(event.virtual_key));
        break;
    case EventKind::key_up:
        physical_key(event, false);
        key_up(key_map(event.virtual_key));
        break;
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
        bool down = event.kind == EventKind::mouse_down;
        if (event.kind != EventKind::mouse_move && valid_button(event.button))
            physical_code(BUTTON_VIRTUAL_KEYS[event.button], down);
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
    case EventKind::window_exposed:
    case EventKind::mouse_wheel: break;
    case EventKind::joystick_plugged:
    case EventKind::joystick_unplugged:
    case EventKind::joystick_axis:
    case EventKind::joystick_button_down:
    case EventKind::joystick_button_up:
    case EventKind::joystick_pov: apply_joystick(event); break;
    }
}

void InputState::apply_joystick(const platform::Event& event)
{
    using platform::EventKind;
    if (event.joystick < 1 || event.joystick > platform::JOYSTICKS)
        return;
    JoystickState& joystick = m_joysticks[event.joystick - 1];
    if (event.kind == EventKind::joystick_plugged) {
        joystick = JoystickState {
            .plugged = true, .name = event.text.substr(0, JOYSTICK_NAME_LENGTH), .caps = event.joystick_caps};
        joystick.axes.fill(platform::JOYSTICK_AXIS_CENTRE);
        return;
    }
    if (!joystick.plugged)
        return;
    switch (event.kind) {
    case EventKind::joystick_unplugged: joystick = {}; break;
    case EventKind::joystick_axis:
        if (event.axis >= 0 && event.axis < platform::JOYSTICK_AXES)
            joystick.axes[event.axis] = std::clamp(event.position, 0, platform::JOYSTICK_AXIS_MAX);
        break;
    case EventKind::joystick_button_down:
    case EventKind::joystick_button_up:
        if (event.button >= 1 && event.button <= platform::JOYSTICK_BUTTONS) {
            std::uint32_t bit = 1u << (event.button - 1);
            joystick.buttons = event.kind == EventKind::joystick_button_down ? joystick.buttons | bit
                                                                              : joystick.buttons & ~bit;
        }
        break;
    case EventKind::joystick_pov: joystick.pov = event.position; break;
    default: break;
    }
}

// Both codes of a modifier key are kept: its side's, and the plain one while either side is down.
void InputState::physical_key(const platform::Event& event, bool down)
{
    int plain = platform::unsided_virtual_key(event.sided_key);
    if (plain != event.sided_key) {
        physical_code(event.sided_key, down);
        int left = FIRST_LEFT_SIDE + 2 * (plain - FIRST_EITHER_SIDE);
        down = physically_down(left) || physically_down(left + 1);
    }
    physical_code(event.virtual_key, down);
}

void InputState::physical_code(int code, bool down)
{
    if (!valid_key(code) || code == 0)
        return;
    if (down)
        m_physical[code] = PHYSICAL_DOWN | PHYSICAL_SINCE_QUESTION;
    else
        m_physical[code] &= PHYSICAL_SINCE_QUESTION;
}

bool InputState::physically_down(int code) const
{
    return valid_key(code) && (m_physical[code] & PHYSICAL_DOWN) != 0;
}

bool InputState::check_direct(int code)
{
    if (!valid_key(code) || code == 0)
        return false;
    bool result = m_physical[code] != 0;
    m_physical[code] &= PHYSICAL_DOWN;
    return result;
}

void InputState::set_key_map(int physical, int counts_as)
{
    if (valid_key(physical))
        m_key_map[physical] = counts_as;
}

int InputState::key_map(int physical) const { return valid_key(physical) ? m_key_map[physical] : physical; }

void InputState::unset_key_map() { std::iota(m_key_map.begin(), m_key_map.end(), 0); }

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
