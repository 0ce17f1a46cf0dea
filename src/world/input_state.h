// InputState: the keyboard and mouse as the game's events and variables see them, fed from window events.
#pragma once

#include "platform/input.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace quillon {

constexpr std::uint8_t WENT_DOWN = 1;  // state bit: went down since the last step
constexpr std::uint8_t HELD_DOWN = 2;  // state bit: held down now
constexpr int KEY_CODES = 256;
constexpr int MOUSE_BUTTONS = 4;       // index 1 left, 2 right, 3 middle; 0 unused
constexpr int KEY_BACKSPACE = 8;
constexpr int KEY_ESCAPE = 27;

// A key or a mouse button: the state bits and the flags that wait for the press and release events.
struct ButtonState {
    std::uint8_t state = 0;  // WENT_DOWN and HELD_DOWN
    bool pressed = false;    // a press event is due
    bool released = false;   // a release event is due
};

class InputState {
public:
    // Maps window pixels to room coordinates; unset, they are the same.
    std::function<void(int window_x, int window_y, double& room_x, double& room_y)> window_to_room;

    // One window event. A close request becomes an Escape press; focus changes set active.
    void apply(const platform::Event& event);

    void key_down(int code);
    void key_up(int code);
    void typed(std::uint8_t character);
    void mouse_down(int button);
    void mouse_up(int button);
    // Sets the room position directly; no pointer position is then kept to map again.
    void mouse_moved(double x, double y);
    // Maps the pointer's last window position to room coordinates again, since the regions under a pointer that
    // stands still move with the views; nothing when the position was set directly.
    void read_mouse();
    void close_request();

    // Every key and button up with nothing due, the key variables and the typed text emptied.
    void clear();
    // Every key up with nothing due; the buttons, the key variables and the typed text stay.
    void clear_keys();
    // The end of a step: the went-down bits go.
    void clear_went_down();

    std::array<ButtonState, KEY_CODES> keys {};         // by virtual-key code
    std::array<ButtonState, MOUSE_BUTTONS> buttons {};  // by button number
    int keyboard_key = 0;                               // `keyboard_key`: the key held, 0 none
    int keyboard_lastkey = 0;                           // `keyboard_lastkey`
    std::string keyboard_lastchar;                      // `keyboard_lastchar`: one character or empty
    std::string keyboard_string;                        // `keyboard_string`: the typed text, at most 80 + 1
    int mouse_button = 0;                               // `mouse_button`: last pressed, 0 after a release
    double mouse_x = 0;                                 // `mouse_x` in room coordinates
    double mouse_y = 0;                                 // `mouse_y`
    double mouse_xprevious = 0;                         // the position at the last step
    double mouse_yprevious = 0;
    bool active = true;                                 // the window has the focus
    bool quit = false;                                  // the session asked the program to end

private:
    bool m_pointer_known = false;                       // a window event gave the pointer's position
    int m_pointer_x = 0;                                // its window position at the last mouse event
    int m_pointer_y = 0;
};

}  // namespace quillon
