// Key map: SDL keys to the Windows virtual-key codes that games test for.
#include "platform/sdl2/key_map.h"

#include <SDL.h>

namespace quillon::platform {

namespace {

struct KeyCode {
    SDL_Keycode key;   // the SDL keycode
    int virtual_key;   // its Windows virtual-key code
};

// Letters and digits are ranges and are handled apart.
constexpr KeyCode KEY_TABLE[] = {
    {SDLK_BACKSPACE, 8}, {SDLK_TAB, 9}, {SDLK_RETURN, 13}, {SDLK_PAUSE, 19}, {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27}, {SDLK_SPACE, 32}, {SDLK_PAGEUP, 33}, {SDLK_PAGEDOWN, 34}, {SDLK_END, 35},
    {SDLK_HOME, 36}, {SDLK_LEFT, 37}, {SDLK_UP, 38}, {SDLK_RIGHT, 39}, {SDLK_DOWN, 40},
    {SDLK_PRINTSCREEN, 44}, {SDLK_INSERT, 45}, {SDLK_DELETE, 46}, {SDLK_LGUI, 91}, {SDLK_RGUI, 92},
    {SDLK_APPLICATION, 93}, {SDLK_KP_MULTIPLY, 106}, {SDLK_KP_PLUS, 107}, {SDLK_KP_COMMA, 108},
    {SDLK_KP_MINUS, 109}, {SDLK_KP_DIVIDE, 111}, {SDLK_KP_ENTER, 13}, {SDLK_NUMLOCKCLEAR, 144},
    {SDLK_SCROLLLOCK, 145}, {SDLK_LSHIFT, 160}, {SDLK_RSHIFT, 161}, {SDLK_LCTRL, 162}, {SDLK_RCTRL, 163},
    {SDLK_LALT, 164}, {SDLK_RALT, 165}, {SDLK_SEMICOLON, 186}, {SDLK_EQUALS, 187}, {SDLK_COMMA, 188},
    {SDLK_MINUS, 189}, {SDLK_PERIOD, 190}, {SDLK_SLASH, 191}, {SDLK_BACKQUOTE, 192}, {SDLK_LEFTBRACKET, 219},
    {SDLK_BACKSLASH, 220}, {SDLK_RIGHTBRACKET, 221}, {SDLK_QUOTE, 222},
};

// Keypad 0 to 9 with num lock off: Insert, End, Down, Page Down, Left, Clear, Right, Home, Up, Page Up.
constexpr int KEYPAD_NAVIGATION[10] = {45, 35, 40, 34, 37, 12, 39, 36, 38, 33};

int keypad_key(SDL_Keycode key, bool num_lock)
{
    if (key == SDLK_KP_0)
        return num_lock ? 96 : KEYPAD_NAVIGATION[0];
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
        int digit = key - SDLK_KP_1 + 1;
        return num_lock ? 96 + digit : KEYPAD_NAVIGATION[digit];
    }
    if (key == SDLK_KP_PERIOD)
        return num_lock ? 110 : 46;
    return 0;
}

int keycode_key(SDL_Keycode key, bool num_lock)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return 112 + (key - SDLK_F1);
    if (key >= SDLK_F13 && key <= SDLK_F24)
        return 124 + (key - SDLK_F13);
    if (int code = keypad_key(key, num_lock))
        return code;
    for (const KeyCode& entry : KEY_TABLE) {
        if (entry.key == key)
            return entry.virtual_key;
    }
    return 0;
}

// The key that sits at this position on a US keyboard.
int scancode_key(int scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return '1' + (scancode - SDL_SCANCODE_1);
    switch (scancode) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_MINUS: return 189;
    case SDL_SCANCODE_EQUALS: return 187;
    case SDL_SCANCODE_LEFTBRACKET: return 219;
    case SDL_SCANCODE_RIGHTBRACKET: return 221;
    case SDL_SCANCODE_BACKSLASH: return 220;
    case SDL_SCANCODE_NONUSHASH: return 220;
    case SDL_SCANCODE_SEMICOLON: return 186;
    case SDL_SCANCODE_APOSTROPHE: return 222;
    case SDL_SCANCODE_GRAVE: return 192;
    case SDL_SCANCODE_COMMA: return 188;
    case SDL_SCANCODE_PERIOD: return 190;
    case SDL_SCANCODE_SLASH: return 191;
    case SDL_SCANCODE_NONUSBACKSLASH: return 226;
    default: return 0;
    }
}

}  // namespace

int virtual_key_from_sdl(std::int32_t keycode, int scancode, bool num_lock)
{
    if (int code = keycode_key(keycode, num_lock))
        return code;
    return scancode_key(scancode);
}

}  // namespace quillon::platform
