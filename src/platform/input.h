// Input: the window system's keyboard, mouse and window events, as plain records.
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
    window_close,     // the user asked to close the window
    window_exposed,   // the window needs its last frame again
    focus_gained,     // the window became the active window
    focus_lost,       // the window stopped being the active window
    quit,             // the session asks the program to end
};

// Mouse buttons numbered as games number them.
enum MouseButton {
    MOUSE_LEFT = 1,
    MOUSE_RIGHT = 2,
    MOUSE_MIDDLE = 3,
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
    int button = 0;                     // mouse_down/up: a MouseButton, 0 for other buttons
};

class Input {
public:
    virtual ~Input() = default;

    // Appends every pending event, oldest first; the caller clears the vector between polls.
    virtual void poll(std::vector<Event>& events) = 0;
};

}  // namespace quillon::platform
