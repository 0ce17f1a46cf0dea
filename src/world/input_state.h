// InputState: the keyboard, mouse and joysticks as the game's events, variables and input functions see them,
// fed from window events.
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

// A joystick as its driver reports it; unplugged, nothing can be read.
struct JoystickState {
    bool plugged = false;
    std::string name;                     // the product name
    platform::JoystickCaps caps {};       // axes, buttons and hat announced
    std::array<int, platform::JOYSTICK_AXES> axes {};  // x, y, z, r, u, v in 0..65535
    std::uint32_t buttons = 0;            // bit n-1 for button n down
    int pov = platform::JOYSTICK_POV_CENTRED;  // hundredths of a degree, or centred

    // Where the stick is pushed: x or y below 20000, or above 44000.
    bool left() const { return axes[0] < PUSHED_LOW; }
    bool right() const { return axes[0] > PUSHED_HIGH; }
    bool up() const { return axes[1] < PUSHED_LOW; }
    bool down() const { return axes[1] > PUSHED_HIGH; }

    static constexpr int PUSHED_LOW = 20000;
    static constexpr int PUSHED_HIGH = 44000;
};

class InputState {
public:
    InputState();

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

    // The key map: the code each physical key counts as when it goes down or up; the identity at first.
    void set_key_map(int physical, int counts_as);
    int key_map(int physical) const;
    void unset_key_map();
    // Whether the physical key (or the virtual key of a mouse button: 1 left, 2 right, 4 middle) is down, or
    // went down since the last such question about it, whatever the key map and the cleared states say.
    bool check_direct(int code);
    // Whether the physical key is down now.
    bool physically_down(int code) const;
    // Joystick 1 or 2.
    const JoystickState& joystick(int number) const { return m_joysticks[number - 1]; }

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
    void apply_joystick(const platform::Event& event);
    void physical_key(const platform::Event& event, bool down);
    void physical_code(int code, bool down);

    std::array<int, KEY_CODES> m_key_map {};           // by physical code: the code it counts as
    std::array<std::uint8_t, KEY_CODES> m_physical {}; // by code: PHYSICAL_DOWN and PHYSICAL_SINCE_QUESTION
    std::array<JoystickState, platform::JOYSTICKS> m_joysticks {};
    bool m_pointer_known = false;                       // a window event gave the pointer's position
    int m_pointer_x = 0;                                // its window position at the last mouse event
    int m_pointer_y = 0;
};

}  // namespace quillon
