// The game loop: the order of a step's stages, instances made and destroyed during stages, changes that cut a
// step short, keyboard and mouse events, the special keys, the timing, and whole runs to their end.
#include "loop_fixture.h"

#include "graphics/screen.h"
#include "platform/headless/headless_display.h"
#include "world/loop_variables.h"

#include <functional>

using namespace quillon;
using namespace quillon::testing;

namespace {

class GameLoopTest : public LoopTest {
protected:
    static PlacedInstance placed(int object, std::int32_t id, int x = 0) { return {x, 0, object, id, {}, false}; }
    CInstance& first() { return instance(0); }
};

// A clock on which every reading finds 10 ms passed since the last one; sleeps are recorded.
class BusyClock final : public platform::Clock {
public:
    std::uint64_t ticks_ms() const override { return m_now += 10; }
    void sleep_ms(std::uint32_t milliseconds) override
    {
        m_now += milliseconds;
        sleeps.push_back(milliseconds);
    }
    std::vector<std::uint32_t> sleeps;  // every sleep asked for

private:
    mutable std::uint64_t m_now = 0;  // milliseconds
};

}  // namespace

TEST_F(GameLoopTest, AStepRunsItsStagesInOrder)
{
    int sprite = add_box_sprite({0, 0, 9, 9});
    int actor = add_object_with(sprite);
    int wall = add_object_with(sprite);
    event(actor, EVENT_CREATE).actions = {code_action("alarm[0] = 1")};
    event(actor, EVENT_STEP, 1).actions = {trace_action("begin ")};
    event(actor, EVENT_ALARM, 0).actions = {trace_action("alarm ")};
    event(actor, EVENT_KEYBOARD, 'A').actions = {trace_action("key ")};
    event(actor, EVENT_KEY_PRESS, 'A').actions = {trace_action("press ")};
    event(actor, EVENT_KEY_RELEASE, 'A').actions = {trace_action("release ")};
    event(actor, EVENT_MOUSE, 12).actions = {trace_action("mouse ")};
    event(actor, EVENT_STEP, 0).actions = {trace_action("step ")};
    event(actor, EVENT_OTHER, 0).actions = {trace_action("outside ")};
    event(actor, EVENT_COLLISION, wall).actions = {trace_action("collision ")};
    event(actor, EVENT_STEP, 2).actions = {trace_action("end ")};
    hooks.draw_room = [] { trace_log() += "draw"; };
    add_room({placed(actor, 100101, -50), placed(wall, 100102, -50)});
    start_game();
    // A key pressed and released and a click between two steps still give their events in the next step.
    loop().input().key_down('A');
    loop().input().key_up('A');
    loop().input().mouse_down(1);
    loop().step();
    EXPECT_EQ(take_trace(), "begin alarm key press release mouse step outside collision end draw");
    loop().step();
    EXPECT_EQ(take_trace(), "begin step outside collision end draw");
}

TEST_F(GameLoopTest, InstancesMadeOrDestroyedDuringAStage)
{
    int sprite = add_box_sprite();
    int early = add_object_with(sprite);
    int maker = add_object_with(sprite);
    int late = add_object_with(sprite);
    int doomed = add_object_with(sprite);
    for (int object : {early, late})
        event(object, EVENT_CREATE).actions = {code_action("hspeed = 3")};
    event(early, EVENT_STEP).actions = {trace_action("early ")};
    event(late, EVENT_STEP).actions = {trace_action("late ")};
    event(maker, EVENT_STEP).actions = {code_action("if (global.once == 0) { global.once = 1; instance_create(0, 0, "
        + std::to_string(early) + "); instance_create(0, 0, " + std::to_string(late) + ") }")};
    event(doomed, EVENT_CREATE).actions = {code_action("alarm[0] = 1; hspeed = 2")};
    event(doomed, EVENT_STEP, 1).actions = {code_action("instance_destroy()")};
    event(doomed, EVENT_ALARM, 0).actions = {trace_action("alarm ")};
    event(doomed, EVENT_STEP, 0).actions = {trace_action("doomed ")};
    event(doomed, EVENT_DESTROY).actions = {code_action("trace('destroyed at ', x, ' ')")};
    add_room({placed(maker, 100101), placed(doomed, 100102)}, "global.once = 0");
    start_game();
    loop().step();
    // The instance made for a later object gets its step event; both are moved in the same step. The one
    // destroyed in its begin step gets no alarm or step event and is gone at the end.
    EXPECT_EQ(take_trace(), "destroyed at 0 late ");
    ASSERT_EQ(world().current_room()->instance_count(), 3);
    EXPECT_EQ(instance(1).object_index, early);
    EXPECT_EQ(instance(1).x(), 3);
    EXPECT_EQ(instance(2).x(), 3);
}

TEST_F(GameLoopTest, AlarmsCountDownOnlyForObjectsWithTheEvent)
{
    int timed = add_object_with(-1);
    int untimed = add_object_with(-1);
    event(timed, EVENT_ALARM, 2).actions = {trace_action("ring ")};
    event(untimed, EVENT_STEP).actions = {code_action("")};
    add_room({placed(timed, 100101), placed(untimed, 100102)});
    start_game();
    first().alarms[2] = 2;
    instance(1).alarms[2] = 2;
    loop().step();
    EXPECT_EQ(take_trace(), "");
    loop().step();
    EXPECT_EQ(take_trace(), "ring ");
    EXPECT_EQ(first().alarms[2], 0);
    EXPECT_EQ(instance(1).alarms[2], 2);
    first().alarms[2] = 0;  // set to 0: goes to -1 without an event
    loop().step();
    EXPECT_EQ(first().alarms[2], -1);
    EXPECT_EQ(take_trace(), "");
}

TEST_F(GameLoopTest, HeldKeysAndButtonsGiveEventsAsTheContinuousSettingsSay)
{
    int watcher = add_object_with(add_box_sprite({0, 0, 99, 99}));
    event(watcher, EVENT_KEYBOARD, 'X').actions = {trace_action("x")};
    event(watcher, EVENT_KEYBOARD, 0).actions = {trace_action("-")};
    event(watcher, EVENT_KEYBOARD, 1).actions = {trace_action("+")};
    event(watcher, EVENT_MOUSE, 0).actions = {trace_action("L")};
    event(watcher, EVENT_MOUSE, 3).actions = {trace_action("0")};
    event(watcher, EVENT_MOUSE, 10).actions = {trace_action("enter")};
    event(watcher, EVENT_MOUSE, 11).actions = {trace_action("leave")};
    add_room({placed(watcher, 100101)});
    loop().input().mouse_moved(50, 50);
    start_game();
    InputState& input = loop().input();
    auto steps = [&](int count) {
        std::string all;
        for (int i = 0; i < count; ++i) {
            loop().step();
            all += take_trace() + "|";
        }
        return all;
    };
    input.key_down('X');
    EXPECT_EQ(steps(2), "x+0|x+0|");          // continuous: every step while held
    loop().keyboard_continuous = false;
    EXPECT_EQ(steps(1), "-0|");                // only the step after a key message
    input.key_down('X');                       // auto-repeat
    EXPECT_EQ(steps(2), "x+0|-0|");
    input.key_up('X');
    input.mouse_down(1);
    loop().mouse_continuous = false;
    EXPECT_EQ(steps(2), "-L|-0|");
    input.mouse_moved(500, 50);
    EXPECT_EQ(steps(1), "-leave|");            // nothing is under the mouse any more
    input.mouse_moved(50, 50);
    EXPECT_EQ(steps(1), "-0enter|");
}

TEST_F(GameLoopTest, AViewMovingUnderAStillPointerMovesTheMouseInTheRoom)
{
    int watcher = add_object_with(add_box_sprite({0, 0, 99, 99}));
    event(watcher, EVENT_MOUSE, 10).actions = {trace_action("enter")};
    event(watcher, EVENT_MOUSE, 11).actions = {trace_action("leave")};
    add_room({placed(watcher, 100101)});
    LoopVariables variables;
    variables.install();
    start_game();
    variables.attach(&loop());
    int view_x = 400;   // the room x at the window's left edge, as a following view moves it
    loop().input().window_to_room = [&view_x](int x, int y, double& room_x, double& room_y) {
        room_x = x + view_x;
        room_y = y;
    };
    loop().input().apply(platform::Event {.kind = platform::EventKind::mouse_move, .x = 50, .y = 50});
    loop().step();
    take_trace();   // the pointer moved off the room's corner, where the mouse starts
    view_x = 0;
    loop().step();
    EXPECT_EQ(take_trace(), "enter");
    view_x = 400;
    loop().step();
    EXPECT_EQ(take_trace(), "leave");
    EXPECT_EQ(run(first(), "return mouse_x").real, 450);
    view_x = 10;
    EXPECT_EQ(run(first(), "return mouse_x").real, 60);
    m_loop.reset();
    m_world.reset();
}

TEST_F(GameLoopTest, APendingChangeCutsTheStepShort)
{
    int actor = add_object_with(-1);
    event(actor, EVENT_STEP, 1).actions = {code_action("if (room == 0) room_goto(1)"), trace_action("begin ")};
    event(actor, EVENT_STEP, 0).actions = {trace_action("step ")};
    event(actor, EVENT_OTHER, OTHER_ROOM_START).actions = {code_action("trace('start', room, ' ')")};
    hooks.draw_room = [] { trace_log() += "draw "; };
    add_room({placed(actor, 100101)});
    add_room({placed(actor, 100102)});
    start_game();
    loop().input().key_down('Z');
    loop().step();
    EXPECT_EQ(take_trace(), "");  // later actions and stages, drawing and the clearing of keys are skipped
    EXPECT_EQ(loop().input().keys['Z'].state, WENT_DOWN | HELD_DOWN);
    loop().handle_pending_change();
    EXPECT_EQ(world().current_room_index(), 1);
    EXPECT_EQ(take_trace(), "start1 [shown]");
    loop().step();
    EXPECT_EQ(take_trace(), "begin step draw ");
}

TEST_F(GameLoopTest, ARoomChangeAskedForInRoomStartSkipsTheShowingAndTheLoopChangesAgain)
{
    int actor = add_object_with(-1);
    event(actor, EVENT_OTHER, OTHER_ROOM_START).actions = {code_action("if (room == 0) room_goto(1)"),
                                                           code_action("trace('start', room, ' ')")};
    add_room({placed(actor, 100101)});
    add_room({placed(actor, 100102)});
    loop().start_game();
    EXPECT_EQ(take_trace(), "");  // neither the rest of Room Start nor the showing of room 0
    EXPECT_EQ(world().pending_change(), 1);
    loop().handle_pending_change();
    EXPECT_EQ(take_trace(), "start1 [shown]");
    EXPECT_EQ(world().pending_change(), CHANGE_NONE);
}

TEST_F(GameLoopTest, SpecialKeysFollowTheGameSettings)
{
    int actor = add_object_with(-1);
    add_room({placed(actor, 100101)});
    int information = 0;
    hooks.show_game_information = [&] { ++information; };
    start_game();
    InputState& input = loop().input();
    input.key_down(KEY_F1);
    input.key_down('Q');  // F1 is no longer the last key: nothing
    loop().step();
    EXPECT_EQ(information, 0);
    input.key_down(KEY_F1);
    loop().step();
    EXPECT_EQ(information, 1);
    EXPECT_EQ(input.keyboard_lastkey, 0);
    EXPECT_EQ(input.keys[KEY_F1].state, 0);  // the keyboard state was cleared
    settings.escape_ends_game = false;
    loop().input().close_request();  // the close button is Escape, which this game ignores
    loop().step();
    EXPECT_EQ(world().pending_change(), CHANGE_NONE);
    settings.escape_ends_game = true;
    loop().input().close_request();
    loop().step();
    EXPECT_EQ(world().pending_change(), CHANGE_END_GAME);
}

TEST_F(GameLoopTest, F1AndAPendingLoadClearTheKeysButNotTheTypedTextOrTheMouse)
{
    int actor = add_object_with(-1);
    add_room({placed(actor, 100101)});
    struct Case {
        const char* name;                      // what clears the keys
        std::function<void(GameLoop&)> clear;  // the step or change that does it
    };
    const Case cases[] = {
        {"F1", [](GameLoop& loop) { loop.input().key_down(KEY_F1); loop.step(); }},
        {"load", [](GameLoop& loop) { loop.request_load("no_such_quillon_save.sav"); loop.handle_pending_change(); }},
    };
    start_game();
    for (const Case& test : cases) {
        InputState& input = loop().input();
        input.typed('a');
        input.key_down('A');
        input.mouse_down(platform::MOUSE_LEFT);
        test.clear(loop());
        EXPECT_EQ(input.keys['A'].state, 0) << test.name;
        EXPECT_FALSE(input.keys['A'].pressed) << test.name;
        EXPECT_EQ(input.keyboard_string, "a") << test.name;
        EXPECT_EQ(input.keyboard_lastchar, "a") << test.name;
        EXPECT_EQ(input.mouse_button, platform::MOUSE_LEFT) << test.name;
        EXPECT_NE(input.buttons[platform::MOUSE_LEFT].state, 0) << test.name;
        input.clear();
    }
}

TEST_F(GameLoopTest, PassesSleepOutTheRestOfTheRoomSpeedsSlot)
{
    int actor = add_object_with(-1);
    add_room({placed(actor, 100101)});
    rooms.get(0)->speed = 30;
    BusyClock busy;
    options.max_steps = 3;
    GameLoop timed(world(), settings, masks, busy, input, hooks, options);
    EXPECT_FALSE(timed.run_game());
    EXPECT_EQ(busy.sleeps, (std::vector<std::uint32_t> {23, 23, 23}));  // round(33.333 - 10)
    // A room speed of 0 or less becomes 1 step per second.
    busy.sleeps.clear();
    options.max_steps = 1;
    std::int32_t speed_shown = 0;
    hooks.present = [&](std::int32_t) { speed_shown = world().current_room()->speed; };
    GameLoop slow(world(), settings, masks, busy, input, hooks, options);
    rooms.get(0)->speed = 0;
    EXPECT_FALSE(slow.run_game());
    EXPECT_EQ(busy.sleeps, (std::vector<std::uint32_t> {990}));
    EXPECT_EQ(speed_shown, 1);
}

TEST_F(GameLoopTest, RunsEndInOrderAndReportAFatalEnd)
{
    int actor = add_object_with(-1);
    event(actor, EVENT_STEP).actions = {code_action("global.steps += 1; if (global.steps == 2 && global.restarted == 0)"
                                                    " { global.restarted = 1; game_restart() }")};
    event(actor, EVENT_OTHER, OTHER_GAME_START).actions = {code_action("global.steps = 0; trace('start ')")};
    event(actor, EVENT_OTHER, OTHER_GAME_END).actions = {code_action("trace('end', global.steps, ' ')")};
    library_code = {"global.restarted = 0"};
    add_room({placed(actor, 100101)});
    int presented = 0;
    hooks.present = [&](std::int32_t) { ++presented; };
    options.max_steps = 5;
    options.no_sleep = true;
    // The restart clears the global variables: the library code sets the flag again and the game restarts once
    // more in its second step; every game start and end shows.
    EXPECT_FALSE(loop().run_game());
    EXPECT_EQ(take_trace(), "start [shown]end2 start [shown]end2 start [shown]end1 ");
    EXPECT_EQ(presented, 3);  // passes whose change was pending show nothing
    EXPECT_FALSE(loop().running());

    event(actor, EVENT_STEP).actions = {code_action("fatal('broken')")};
    m_loop.reset();
    m_world.reset();
    EXPECT_TRUE(loop().run_game());
    std::string trace = take_trace();
    EXPECT_EQ(trace.substr(0, 20), "start [shown][fatal]");
    EXPECT_EQ(trace.substr(trace.size() - 12), "broken\nend0 ");
}

TEST_F(GameLoopTest, GameCodeSeesAndChangesTheInputThroughTheLayerBelowTheWorld)
{
    int actor = add_object_with(-1);
    add_room({placed(actor, 100101)});
    LoopVariables variables;
    variables.install();
    start_game();  // the world is installed above the layer
    EXPECT_EQ(run(first(), "return keyboard_key").real, 0);  // not attached yet: passed on
    variables.attach(&loop());
    loop().input().apply(platform::Event {.kind = platform::EventKind::text, .text = "hi"});
    loop().input().key_down('K');
    loop().input().mouse_moved(12, 34);
    EXPECT_EQ(run(first(), "return keyboard_string + keyboard_lastchar").string.str(), "hii");
    EXPECT_EQ(run(first(), "return keyboard_key * 10000 + mouse_x * 100 + mouse_y").real, 'K' * 10000 + 1234);
    run(first(), "keyboard_string = 'new'; keyboard_lastchar = 'xy'; keyboard_continuous = false; room_speed = 7");
    EXPECT_EQ(loop().input().keyboard_string, "new");
    EXPECT_EQ(loop().input().keyboard_lastchar, "xy");  // a text variable takes the whole text
    EXPECT_FALSE(loop().keyboard_continuous);
    EXPECT_EQ(world().current_room()->speed, 7);  // the world's own variables stay the world's
    // The world goes first: it hands the host back to the layer, which hands it back to the one before.
    m_loop.reset();
    m_world.reset();
}

TEST_F(GameLoopTest, GameCodeSeesAndChangesTheCursorAndTheScreen)
{
    int actor = add_object_with(-1);
    add_room({placed(actor, 100101)});
    std::vector<bool> cursor;  // what the window was told
    hooks.show_cursor = [&cursor](bool shown) { cursor.push_back(shown); };
    settings.show_cursor = false;
    platform::HeadlessDisplay display;
    Screen screen(display, settings);
    ASSERT_TRUE(screen.start({}));
    LoopVariables variables;
    variables.install();
    start_game();
    variables.attach(&loop(), &screen);
    EXPECT_EQ(run(first(), "return show_cursor").real, 0);
    run(first(), "show_cursor = 0.6");
    EXPECT_EQ(cursor, (std::vector<bool> {false, true}));
    struct Case {
        const char* code;      // run first
        const char* expected;  // then full_screen, scale_screen, scale_window, scale_full, screen size
    };
    const Case cases[] = {
        {"", "0 0 100 100 640x480"},
        {"full_screen = 1; scale_window = 250", "1 0 250 100 640x480"},
        {"full_screen = 0.4; scale_full = 50", "0 0 250 50 640x480"},
        {"scale_screen = 1", "0 1 250 0 640x480"},
        {"scale_screen = 0; scale_window = 0", "0 0 100 100 640x480"},
        {"screen_width = 320.4", "0 0 100 100 320x480"},
        {"screen_height = 200; screen_width = 'x'", "0 0 100 100 0x200"},
    };
    for (const Case& test : cases) {
        run(first(), test.code);
        run(first(), "trace(full_screen, ' ', scale_screen, ' ', scale_window, ' ', scale_full, ' ', screen_width, 'x',"
                     " screen_height)");
        EXPECT_EQ(take_trace(), test.expected)
            << test.code;
    }
    platform::ScreenSize monitor = display.screen_size();
    EXPECT_EQ(run(first(), "return monitor_width * 10000 + monitor_height").real, monitor.width * 10000 + monitor.height);
    m_loop.reset();
    m_world.reset();
}

TEST_F(GameLoopTest, APausedGameGoesOnStepByStepAndStops)
{
    int actor = add_object_with(-1);
    event(actor, EVENT_STEP).actions = {trace_action("step ")};
    event(actor, EVENT_OTHER, OTHER_GAME_END).actions = {trace_action("end")};
    add_room({placed(actor, 100101)});
    options.no_sleep = true;
    hooks.present = [this](std::int32_t) { loop().pause(); };
    EXPECT_FALSE(loop().run_game());  // returns after the first pass, the game still on
    EXPECT_TRUE(loop().running());
    EXPECT_EQ(take_trace(), "[shown]step ");
    loop().single_step();
    EXPECT_EQ(take_trace(), "step ");
    loop().stop();
    EXPECT_EQ(take_trace(), "end");
    EXPECT_FALSE(loop().running());
}

TEST_F(GameLoopTest, PluggedJoysticksGiveDirectionAndButtonEventsAfterTheKeyboardWhereverTheMouseIs)
{
    int watcher = add_object_with(add_box_sprite({0, 0, 9, 9}));
    event(watcher, EVENT_KEYBOARD, 0).actions = {trace_action("key ")};
    event(watcher, EVENT_STEP, 0).actions = {trace_action("step")};
    for (int number : {16, 17, 18, 19, 21, 22, 28, 31, 32, 33, 34, 36, 37, 43})
        event(watcher, EVENT_MOUSE, number).actions = {trace_action("j" + std::to_string(number) + " ")};
    add_room({placed(watcher, 100101)});
    loop().input().mouse_moved(500, 500);
    start_game();
    auto apply = [this](platform::EventKind kind, int joystick, int axis_or_button = 0, int position = 0) {
        platform::Event event {.kind = kind};
        event.joystick = joystick;
        event.axis = axis_or_button;
        event.button = axis_or_button;
        event.position = position;
        loop().input().apply(event);
    };
    using platform::EventKind;
    for (int joystick : {1, 2})
        apply(EventKind::joystick_plugged, joystick);
    loop().step();
    EXPECT_EQ(take_trace(), "key step");  // centred, no button down
    apply(EventKind::joystick_axis, 1, 0, 0);
    apply(EventKind::joystick_axis, 1, 1, 65535);
    for (int button : {9, 8, 1})
        apply(EventKind::joystick_button_down, 1, button);
    apply(EventKind::joystick_axis, 2, 0, 44001);
    apply(EventKind::joystick_axis, 2, 1, 19999);
    apply(EventKind::joystick_button_down, 2, 2);
    loop().step();
    EXPECT_EQ(take_trace(), "key j16 j19 j21 j28 j32 j33 j37 step");
    loop().step();
    EXPECT_EQ(take_trace(), "key j16 j19 j21 j28 j32 j33 j37 step");  // every step while held
    // At the thresholds nothing is pushed; an unplugged joystick gives nothing.
    apply(EventKind::joystick_unplugged, 1);
    apply(EventKind::joystick_axis, 2, 0, 20000);
    apply(EventKind::joystick_axis, 2, 1, 44000);
    apply(EventKind::joystick_button_up, 2, 2);
    loop().step();
    EXPECT_EQ(take_trace(), "key step");
}
