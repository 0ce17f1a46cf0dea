// Views following their instances, the regions they take, and the window caption with its counters.
#include "world/room_draw.h"
#include "world/views.h"
#include "world_fixture.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

class Views : public WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        int sprite = add_sprite(1, {0, 0, 31, 31});
        m_object = add_object("player");
        objects.get(m_object)->sprite = sprite;
        m_tree = std::make_unique<ObjectTree>(objects);
    }

    // A 640 x 480 room with views on and one instance of the player (box 32 x 32 from its position).
    std::unique_ptr<LiveRoom> room_with_player(double x, double y, std::int32_t id = 100001)
    {
        auto room = std::make_unique<LiveRoom>(*m_tree);
        room->views_enabled = true;
        auto instance = std::make_unique<CInstance>(&sprites);
        instance->create(id, m_object, objects.get(m_object), x, y);
        room->append(std::move(instance));
        return room;
    }

    int m_object = -1;
    std::unique_ptr<ObjectTree> m_tree;
};

}  // namespace

TEST_F(Views, FollowKeepsTheBorderStaysInTheRoomAndKeepsToItsSpeed)
{
    struct Case {
        const char* what;      // the situation
        double player_x;       // the followed instance's position
        double player_y;
        RoomView view;         // before following (the object is filled in)
        std::int32_t x;        // after following
        std::int32_t y;
    };
    auto view = [](int x, int y, int width, int height, int hspeed = -1, int vspeed = -1) {
        RoomView v;
        v.visible = true;
        v.x = x;
        v.y = y;
        v.width = width;
        v.height = height;
        v.horizontal_speed = hspeed;
        v.vertical_speed = vspeed;
        return v;
    };
    const Case cases[] = {
        {"inside the borders", 50, 40, view(0, 0, 200, 150), 0, 0},
        {"past the right and bottom borders", 300, 200, view(0, 0, 200, 150), 163, 113},
        {"past the left and top borders", 310, 210, view(300, 200, 200, 150), 278, 178},
        {"kept off negative positions", 10, 5, view(100, 100, 200, 150), 0, 0},
        {"kept inside the room's right and bottom", 620, 470, view(0, 0, 200, 150), 440, 330},
        {"a view wider than the room", 300, 10, view(0, 0, 800, 150), -160, 0},
        {"speed 0 never moves", 300, 200, view(0, 0, 200, 150, 0, 0), 0, 0},
        {"speeds limit the move", 300, 200, view(0, 0, 200, 150, 5, 200), 5, 113},
        {"the limit applies after keeping in the room", 10, 5, view(300, 250, 200, 150, 40, 1000), 260, 0},
    };
    for (const Case& c : cases) {
        auto room = room_with_player(c.player_x, c.player_y);
        room->views[2] = c.view;
        room->views[2].object_followed = m_object;
        follow_views(*room);
        EXPECT_EQ(room->views[2].x, c.x) << c.what;
        EXPECT_EQ(room->views[2].y, c.y) << c.what;
    }
}

TEST_F(Views, FollowFindsInstancesByIdAndSkipsMarkedOnes)
{
    RoomView start;
    start.visible = true;
    start.width = 200;
    start.height = 150;

    // By id, an instance that replaced a marked one of the same id is followed.
    auto room = room_with_player(300, 200, 100007);
    room->instance(0)->m_destroyed = true;
    auto newer = std::make_unique<CInstance>(&sprites);
    newer->create(100007, m_object, objects.get(m_object), 400, 10);
    room->append(std::move(newer));
    room->views[0] = start;
    room->views[0].object_followed = 100007;
    follow_views(*room);
    EXPECT_EQ(room->views[0].x, 263);

    // Every instance of the object marked: the view stays; an object without instances or a view of no object
    // as well; and nothing follows while views are off.
    auto marked = room_with_player(300, 200);
    marked->instance(0)->m_destroyed = true;
    marked->views[0] = start;
    marked->views[0].object_followed = m_object;
    marked->views[1] = start;
    marked->views[1].object_followed = -1;
    follow_views(*marked);
    EXPECT_EQ(marked->views[0].x, 0);
    EXPECT_EQ(marked->views[1].x, 0);
    auto off = room_with_player(300, 200);
    off->views_enabled = false;
    off->views[0] = start;
    off->views[0].object_followed = m_object;
    follow_views(*off);
    EXPECT_EQ(off->views[0].x, 0);
}

TEST_F(Views, RegionsShowTheVisibleViewsOneToOne)
{
    auto room = room_with_player(0, 0);
    room->views[1].visible = true;
    room->views[1].x = 30;
    room->views[1].y = 40;
    room->views[1].width = 100;
    room->views[1].height = 50;
    room->views[1].port_x = 7;
    room->views[1].port_y = 8;
    DDSurface buffer(200, 100, false, 0, false);
    RegionTable regions;
    regions.reset(buffer);
    regions.set(0, {0, 0, 5, 5}, 0, 0);
    set_view_regions(*room, regions);
    EXPECT_FALSE(regions.region(0).enabled);
    ASSERT_TRUE(regions.region(1).enabled);
    EXPECT_EQ(regions.region(1).port, (SurfaceRect {7, 8, 107, 58}));
    EXPECT_EQ(regions.region(1).view_x, 30);
    EXPECT_EQ(regions.region(1).view_y, 40);
    room->views_enabled = false;
    set_view_regions(*room, regions);
    EXPECT_FALSE(regions.region(1).enabled);
}

TEST(Caption, CountersFollowTheRoomCaptionAsAsked)
{
    struct Case {
        const char* what;        // the situation
        GameCounters counters;   // score, lives, health
        RoomDrawState state;     // what shows
        const char* caption;     // the window caption
    };
    RoomDrawState written;
    written.show_score_written = true;
    RoomDrawState everything;
    everything.show_lives = everything.show_health = true;
    everything.caption_score = "S=";
    RoomDrawState nothing;
    nothing.show_score = false;
    nothing.show_score_written = true;
    const Case cases[] = {
        {"score 0 never written", {0, -1, 100}, {}, "Level"},
        {"a score above 0", {12, -1, 100}, {}, "Level Score: 12"},
        {"score 0 once the game set show_score", {0, -1, 100}, written, "Level Score: 0"},
        {"everything, health halves to even up", {-3, 2, 99.5}, everything, "Level Lives: 2 Health: 100"},
        {"everything with a score, health halves to even down", {7, 0, 98.5}, everything,
            "Level S=7 Lives: 0 Health: 98"},
        {"score switched off", {5, 3, 50}, nothing, "Level"},
    };
    std::string text;
    for (const Case& c : cases) {
        build_caption("Level", c.counters, c.state, text);
        EXPECT_EQ(text, c.caption) << c.what;
    }
}

TEST_F(Views, ScriptsSeeTheCaptionStateAndWritingShowScoreShowsAZeroScore)
{
    room_draw_state() = RoomDrawState();
    add_room();
    start();
    CInstance& self = *world().create_instance(add_object("other"), 0, 0);
    EXPECT_EQ(run(self, "return show_score + 2 * show_lives + 4 * show_health").real, 1);
    EXPECT_EQ(run(self, "return caption_health").string.str(), "Health: ");
    EXPECT_FALSE(room_draw_state().show_score_written);
    run(self, "show_score = 1; show_health = 1; caption_lives = 'L'; return 0");
    EXPECT_TRUE(room_draw_state().show_score_written);
    EXPECT_TRUE(room_draw_state().show_health);
    EXPECT_EQ(room_draw_state().caption_lives, "L");
    EXPECT_EQ(run(self, "return view_current").real, 0);
    room_draw_state() = RoomDrawState();
}

TEST_F(Views, DrawingOrderIsLargestDepthFirstAndKeepsArrayOrderOnEqualDepths)
{
    auto room = room_with_player(0, 0);
    room->instance(0)->depth = 2;
    for (int i = 1; i < 37; ++i) {
        auto instance = std::make_unique<CInstance>(&sprites);
        instance->create(100001 + i, m_object, objects.get(m_object), 0, 0);
        instance->depth = (i * 7) % 5 - 2;  // runs of equal depths spread through the array
        room->append(std::move(instance));
    }
    std::vector<CInstance*> expected;
    for (int i = 0; i < room->instance_count(); ++i)
        expected.push_back(room->instance(i));
    std::stable_sort(expected.begin(), expected.end(), [](auto* a, auto* b) { return a->depth > b->depth; });
    std::vector<CInstance*> order;
    std::vector<CInstance*> scratch;
    room->depth_order(order, scratch);
    EXPECT_EQ(order, expected);
    // Already in order: the same again.
    for (int i = 0; i < room->instance_count(); ++i)
        room->instance(i)->depth = 0;
    room->depth_order(order, scratch);
    ASSERT_EQ(order.size(), 37u);
    for (int i = 0; i < 37; ++i)
        EXPECT_EQ(order[i], room->instance(i));
}
