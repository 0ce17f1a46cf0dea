// The motion and interaction functions: snapping, selectors when finding and counting, nearest and furthest,
// distances, making instances, rooms and the game, moves against walls, sleeping, loading and saving.
#include "play_fixture.h"

#include <filesystem>

using namespace quillon;
using namespace quillon::testing;

namespace {

class InteractionFunctions : public PlayTest {
protected:
    // A parent object with a child; the child's instances count as the parent's.
    void family()
    {
        m_parent = add_object("parent");
        m_child = add_object("child", m_parent);
        m_other = add_object("loner");
        objects.get(m_parent)->sprite = add_sprite(1, { 0, 0, 9, 9 });
        objects.get(m_child)->sprite = objects.get(m_parent)->sprite;
        objects.get(m_other)->sprite = objects.get(m_parent)->sprite;
    }
    std::string trace_of(CInstance& self, const std::string& code)
    {
        run(self, code);
        return take_trace();
    }

    int m_parent = -1; // objects of family()
    int m_child = -1;
    int m_other = -1;
};

TEST_F(InteractionFunctions, SnappingRoundsToTheNearestMultiple)
{
    struct Case {
        double x, y; // the position
        double hsnap, vsnap; // the grid
        const char* snapped; // after move_snap, as x,y
        double aligned; // place_snapped before the move
    };
    const Case cases[] = {
        { 47, 17, 32, 0, "32,17", 0 },
        { 48, 17, 32, 8, "64,16", 0 },
        { 16, 4, 32, 8, "0,0", 0 },
        { 96, 24, 32, 8, "96,24", 1 },
        { 96.0005, 23.9995, 32, 8, "96,24", 1 },
        { 96.002, 24, 32, 8, "96,24", 0 },
        { -17, 5, 10, -1, "-20,5", 0 },
        { 13, 7, 0, 0, "13,7", 1 },
    };
    int object = add_object("thing");
    add_room({ { 0, 0, object, 100001, {}, false } });
    start();
    CInstance& self = instance(0);
    for (const Case& test : cases) {
        self.set_position(test.x, test.y);
        std::string grid = std::to_string(test.hsnap) + ", " + std::to_string(test.vsnap);
        EXPECT_EQ(run(self, "return place_snapped(" + grid + ")").real, test.aligned) << test.x << "," << test.y;
        run(self, "move_snap(" + grid + "); action_snap(" + grid + ")");
        EXPECT_EQ(trace_of(self, "trace(x, ',', y)"), test.snapped) << test.x << "," << test.y;
    }
}

TEST_F(InteractionFunctions, SelectorsFindAndCountInstances)
{
    family();
    add_room({ { 0, 0, m_parent, 100001, {}, false }, { 50, 0, m_child, 100002, {}, false },
        { 100, 0, m_other, 100003, {}, false }, { 150, 0, m_child, 100004, {}, false } });
    start();
    CInstance& self = instance(1);
    struct Case {
        const char* code; // run for the first child
        const char* traced; // its trace
    };
    const Case cases[] = {
        { "trace(instance_find(all, 0), instance_find(all, 3), instance_find(all, 4))", "100001100004-4" },
        { "trace(instance_find(parent, 1), instance_find(child, 1), instance_find(loner, 1))", "100002100004-4" },
        { "trace(instance_find(100003, 0), instance_find(100003, 1), instance_find(100009, 0))", "100003-4-4" },
        { "trace(instance_find(-1, 0), instance_find(noone, 0), instance_find(all, 1.5))", "-4-4100003" },
        { "trace(instance_number(all), instance_number(parent), instance_number(child))", "432" },
        { "trace(instance_number(self), instance_number(100004), instance_number(100009))", "110" },
        { "trace(instance_exists(parent), instance_exists(77), instance_exists(other))", "101" },
    };
    for (const Case& test : cases)
        EXPECT_EQ(trace_of(self, test.code), test.traced) << test.code;

    // Marked instances are gone for every query at once, though they leave the array only after the step.
    run(instance(3), "instance_destroy()");
    run(self, "instance_destroy()");
    EXPECT_EQ(trace_of(self, "trace(instance_number(all), instance_number(child), instance_exists(self))"), "200");
    EXPECT_EQ(trace_of(self, "trace(instance_find(parent, 1), instance_find(100004, 0))"), "-4-4");
}

// Self and other count as themselves, never by their id: room code runs for a temporary instance whose id 0
// would be an object index, and a changed instance leaves its id to the new one.
TEST_F(InteractionFunctions, SelfAndOtherCountThemselves)
{
    family();
    add_room({ { 0, 0, m_parent, 100001, {}, false }, { 50, 0, m_parent, 100002, {}, false } },
        "trace(instance_number(self), instance_exists(self), instance_number(other), instance_number(0), ' ')");
    EXPECT_EQ(start(), "1110 [shown]");
    CInstance& self = instance(0);
    run(self, "instance_change(child, false)");
    EXPECT_EQ(trace_of(self, "trace(instance_exists(self), instance_number(self), instance_exists(id))"), "001");
    EXPECT_EQ(trace_of(instance(1), "trace(instance_number(parent), instance_number(child))"), "21");
}

TEST_F(InteractionFunctions, NearestAndFurthestKeepTheEarlierOnTies)
{
    family();
    add_room({ { 10, 0, m_parent, 100001, {}, false }, { -10, 0, m_child, 100002, {}, false },
        { 0, 30, m_other, 100003, {}, false }, { 0, -30, m_child, 100004, {}, false } });
    start();
    CInstance& self = instance(0);
    struct Case {
        const char* code; // run for the parent
        const char* traced; // its trace
    };
    const Case cases[] = {
        { "trace(instance_nearest(0, 0, all), ' ', instance_furthest(0, 0, all))", "100001 100003" },
        { "trace(instance_nearest(0, 0, child), ' ', instance_furthest(0, 0, child))", "100002 100004" },
        { "trace(instance_nearest(0, 0, parent), ' ', instance_furthest(0, 0, parent))", "100001 100004" },
        { "trace(instance_nearest(0, 0, 100001), ' ', instance_furthest(0, 0, 100001))", "-4 -4" },
        { "trace(instance_nearest(0, 0, 99), ' ', instance_furthest(0, 0, -1))", "-4 -4" },
        { "trace(instance_nearest(100010, 0, all), ' ', instance_nearest(100009, 0, all))", "-4 100001" },
        { "trace(instance_furthest(10, 0, all))", "100003" },
    };
    for (const Case& test : cases)
        EXPECT_EQ(trace_of(self, test.code), test.traced) << test.code;
}

TEST_F(InteractionFunctions, DistancesFromTheBoundingBox)
{
    family();
    // Boxes of 10 by 10: the parent at (0, 0), the child right of it, the loner below right.
    add_room({ { 0, 0, m_parent, 100001, {}, false }, { 30, 0, m_child, 100002, {}, false },
        { 39, 49, m_other, 100003, {}, false } });
    start();
    CInstance& self = instance(0);
    struct Case {
        const char* expression; // for the parent, with other the loner
        double expected; // the distance
    };
    const Case cases[] = {
        { "distance_to_point(5, 5)", 0 },
        { "distance_to_point(9, 9)", 0 },
        { "distance_to_point(12, 5)", 3 },
        { "distance_to_point(-4, -3)", 5 },
        { "distance_to_point(12, 13)", 5 },
        { "distance_to_object(child)", 21 },
        { "distance_to_object(parent)", 1000000 },
        { "distance_to_object(100003)", 50 },
        { "distance_to_object(all)", 21 },
        { "distance_to_object(other)", 50 },
        { "distance_to_object(self)", 1000000 },
    };
    for (const Case& test : cases) {
        Value result;
        CCode code(std::string("return ") + test.expression, false);
        ASSERT_TRUE(code.compile());
        execute_reporting(&self, &instance(2), code, result);
        EXPECT_EQ(result.real, test.expected) << test.expression;
    }
}

TEST_F(InteractionFunctions, CreatingCopyingAndChangingInstances)
{
    int object = add_object("thing");
    int other = add_object("other");
    event(object, EVENT_CREATE).actions = { code_action("trace('made ', id, ' '); made = id") };
    event(object, EVENT_DESTROY).actions = { trace_action("gone ") };
    event(other, EVENT_CREATE).actions = { trace_action("other made ") };
    // Room code runs for a temporary instance of no object, which has nothing to copy.
    add_room({ { 5, 6, object, 100001, {}, false } }, "global.copied = instance_copy(true)");
    EXPECT_EQ(start(), "made 100001 [shown]");
    CInstance& self = instance(0);
    EXPECT_EQ(run(self, "return global.copied").real, -4);
    EXPECT_EQ(world().current_room()->instance_count(), 1);

    run(self, "v = 7; hspeed = 2; copy = instance_copy(false)");
    EXPECT_EQ(take_trace(), "");
    CInstance& copy = instance(1);
    EXPECT_EQ(copy.m_id, LAST_INSTANCE_ID + 1);
    EXPECT_EQ(run(self, "return copy").real, copy.m_id);
    run(copy, "v = 8");
    EXPECT_EQ(trace_of(copy, "trace(v, ' ', x, ',', y, ' ', hspeed, ' ', made)"), "8 5,6 2 100001");
    EXPECT_EQ(trace_of(self, "trace(v)"), "7");
    EXPECT_EQ(trace_of(self, "instance_copy(true)"), "made 100102 ");

    EXPECT_EQ(run(self, "return instance_create(1, 2, thing)").real, LAST_INSTANCE_ID + 3);
    EXPECT_EQ(take_trace(), "made 100103 ");
    EXPECT_EQ(run(self, "return instance_create(1, 2, 99)").real, -4);
    EXPECT_NE(take_trace().find("Creating instance for non-existing object: 99"), std::string::npos);
    EXPECT_EQ(run(self, "return action_create_object(99, 0, 0)").real, 0);
    EXPECT_NE(take_trace().find("Creating instance for non-existing object: 99"), std::string::npos);

    EXPECT_EQ(trace_of(copy, "instance_change(other, false)"), "");
    EXPECT_EQ(trace_of(self, "instance_change(other, true)"), "gone other made ");
    EXPECT_EQ(trace_of(self, "trace(instance_number(thing), instance_number(other))"), "22");
}

TEST_F(InteractionFunctions, RoomsInTheirOrder)
{
    int object = add_object("thing");
    for (int room = 0; room < 4; ++room)
        add_room({ { 0, 0, object, 100001 + room, {}, false } });
    room_order = { 2, 0, 1 };
    start();
    CInstance& self = instance(0);
    struct Case {
        const char* expression; // for the instance of the first room played
        double expected; // its value
    };
    const Case cases[] = {
        { "room_previous(2)", -1 },
        { "room_next(2)", 0 },
        { "room_previous(1)", 0 },
        { "room_next(1)", -1 },
        { "room_previous(3)", -1 },
        { "room_next(3)", -1 },
        { "room_next(-1)", -1 },
        { "room_next(0)", 1 },
    };
    for (const Case& test : cases)
        EXPECT_EQ(run(self, std::string("return ") + test.expression).real, test.expected) << test.expression;

    World& game = world();
    game.set_transition({ 7, 0, 40 });
    run(self, "room_goto(1)");
    EXPECT_EQ(game.pending_change(), 1);
    EXPECT_EQ(game.transition().kind, 7);
    run(self, "room_goto_next()");
    EXPECT_EQ(game.pending_change(), 0);
    run(self, "room_restart()");
    EXPECT_EQ(game.pending_change(), 2);
    run(self, "game_end()");
    EXPECT_EQ(game.pending_change(), CHANGE_END_GAME);
    run(self, "game_restart()");
    EXPECT_EQ(game.pending_change(), CHANGE_RESTART);
    run(self, "room_goto_previous()");
    EXPECT_EQ(game.pending_change(), CHANGE_STOP);
    EXPECT_NE(take_trace().find("[fatal] "), std::string::npos);
}

TEST_F(InteractionFunctions, MovesStopAtAndLeaveWalls)
{
    int mover = add_object("mover");
    objects.get(mover)->sprite = add_sprite(1);
    int wall = add_wall();
    int ghost = add_object("ghost");
    objects.get(ghost)->sprite = objects.get(wall)->sprite;
    add_room({ { 0, 0, mover, 100001, {}, false }, { 64, 0, wall, 100002, {}, false },
        { 0, 100, ghost, 100003, {}, false } });
    start();
    loop();
    CInstance& self = instance(0);
    struct Case {
        double x, y; // the start
        const char* code; // the move
        const char* traced; // x,y afterwards
    };
    const Case cases[] = {
        { 0, 0, "move_contact_solid(0, 0)", "32,0" },
        { 0, 0, "move_contact_solid(0, 10)", "10,0" },
        { 0, 0, "move_contact(0)", "32,0" },
        { 70, 0, "move_contact(0)", "96,0" },
        { 70, 0, "move_outside_solid(180, 0)", "32,0" },
        { 0, 60, "move_contact_all(270, 0)", "0,68" },
        { 0, 60, "move_contact_solid(270, 200)", "0,260" },
        { 0, 120, "move_outside_all(90, 5)", "0,115" },
        { 0, 0, "motion_set(90, 2); x += hspeed; y += vspeed", "0,-2" },
        { 0, 0, "motion_set(0, 3); motion_add(90, 4); x += hspeed; y += vspeed", "3,-4" },
        { 0, 0, "move_towards_point(30, 40, 10); x += hspeed; y += vspeed", "6,8" },
    };
    for (const Case& test : cases) {
        self.set_position(test.x, test.y);
        run(self, "speed = 0");
        run(self, test.code);
        EXPECT_EQ(trace_of(self, "trace(x, ',', y)"), test.traced) << test.code << " from " << test.x << "," << test.y;
    }
    struct Question {
        const char* expression; // with self at (0, 0)
        double expected; // its value
    };
    const Question questions[] = {
        { "place_free(40, 0)", 0 },
        { "place_free(0, 80)", 1 },
        { "place_empty(0, 80)", 0 },
        { "place_meeting(40, 0, wall)", 1 },
        { "place_meeting(0, 0, wall)", 0 },
        { "place_meeting(0, 0, -1)", 0 },
        { "instance_place(40, 0, all)", 100002 },
        { "instance_place(0, 80, wall)", -4 },
        { "instance_position(64, 31, all)", 100002 },
        { "instance_position(63, 31, wall)", -4 },
        { "position_empty(70, 10)", 0 },
        { "position_empty(40, 40)", 1 },
        { "position_meeting(5, 5, -1)", 1 },
        { "position_meeting(5, 105, ghost)", 1 },
    };
    self.set_position(0, 0);
    for (const Question& test : questions)
        EXPECT_EQ(run(self, std::string("return ") + test.expression).real, test.expected) << test.expression;
    EXPECT_EQ(self.x(), 0);

    run(self, "position_change(5, 105, wall, false); position_destroy(70, 10)");
    EXPECT_EQ(trace_of(self, "trace(instance_number(wall), instance_number(ghost))"), "10");
}

// Place tests while rooms end and start see the room as it is then: without the instances removed when it
// ended, with those made since, and, in a room that starts again where the old one lay in memory, only its own.
TEST_F(InteractionFunctions, PlaceTestsSeeTheRoomAsItIsWhileRoomsEndAndStart)
{
    int wall = add_wall();
    int mover = add_object("mover");
    objects.get(mover)->sprite = add_sprite(1);
    event(mover, EVENT_CREATE).actions = { code_action("trace(place_free(64, 0), instance_place(64, 0, wall), ' ')") };
    event(mover, EVENT_OTHER, OTHER_ROOM_END).actions
        = { code_action("instance_create(400, 0, wall); trace(place_free(400, 0), ' ')") };
    add_room({ { 0, 0, mover, 100001, {}, false }, { 64, 0, wall, 100002, {}, false } });
    loop();
    EXPECT_EQ(start(), "0100002 [shown]");
    for (const char* wall_code : { "instance_destroy()", "x = 300", "x = 300" }) {
        run(instance(1), wall_code);
        run(instance(0), "room_restart()");
        loop().handle_pending_change();
        EXPECT_EQ(take_trace(), "0 0100002 [shown]") << wall_code;
    }
}

// After a change the old instance stays in the array, marked, until the step ends; its id already belongs to
// the new one, which every selector by id finds.
TEST_F(InteractionFunctions, AChangedInstanceIsFoundByItsId)
{
    int wall = add_wall();
    int block = add_object("block");
    objects.get(block)->sprite = objects.get(wall)->sprite;
    add_room({ { 64, 0, block, 100001, {}, false }, { 0, 200, block, 100002, {}, false } });
    start();
    loop();
    run(instance(0), "instance_change(wall, false)");
    ASSERT_EQ(world().current_room()->instance_count(), 3);
    CInstance& self = instance(1);
    struct Case {
        const char* code; // run for the other block
        const char* traced; // its trace
    };
    const Case cases[] = {
        { "trace(instance_exists(100001), instance_number(100001), instance_find(100001, 0))", "11100001" },
        { "trace(instance_place(40, 0, 100001), ' ', place_meeting(40, 0, 100001))", "100001 1" },
        { "trace(instance_position(70, 10, 100001), ' ', position_meeting(70, 10, 100001))", "100001 1" },
        { "trace(instance_number(wall), instance_number(block), place_free(40, 0))", "110" },
    };
    for (const Case& test : cases)
        EXPECT_EQ(trace_of(self, test.code), test.traced) << test.code;
}

TEST_F(InteractionFunctions, BouncingReversesTheBlockedMotion)
{
    int mover = add_object("mover");
    objects.get(mover)->sprite = add_sprite(1);
    int wall = add_wall();
    add_room({ { 30, 0, mover, 100001, {}, false }, { 64, 0, wall, 100002, {}, false } });
    start();
    loop();
    CInstance& self = instance(0);
    for (const char* bounce :
        { "move_bounce(false)", "move_bounce_solid(false)", "move_bounce_all(false)", "action_bounce(false, 1)" }) {
        run(self, "hspeed = 4; vspeed = 0");
        run(self, bounce);
        EXPECT_EQ(trace_of(self, "trace(hspeed)"), "-4") << bounce;
    }
}

TEST_F(InteractionFunctions, SleepingCountsOnTheClock)
{
    int object = add_object("thing");
    add_room({ { 0, 0, object, 100001, {}, false } });
    start();
    loop();
    run(instance(0), "sleep(12.5); sleep(-5); action_sleep(3, false)");
    EXPECT_EQ(clock.ticks_ms(), 15u);
    EXPECT_EQ(take_trace(), "");
    run(instance(0), "action_sleep(3, true)");
    EXPECT_EQ(clock.ticks_ms(), 18u);
    EXPECT_NE(take_trace().find("This function is not available yet: action_sleep"), std::string::npos);
    int redrawn = 0;
    play_services().redraw = [&] { ++redrawn; };
    run(instance(0), "action_sleep(3, true)");
    EXPECT_EQ(redrawn, 1);
}

TEST_F(InteractionFunctions, SavingWritesAtOnceAndLoadingWaitsForTheStep)
{
    int object = add_object("thing");
    add_room({ { 0, 0, object, 100001, {}, false } });
    start();
    loop();
    std::filesystem::path file = std::filesystem::temp_directory_path() / "quillon_interaction_test.sav";
    std::filesystem::remove(file);
    run(instance(0), "score = 12; game_save('" + file.string() + "'); score = 3");
    EXPECT_TRUE(std::filesystem::exists(file));
    run(instance(0), "game_load('" + file.string() + "')");
    EXPECT_EQ(world().pending_change(), CHANGE_LOAD);
    EXPECT_EQ(game_counters().score, 3);
    loop().handle_pending_change();
    EXPECT_EQ(game_counters().score, 12);
    run(instance(0), "score = 4; action_save_game('" + file.string() + "'); action_load_game('" + file.string() + "')");
    loop().handle_pending_change();
    EXPECT_EQ(game_counters().score, 4);
    std::filesystem::remove(file);
    EXPECT_EQ(take_trace(), "");
}

} // namespace
