// Draw events that draw shapes, compared with kept frames: every brush style, pen widths, polygons, arcs,
// buttons, flood fills and pixels read back; shapes clipped to the port of each view.
#include "played_game.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

TEST(DrawingFrames, BrushStylesPenWidthsPolygonsArcsButtonsAndFills)
{
    GameBuilder builder;
    builder.object("artist").on("draw", R"(
        // Every brush style over a square, outlined in yellow.
        pen_color = make_color(240, 220, 40);
        brush_color = make_color(40, 200, 60);
        for (i = 0; i < 8; i += 1) { brush_style = i; draw_rectangle(2 + i * 14, 2, 14 + i * 14, 14); }
        brush_style = 1;
        // Pens 1, 2, 3 and 5 pixels wide.
        pen_color = make_color(255, 255, 255);
        brush_color = make_color(200, 40, 40);
        pen_size = 1; draw_line(4, 20, 40, 26);
        pen_size = 2; draw_line(4, 26, 40, 32);
        pen_size = 3; draw_line(4, 32, 40, 38);
        pen_size = 5; draw_ellipse(46, 20, 72, 40);
        pen_size = 3; draw_rectangle(78, 20, 96, 38);
        pen_size = 1;
        // A five-pointed star: even-odd leaves its middle empty.
        draw_polygon_begin();
        for (i = 0; i < 5; i += 1)
            draw_polygon_vertex(110 + 10 * sin(i * 4 * pi / 5), 30 - 10 * cos(i * 4 * pi / 5));
        draw_polygon_end();
        // Rounded rectangle, circle, triangle, arc, chord, pie and both buttons.
        brush_color = make_color(40, 60, 220);
        draw_roundrect(2, 44, 26, 64);
        draw_circle(38, 54, 8);
        draw_triangle(50, 64, 60, 44, 70, 60);
        draw_arc(72, 44, 92, 64, 92, 54, 82, 44);
        draw_chord(94, 44, 114, 64, 114, 54, 94, 54);
        draw_pie(2, 68, 22, 88, 22, 78, 12, 88);
        brush_color = make_color(192, 192, 192);
        draw_button(26, 68, 46, 84, 0);
        draw_button(50, 68, 70, 84, 1);
        // A flood fill inside an outline, and a colour read back and drawn with.
        brush_style = 0;
        draw_ellipse(74, 68, 94, 88);
        brush_style = 1;
        brush_color = make_color(250, 150, 20);
        draw_fill(84, 78);
        draw_pixel(100, 70);
        brush_color = 0;
        brush_color = draw_getpixel(100, 70);
        draw_rectangle(100, 72, 116, 88);
    )");
    builder.room("room").set("width", 120).set("height", 92).set("background_color", "#0a143c").instance("artist", 0, 0);
    PlayedGame game(builder);
    EXPECT_TRUE(frame_matches(game.frame(), "drawing_shapes"));
    EXPECT_EQ(frame_color(game.frame(), 108, 80), make_color(250, 150, 20));
}

TEST(DrawingFrames, ShapesLandInEachViewAndStayInsideItsPort)
{
    GameBuilder builder;
    builder.object("artist").on("draw", R"(
        brush_color = make_color(40, 200, 60);
        pen_color = make_color(255, 255, 255);
        draw_rectangle(20, 10, 60, 40);
        draw_line(0, 0, 100, 60);
        draw_circle(50, 30, 12);
    )");
    builder.room("room").set("width", 100).set("height", 60).set("background_color", "#0a143c")
        .set("views_enabled", true)
        .set("views", Json::array({
            Json {{"x", 0}, {"y", 0}, {"width", 40}, {"height", 30}, {"port_x", 0}, {"port_y", 0}},
            Json {{"x", 30}, {"y", 20}, {"width", 40}, {"height", 30}, {"port_x", 44}, {"port_y", 4}},
        }))
        .instance("artist", 0, 0);
    PlayedGame game(builder);
    EXPECT_TRUE(frame_matches(game.frame(), "drawing_views"));
    EXPECT_EQ(frame_color(game.frame(), 42, 10), make_color(10, 20, 60));   // between the ports: untouched
}
