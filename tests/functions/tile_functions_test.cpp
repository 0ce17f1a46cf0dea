// The tile functions: fields by id, missing tiles and backgrounds, added tiles and their ids, and finding and
// deleting tiles at a point.
#include "play_fixture.h"

#include <algorithm>

using namespace quillon;
using namespace quillon::testing;

namespace {

class TileFunctions : public PlayTest {
protected:
    // A room with a background and three 20 by 20 tiles (ids 11, 12, 13) at (10, 10), (10, 10) and (40, 0), with
    // depths 5, -5 and 0; the game is started in it.
    void start_with_tiles()
    {
        auto background = std::make_unique<CBackground>();
        background->width = background->height = 64;
        m_background = backgrounds.add("back", std::move(background));
        int object = add_object("thing");
        add_room({ { 0, 0, object, 100001, {}, false } });
        rooms.get(0)->tiles = { { 10, 10, m_background, 0, 0, 20, 20, 5, 11 },
            { 10, 10, m_background, 20, 0, 20, 20, -5, 12 }, { 40, 0, m_background, 0, 20, 20, 20, 0, 13 } };
        start();
    }
    double call(const std::string& code) { return run(instance(0), "return " + code).real; }
    std::vector<std::int32_t> tile_ids()
    {
        std::vector<std::int32_t> ids;
        for (const Tile& tile : world().current_room()->tiles)
            ids.push_back(tile.id);
        return ids;
    }

    int m_background = -1; // the background of the tiles
};

TEST_F(TileFunctions, AddedTilesTakeTheNextIdAndRoundOnlyTheRegion)
{
    start_with_tiles();
    EXPECT_EQ(call("tile_add(0, 1.4, 2.6, 10.5, 20, 5.5, 6.25, -3.5)"), 1000001);
    EXPECT_EQ(call("tile_add(0, 0, 0, 8, 8, 0, 0, 0)"), 1000002);
    struct Case {
        const char* code; // on the first added tile
        double value;
    };
    const Case cases[] = {
        { "tile_get_x(1000001)", 5.5 },
        { "tile_get_y(1000001)", 6.25 },
        { "tile_get_left(1000001)", 1 },
        { "tile_get_top(1000001)", 3 },
        { "tile_get_width(1000001)", 10 },
        { "tile_get_height(1000001)", 20 },
        { "tile_get_depth(1000001)", -3.5 },
        { "tile_get_visible(1000001)", 1 },
        { "tile_get_xscale(1000001)", 1 },
        { "tile_get_yscale(1000001)", 1 },
        { "tile_get_alpha(1000001)", 1 },
        { "tile_get_background(1000001)", 0 },
        { "tile_exists(1000001)", 1 },
        { "tile_exists(13)", 1 },
        { "tile_get_top(13)", 20 },
    };
    for (const Case& test : cases)
        EXPECT_EQ(call(test.code), test.value) << test.code;
    EXPECT_EQ(take_trace(), "");
    EXPECT_EQ(tile_ids(), (std::vector<std::int32_t> { 11, 12, 13, 1000001, 1000002 }));
}

TEST_F(TileFunctions, SettersChangeTheTileFoundById)
{
    start_with_tiles();
    struct Case {
        const char* set; // on tile 12
        const char* get;
        double value; // read back
    };
    const Case cases[] = {
        { "tile_set_position(12, 3.25, -7.5)", "tile_get_x(12) * 100 + tile_get_y(12)", 317.5 },
        { "tile_set_region(12, 1.5, 2.5, 3.6, 4.4)",
            "tile_get_left(12) * 1000 + tile_get_top(12) * 100 + "
            "tile_get_width(12) * 10 + tile_get_height(12)",
            2244 },
        { "tile_set_depth(12, 7.75)", "tile_get_depth(12)", 7.75 },
        { "tile_set_scale(12, 2.5, -1)", "tile_get_xscale(12) * 10 + tile_get_yscale(12)", 24 },
        { "tile_set_alpha(12, 0.25)", "tile_get_alpha(12)", 0.25 },
        { "tile_set_visible(12, 0)", "tile_get_visible(12)", 0 },
        { "tile_set_visible(12, 1)", "tile_get_visible(12)", 1 },
        { "tile_set_background(12, 0)", "tile_get_background(12)", 0 },
    };
    for (const Case& test : cases) {
        EXPECT_EQ(call(test.set), 0) << test.set;
        EXPECT_EQ(call(test.get), test.value) << test.set;
    }
    EXPECT_EQ(take_trace(), "");
    // The tile list keeps its order until the room is drawn.
    EXPECT_EQ(tile_ids(), (std::vector<std::int32_t> { 11, 12, 13 }));
}

TEST_F(TileFunctions, MissingTilesAndBackgroundsAreReported)
{
    start_with_tiles();
    struct Case {
        const char* code;
        double result;
        const char* message; // reported, or none
    };
    const Case cases[] = {
        { "tile_get_x(99)", 0, "Tile does not exist." },
        { "tile_get_width(99)", 0, "Tile does not exist." },
        { "tile_get_visible(99)", 0, "Tile does not exist." },
        { "tile_get_alpha(99)", 0, "Tile does not exist." },
        { "tile_get_background(99)", -1, "Tile does not exist." },
        { "tile_set_depth(99, 1)", 0, "Tile does not exist." },
        { "tile_set_background(99, 0)", 0, "Tile does not exist." },
        { "tile_delete(99)", 0, "Tile does not exist." },
        { "tile_exists(99)", 0, nullptr },
        { "tile_set_background(11, 1)", 0, "Background does not exist." },
        { "tile_add(-1, 0, 0, 8, 8, 0, 0, 0)", -1, "Background does not exist." },
        { "tile_add(3, 0, 0, 8, 8, 0, 0, 0)", -1, "Background does not exist." },
        { "tile_find(500, 500, 0)", -1, nullptr },
    };
    for (const Case& test : cases) {
        EXPECT_EQ(call(test.code), test.result) << test.code;
        std::string trace = take_trace();
        if (test.message)
            EXPECT_TRUE(trace.starts_with("[error] ") && trace.ends_with("\n" + std::string(test.message) + "\n"))
                << test.code << trace;
        else
            EXPECT_EQ(trace, "") << test.code;
    }
    // Nothing changed, and the failed adds used no id.
    EXPECT_EQ(call("tile_get_background(11)"), 0);
    EXPECT_EQ(tile_ids(), (std::vector<std::int32_t> { 11, 12, 13 }));
    EXPECT_EQ(call("tile_add(0, 0, 0, 8, 8, 0, 0, 0)"), 1000001);
}

TEST_F(TileFunctions, FindingTakesTheFirstTileUnderTheRoundedPointWithoutItsEdgesOrScale)
{
    start_with_tiles();
    call("tile_set_scale(13, 3, 3)");
    struct Case {
        const char* code;
        double id;
    };
    const Case cases[] = {
        { "tile_find(10, 10, 0)", 11 },
        { "tile_find(10, 10, 1)", 12 },
        { "tile_find(29.4, 29.4, 0)", 11 },
        { "tile_find(29.6, 10, 0)", -1 },
        { "tile_find(30, 10, 1)", -1 },
        { "tile_find(9.5, 10, 0)", 11 },
        { "tile_find(40, 0, 0)", 13 },
        { "tile_find(40, 0, 1)", -1 },
        { "tile_find(61, 5, 0)", -1 },
    };
    for (const Case& test : cases)
        EXPECT_EQ(call(test.code), test.id) << test.code;
}

TEST_F(TileFunctions, DeletingAtAPointIncludesTheEdgesAndDepthZeroOnBothLayers)
{
    start_with_tiles();
    std::vector<Tile> placed = world().current_room()->tiles;
    struct Case {
        const char* code;
        std::vector<std::int32_t> left; // the ids left, in order
    };
    const Case cases[] = {
        { "tile_delete_at(30, 30, 0)", { 12, 13 } },
        { "tile_delete_at(30, 30, 1)", { 11, 13 } },
        { "tile_delete_at(30.5, 30, 0)", { 11, 12, 13 } },
        { "tile_delete_at(40, 10, 0)", { 11, 12 } },
        { "tile_delete_at(60, 20, 1)", { 11, 12 } },
        { "tile_delete_at(20, 15, 1)", { 11, 13 } },
        { "tile_delete(12)", { 11, 13 } },
    };
    for (const Case& test : cases) {
        world().current_room()->tiles = placed;
        call(test.code);
        EXPECT_EQ(tile_ids(), test.left) << test.code;
    }
    EXPECT_EQ(take_trace(), "");
}

} // namespace
