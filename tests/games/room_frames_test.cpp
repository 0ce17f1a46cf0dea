// Whole rooms drawn headless and compared with kept frames: background layers with tiling, scrolling and alpha;
// instances and tiles by depth with transparency, scaling and alpha; views following an instance; draw events.
#include "played_game.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

constexpr Color RED = make_color(220, 40, 40);
constexpr Color GREEN = make_color(40, 200, 60);
constexpr Color BLUE = make_color(40, 60, 220);
constexpr Color YELLOW = make_color(240, 220, 40);
constexpr Color WHITE = make_color(255, 255, 255);
constexpr Color MAGENTA = make_color(255, 0, 255);
constexpr Color NAVY = make_color(10, 20, 60);

// Pictures are see-through where they have their bottom-left pixel's colour unless they say otherwise.
const Json OPAQUE = {{"transparent", false}};

// A w x h picture of one colour with a one-pixel frame of another, so that offsets and cuts show.
Bitmap24 framed(int width, int height, Color fill, Color edge)
{
    Bitmap24 bitmap(width, height, edge);
    for (int y = 1; y < height - 1; ++y)
        for (int x = 1; x < width - 1; ++x)
            bitmap.set_pixel(x, y, fill);
    return bitmap;
}

// A w x h picture cut in four quarters of the colours, clockwise from the top left.
Bitmap24 quarters(int width, int height, Color a, Color b, Color c, Color d)
{
    Bitmap24 bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.set_pixel(x, y, y < height / 2 ? (x < width / 2 ? a : b) : (x < width / 2 ? d : c));
    return bitmap;
}

// A see-through ring: magenta (the bottom-left pixel) is the transparent colour.
Bitmap24 ring()
{
    Bitmap24 bitmap = framed(8, 8, MAGENTA, GREEN);
    bitmap.set_pixel(0, 7, MAGENTA);
    return bitmap;
}

Json layer(const std::string& background, int x, int y, Json more = Json::object())
{
    Json entry {{"visible", true}, {"background", background}, {"x", x}, {"y", y}};
    entry.update(more);
    return entry;
}

Json hidden_layer() { return Json {{"visible", false}}; }

Json tile(const std::string& background, int x, int y, int left, int top, int width, int height, int depth)
{
    return Json {{"background", background}, {"x", x}, {"y", y}, {"left", left}, {"top", top}, {"width", width},
        {"height", height}, {"depth", depth}};
}

}  // namespace

TEST(RoomFrames, BackgroundLayersTileScrollAndCoverAsForegrounds)
{
    GameBuilder builder;
    builder.background("checker", quarters(8, 8, RED, WHITE, RED, WHITE), OPAQUE);
    builder.background("stripe", framed(6, 4, YELLOW, BLUE), OPAQUE);
    builder.background("window", ring(), {{"transparent", true}});
    builder.background("shade", Bitmap24(10, 10, BLUE), OPAQUE);
    builder.room("room").set("width", 48).set("height", 32).set("background_color", "#0a143c")
        .set("backgrounds", Json::array({
            // Both ways from an offset that is not a multiple of the size; scrolls 2 right and 1 up a step.
            layer("checker", 3, -2, {{"horizontal_speed", 2}, {"vertical_speed", -1}}),
            // One row only.
            layer("stripe", 5, 20, {{"tile_vertically", false}}),
            // One image, see-through where the picture is magenta.
            layer("window", 36, 4, {{"tile_horizontally", false}, {"tile_vertically", false}}),
            hidden_layer(),
            // Over everything, half see-through.
            layer("shade", 2, 2, {{"foreground", true}, {"tile_horizontally", false}, {"tile_vertically", false}}),
        }))
        .set("creation_code", "background_alpha[4] = 0.5");
    PlayedGame game(builder);
    EXPECT_TRUE(frame_matches(game.frame(), "layers"));
    // The stripe row: its first column starts left of the room.
    EXPECT_EQ(frame_color(game.frame(), 0, 21), YELLOW);
    EXPECT_EQ(frame_color(game.frame(), 0, 24), frame_color(game.frame(), 0, 16));
    // The window lets the checker through its middle.
    EXPECT_EQ(frame_color(game.frame(), 36, 4), GREEN);
    EXPECT_NE(frame_color(game.frame(), 39, 7), MAGENTA);
    game.step();
    game.step();
    EXPECT_TRUE(frame_matches(game.frame(), "layers_scrolled"));
}

TEST(RoomFrames, InstancesAndTilesMergeByDepthWithTransparencyScaleAndAlpha)
{
    GameBuilder builder;
    builder.sprite("red", {framed(10, 10, RED, WHITE)}, OPAQUE);
    builder.sprite("blue", {framed(10, 10, BLUE, WHITE)}, OPAQUE);
    builder.sprite("green", {framed(10, 10, GREEN, WHITE)}, OPAQUE);
    builder.sprite("ring", {ring()}, {{"transparent", true}, {"origin_x", 4}, {"origin_y", 4}});
    builder.sprite("two", {Bitmap24(6, 6, YELLOW), Bitmap24(6, 6, BLUE)}, OPAQUE);
    builder.background("parts", quarters(16, 16, YELLOW, BLUE, WHITE, GREEN), OPAQUE);
    builder.object("back").set("sprite", "red").set("depth", 10);
    builder.object("front").set("sprite", "blue").set("depth", -5);
    builder.object("level").set("sprite", "green");
    builder.object("hidden").set("sprite", "red").set("visible", false);
    builder.object("ring").set("sprite", "ring");
    builder.object("faded").set("sprite", "blue");
    builder.object("still").set("sprite", "two");
    builder.room("room").set("width", 64).set("height", 48).set("background_color", "#0a143c")
        .set("instances", Json::array())
        .instance("front", 8, 8)
        .instance("back", 4, 4)
        .instance("level", 30, 4)
        // Equal depths: the later one on top.
        .instance("back", 10, 30)
        .instance("back", 14, 33)
        .instance("hidden", 2, 20)
        .instance("ring", 44, 28, "image_scale = 2")
        .instance("ring", 56, 8)
        .instance("faded", 26, 34, "image_alpha = 0.5")
        .instance("still", 2, 40, "image_single = 1; image_index = 0")
        .set("tiles", Json::array({
            // Under everything, then the same depth as the green instance, which it covers.
            tile("parts", 0, 0, 0, 0, 8, 8, 20),
            tile("parts", 34, 6, 8, 8, 8, 8, 0),
            // Beside the room: left out.
            tile("parts", 70, 0, 0, 0, 8, 8, 0),
        }));
    PlayedGame game(builder);
    EXPECT_TRUE(frame_matches(game.frame(), "depth"));
    const platform::Frame& frame = game.frame();
    EXPECT_EQ(frame_color(frame, 9, 9), BLUE);      // front over back
    EXPECT_EQ(frame_color(frame, 1, 1), YELLOW);    // the deep tile under all
    EXPECT_EQ(frame_color(frame, 35, 7), WHITE);    // the tile over the green instance of its depth
    EXPECT_EQ(frame_color(frame, 32, 6), GREEN);
    EXPECT_EQ(frame_color(frame, 16, 34), RED);     // the later of equal depths on top: inside, not its edge
    EXPECT_EQ(frame_color(frame, 5, 25), NAVY);     // the invisible instance
    EXPECT_EQ(frame_color(frame, 3, 41), BLUE);     // image_single picks the second image
}

TEST(RoomFrames, ViewsShowTheirPartsAndFollowTheirInstance)
{
    GameBuilder builder;
    builder.background("checker", quarters(16, 16, RED, WHITE, BLUE, WHITE), OPAQUE);
    builder.sprite("player", {framed(8, 8, GREEN, YELLOW)}, OPAQUE);
    builder.sprite("marker", {Bitmap24(4, 4, YELLOW), Bitmap24(4, 4, MAGENTA)}, OPAQUE);
    builder.object("player").set("sprite", "player").on("create", "hspeed = 3");
    // Drawn once per view, with the view being drawn.
    builder.object("marker").on("draw", "draw_sprite(sprite_index, view_current, x, y)").set("sprite", "marker");
    builder.room("room").set("width", 160).set("height", 120).set("background_color", "#0a143c")
        .set("backgrounds", Json::array({layer("checker", 0, 0)}))
        .set("views_enabled", true)
        .set("views", Json::array({
            Json {{"x", 0}, {"y", 0}, {"width", 40}, {"height", 30}, {"port_x", 0}, {"port_y", 0}},
            Json {{"x", 0}, {"y", 0}, {"width", 40}, {"height", 30}, {"port_x", 44}, {"port_y", 2},
                {"horizontal_border", 8}, {"vertical_border", 8}, {"horizontal_speed", 20}, {"follow", "player"}},
        }))
        .instance("player", 100, 80)
        .instance("marker", 10, 10)
        .instance("marker", 120, 90);
    PlayedGame game(builder);
    // The screen holds both ports; what no port covers keeps the background colour.
    ASSERT_EQ(game.frame().width, 84);
    ASSERT_EQ(game.frame().height, 32);
    EXPECT_EQ(frame_color(game.frame(), 42, 20), NAVY);
    // The following view moved at most 20 right on the first frame, and as far as it needed down.
    EXPECT_EQ(game.world().current_room()->views[1].x, 20);
    EXPECT_EQ(game.world().current_room()->views[1].y, 65);
    EXPECT_TRUE(frame_matches(game.frame(), "views"));
    // The player moves 3 a step: the view catches up in the fourth step.
    for (int i = 0; i < 4; ++i)
        game.step();
    EXPECT_EQ(game.world().current_room()->views[1].x, 87);
    EXPECT_TRUE(frame_matches(game.frame(), "views_followed"));
}

TEST(RoomFrames, DrawEventsReplaceTheSpriteAndAreInherited)
{
    GameBuilder builder;
    builder.sprite("red", {framed(8, 8, RED, WHITE)}, OPAQUE);
    builder.sprite("blue", {framed(8, 8, BLUE, WHITE)}, OPAQUE);
    // No sprite, yet it draws; a sprite that its draw event replaces; a child that inherits that event.
    builder.object("painter").on("draw", "draw_sprite(1, 0, x, y); draw_sprite(1, 0, x + 4, y + 4)");
    builder.object("replaced").set("sprite", "red").on("draw", "draw_sprite(1, 0, x, y + 2)");
    builder.object("child").set("sprite", "red").set("parent", "replaced");
    builder.object("scorer").on("create", "score = 5; show_lives = 1; lives = 3");
    builder.room("room").set("caption", "Draw").set("width", 40).set("height", 24).set("background_color", "#0a143c")
        .instance("painter", 2, 2)
        .instance("replaced", 18, 2)
        .instance("child", 30, 10)
        .instance("scorer", 0, 0);
    PlayedGame game(builder);
    EXPECT_TRUE(frame_matches(game.frame(), "draw_events"));
    EXPECT_EQ(frame_color(game.frame(), 20, 3), NAVY);   // the red sprite is not drawn
    EXPECT_EQ(frame_color(game.frame(), 20, 6), BLUE);
    EXPECT_EQ(frame_color(game.frame(), 32, 14), BLUE);  // inherited
    EXPECT_EQ(game.caption(), "Draw Score: 5 Lives: 3");
}

TEST(RoomFrames, ViewsOnButNoneVisibleGiveAnEightByEightScreenOfTheColour)
{
    GameBuilder builder;
    builder.sprite("red", {Bitmap24(8, 8, RED)}, OPAQUE);
    builder.object("thing").set("sprite", "red");
    builder.room("room").set("background_color", "#0a143c").set("views_enabled", true)
        .set("views", Json::array({Json {{"visible", false}}})).instance("thing", 0, 0);
    PlayedGame game(builder);
    const platform::Frame& frame = game.frame();
    ASSERT_EQ(frame.width, 8);
    ASSERT_EQ(frame.height, 8);
    for (std::uint32_t pixel : frame.pixels)
        EXPECT_EQ(pixel_to_color(pixel), NAVY);
}

TEST(RoomFrames, AnInstanceDestroyedByADeeperInstancesDrawEventIsLeftOut)
{
    GameBuilder builder;
    builder.sprite("red", {Bitmap24(8, 8, RED)}, OPAQUE);
    builder.object("victim").set("sprite", "red");
    builder.object("killer").set("depth", 10).on("draw", "with (victim) instance_destroy()");
    builder.room("room").set("width", 24).set("height", 24).set("background_color", "#0a143c")
        .instance("victim", 2, 2).instance("killer", 0, 0).instance("victim", 12, 12);
    PlayedGame game(builder);
    EXPECT_EQ(frame_color(game.frame(), 4, 4), NAVY);
    EXPECT_EQ(frame_color(game.frame(), 14, 14), NAVY);
}
