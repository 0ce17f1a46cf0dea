// The keyboard, mouse and joystick functions over the loop's input state and the headless platform: checks
// with their "none" and "any" codes, direct checks past the key map, keys the game types itself, num lock,
// clearing, waiting for a key, the joysticks' values on the game's scale, and arguments out of range.
#include "play_fixture.h"

#include "code/messages.h"
#include "world/loop_variables.h"

using namespace quillon;
using namespace quillon::testing;
using platform::Event;
using platform::EventKind;

namespace {

class InputFunctions : public PlayTest {
protected:
    void SetUp() override
    {
        PlayTest::SetUp();
        for (const FunctionEntry& entry : input_functions())
            use_handler(entry.name, entry.handler);
    }
    CInstance& player()
    {
        int object = add_object("player");
        add_room({ { 10, 20, object, 100001, {}, false } });
        m_variables.install();
        m_variables.attach(&loop());
        start();
        return instance(0);
    }
    // The loop is made again with the hooks as they are now.
    void remake_loop()
    {
        m_loop.reset();
        m_variables.attach(&loop());
    }
    InputState& state() { return loop().input(); }
    std::string trace_of(CInstance& self, const std::string& code)
    {
        run(self, "trace(" + code + ")");
        return take_trace();
    }
    static Event key(EventKind kind, int code, int sided = 0)
    {
        return Event { .kind = kind, .virtual_key = code, .sided_key = sided ? sided : code };
    }
    static Event joystick(EventKind kind, int number)
    {
        Event event { .kind = kind };
        event.joystick = number;
        return event;
    }

private:
    LoopVariables m_variables; // keyboard_key and the other variables of the input state
};

} // namespace

TEST_F(InputFunctions, ChecksReadTheHeldKeysAndButtonsAfterTheWaitingMessages)
{
    CInstance& self = player();
    const char* keys = "keyboard_check(0), keyboard_check(-1), keyboard_check(65), keyboard_check(66)";
    const char* buttons = "mouse_check_button(0), mouse_check_button(-1), mouse_check_button(1), "
                          "mouse_check_button(3)";
    EXPECT_EQ(trace_of(self, keys), "1000");
    EXPECT_EQ(trace_of(self, buttons), "1000");
    // Messages still waiting in the platform's queue are handled by the check itself.
    input.push(key(EventKind::key_down, 'A'));
    input.push(Event { .kind = EventKind::mouse_down, .button = platform::MOUSE_MIDDLE });
    EXPECT_EQ(trace_of(self, keys), "0110");
    EXPECT_EQ(trace_of(self, buttons), "0101");
    // Released within the step, a key is still held until the step ends.
    input.push(key(EventKind::key_up, 'A'));
    EXPECT_EQ(trace_of(self, keys), "0110");
    state().clear_went_down();
    EXPECT_EQ(trace_of(self, keys), "1000");
    // Clearing a button (or a key) forgets it at once, the pressed and released flags too.
    run(self, "mouse_clear(3); keyboard_clear(66)");
    EXPECT_EQ(trace_of(self, buttons), "1000");
    EXPECT_FALSE(state().buttons[3].pressed);
    // io_clear empties the key variables and the typed text as well.
    input.push(key(EventKind::key_down, 'B'));
    input.push(Event { .kind = EventKind::text, .text = "hi" });
    input.push(Event { .kind = EventKind::mouse_down, .button = platform::MOUSE_LEFT });
    run(self, "io_handle()");
    EXPECT_EQ(trace_of(self, "keyboard_key, keyboard_string, mouse_button"), "66hi1");
    run(self, "io_clear()");
    EXPECT_EQ(trace_of(self, "keyboard_key, keyboard_lastkey, '[' + keyboard_lastchar + keyboard_string + ']', "
                             "mouse_button"),
        "00[]0");
    EXPECT_EQ(trace_of(self, keys), "1000");
    EXPECT_EQ(trace_of(self, buttons), "1000");
}

TEST_F(InputFunctions, TheKeyMapMovesKeysButNotTheDirectCheck)
{
    CInstance& self = player();
    run(self, "keyboard_set_map(65, 37)");
    input.push(key(EventKind::key_down, 'A'));
    EXPECT_EQ(trace_of(self, "keyboard_check(37), keyboard_check(65), keyboard_check_direct(65), keyboard_lastkey"),
        "10137");
    EXPECT_EQ(trace_of(self, "keyboard_get_map(65), keyboard_get_map(66), keyboard_get_map(300), keyboard_get_map(-5)"),
        "3766300-5");
    // The direct check does not care for cleared states; a key that went down and up since it was last asked
    // about counts once.
    input.push(key(EventKind::key_up, 'A'));
    EXPECT_EQ(trace_of(self, "keyboard_check_direct(65)"), "0");
    input.push(key(EventKind::key_down, 'A'));
    input.push(key(EventKind::key_up, 'A'));
    run(self, "io_clear()");
    EXPECT_EQ(trace_of(self, "keyboard_check_direct(65), keyboard_check_direct(65)"), "10");
    run(self, "keyboard_unset_map()");
    EXPECT_EQ(trace_of(self, "keyboard_get_map(65)"), "65");
    // Either Shift key holds the plain Shift code; mouse buttons have their virtual keys.
    input.push(key(EventKind::key_down, 16, 160));
    input.push(key(EventKind::key_down, 16, 161));
    input.push(key(EventKind::key_up, 16, 160));
    input.push(Event { .kind = EventKind::mouse_down, .button = platform::MOUSE_MIDDLE });
    EXPECT_EQ(trace_of(self, "keyboard_check_direct(16), keyboard_check_direct(161), keyboard_check_direct(4)"),
        "111");
    input.push(key(EventKind::key_up, 16, 161));
    EXPECT_EQ(trace_of(self, "keyboard_check_direct(16), keyboard_check_direct(16)"), "00");
}

TEST_F(InputFunctions, KeysTypedByTheGameArriveThroughTheKeyHandlers)
{
    CInstance& self = player();
    run(self, "keyboard_key_press(ord('B')); keyboard_key_release(ord('B')); keyboard_key_press(ord('7'))");
    EXPECT_EQ(trace_of(self, "keyboard_check(66), keyboard_lastkey, keyboard_string"), "155b7");
    EXPECT_TRUE(state().keys['B'].pressed);
    EXPECT_TRUE(state().keys['B'].released);
    // Num lock changes only when it differs, by a press and a release of its key.
    EXPECT_EQ(trace_of(self, "keyboard_get_numlock()"), "0");
    run(self, "keyboard_set_numlock(0.6)");
    EXPECT_EQ(trace_of(self, "keyboard_get_numlock(), keyboard_check(144), keyboard_lastkey"), "11144");
    state().clear();
    run(self, "keyboard_set_numlock(1)");
    EXPECT_EQ(trace_of(self, "keyboard_get_numlock(), keyboard_check(144)"), "10");
    run(self, "keyboard_set_numlock(0.4)");
    EXPECT_EQ(trace_of(self, "keyboard_get_numlock()"), "0");
}

TEST_F(InputFunctions, WaitingForAKeyHandlesMessagesAndSleepsUntilOneComes)
{
    CInstance& self = player();
    int offers = 0;
    hooks.events_while_waiting = [&offers](std::vector<Event>& events) {
        if (++offers == 3)
            events.push_back(key(EventKind::key_down, 'Q'));
        return true;
    };
    remake_loop();
    state().keyboard_lastkey = 'X';
    std::uint64_t before = clock.ticks_ms();
    run(self, "keyboard_wait()");
    EXPECT_EQ(trace_of(self, "keyboard_lastkey"), "81");
    EXPECT_EQ(clock.ticks_ms() - before, 100u);   // two sleeps of 50 ms before the third offer
    // With nothing that could ever press a key, the wait gives up instead of hanging.
    hooks.events_while_waiting = [](std::vector<Event>&) { return false; };
    remake_loop();
    run(self, "keyboard_wait()");
    EXPECT_EQ(trace_of(self, "keyboard_lastkey"), "0");
    // A close request is Escape, which ends the wait.
    input.push(Event { .kind = EventKind::window_close });
    run(self, "keyboard_wait()");
    EXPECT_EQ(trace_of(self, "keyboard_lastkey"), "27");
}

TEST_F(InputFunctions, JoysticksAreReadOnTheGamesScaleAndGiveFixedValuesWhenUnplugged)
{
    CInstance& self = player();
    const char* all = "joystick_exists(1), joystick_direction(1), '[' + joystick_name(1) + ']', joystick_axes(1), "
                      "joystick_buttons(1), joystick_has_pov(1), joystick_check_button(1, 3), joystick_pov(1), "
                      "joystick_xpos(1)";
    EXPECT_EQ(trace_of(self, all), "0101[]0000-10");
    Event plug = joystick(EventKind::joystick_plugged, 1);
    plug.text = "Pad";
    plug.joystick_caps = { 4, 12, true };
    Event button = joystick(EventKind::joystick_button_down, 1);
    button.button = 3;
    Event pov = joystick(EventKind::joystick_pov, 1);
    pov.position = 9000;
    for (const Event& event : { plug, button, pov })
        state().apply(event);
    EXPECT_EQ(trace_of(self, all), "1101[Pad]41211900");
    // Axes: the driver's 0..65535 as position / 32767 - 1.
    const std::pair<int, double> positions[] = { { 0, -1 }, { 32767, 0 }, { 65534, 1 }, { 65535, 65535 / 32767.0 - 1 },
        { 16383, 16383 / 32767.0 - 1 } };
    for (auto [position, scaled] : positions) {
        for (int axis = 0; axis < platform::JOYSTICK_AXES; ++axis) {
            Event moved = joystick(EventKind::joystick_axis, 1);
            moved.axis = axis;
            moved.position = position;
            state().apply(moved);
        }
        for (const char* name : { "xpos", "ypos", "zpos", "rpos", "upos", "vpos" })
            EXPECT_DOUBLE_EQ(run(self, std::string("return joystick_") + name + "(1)").real, scaled) << name;
    }
    // The direction is a keypad key: rows and columns split at 20000 and 44000.
    struct Direction {
        int x, y, key;
    };
    for (Direction test : { Direction { 0, 0, 103 }, Direction { 19999, 19999, 103 }, Direction { 20000, 20000, 101 },
             Direction { 44000, 44000, 101 }, Direction { 44001, 44001, 99 }, Direction { 65535, 32767, 102 },
             Direction { 32767, 65535, 98 } }) {
        for (int axis : { 0, 1 }) {
            Event moved = joystick(EventKind::joystick_axis, 1);
            moved.axis = axis;
            moved.position = axis == 0 ? test.x : test.y;
            state().apply(moved);
        }
        EXPECT_EQ(run(self, "return joystick_direction(1)").real, test.key) << test.x << "," << test.y;
    }
    // Every id but 2 means the first joystick; the second is not plugged.
    EXPECT_EQ(trace_of(self, "joystick_exists(0), joystick_exists(7.4), joystick_exists(-1), joystick_exists(2), "
                             "joystick_exists(1.6), joystick_direction(2), joystick_pov(2)"),
        "11100101-1");
    // A centred hat is -1, and so is everything of a joystick that went.
    pov.position = platform::JOYSTICK_POV_CENTRED;
    state().apply(pov);
    EXPECT_EQ(trace_of(self, "joystick_pov(1)"), "-1");
    state().apply(joystick(EventKind::joystick_unplugged, 1));
    EXPECT_EQ(trace_of(self, all), "0101[]0000-10");
}

TEST_F(InputFunctions, ArgumentsOutOfRangeGiveThePlainResultsAndNoError)
{
    CInstance& self = player();
    input.push(key(EventKind::key_down, 'A'));
    Event plug = joystick(EventKind::joystick_plugged, 1);
    plug.joystick_caps = { 2, 32, false };
    state().apply(plug);
    Event button = joystick(EventKind::joystick_button_down, 1);
    for (int number : { 1, 32 }) {
        button.button = number;
        state().apply(button);
    }
    const std::pair<const char*, double> cases[] = {
        { "keyboard_check(256)", 0 },
        { "keyboard_check(-2)", 0 },
        { "keyboard_check(64.5)", 0 }, // 64
        { "keyboard_check(65.4)", 1 },
        { "keyboard_check_direct(300)", 0 },
        { "keyboard_check_direct(-1)", 0 },
        { "mouse_check_button(4)", 0 },
        { "mouse_check_button(-2)", 0 },
        { "joystick_check_button(1, 0)", 0 },
        { "joystick_check_button(1, 33)", 0 },
        { "joystick_check_button(1, 32)", 1 },
        { "joystick_check_button(1, 0.6)", 1 },
        { "joystick_check_button(2, 1)", 0 },
        { "keyboard_get_map(1000)", 1000 },
        { "keyboard_clear(300)", 0 },
        { "keyboard_clear(-1)", 0 },
        { "mouse_clear(9)", 0 },
        { "keyboard_set_map(256, 65)", 0 },
        { "keyboard_key_press(1000)", 0 },
        { "keyboard_key_release(-7)", 0 },
        { "keyboard_check(65)", 1 },
    };
    for (auto [code, result] : cases)
        EXPECT_EQ(run(self, std::string("return ") + code).real, result) << code;
    EXPECT_EQ(take_trace(), "");
}

TEST_F(InputFunctions, OutsideAGameTheyAreNotAvailable)
{
    CInstance& self = player();
    play_services().loop = nullptr;
    run(self, "keyboard_check(65)");
    EXPECT_NE(take_trace().find(std::string(message::NOT_AVAILABLE) + "keyboard_check"), std::string::npos);
}
