// Scripted input: the script format, its errors, and delivery by step.
#include "runner/scripted_input.h"
#include "support/key_names.h"

#include <gtest/gtest.h>

using namespace quillon;
using platform::EventKind;

TEST(ScriptedInput, EventsArriveAtTheirStepsInFileOrder)
{
    std::string error;
    auto input = ScriptedInput::parse("# comment\n"
                                      "3 key_up Left\r\n"
                                      "1 key_down Left\n"
                                      "\n"
                                      "3 type \"h\xc3\xa9 you\"\n"
                                      "5 mouse_move 10 -4\n"
                                      "5 mouse_down right\n"
                                      "7 key_down RShift\n"
                                      "8 close\n",
        "in.txt", error);
    ASSERT_TRUE(input) << error;
    std::vector<platform::Event> events;
    input->events_for(1, events);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::key_down);
    EXPECT_EQ(events[0].virtual_key, 37);
    events.clear();
    input->events_for(2, events);
    EXPECT_TRUE(events.empty());
    input->events_for(3, events);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, EventKind::key_up);
    EXPECT_EQ(events[1].text, "h\xe9 you");
    events.clear();
    input->events_for(9, events);  // a late call catches up
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].y, -4);
    EXPECT_EQ(events[1].button, platform::MOUSE_RIGHT);
    EXPECT_EQ(events[1].y, -4);  // at the pointer
    EXPECT_EQ(events[2].virtual_key, 16);
    EXPECT_EQ(events[2].sided_key, 161);
    EXPECT_EQ(events[3].kind, EventKind::window_close);
}

TEST(ScriptedInput, JoystickLinesPlugMoveAndUnplugOnTheDriversScale)
{
    std::string error;
    auto input = ScriptedInput::parse("1 joystick_plug 2 \"Arcade Stick\" 3 10 pov\n"
                                      "1 joystick_axis 2 x -1\n"
                                      "1 joystick_axis 2 r 0.5\n"
                                      "1 joystick_axis 2 v 1\n"
                                      "1 joystick_button_down 2 10\n"
                                      "2 joystick_pov 2 22.5\n"
                                      "2 joystick_pov 2 centre\n"
                                      "2 joystick_button_up 2 10\n"
                                      "3 joystick_unplug 2\n"
                                      "4 joystick_plug 1 Pad 2 4\n",
        "in.txt", error);
    ASSERT_TRUE(input) << error;
    std::vector<platform::Event> events;
    input->events_for(4, events);
    ASSERT_EQ(events.size(), 10u);
    EXPECT_EQ(events[0].kind, EventKind::joystick_plugged);
    EXPECT_EQ(events[0].joystick, 2);
    EXPECT_EQ(events[0].text, "Arcade Stick");
    EXPECT_EQ(events[0].joystick_caps.axes, 3);
    EXPECT_EQ(events[0].joystick_caps.buttons, 10);
    EXPECT_TRUE(events[0].joystick_caps.has_pov);
    EXPECT_EQ(events[1].axis, 0);
    EXPECT_EQ(events[1].position, 0);
    EXPECT_EQ(events[2].axis, 3);
    EXPECT_EQ(events[2].position, 49151);  // 1.5 times 32767, rounded
    EXPECT_EQ(events[3].axis, 5);
    EXPECT_EQ(events[3].position, 65534);
    EXPECT_EQ(events[4].kind, EventKind::joystick_button_down);
    EXPECT_EQ(events[4].button, 10);
    EXPECT_EQ(events[5].position, 2250);
    EXPECT_EQ(events[6].position, platform::JOYSTICK_POV_CENTRED);
    EXPECT_EQ(events[7].kind, EventKind::joystick_button_up);
    EXPECT_EQ(events[8].kind, EventKind::joystick_unplugged);
    EXPECT_FALSE(events[9].joystick_caps.has_pov);
}

TEST(ScriptedInput, AWaitingGameGetsTheNextStepsEventsUntilNoneAreLeft)
{
    std::string error;
    auto input = ScriptedInput::parse("3 key_down A\n3 key_up A\n9 key_down B\n", "in.txt", error);
    ASSERT_TRUE(input) << error;
    std::vector<platform::Event> events;
    ASSERT_TRUE(input->next_events(events));
    EXPECT_EQ(events.size(), 2u);
    events.clear();
    input->events_for(3, events);  // already handed out
    EXPECT_TRUE(events.empty());
    ASSERT_TRUE(input->next_events(events));
    EXPECT_EQ(events[0].virtual_key, 'B');
    EXPECT_FALSE(input->next_events(events));
}

TEST(ScriptedInput, KeyNames)
{
    const std::pair<const char*, int> cases[] = {{"A", 65}, {"z", 90}, {"7", 55}, {"F1", 112}, {"F12", 123},
        {"Keypad3", 99}, {"Escape", 27}, {"Space", 32}, {"Down", 40}, {"65", 65}, {"LCtrl", 162}, {"escape", 27},
        {"NUMPAD3", 99}, {"f5", 116}, {"Control", 17}, {"pageUp", 33}};
    for (auto [name, code] : cases)
        EXPECT_EQ(virtual_key_by_name(name), code) << name;
    for (const char* bad : {"F13", "F0", "Keypad", "Esc", "256", ""})
        EXPECT_FALSE(virtual_key_by_name(bad)) << bad;
}

TEST(ScriptedInput, BadLinesNameTheFileLineAndProblem)
{
    const char* PLUG_PROBLEM =
        "in.txt:1: joystick_plug needs a name, axes (0 to 6), buttons (0 to 32) and perhaps 'pov'";
    const char* AXIS_PROBLEM = "in.txt:1: joystick_axis needs an axis (x, y, z, r, u or v) and a position from -1 to 1";
    const std::pair<const char*, const char*> cases[] = {
        {"0 key_down A", "in.txt:1: a line starts with a step number (1 or more) and an action"},
        {"\nx key_down A", "in.txt:2: a line starts with a step number (1 or more) and an action"},
        {"1 jump", "in.txt:1: unknown action 'jump'"},
        {"1 key_down", "in.txt:1: key_down takes 1 argument(s)"},
        {"1 mouse_move 1 y", "in.txt:1: mouse_move needs two whole numbers"},
        {"1 mouse_down thumb", "in.txt:1: unknown mouse button 'thumb' (left, right or middle)"},
        {"1 joystick_plug 3 Pad 2 4", "in.txt:1: unknown joystick '3' (1 or 2)"},
        {"1 joystick_plug 1 Pad 7 4", PLUG_PROBLEM},
        {"1 joystick_plug 1 Pad 2 33", PLUG_PROBLEM},
        {"1 joystick_plug 1 Pad 2 4 hat", PLUG_PROBLEM},
        {"1 joystick_plug 1 Pad 2", "in.txt:1: joystick_plug takes 4 argument(s)"},
        {"1 joystick_axis 1 w 0", AXIS_PROBLEM},
        {"1 joystick_axis 1 x 1.5", AXIS_PROBLEM},
        {"1 joystick_axis 1 x nan", AXIS_PROBLEM},
        {"1 joystick_button_down 2 0", "in.txt:1: unknown joystick button '0' (1 to 32)"},
        {"1 joystick_pov 1 360", "in.txt:1: joystick_pov needs degrees from 0 to below 360, or 'centre'"},
        {"1 joystick_unplug", "in.txt:1: joystick_unplug takes 1 argument(s)"},
        {"1 joystick_jump 1", "in.txt:1: unknown action 'joystick_jump'"},
    };
    for (auto [text, message] : cases) {
        std::string error;
        EXPECT_FALSE(ScriptedInput::parse(text, "in.txt", error));
        EXPECT_EQ(error, message);
    }
    // An unknown key lists the names that project files use too.
    std::string error;
    EXPECT_FALSE(ScriptedInput::parse("1 key_down Blue", "in.txt", error));
    EXPECT_EQ(error, "in.txt:1: unknown key 'Blue' (known: " + key_name_list() + ", or a key code from 00 to 255)");
    EXPECT_TRUE(error.starts_with("in.txt:1: unknown key 'Blue' (known: nokey, anykey, backspace, tab, enter")) << error;
}
