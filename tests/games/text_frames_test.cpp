// Text in drawn rooms, compared with kept frames: alignment, line breaks, wrapping, styles and numbers; turned
// text; text clipped to a view's port; and the caption written into the image of a window without border.
#include "played_game.h"
#include "runner/caption_painter.h"

#include <gtest/gtest.h>

#include <set>

using namespace quillon;
using namespace quillon::testing;

namespace {

constexpr Color PAPER = make_color(230, 246, 250);

// The colours the frame holds.
std::set<Color> colors_of(const platform::Frame& frame)
{
    std::set<Color> colors;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            colors.insert(frame_color(frame, x, y));
    return colors;
}

// A room of the size in the paper colour with one instance whose draw event runs the code.
PlayedGame* play_drawing(GameBuilder& builder, int width, int height, const std::string& code)
{
    builder.object("writer").on("draw", code);
    builder.room("room").set("width", width).set("height", height).set("background_color", "#e6f6fa")
        .instance("writer", 0, 0);
    return new PlayedGame(builder);
}

}  // namespace

TEST(TextFrames, AlignmentLineBreaksWrappingStylesAndNumbers)
{
    GameBuilder builder;
    std::unique_ptr<PlayedGame> game(play_drawing(builder, 160, 120, R"(
        font_name = "Arial"; font_size = 10; font_color = c_black;
        draw_text(4, 2, "Left#two\#lines");
        font_align = fa_center; draw_text(80, 34, "Centre");
        font_align = fa_right; font_color = c_red; draw_text(156, 34, 2.5);
        font_align = fa_left; font_color = c_blue; font_style = fs_bold | fs_underline;
        draw_text_ext(4, 52, "wrapped into narrow lines", 14, 60);
        font_style = fs_italic | fs_strikeout; font_name = "Times New Roman"; font_size = 12;
        draw_text(80, 60, "Times#" + string(3));
        font_name = "Courier New"; font_style = 0; font_size = 8; draw_text(80, 100, "mono 01");
    )"));
    EXPECT_TRUE(frame_matches(game->frame(), "text_layout"));
    // Crisp text: the paper and the three text colours, nothing in between.
    EXPECT_EQ(colors_of(game->frame()),
        (std::set<Color> {PAPER, make_color(0, 0, 0), make_color(255, 0, 0), make_color(0, 0, 255)}));
}

TEST(TextFrames, TurnedTextAndTheDefaultFont)
{
    GameBuilder builder;
    std::unique_ptr<PlayedGame> game(play_drawing(builder, 120, 120, R"(
        draw_text(40, 4, "Default");
        font_name = "Arial"; font_size = 10; font_color = c_green;
        font_angle = 90; draw_text(4, 116, "Upward#second");
        font_align = fa_center; draw_text(60, 70, "Centred");
        font_align = fa_left; font_angle = 45; draw_text(50, 110, "Tilted");
        font_angle = 180; draw_text(116, 60, "Down");
    )"));
    EXPECT_TRUE(frame_matches(game->frame(), "text_angles"));
    EXPECT_EQ(colors_of(game->frame()), (std::set<Color> {PAPER, make_color(0, 0, 0), make_color(0, 128, 0)}));
}

// Text drawn in a view's draw lands at the view's port, shifted by the view's position, and stays inside it.
TEST(TextFrames, TextKeepsToThePortOfTheViewBeingDrawn)
{
    GameBuilder builder;
    builder.object("writer").on("draw", "font_name = 'Arial'; font_size = 24; draw_text(100, 100, 'WWWWWWWW')");
    Json view {{"visible", true}, {"x", 90}, {"y", 90}, {"width", 40}, {"height", 30}, {"port_x", 10}, {"port_y", 20}};
    builder.room("room").set("width", 200).set("height", 200).set("background_color", "#e6f6fa")
        .set("views_enabled", true).set("views", Json::array({view})).instance("writer", 0, 0);
    PlayedGame game(builder);
    const platform::Frame& frame = game.frame();
    int inside = 0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            bool in_port = x >= 10 && x < 50 && y >= 20 && y < 50;
            bool ink = frame_color(frame, x, y) != PAPER;
            inside += ink && in_port;
            ASSERT_FALSE(ink && !in_port) << x << "," << y;
        }
    }
    EXPECT_GT(inside, 0);
    // The text starts at room (100, 100): port (20, 30); nothing of it left of or above that.
    for (int y = 20; y < 50; ++y)
        for (int x = 10; x < 50; ++x)
            if (frame_color(frame, x, y) != PAPER) {
                EXPECT_GE(x, 20);
                EXPECT_GE(y, 30);
            }
}

// In a window without border the caption is written at the image's top left: black on a white box that is as
// high as one line of the caption's font and as wide as its text, the room's pixels all around it.
TEST(TextFrames, CaptionIsWrittenIntoTheImageOfAWindowWithoutBorder)
{
    GameBuilder builder;
    builder.manifest("settings", {{"no_window_border", true}, {"draw_caption", true}});
    builder.room("room").set("caption", "Quillon caption").set("width", 160).set("height", 40)
        .set("background_color", "#e6f6fa");
    PlayedGame game(builder);
    game.graphics().screen().set_caption_painter(paint_caption_text);
    game.step();
    const platform::Frame& frame = game.frame();
    EXPECT_TRUE(frame_matches(frame, "caption"));
    // The box: white at its corner, black text in it, 15 rows high (Times New Roman at 10 points is 13 pixels
    // of character height in a 15 pixel cell) and about as wide as "Quillon caption" in it (some 90 pixels).
    EXPECT_EQ(frame_color(frame, 0, 0), make_color(255, 255, 255));
    int box_right = 0;
    while (box_right < frame.width && frame_color(frame, box_right, 0) == make_color(255, 255, 255))
        ++box_right;
    EXPECT_GT(box_right, 80);
    EXPECT_LT(box_right, 100);
    EXPECT_EQ(frame_color(frame, 0, 14), make_color(255, 255, 255));
    EXPECT_EQ(frame_color(frame, 0, 15), PAPER);
    int black = 0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            Color color = frame_color(frame, x, y);
            bool in_box = x < box_right && y < 15;
            EXPECT_EQ(color == PAPER, !in_box) << x << "," << y;
            black += color == 0;
        }
    }
    EXPECT_GT(black, 40);
}
