// The drawing built-ins and actions as a running game uses them: the pen and brush variables, the colour and
// shape actions read back pixel by pixel, the polygon's limits and the checks of sprites and backgrounds.
#include "runner_game_fixture.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

class DrawingGameTest : public quillon::testing::RunnerGameTest {};

// A function action of the drawing family with its arguments as expressions.
Json function_action(const char* function, std::initializer_list<const char*> arguments, bool relative = false)
{
    Json list = Json::array();
    for (const char* argument : arguments)
        list.push_back(argument);
    return Json {{"function", function}, {"arguments", list}, {"relative", relative}};
}

}  // namespace

TEST_F(DrawingGameTest, PenAndBrushStartAsDefaultsKeepWhatIsWrittenAndLastAcrossRooms)
{
    GameBuilder builder;
    builder.object("first").on("create", R"(
        show_debug_message(string(pen_color) + ' ' + string(pen_size) + ' ' + string(brush_color) + ' '
            + string(brush_style));
        brush_style = 9; show_debug_message(string(brush_style));
        brush_style = -1; show_debug_message(string(brush_style));
        brush_style = 2.6; show_debug_message(string(brush_style));
        brush_style = 0; show_debug_message(string(brush_style));
        pen_size = 2.5; pen_color = 'abc'; brush_color = 65535.4;
        room_goto_next();
    )");
    builder.object("second").on("create", R"(
        show_debug_message(string(pen_color) + ' ' + string(pen_size) + ' ' + string(brush_color) + ' '
            + string(brush_style));
    )");
    builder.room("one").instance("first", 0, 0);
    builder.room("two").instance("second", 0, 0);
    EXPECT_EQ(play(builder, 2), "0 1 16777215 1\n1\n1\n3\n0\n0 2 65535 0\n");
    EXPECT_EQ(m_messages.str(), "");
}

TEST_F(DrawingGameTest, ShapeAndColourActionsDrawInTheCurrentColoursRelativeToTheInstance)
{
    GameBuilder builder;
    builder.object("drawer").on("create", "health = 50").on_actions("draw", Json::array({
        function_action("action_color", {"make_color(255, 0, 0)", "make_color(0, 0, 255)"}),
        function_action("action_draw_rectangle", {"0", "0", "10", "10"}, true),
        function_action("action_draw_ellipse", {"20", "0", "30", "10"}, true),
        function_action("action_line_color", {"65280"}),
        function_action("action_draw_line", {"0", "20", "10", "20"}, true),
        function_action("action_fill_color", {"make_color(0, 255, 255)"}),
        function_action("action_draw_health", {"0", "30", "100", "40", "1", "3"}, true),
        function_action("action_draw_rectangle", {"200", "10", "210", "20"}),
        Json {{"code", R"(
            show_debug_message('rectangle ' + string(draw_getpixel(35, 25)) + ' ' + string(draw_getpixel(30, 20))
                + ' ' + string(draw_getpixel(40, 30)));
            show_debug_message('ellipse ' + string(draw_getpixel(55, 25)) + ' ' + string(draw_getpixel(50, 20)));
            show_debug_message('line ' + string(draw_getpixel(30, 40)) + ' ' + string(draw_getpixel(40, 40)));
            show_debug_message('health ' + string(draw_getpixel(50, 55)) + ' ' + string(draw_getpixel(100, 55))
                + ' ' + string(draw_getpixel(79, 55)) + ' ' + string(draw_getpixel(81, 55)));
            show_debug_message('absolute ' + string(draw_getpixel(205, 15)));
            show_debug_message('colours ' + string(brush_color) + ' ' + string(pen_color));
        )"}},
    }));
    builder.room("room").set("width", 240).set("height", 80).set("background_color", "#102030")
        .instance("drawer", 30, 20);
    // The room is drawn as it starts and again at the end of the step.
    std::string frame = "rectangle 255 16711680 3153936\n"
                        "ellipse 255 3153936\n"
                        "line 65280 3153936\n"
                        "health 8421504 0 0 0\n"
                        "absolute 16776960\n"
                        "colours 16776960 65280\n";
    EXPECT_EQ(play(builder), frame + frame);
    EXPECT_EQ(m_messages.str(), "");
}

TEST_F(DrawingGameTest, PolygonsHoldAtMost1024VerticesAndSpritesAndBackgroundsMustExist)
{
    GameBuilder builder;
    builder.object("drawer").on("draw", R"(
        draw_polygon_begin();
        repeat (1024) draw_polygon_vertex(0, 0);
        draw_polygon_end();
        show_debug_message('1024 drawn');
        draw_polygon_vertex(1, 1); draw_polygon_begin();
        repeat (1025) draw_polygon_vertex(0, 0);
        draw_polygon_end();
        draw_sprite(5, 0, 0, 0);
        draw_background_tiled(-1, 0, 0);
    )");
    builder.room("room").instance("drawer", 0, 0);
    EXPECT_EQ(play(builder), "1024 drawn\n1024 drawn\n");
    std::string messages = m_messages.str();
    std::size_t too_many = messages.find("Polygon has too many vertices.");
    std::size_t none = messages.find("Drawing polygon with no vertices.");
    EXPECT_NE(too_many, std::string::npos) << messages;
    EXPECT_NE(none, std::string::npos) << messages;
    EXPECT_LT(too_many, none);
    EXPECT_NE(messages.find("Trying to draw non-existing sprite number: 5"), std::string::npos) << messages;
    EXPECT_NE(messages.find("Trying to draw non-existing background number: -1"), std::string::npos) << messages;
}

TEST_F(DrawingGameTest, EveryShapeAndImageFunctionIsAvailable)
{
    GameBuilder builder;
    builder.sprite("spr", {Bitmap24(4, 4, 0x00FF00)}, {{"transparent", false}});
    builder.background("back", Bitmap24(4, 4, 0xFF0000), {{"transparent", false}});
    builder.object("drawer").set("sprite", "spr").on("draw", R"(
        c = make_color(1, 2, 3);
        draw_sprite(spr, -1, 0, 0); draw_sprite_scaled(spr, 0, 0, 0, 2); draw_sprite_stretched(spr, 0, 0, 0, 9, 3);
        draw_sprite_transparent(spr, 0, 0, 0, 1, 0.5); draw_sprite_tiled(spr, 0, 1, 1);
        draw_background(back, 0, 0); draw_background_scaled(back, 0, 0, 2);
        draw_background_stretched(back, 0, 0, 9, 3); draw_background_transparent(back, 0, 0, 1, 0.5);
        draw_background_tiled(back, 1, 1);
        draw_pixel(1, 1); c = draw_getpixel(1, 1); draw_fill(2, 2); draw_line(0, 0, 5, 5); draw_circle(5, 5, 3);
        draw_ellipse(0, 0, 5, 5); draw_rectangle(0, 0, 5, 5); draw_roundrect(0, 0, 15, 15);
        draw_triangle(0, 0, 5, 0, 0, 5); draw_arc(0, 0, 9, 9, 9, 4, 4, 0); draw_chord(0, 0, 9, 9, 9, 4, 4, 0);
        draw_pie(0, 0, 9, 9, 9, 4, 4, 0); draw_button(0, 0, 9, 9, 1);
        draw_polygon_begin(); draw_polygon_vertex(0, 0); draw_polygon_vertex(4, 4); draw_polygon_end();
        show_debug_message(string(make_color(1, 2, 3)) + ' ' + string(make_color(300, 0, -1)));
    )");
    builder.room("room").instance("drawer", 0, 0);
    EXPECT_EQ(play(builder), "197121 -65236\n197121 -65236\n");
    EXPECT_EQ(m_messages.str(), "");
}
