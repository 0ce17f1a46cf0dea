// Scripted input: the script format, its errors, and delivery by step.
#include "runner/scripted_input.h"

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

TEST(ScriptedInput, KeyNames)
{
    const std::pair<const char*, int> cases[] = {{"A", 65}, {"z", 90}, {"7", 55}, {"F1", 112}, {"F12", 123},
        {"Keypad3", 99}, {"Escape", 27}, {"Space", 32}, {"Down", 40}, {"65", 65}, {"LCtrl", 162}};
    for (auto [name, code] : cases)
        EXPECT_EQ(virtual_key_by_name(name), code) << name;
    for (const char* bad : {"F13", "F0", "Keypad", "escape", "256", ""})
        EXPECT_FALSE(virtual_key_by_name(bad)) << bad;
}

TEST(ScriptedInput, BadLinesNameTheFileLineAndProblem)
{
    const std::pair<const char*, const char*> cases[] = {
        {"0 key_down A", "in.txt:1: a line starts with a step number (1 or more) and an action"},
        {"\nx key_down A", "in.txt:2: a line starts with a step number (1 or more) and an action"},
        {"1 key_down Blue", "in.txt:1: unknown key 'Blue'"},
        {"1 jump", "in.txt:1: unknown action 'jump'"},
        {"1 key_down", "in.txt:1: key_down takes 1 argument(s)"},
        {"1 mouse_move 1 y", "in.txt:1: mouse_move needs two whole numbers"},
        {"1 mouse_down thumb", "in.txt:1: unknown mouse button 'thumb' (left, right or middle)"},
    };
    for (auto [text, message] : cases) {
        std::string error;
        EXPECT_FALSE(ScriptedInput::parse(text, "in.txt", error));
        EXPECT_EQ(error, message);
    }
}
