// The action functions: the relative flag, action_move, the comparison operations, dice, lives and health
// running out, room actions, scripts, the place questions and bouncing.
#include "code/script.h"
#include "functions/random.h"
#include "graphics/screen.h"
#include "platform/headless/headless_display.h"
#include "play_fixture.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

class ActionFunctions : public PlayTest {
protected:
    // One instance with a 32 by 32 sprite at (10, 20), in a started game.
    CInstance& mover()
    {
        int object = add_object("mover");
        objects.get(object)->sprite = add_sprite(1);
        add_room({ { 10, 20, object, 100001, {}, false } });
        start();
        return instance(0);
    }
};

TEST_F(ActionFunctions, RelativeFlagChoosesBetweenSettingAndAdding)
{
    struct Case {
        const char* setup; // run before the call, after the position (10, 20) and no motion
        const char* call; // the action function
        const char* check; // traces the outcome
        const char* absolute; // the trace without the flag
        const char* relative; // and with it
    };
    const Case cases[] = {
        { "", "action_move_to(5, 6)", "trace(x, ',', y)", "5,6", "15,26" },
        { "hspeed = 3", "action_set_hspeed(-1)", "trace(hspeed)", "-1", "2" },
        { "vspeed = 3", "action_set_vspeed(2)", "trace(vspeed)", "2", "5" },
        { "gravity = 1", "action_set_gravity(90, 2)", "trace(gravity_direction, ',', gravity)", "90,2", "360,3" },
        { "friction = 0.5", "action_set_friction(1.5)", "trace(friction * 10)", "15", "20" },
        { "vspeed = -4", "action_set_motion(0, 3)", "trace(hspeed, ',', vspeed, ',', speed)", "3,0,3", "3,-4,5" },
        { "alarm[2] = -1", "action_set_alarm(5, 2)", "trace(alarm[2])", "5", "5" },
        { "alarm[2] = 3", "action_set_alarm(5, 2)", "trace(alarm[2])", "5", "8" },
        { "alarm[2] = 2147483647", "action_set_alarm(1, 2)", "trace(alarm[2])", "1", "2147483647" },
        { "timeline_position = 4", "action_set_timeline_position(2.6)", "trace(timeline_position)", "3", "7" },
        { "score = 10", "action_set_score(2.5)", "trace(score)", "2", "12" },
        { "score = -2147483648", "action_set_score(-1)", "trace(score)", "-1", "-2147483648" },
        { "lives = 2147483647", "action_set_life(1)", "trace(lives)", "1", "2147483647" },
        { "lives = 3", "action_set_life(-1.5)", "trace(lives)", "-2", "1" },
        { "health = 50", "action_set_health(0.25)", "trace(health * 100)", "25", "5025" },
        { "", "action_kill_position(0, 0)", "trace(instance_number(mover))", "1", "0" },
        { "", "action_create_object(mover, 1, 2)", "trace(instance_nearest(11, 22, mover) != id)", "0", "1" },
    };
    CInstance& self = mover();
    loop();
    for (const Case& test : cases) {
        for (bool relative : { false, true }) {
            run(self,
                "x = 10; y = 20; hspeed = 0; vspeed = 0; gravity = 0; gravity_direction = 270;"
                "friction = 0; score = 0; lives = 0");
            run(self, test.setup);
            set_relative(self, relative);
            run(self, test.call);
            set_relative(self, false);
            run(self, test.check);
            EXPECT_EQ(take_trace(), relative ? test.relative : test.absolute) << test.call << " " << relative;
            self.m_destroyed = false;
        }
    }
}

TEST_F(ActionFunctions, MoveChoosesAmongTheMarkedDirections)
{
    struct Case {
        const char* call; // from direction 90 at speed 3
        bool relative; // the flag
        const char* expected; // direction and speed afterwards, and any error
    };
    const Case cases[] = {
        { "action_move('000010000', 5)", false, "0,0" },
        { "action_move('000000000', 5)", false, "90,3" },
        { "action_move('00001', 5)", false, "[error] Wrong argument to action_move().\n90,3" },
        { "action_move('0000000001', 5)", false, "[error] Wrong argument to action_move().\n90,3" },
        { "action_move('000000100', 4)", false, "135,4" },
        { "action_move('001000000', 2)", true, "315,5" },
        { "action_move('100000000', 2)", true, "225,5" },
    };
    CInstance& self = mover();
    for (const Case& test : cases) {
        run(self, "direction = 90; speed = 3");
        set_relative(self, test.relative);
        run(self, test.call);
        run(self, "trace(direction, ',', speed)");
        std::string trace = take_trace();
        // Errors name their place on the line before the message; only the message is compared.
        if (std::size_t place = trace.find("[error] "); place != std::string::npos)
            trace.erase(place + 8, trace.find("Wrong") - place - 8);
        EXPECT_EQ(trace, test.expected) << test.call;
    }
    // Every marked direction is reached.
    std::string seen;
    for (int i = 0; i < 200; ++i) {
        run(self, "action_move('100000001', 1); trace(direction, ' ')");
        seen += take_trace();
    }
    EXPECT_NE(seen.find("225 "), std::string::npos);
    EXPECT_NE(seen.find("45 "), std::string::npos);
    EXPECT_EQ(seen.find("90 "), std::string::npos);
}

TEST_F(ActionFunctions, QuestionsCompareWithTheOperation)
{
    struct Case {
        const char* question; // with score 10, lives 3, health 50 and two movers
        double expected; // its answer
    };
    const Case cases[] = {
        { "action_if_variable(1, 2, 1)", 1 },
        { "action_if_variable(1, 2, 2)", 0 },
        { "action_if_variable(2, 2, 0)", 1 },
        { "action_if_variable(2, 2, 3)", 1 },
        { "action_if_variable(3, 2, 1.4)", 0 },
        { "action_if_variable(3, 2, 1.6)", 1 },
        { "action_if_variable('a', 0, 0)", 1 },
        { "action_if_score(10, 0)", 1 },
        { "action_if_score(11, 1)", 1 },
        { "action_if_score(10, 2)", 0 },
        { "action_if_life(2, 2)", 1 },
        { "action_if_life(3, 1)", 0 },
        { "action_if_health(49.5, 2)", 1 },
        { "action_if_health(50, 0)", 1 },
        { "action_if_number(mover, 2, 0)", 1 },
        { "action_if_number(mover, 3, 1)", 1 },
        { "action_if_number(-1, 1, 0)", 1 },
        { "action_if(0.75)", 0.75 },
        { "action_if_dice(1)", 1 },
        { "action_if_dice(-3)", 1 },
        { "action_if_aligned(5, 0)", 1 },
        { "action_if_aligned(4, 0)", 0 },
        { "action_if_aligned(0, 7)", 0 },
        { "action_if_aligned(0, 0)", 1 },
    };
    int object = add_object("mover");
    add_room({ { 10, 20, object, 100001, {}, false }, { 30, 0, object, 100002, {}, false } });
    start();
    CInstance& self = instance(0);
    run(self, "score = 10; lives = 3; health = 50");
    for (const Case& test : cases)
        EXPECT_DOUBLE_EQ(run(self, std::string("return ") + test.question).real, test.expected) << test.question;
}

TEST_F(ActionFunctions, DiceComeUpAboutOnceInSidesThrows)
{
    struct Case {
        double sides; // the dice
        int least; // true answers in 1,000 throws, at least
        int most; // and at most
    };
    CInstance& self = mover();
    for (Case test : { Case { 2, 400, 600 }, Case { 10, 60, 140 }, Case { 1e7, 0, 5 }, Case { 1e12, 0, 5 } }) {
        random_generator().seed(12345);
        int answers = 0;
        for (int i = 0; i < 1000; ++i)
            answers += static_cast<int>(run(self, "return action_if_dice(" + std::to_string(test.sides) + ")").real);
        EXPECT_GE(answers, test.least) << test.sides;
        EXPECT_LE(answers, test.most) << test.sides;
    }
}

TEST_F(ActionFunctions, RunningOutOfLivesOrHealthPerformsTheirEventsOnce)
{
    int object = add_object("mover");
    event(object, EVENT_OTHER, 6).actions = { trace_action("lives out ") };
    event(object, EVENT_OTHER, 9).actions = { trace_action("health out ") };
    add_room({ { 10, 20, object, 100001, {}, false } });
    start();
    CInstance& self = instance(0);
    run(self, "lives = 3; action_set_life(0); action_set_life(0)");
    run(self, "health = 10; action_set_health(0); action_set_health(-1)");
    EXPECT_EQ(take_trace(), "lives out health out ");
    run(self, "lives = 1; health = 0.5");
    set_relative(self, true);
    run(self, "action_set_life(-1); action_set_health(-0.5)");
    EXPECT_EQ(take_trace(), "lives out health out ");
    // A health that is no number is not above 0 either.
    set_relative(self, false);
    run(self, "big = 1; for (i = 0; i < 400; i += 1) big *= 10");
    run(self, "health = 10; action_set_health(big - big); trace(health == health)");
    EXPECT_EQ(take_trace(), "health out 0");
}

TEST_F(ActionFunctions, RoomActionsUseTheirTransitionAndTheRoomOrder)
{
    int object = add_object("mover");
    for (int room = 0; room < 3; ++room)
        add_room({ { 0, 0, object, 100001 + room, {}, false } });
    room_order = { 2, 0, 1 };
    start();
    World& game = world();
    struct Case {
        int room; // the room played
        double has_previous; // action_if_previous_room
        double has_next; // action_if_next_room
    };
    for (Case test : { Case { 2, 0, 1 }, Case { 0, 1, 1 }, Case { 1, 1, 0 } }) {
        game.change_room(test.room);
        CInstance& self = instance(0);
        EXPECT_EQ(run(self, "return action_if_previous_room()").real, test.has_previous) << test.room;
        EXPECT_EQ(run(self, "return action_if_next_room()").real, test.has_next) << test.room;
    }
    take_trace();
    run(instance(0), "action_another_room(0, 5)");
    EXPECT_EQ(game.pending_change(), 0);
    EXPECT_EQ(game.transition().kind, 5);
    EXPECT_EQ(game.transition().time, 1000);
    EXPECT_EQ(game.transition().steps, 40);
    run(instance(0), "action_previous_room(3)");
    EXPECT_EQ(game.pending_change(), 0);
    EXPECT_EQ(game.transition().kind, 3);
    run(instance(0), "action_next_room(2)");
    EXPECT_EQ(game.pending_change(), CHANGE_STOP);
    EXPECT_NE(take_trace().find("[fatal] "), std::string::npos);
}

TEST_F(ActionFunctions, ScriptsRunWithFiveArgumentsAndReportTheirErrors)
{
    scripts().clear();
    scripts().add("adds", std::string("return argument0 * 10 + argument4 + argument5"));
    scripts().add("fails", std::string("return nothing_here"));
    ASSERT_TRUE(scripts().compile_all());
    CInstance& self = mover();
    EXPECT_EQ(run(self, "return action_execute_script(0, 1, 2, 3, 4, 5)").real, 15);
    EXPECT_EQ(take_trace(), "");
    EXPECT_TRUE(run(self, "return action_execute_script(1, 0, 0, 0, 0, 0)").is_string());
    std::string trace = take_trace();
    EXPECT_NE(trace.find("[error] "), std::string::npos) << trace;
    EXPECT_NE(trace.find("fails"), std::string::npos) << trace;
    EXPECT_EQ(run(self, "return action_execute_script(7, 0, 0, 0, 0, 0)").real, 0);
    EXPECT_EQ(take_trace(), "");
    scripts().clear();
}

TEST_F(ActionFunctions, PlaceQuestionsTestFreeEmptyAndMeetingPlaces)
{
    int self_object = add_object("mover");
    objects.get(self_object)->sprite = add_sprite(1);
    int wall = add_wall();
    int ghost = add_object("ghost");
    objects.get(ghost)->sprite = objects.get(wall)->sprite;
    add_room({ { 10, 0, self_object, 100001, {}, false }, { 64, 0, wall, 100002, {}, false },
        { 200, 0, ghost, 100003, {}, false } });
    start();
    loop();
    CInstance& self = instance(0);
    struct Case {
        const char* question; // self at (10, 0), a wall at 64 and a ghost at 200
        bool relative; // the flag
        double expected; // the answer
    };
    const Case cases[] = {
        { "action_if_empty(64, 0, 0)", false, 0 },
        { "action_if_empty(54, 0, 0)", true, 0 },
        { "action_if_empty(200, 0, 0)", false, 1 },
        { "action_if_empty(200, 0, 1)", false, 0 },
        { "action_if_empty(10, 100, 1)", false, 1 },
        { "action_if_collision(64, 0, 0)", false, 1 },
        { "action_if_collision(200, 0, 1)", false, 1 },
        { "action_if_collision(200, 0, 0)", false, 0 },
        { "action_if_object(wall, 30, 0)", true, 1 },
        { "action_if_object(wall, 30, 0)", false, 0 },
        { "action_if_object(ghost, 190, 0)", true, 1 },
    };
    for (const Case& test : cases) {
        set_relative(self, test.relative);
        EXPECT_EQ(run(self, std::string("return ") + test.question).real, test.expected)
            << test.question << " " << test.relative;
        EXPECT_EQ(self.x(), 10);
    }
}

TEST_F(ActionFunctions, BouncingAgainstAllTakesExactlyOne)
{
    int self_object = add_object("mover");
    objects.get(self_object)->sprite = add_sprite(1);
    int ghost = add_object("ghost");
    objects.get(ghost)->sprite = objects.get(self_object)->sprite;
    add_room({ { 30, 0, self_object, 100001, {}, false }, { 64, 0, ghost, 100002, {}, false } });
    start();
    loop();
    CInstance& self = instance(0);
    struct Case {
        const char* bounce; // moving right and down, with a ghost that is not solid on the right
        const char* motion; // hspeed and vspeed afterwards
    };
    // Against all, only the blocked part reverses; with nothing solid in the way, the whole motion does.
    for (Case test : { Case { "action_bounce(0, 1)", "-4,4" }, Case { "action_bounce(0, 0)", "-4,-4" },
             Case { "action_bounce(0, 1.4)", "-4,-4" }, Case { "action_bounce(0, 2)", "-4,-4" } }) {
        run(self, "hspeed = 4; vspeed = 4");
        run(self, test.bounce);
        run(self, "trace(hspeed, ',', vspeed)");
        EXPECT_EQ(take_trace(), test.motion) << test.bounce;
    }
}

TEST_F(ActionFunctions, MoveRandomPicksFreeSnappedPlaces)
{
    int self_object = add_object("mover");
    objects.get(self_object)->sprite = add_sprite(1);
    int wall = add_wall();
    std::vector<PlacedInstance> placed = { { 0, 0, self_object, 100001, {}, false } };
    for (int x = 0; x < 640; x += 64)
        placed.push_back({ x, 0, wall, 100002 + x, {}, false });
    add_room(placed);
    start();
    loop();
    CInstance& self = instance(0);
    for (int i = 0; i < 20; ++i) {
        run(self, i % 2 ? "move_random(64, 32)" : "action_move_random(64, 32)");
        EXPECT_EQ(std::fmod(self.x(), 64), 0) << self.x();
        EXPECT_EQ(std::fmod(self.y(), 32), 0) << self.y();
        EXPECT_GE(self.y(), 32) << "not on the walls";
    }
}

TEST_F(ActionFunctions, MouseQuestionsAskForAButtonOrForNone)
{
    CInstance& self = mover();
    InputState& input = loop().input();
    struct Case {
        int held; // the button held, 0 none
        const char* answers; // action_if_mouse of 1, 2, 3 and 0
    };
    for (Case test : { Case { 0, "0001" }, Case { 1, "1000" }, Case { 2, "0100" }, Case { 3, "0010" } }) {
        input.clear();
        if (test.held)
            input.mouse_down(test.held);
        run(self, "trace(action_if_mouse(1), action_if_mouse(2), action_if_mouse(3), action_if_mouse(0))");
        EXPECT_EQ(take_trace(), test.answers) << test.held;
    }
}

TEST_F(ActionFunctions, FullScreenIsChosenOrToggled)
{
    CInstance& self = mover();
    platform::HeadlessDisplay display;
    GameSettings settings;
    Screen screen(display, settings);
    ASSERT_TRUE(screen.start({}));
    play_services().screen = &screen;
    struct Case {
        double argument; // action_fullscreen's
        bool full; // full screen afterwards
    };
    for (Case test : { Case { 2, true }, Case { 2, true }, Case { 1, false }, Case { 0, true }, Case { 3, false },
             Case { 1.4, false }, Case { 1.6, true } }) {
        run(self, "action_fullscreen(" + std::to_string(test.argument) + ")");
        EXPECT_EQ(screen.full_screen(), test.full) << test.argument;
    }
    EXPECT_EQ(run(self, "return window_handle()").real, 0);  // no window system when headless
}

TEST_F(ActionFunctions, WindowsShowUnlessExclusiveAndForgetTheInputThatClosedThem)
{
    CInstance& self = mover();
    InputState& input = loop().input();
    std::string shown;
    play_services().show_message = [&](std::string_view text) { shown += "message " + std::string(text) + ";"; };
    play_services().ask_question = [&](std::string_view text) {
        shown += "question " + std::string(text) + ";";
        return text == "yes?";
    };
    play_services().show_game_information = [&] { shown += "information;"; };
    struct Case {
        const char* code; // the window asked for
        bool exclusive; // exclusive graphics mode
        const char* shown; // the windows shown
        double result; // the function's result
    };
    const Case cases[] = {
        { "return action_message('hi')", false, "message hi;", 0 },
        { "return show_message('a#b\\#')", false, "message a\rb#;", 0 },
        { "return show_message('hi')", true, "", 0 },
        { "return action_if_question('yes?')", false, "question yes?;", 1 },
        { "return show_question('no?')", false, "question no?;", 0 },
        { "return show_question('no?')", true, "", 1 },
        { "return action_show_info()", false, "information;", 0 },
        { "return action_show_info()", true, "", 0 },
    };
    for (const Case& test : cases) {
        shown.clear();
        input.mouse_down(1);
        errors().m_settings.exclusive_mode = test.exclusive;
        EXPECT_EQ(run(self, test.code).real, test.result) << test.code;
        EXPECT_EQ(shown, test.shown) << test.code;
        EXPECT_EQ(input.buttons[1].state != 0, test.exclusive) << test.code;
    }
}

TEST_F(ActionFunctions, WithoutTheirServicesFunctionsReportThemselvesNotAvailable)
{
    CInstance& self = mover();
    for (const char* call : { "action_if_empty(0, 0, 0)", "action_save_game('a.sav')", "action_if_mouse(1)",
             "action_fullscreen(2)", "sleep(1)", "show_message('hi')", "action_show_info()" }) {
        run(self, call);
        std::string trace = take_trace();
        EXPECT_NE(trace.find("This function is not available yet: "), std::string::npos) << call << trace;
    }
}

} // namespace
