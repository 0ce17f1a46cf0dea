// InputState: window events become key and button states, the key variables and the typed text.
#include "world/input_state.h"

#include <gtest/gtest.h>

using namespace quillon;
using platform::Event;
using platform::EventKind;

TEST(InputState, KeysPressOnceReleaseKeepingTheWentDownBitAndCloseBecomesEscape)
{
    InputState input;
    input.apply(Event {.kind = EventKind::key_down, .virtual_key = 'A'});
    input.keys['A'].pressed = false;  // the step handled the press
    input.apply(Event {.kind = EventKind::key_down, .virtual_key = 'A', .repeat = true});
    EXPECT_FALSE(input.keys['A'].pressed);  // auto-repeat does not press again
    EXPECT_EQ(input.keyboard_key, 'A');
    input.apply(Event {.kind = EventKind::key_down, .virtual_key = 'B'});
    input.apply(Event {.kind = EventKind::key_up, .virtual_key = 'A'});
    EXPECT_EQ(input.keyboard_key, 'B');  // only the key that is the current one clears it
    EXPECT_EQ(input.keys['A'].state, WENT_DOWN);
    EXPECT_TRUE(input.keys['A'].released);
    input.clear_went_down();
    EXPECT_EQ(input.keys['A'].state, 0);
    EXPECT_EQ(input.keys['B'].state, HELD_DOWN);
    input.apply(Event {.kind = EventKind::window_close});
    EXPECT_EQ(input.keys[KEY_ESCAPE].state, WENT_DOWN);
    EXPECT_EQ(input.keyboard_lastkey, KEY_ESCAPE);
}

TEST(InputState, TypedTextKeepsItsLast81CharactersAndBackspaceRemovesOne)
{
    InputState input;
    for (int i = 0; i < 100; ++i)
        input.apply(Event {.kind = EventKind::text, .text = std::string(1, char('a' + i % 26))});
    EXPECT_EQ(input.keyboard_string.size(), 81u);
    EXPECT_EQ(input.keyboard_string.back(), 'a' + 99 % 26);
    // Backspace cuts to 80 and removes one, tab is not kept, é is added.
    input.apply(Event {.kind = EventKind::text, .text = "\x08\x09\xE9"});
    EXPECT_EQ(input.keyboard_string.size(), 80u);
    EXPECT_EQ(input.keyboard_string.back(), '\xE9');
    EXPECT_EQ(input.keyboard_lastchar, "\xE9");
}

TEST(InputState, MouseButtonsAndThePositionThroughTheWindowMapping)
{
    InputState input;
    input.window_to_room = [](int x, int y, double& room_x, double& room_y) {
        room_x = x / 2.0;
        room_y = y / 2.0 + 100;
    };
    input.apply(Event {.kind = EventKind::mouse_down, .x = 20, .y = 40, .button = platform::MOUSE_RIGHT});
    EXPECT_EQ(input.mouse_x, 10);
    EXPECT_EQ(input.mouse_y, 120);
    EXPECT_EQ(input.mouse_button, platform::MOUSE_RIGHT);
    EXPECT_TRUE(input.buttons[platform::MOUSE_RIGHT].pressed);
    input.apply(Event {.kind = EventKind::mouse_up, .x = 20, .y = 40, .button = platform::MOUSE_RIGHT});
    EXPECT_EQ(input.mouse_button, 0);
    EXPECT_EQ(input.buttons[platform::MOUSE_RIGHT].state, WENT_DOWN);
}

TEST(InputState, AStillPointerIsMappedAgainWhenThePositionIsRead)
{
    InputState input;
    int view_x = 0;   // the room x shown at the window's left edge
    input.window_to_room = [&view_x](int x, int y, double& room_x, double& room_y) {
        room_x = x + view_x;
        room_y = y;
    };
    input.read_mouse();   // no pointer yet: the position stays
    EXPECT_EQ(input.mouse_x, 0);
    input.apply(Event {.kind = EventKind::mouse_move, .x = 30, .y = 40});
    view_x = 200;   // the view scrolls under the pointer
    input.read_mouse();
    EXPECT_EQ(input.mouse_x, 230);
    EXPECT_EQ(input.mouse_y, 40);
    // A position set in room coordinates is not mapped again.
    input.mouse_moved(5, 6);
    input.read_mouse();
    EXPECT_EQ(input.mouse_x, 5);
}

TEST(InputState, JoysticksArePluggedCentredAndForgottenWhenTheyGo)
{
    using platform::EventKind;
    InputState input;
    auto joystick_event = [](EventKind kind, int joystick, int position = 0) {
        Event event {.kind = kind, .button = 5};
        event.joystick = joystick;
        event.axis = 1;
        event.position = position;
        return event;
    };
    // Events of a joystick that is not plugged, or of one that cannot exist, change nothing.
    for (int joystick : {0, 1, 3})
        input.apply(joystick_event(EventKind::joystick_button_down, joystick));
    EXPECT_EQ(input.joystick(1).buttons, 0u);
    Event plug = joystick_event(EventKind::joystick_plugged, 2);
    plug.text = "Stick" + std::string(40, '!');
    plug.joystick_caps = {2, 6, true};
    input.apply(plug);
    input.apply(joystick_event(EventKind::joystick_axis, 2, 70000));
    input.apply(joystick_event(EventKind::joystick_button_down, 2));
    const JoystickState& second = input.joystick(2);
    EXPECT_TRUE(second.plugged);
    EXPECT_EQ(second.name, "Stick" + std::string(27, '!'));  // a driver's names have at most 32 characters
    EXPECT_EQ(second.axes[0], platform::JOYSTICK_AXIS_CENTRE);
    EXPECT_EQ(second.axes[1], platform::JOYSTICK_AXIS_MAX);  // held to the driver's range
    EXPECT_EQ(second.buttons, 1u << 4);
    EXPECT_EQ(second.pov, platform::JOYSTICK_POV_CENTRED);
    input.apply(joystick_event(EventKind::joystick_unplugged, 2));
    EXPECT_FALSE(second.plugged);
    EXPECT_EQ(second.name, "");
    EXPECT_EQ(second.buttons, 0u);
    // io_clear leaves joysticks alone.
    input.apply(plug);
    input.clear();
    EXPECT_TRUE(second.plugged);
}
