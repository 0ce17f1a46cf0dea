// The keyboard, mouse and joystick functions: the input state read and cleared directly, keys typed by the
// game itself, the key map, num lock, waiting for a key, and the two joysticks.
#include "functions/world_call.h"
#include "functions/world_families.h"
#include "world/game_loop.h"

#include <string_view>

namespace quillon {

namespace {

constexpr int KEY_NONE = 0;        // `vk_nokey`
constexpr int KEY_ANY = -1;        // `vk_anykey`
constexpr int BUTTON_NONE = 0;     // `mb_none`
constexpr int BUTTON_ANY = -1;     // `mb_any`
constexpr int KEY_NUM_LOCK = 144;
constexpr int KEY_SHIFT = 16;
constexpr int DIRECTION_BASE = 96;  // the keypad's 0; its 5 (101) is the centre

bool valid_key(int key) { return key >= 0 && key < KEY_CODES; }
bool valid_button(int button) { return button >= platform::MOUSE_LEFT && button <= platform::MOUSE_MIDDLE; }

// The loop whose input the call reads, its waiting messages handled first; none outside a game.
GameLoop* handled_loop(const FunctionCall& call)
{
    GameLoop* loop = loop_for(call);
    if (loop)
        loop->handle_window_messages();
    return loop;
}

// Whether a held value of the keys (or buttons) from first to last is set, for the code asked about: any for
// the "any" code, none for the "none" code, that one otherwise.
template <std::size_t N>
bool check(const std::array<ButtonState, N>& states, int code, int none, int any, int first, int last)
{
    auto held = [&states](int i) { return states[i].state != 0; };
    if (code == none || code == any) {
        bool some = false;
        for (int i = first; i <= last; ++i)
            some = some || held(i);
        return code == any ? some : !some;
    }
    return code >= first && code <= last && held(code);
}

void keyboard_check(FunctionCall& call)
{
    if (GameLoop* loop = handled_loop(call))
        set_bool_result(call,
            check(loop->input().keys, integer_argument(call, 0), KEY_NONE, KEY_ANY, 0, KEY_CODES - 1));
}

void keyboard_check_direct(FunctionCall& call)
{
    if (GameLoop* loop = handled_loop(call))
        set_bool_result(call, loop->input().check_direct(integer_argument(call, 0)));
}

void keyboard_get_numlock(FunctionCall& call)
{
    if (GameLoop* loop = loop_for(call))
        set_bool_result(call, loop->platform_input().num_lock());
}

// The character a key types as the window system would translate it (a US layout), or 0 for none.
char typed_character(int key, bool shift)
{
    constexpr std::string_view SHIFTED_DIGITS = ")!@#$%^&*(";
    constexpr std::string_view KEYPAD_SIGNS("*+\0-./", 6);   // keys 106 to 111; 108 types nothing
    if (key >= 'A' && key <= 'Z')
        return static_cast<char>(shift ? key : key - 'A' + 'a');
    if (key >= '0' && key <= '9')
        return shift ? SHIFTED_DIGITS[key - '0'] : static_cast<char>(key);
    if (key >= 96 && key <= 105)
        return static_cast<char>('0' + key - 96);
    if (key >= 106 && key <= 111)
        return KEYPAD_SIGNS[key - 106];
    if (key == ' ' || key == KEY_BACKSPACE || key == 9 || key == 13 || key == KEY_ESCAPE)
        return static_cast<char>(key);
    return 0;
}

// A key goes down or up as if the player had typed it: through the window system's queue to the key handlers,
// with the character it types.
void synthesize_key(GameLoop& loop, int key, bool down)
{
    if (key <= 0 || key >= KEY_CODES)
        return;
    platform::Event event {.kind = down ? platform::EventKind::key_down : platform::EventKind::key_up};
    event.virtual_key = platform::unsided_virtual_key(key);
    event.sided_key = key;
    loop.platform_input().synthesize(event);
    char typed = down ? typed_character(key, loop.input().physically_down(KEY_SHIFT)) : 0;
    if (typed)
        loop.platform_input().synthesize(platform::Event {.kind = platform::EventKind::text, .text = {typed}});
}

void keyboard_set_numlock(FunctionCall& call)
{
    GameLoop* loop = loop_for(call);
    if (!loop || loop->platform_input().num_lock() == is_true(real_argument(call, 0)))
        return;
    synthesize_key(*loop, KEY_NUM_LOCK, true);
    synthesize_key(*loop, KEY_NUM_LOCK, false);
}

void keyboard_key_press(FunctionCall& call)
{
    if (GameLoop* loop = loop_for(call))
        synthesize_key(*loop, integer_argument(call, 0), true);
}

void keyboard_key_release(FunctionCall& call)
{
    if (GameLoop* loop = loop_for(call))
        synthesize_key(*loop, integer_argument(call, 0), false);
}

void keyboard_set_map(FunctionCall& call)
{
    if (GameLoop* loop = loop_for(call))
        loop->input().set_key_map(integer_argument(call, 0), integer_argument(call, 1));
}

void keyboard_get_map(FunctionCall& call)
{
    if (GameLoop* loop = loop_for(call))
        call.result.set_real(loop->input().key_map(integer_argument(call, 0)));
}

void keyboard_unset_map(FunctionCall& call)
{
    if (GameLoop* loop = loop_for(call))
        loop->input().unset_key_map();
}

void keyboard_clear(FunctionCall& call)
{
    GameLoop* loop = handled_loop(call);
    int key = integer_argument(call, 0);
    if (loop && valid_key(key))
        loop->input().keys[key] = {};
}

void keyboard_wait(FunctionCall& call)
{
    if (GameLoop* loop = loop_for(call))
        loop->wait_for_key();
}

void mouse_check_button(FunctionCall& call)
{
    if (GameLoop* loop = handled_loop(call))
        set_bool_result(call, check(loop->input().buttons, integer_argument(call, 0), BUTTON_NONE, BUTTON_ANY,
                                  platform::MOUSE_LEFT, platform::MOUSE_MIDDLE));
}

void mouse_clear(FunctionCall& call)
{
    GameLoop* loop = handled_loop(call);
    int button = integer_argument(call, 0);
    if (loop && valid_button(button))
        loop->input().buttons[button] = {};
}

void io_clear(FunctionCall& call)
{
    if (GameLoop* loop = handled_loop(call))
        loop->input().clear();
}

void io_handle(FunctionCall& call) { handled_loop(call); }

// The joystick of the call's first argument: 2 is the second, any other value the first. None outside a game.
const JoystickState* joystick_of(const FunctionCall& call)
{
    GameLoop* loop = loop_for(call);
    return loop ? &loop->input().joystick(integer_argument(call, 0) == 2 ? 2 : 1) : nullptr;
}

// Each function gives its value for a joystick that can be read, and real 0 for one that is unplugged, unless
// it says otherwise.
void joystick_exists(FunctionCall& call)
{
    if (const JoystickState* joystick = joystick_of(call))
        set_bool_result(call, joystick->plugged);
}

// The direction as a key of the numeric keypad: its 7, 8, 9 up, 4, 5, 6 across the middle, 1, 2, 3 down; the
// centre (101) for an unplugged joystick.
void joystick_direction(FunctionCall& call)
{
    const JoystickState* joystick = joystick_of(call);
    if (!joystick)
        return;
    int row = 3;
    int column = 2;
    if (joystick->plugged) {
        row = joystick->up() ? 6 : joystick->down() ? 0 : 3;
        column = joystick->left() ? 1 : joystick->right() ? 3 : 2;
    }
    call.result.set_real(DIRECTION_BASE + row + column);
}

void joystick_name(FunctionCall& call)
{
    if (const JoystickState* joystick = joystick_of(call))
        call.result.set_string(joystick->name);
}

void joystick_axes(FunctionCall& call)
{
    if (const JoystickState* joystick = joystick_of(call))
        call.result.set_real(joystick->caps.axes);
}

void joystick_buttons(FunctionCall& call)
{
    if (const JoystickState* joystick = joystick_of(call))
        call.result.set_real(joystick->caps.buttons);
}

void joystick_has_pov(FunctionCall& call)
{
    if (const JoystickState* joystick = joystick_of(call))
        set_bool_result(call, joystick->caps.has_pov);
}

void joystick_check_button(FunctionCall& call)
{
    int button = integer_argument(call, 1);
    if (const JoystickState* joystick = joystick_of(call))
        set_bool_result(call, button >= 1 && button <= platform::JOYSTICK_BUTTONS
                                  && (joystick->buttons & (1u << (button - 1))) != 0);
}

// An axis on the game's scale: -1 at the driver's 0, 0 at its centre, 1 near its 65535.
template <int AXIS>
void joystick_position(FunctionCall& call)
{
    if (const JoystickState* joystick = joystick_of(call); joystick && joystick->plugged)
        call.result.set_real(joystick->axes[AXIS] / 32767.0 - 1);
}

// Degrees clockwise from up; -1 for a centred hat, a joystick without one, and an unplugged joystick.
void joystick_pov(FunctionCall& call)
{
    const JoystickState* joystick = joystick_of(call);
    if (!joystick)
        return;
    double degrees = joystick->plugged ? joystick->pov / 100.0 : -1;
    call.result.set_real(degrees > 360 ? -1 : degrees);
}

// ORDER: as the table lists them.
constexpr FunctionEntry INPUT_FUNCTIONS[] = {
    {"keyboard_get_numlock", 0, keyboard_get_numlock},
    {"keyboard_set_numlock", 1, keyboard_set_numlock},
    {"keyboard_key_press", 1, keyboard_key_press},
    {"keyboard_key_release", 1, keyboard_key_release},
    {"keyboard_set_map", 2, keyboard_set_map},
    {"keyboard_get_map", 1, keyboard_get_map},
    {"keyboard_unset_map", 0, keyboard_unset_map},
    {"keyboard_check", 1, keyboard_check},
    {"keyboard_check_direct", 1, keyboard_check_direct},
    {"mouse_check_button", 1, mouse_check_button},
    {"joystick_exists", 1, joystick_exists},
    {"joystick_direction", 1, joystick_direction},
    {"joystick_name", 1, joystick_name},
    {"joystick_axes", 1, joystick_axes},
    {"joystick_buttons", 1, joystick_buttons},
    {"joystick_has_pov", 1, joystick_has_pov},
    {"joystick_check_button", 2, joystick_check_button},
    {"joystick_xpos", 1, joystick_position<0>},
    {"joystick_ypos", 1, joystick_position<1>},
    {"joystick_zpos", 1, joystick_position<2>},
    {"joystick_rpos", 1, joystick_position<3>},
    {"joystick_upos", 1, joystick_position<4>},
    {"joystick_vpos", 1, joystick_position<5>},
    {"joystick_pov", 1, joystick_pov},
    {"keyboard_clear", 1, keyboard_clear},
    {"mouse_clear", 1, mouse_clear},
    {"io_clear", 0, io_clear},
    {"io_handle", 0, io_handle},
    {"keyboard_wait", 0, keyboard_wait},
};

}  // namespace

std::span<const FunctionEntry> input_functions() { return INPUT_FUNCTIONS; }

}  // namespace quillon
