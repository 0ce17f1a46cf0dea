// Rooms: the order of room start and end, persistent rooms and instances, room requests and their errors,
// the room order, and tiles.
#include "world_fixture.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

class Rooms : public WorldTest {
protected:
    // An object that traces its create, game start, room start, room end and game end events.
    int traced_object(const std::string& name, bool persistent = false)
    {
        int object = add_object(name);
        objects.get(object)->persistent = persistent;
        auto said = [&](const std::string& what) { return call_action("trace", {"'" + what + ":'", "id", "' '"}); };
        event(object, EVENT_CREATE).actions = {said("create")};
        event(object, EVENT_OTHER, OTHER_GAME_START).actions = {said("game-start")};
        event(object, EVENT_OTHER, OTHER_ROOM_START).actions = {said("room-start")};
        event(object, EVENT_OTHER, OTHER_ROOM_END).actions = {said("room-end")};
        event(object, EVENT_OTHER, OTHER_GAME_END).actions = {said("game-end")};
        return object;
    }
};

}  // namespace

TEST_F(Rooms, StartAndEndRunInTheirOrder)
{
    int thing = traced_object("thing");
    library_code = {"global.library = 1", "", "trace('library ')"};
    add_room({{0, 0, thing, 100001, "trace('code:', id, ' ')", false}, {0, 0, thing, 100002, "x = ", false}},
             "trace('room-code:', global.library, ' ')");
    add_room({{0, 0, thing, 100010, {}, false}});
    std::string started = start();
    EXPECT_NE(started.find("COMPILATION ERROR in initialization code for instance\r"), std::string::npos) << started;
    started.erase(started.find("[error]"), started.find("create:100002") - started.find("[error]"));
    EXPECT_EQ(started, "library code:100001 create:100001 create:100002 game-start:100001 game-start:100002 "
                       "room-code:1 room-start:100001 room-start:100002 [shown]");
    world().create_instance(thing, 0, 0);
    take_trace();
    world().change_room(1);
    EXPECT_EQ(take_trace(), "room-end:100001 room-end:100002 room-end:100101 create:100010 room-start:100010 [shown]");
    world().end_game_world();
    EXPECT_EQ(take_trace(), "room-end:100010 game-end:100010 ");
    EXPECT_EQ(world().current_room(), nullptr);
}

TEST_F(Rooms, NonPersistentRoomsStartAgainFromTheirTemplate)
{
    int thing = traced_object("thing");
    add_room({{0, 0, thing, 100001, {}, false}});
    add_room();
    start();
    run(instance(0), "x = 50");
    world().change_room(1);
    world().change_room(0);
    EXPECT_EQ(take_trace(), "room-end:100001 [shown]create:100001 room-start:100001 [shown]");
    EXPECT_EQ(instance(0).x(), 0);
}

TEST_F(Rooms, PersistentRoomsKeepTheirStateAndOnlyStartAgain)
{
    int thing = traced_object("thing");
    add_room({{0, 0, thing, 100001, {}, false}}, "trace('room-code ')", true);
    add_room();
    start();
    run(instance(0), "x = 50");
    world().current_room()->add_tile(Tile {});
    world().change_room(1);
    world().change_room(0);
    EXPECT_EQ(take_trace(), "room-end:100001 [shown]room-start:100001 [shown]");
    EXPECT_EQ(instance(0).x(), 50);
    EXPECT_EQ(world().current_room()->tiles.size(), 1u);
}

TEST_F(Rooms, PersistentInstancesMoveOnAndReplaceTheirNamesakes)
{
    int hero = traced_object("hero", true);
    int thing = traced_object("thing");
    add_room({{0, 0, hero, 100001, {}, false}, {0, 0, thing, 100002, {}, false}});
    add_room({{0, 0, hero, 100001, "trace('never ')", false}, {0, 0, thing, 100003, {}, false}});
    world();
    start();
    run(instance(0), "x = 33; carried = 'yes'");
    world().change_room(1);
    EXPECT_EQ(take_trace(), "room-end:100001 room-end:100002 create:100003 room-start:100003 room-start:100001 [shown]");
    LiveRoom& room = *world().current_room();
    ASSERT_EQ(room.instance_count(), 3);
    EXPECT_TRUE(room.instance(0)->m_destroyed);  // the template's 100001
    CInstance& carried = *room.instance(2);
    EXPECT_EQ(carried.m_id, 100001);
    EXPECT_EQ(carried.x(), 33);
    EXPECT_EQ(run(carried, "return carried").string.str(), "yes");
    EXPECT_EQ(room.descendants_count(hero), 2);  // the marked one stays until removal
    room.remove_marked();
    EXPECT_EQ(room.descendants_count(hero), 1);
    EXPECT_EQ(world().create_instance(thing, 0, 0)->m_id, 100102);  // the carried instance drew 100101
}

TEST_F(Rooms, RequestsWaitForTheLoopAndBadOnesStopTheGame)
{
    int thing = add_object("thing");
    add_room();
    add_room();
    add_room({{0, 0, thing, 100001, {}, false}});
    room_order = {2, 0, 1};
    start();
    EXPECT_EQ(world().current_room_index(), 2);
    EXPECT_EQ(world().previous_room(2), -1);
    EXPECT_EQ(world().next_room(2), 0);
    EXPECT_EQ(world().previous_room(1), 0);
    EXPECT_EQ(world().next_room(1), -1);
    EXPECT_EQ(world().next_room(7), -1);
    world().go_to_next_room();
    EXPECT_EQ(world().pending_change(), 0);
    world().change_room(1);
    EXPECT_EQ(world().pending_change(), CHANGE_NONE);
    world().go_to_next_room();
    EXPECT_EQ(world().pending_change(), CHANGE_STOP);
    EXPECT_NE(take_trace().find("[fatal] "), std::string::npos);

    for (const char* code : {"room = 9", "room_goto_previous"}) {
        errors().reset();
        world().change_room(2);
        take_trace();
        if (std::string(code) == "room = 9")
            run(instance(0), code);
        else
            world().go_to_previous_room();
        EXPECT_EQ(world().pending_change(), CHANGE_STOP) << code;
        std::string log = take_trace();
        EXPECT_NE(log.find(std::string(code) == "room = 9" ? "Unexisting room number: 9"
                                                           : "Moving to previous room before the first room."),
                  std::string::npos)
            << log;
    }
}

TEST(LiveRoomTiles, FindDeleteAndSortByDepth)
{
    ResourceList<CObject> objects;
    ObjectTree tree(objects);
    LiveRoom room(tree);
    room.add_tile(Tile {0, 0, -1, 0, 0, 10, 10, 5, 7});
    room.add_tile(Tile {5, 5, -1, 0, 0, 10, 10, -1, 8});
    room.add_tile(Tile {20, 20, -1, 0, 0, 10, 10, 10, 9});
    EXPECT_EQ(room.find_tile(8), 1);
    EXPECT_EQ(room.find_tile(99), -1);
    EXPECT_EQ(room.find_tile_at(5, 5, true), 1);
    EXPECT_EQ(room.find_tile_at(5, 5, false), 0);
    EXPECT_EQ(room.find_tile_at(10, 10, false), -1);  // the far edges are outside when finding
    room.sort_tiles_by_depth();
    EXPECT_EQ((std::array {room.tiles[0].id, room.tiles[1].id, room.tiles[2].id}), (std::array {9, 7, 8}));
    room.delete_tiles_at(10, 10, false);  // edges included when deleting; only depths >= 0
    EXPECT_EQ(room.tiles.size(), 2u);
    EXPECT_EQ(room.tiles[1].id, 8);
}

TEST_F(Rooms, SavedRoomsComeBackWithTheirInstancesTilesAndLists)
{
    int sprite = add_sprite(3, {1, 2, 9, 8});
    int parent = add_object("parent");
    int child = add_object("child", parent);
    objects.get(child)->sprite = sprite;
    add_room({{10, 20, child, 100001, "x = 1", false}, {0, 0, parent, 100002, {}, false}});
    start();
    LiveRoom& room = *world().current_room();
    CInstance& first = instance(0);
    run(first, "speed = 3; direction = 30; alarm[2] = 9; path_scale = 2; name = 'saved'; list[3] = 4; "
               "room_caption = 'kept'; view_object[2] = 5; background_alpha[1] = 0.5");
    instance(1).m_destroyed = true;
    room.add_tile(Tile {1, 2, 3, 4, 5, 6, 7, -8, 1000001, 2, 3, 0.5, false});

    CStream saved;
    room.save(saved);
    saved.set_position(0);
    LiveRoom loaded(world().tree());
    ASSERT_TRUE(loaded.load(saved, objects, &sprites));
    ASSERT_EQ(loaded.instance_count(), 2);
    CInstance& back = *loaded.instance(0);
    EXPECT_EQ(back.m_id, 100001);
    EXPECT_EQ(back.object, objects.get(child));
    EXPECT_EQ((std::array {back.x(), back.hspeed(), back.vspeed(), back.speed(), back.direction(), back.path_scale}),
              (std::array {first.x(), first.hspeed(), first.vspeed(), 3.0, 30.0, 2.0}));
    EXPECT_EQ(back.bbox_right(), first.bbox_right());
    EXPECT_EQ(back.image_number(), 3);
    EXPECT_EQ(back.alarm(2), 9);
    EXPECT_EQ(back.creation_code, "x = 1");
    EXPECT_EQ(run(back, "return name").string.str(), "saved");
    EXPECT_EQ(run(back, "return list[3]").real, 4);
    EXPECT_TRUE(loaded.instance(1)->m_destroyed);
    EXPECT_EQ(loaded.descendants_count(parent), 2);
    EXPECT_EQ(loaded.object_count(child), 1);
    EXPECT_EQ(loaded.caption, "kept");
    EXPECT_EQ(loaded.views[2].object_followed, 5);
    EXPECT_EQ(loaded.layers[1].alpha, 0.5);
    ASSERT_EQ(loaded.tiles.size(), 1u);
    EXPECT_EQ(loaded.tiles[0].depth, -8);
    EXPECT_FALSE(loaded.tiles[0].visible);

    CStream wrong;
    wrong.WriteInt(421);
    wrong.set_position(0);
    EXPECT_FALSE(loaded.load(wrong, objects, &sprites));
}

TEST_F(Rooms, CodeThatDoesNotCompileIsReportedAndSkipped)
{
    struct Case {
        const char* name;      // which code fails
        bool in_library;       // library code, else the room's creation code
        const char* expected;  // the start of the report
    };
    const Case cases[] = {
        {"library code is fatal", true, "[fatal] COMPILATION ERROR in library initialization code\r"},
        {"room code is not", false, "[error] COMPILATION ERROR in room script\r"},
    };
    for (const Case& test : cases) {
        objects.clear();
        rooms.clear();
        m_world.reset();
        errors().reset();
        int thing = traced_object("thing");
        library_code = {test.in_library ? "a = " : ""};
        add_room({{0, 0, thing, 100001, {}, false}}, test.in_library ? "" : "b = (");
        std::string log = start();
        EXPECT_NE(log.find(test.expected), std::string::npos) << test.name << ": " << log;
        EXPECT_EQ(log.find("room-start:100001") != std::string::npos, !test.in_library) << test.name << ": " << log;
        EXPECT_EQ(world().pending_change(), test.in_library ? CHANGE_STOP : CHANGE_NONE) << test.name;
    }
}

TEST_F(Rooms, RunningOutOfLivesPerformsItsEventOnce)
{
    int thing = add_object("thing");
    event(thing, EVENT_OTHER, 6).actions = {trace_action("no-lives ")};
    event(thing, EVENT_OTHER, 9).actions = {trace_action("no-health ")};
    add_room({{0, 0, thing, 100001, {}, false}});
    start();
    run(instance(0), "lives = 3; lives = 0; lives = 0; health = -1; health = -5");
    EXPECT_EQ(take_trace(), "no-lives no-health ");
}
