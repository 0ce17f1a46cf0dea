// Input: the window system's keyboard, mouse, joystick and window events, as plain records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::platform {

enum class EventKind {
    key_down,         // a key went down (again on auto-repeat)
    key_up,           // a key went up
    text,             // typed characters, including Backspace (8), Tab (9), Enter (13) and Escape (27)
    mouse_move,       // the pointer moved over the window
    mouse_down,       // a mouse button went down
    mouse_up,         // a mouse button went up
    mouse_wheel,      // the mouse wheel turned over the window
    window_close,     // the user asked to close the window
    window_exposed,   // the window needs its last frame again
    focus_gained,     // the window became the active window
    focus_lost,       // the window stopped being the active window
    quit,             // the session asks the program to end
    joystick_plugged,    // a joystick came (name in text, what it has in joystick_caps); its controls are centred
    joystick_unplugged,  // a joystick went
    joystick_axis,       // an axis moved
    joystick_button_down,
    joystick_button_up,
    joystick_pov,        // the point-of-view hat turned
};

// Mouse buttons numbered as games number them.
enum MouseButton {
    MOUSE_LEFT = 1,
    MOUSE_RIGHT = 2,
    MOUSE_MIDDLE = 3,
};

// The code that a key message carries: 16, 17 and 18 for either side's Shift (160, 161), Ctrl (162, 163) and
// Alt (164, 165); others unchanged.
constexpr int unsided_virtual_key(int virtual_key)
{
    return virtual_key >= 160 && virtual_key <= 165 ? 16 + (virtual_key - 160) / 2 : virtual_key;
}

// Joysticks as games number them: 1 and 2. Axes in the driver's range 0..65535, centred at 32767.
constexpr int JOYSTICKS = 2;
constexpr int JOYSTICK_AXES = 6;            // x, y, z, r, u, v
constexpr int JOYSTICK_BUTTONS = 32;
constexpr int JOYSTICK_AXIS_CENTRE = 32767;
constexpr int JOYSTICK_AXIS_MAX = 65535;
constexpr int JOYSTICK_POV_CENTRED = 65535; // the hat's position when it is not pushed

// What a joystick has, as its driver announces it.
struct JoystickCaps {
    int axes = 0;
    int buttons = 0;
    bool has_pov = false;
};

struct Event {
    EventKind kind = EventKind::quit;   // what happened
    std::int32_t sdl_key = 0;           // key events: the SDL keycode
    int virtual_key = 0;                // key events: the Windows virtual-key code (16 for either Shift), 0 unknown
    int sided_key = 0;                  // key events: 160..165 for left/right Shift, Ctrl, Alt; else virtual_key
    bool repeat = false;                // key_down: produced by auto-repeat
    std::string text {};                // text events: Windows-1252 bytes
    int x = 0;                          // mouse events: pointer x in window pixels
    int y = 0;                          // mouse events: pointer y in window pixels
    int wheel = 0;                      // mouse_wheel: notches turned, away from the user positive
    int button = 0;                     // mouse_down/up: a MouseButton, 0 for other buttons;
                                        // joystick_button_down/up: the button, 1..32
    int joystick = 0;                   // joystick events: 1 or 2
    int axis = 0;                       // joystick_axis: 0 x, 1 y, 2 z, 3 r, 4 u, 5 v
    int position = 0;                   // joystick_axis: 0..65535; joystick_pov: hundredths of a degree, or
                                        // JOYSTICK_POV_CENTRED
    JoystickCaps joystick_caps {};      // joystick_plugged
};

class Input {
public:
    virtual ~Input() = default;

    // Appends every pending event, oldest first; the caller clears the vector between polls.
    virtual void poll(std::vector<Event>& events) = 0;

    // Queues an event as if the window system had produced it now (a key typed by the game itself); a later
    // poll hands it out after the events already waiting. A key going down with virtual key 144 toggles num lock.
    virtual void synthesize(Event event) = 0;
    // Whether num lock is on.
    virtual bool num_lock() const = 0;
};

}  // namespace quillon::platform
