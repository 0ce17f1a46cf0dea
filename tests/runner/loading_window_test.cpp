// Loading window: its geometry, the bar's width, and what it draws over the headless display.
#include "platform/headless/headless_display.h"
#include "runner/loading_window.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quillon;
using platform::HeadlessDisplay;

TEST(LoadingLayout, CentresThePictureAndLaysTheBarsAlongItsBottom)
{
    LoadingLayout layout = loading_layout({1920, 1080}, 332, 92, 20, 16, 1, false);
    EXPECT_EQ(layout.window, (LoadingBox {794, 494, 332, 92}));
    EXPECT_EQ(layout.empty_bar, (LoadingBox {24, 60, 284, 20}));
    EXPECT_EQ(layout.full_bar, (LoadingBox {24, 62, 284, 16}));
    EXPECT_EQ(layout.caption, (LoadingBox {24, 60, 284, 20}));

    struct Case {
        platform::ScreenSize screen;   // desktop size
        int width, height;             // picture size
        LoadingBox window;             // where the window goes
        int bar_width;                 // width of the empty bar
    };
    const Case cases[] = {
        {{1001, 601}, 100, 50, {450, 275, 100, 50}, 52},
        // A screen smaller than the picture: halves round toward zero, also below zero.
        {{301, 81}, 332, 92, {-15, -5, 332, 92}, 284},
        // A picture narrower than the two margins leaves the bar no width.
        {{640, 480}, 40, 40, {300, 220, 40, 40}, 0},
    };
    for (const Case& c : cases) {
        LoadingLayout odd = loading_layout(c.screen, c.width, c.height, 20, 16, 1, false);
        EXPECT_EQ(odd.window, c.window) << c.width;
        EXPECT_EQ(odd.empty_bar.width, c.bar_width) << c.width;
        EXPECT_EQ(odd.empty_bar.top, c.height - 32) << c.width;
    }
}

TEST(LoadingLayout, BarsNeedABarModeAndTheCaptionDebugModeToo)
{
    struct Case {
        int bar_mode;
        bool debug;
        bool bars;
        bool caption;
    };
    const Case cases[] = {
        {0, false, false, false}, {0, true, false, false}, {1, false, true, false},
        {1, true, true, true}, {2, false, true, false}, {2, true, true, true},
    };
    for (const Case& c : cases) {
        LoadingLayout layout = loading_layout({800, 600}, 332, 92, 20, 16, c.bar_mode, c.debug);
        EXPECT_EQ(layout.bars_visible, c.bars) << c.bar_mode << c.debug;
        EXPECT_EQ(layout.caption_visible, c.caption) << c.bar_mode << c.debug;
    }
}

TEST(LoadingLayout, FullBarWidthRoundsHalvesToEven)
{
    struct Case {
        int percent;
        int empty_width;
        int expected;
    };
    const Case cases[] = {
        {0, 284, 0}, {100, 284, 284}, {50, 284, 142}, {33, 284, 94}, {49, 284, 139},
        {1, 250, 2}, {3, 250, 8}, {5, 250, 12}, {7, 250, 18},   // 2.5, 7.5, 12.5, 17.5
        {1, 50, 0}, {3, 50, 2}, {150, 10, 15}, {-10, 284, 0}, {50, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(loading_bar_width(c.percent, c.empty_width), c.expected) << c.percent << " of " << c.empty_width;
}

namespace {

constexpr Color RED = make_color(255, 0, 0);
constexpr Color GREEN = make_color(0, 255, 0);
constexpr Color BLUE = make_color(0, 0, 255);
constexpr std::uint32_t RED_PIXEL = 0xFF0000;
constexpr std::uint32_t GREEN_PIXEL = 0x00FF00;
constexpr std::uint32_t BLUE_PIXEL = 0x0000FF;

// Plain colours make every part of the window recognisable: a blue 200x100 picture, a red empty bar and a
// green full bar (both 10 pixels wide, so stretched).
LoadingLook plain_look(int bar_mode)
{
    return {bar_mode, Bitmap24(10, 20, RED), Bitmap24(10, 16, GREEN), Bitmap24(200, 100, BLUE)};
}

bool has_pixel(const platform::Frame& frame, std::uint32_t value)
{
    return std::ranges::find(frame.pixels, value) != frame.pixels.end();
}

}  // namespace

TEST(LoadingWindow, DrawsThePictureAndStretchedBars)
{
    HeadlessDisplay display({1024, 768});
    LoadingWindow window(display);
    ASSERT_TRUE(window.open(plain_look(2), false));
    EXPECT_EQ(display.placement(), (platform::WindowPlacement {412, 334, 200, 100, false}));
    EXPECT_TRUE(display.visible());
    EXPECT_EQ(display.frame_count(), 1);

    window.ShowProgress(50, "Loading sprites");
    const platform::Frame& frame = display.last_frame();
    ASSERT_EQ(frame.width, 200);
    ASSERT_EQ(frame.height, 100);
    // The empty bar spans x 24..175 and y 68..87; the full bar at half of 152 spans x 24..99 and y 70..85.
    EXPECT_EQ(frame.pixel(23, 75), BLUE_PIXEL);
    EXPECT_EQ(frame.pixel(24, 75), GREEN_PIXEL);
    EXPECT_EQ(frame.pixel(99, 75), GREEN_PIXEL);
    EXPECT_EQ(frame.pixel(100, 75), RED_PIXEL);
    EXPECT_EQ(frame.pixel(175, 75), RED_PIXEL);
    EXPECT_EQ(frame.pixel(176, 75), BLUE_PIXEL);
    EXPECT_EQ(frame.pixel(50, 67), BLUE_PIXEL);
    EXPECT_EQ(frame.pixel(50, 69), RED_PIXEL);
    EXPECT_EQ(frame.pixel(50, 85), GREEN_PIXEL);
    EXPECT_EQ(frame.pixel(50, 86), RED_PIXEL);
    EXPECT_EQ(frame.pixel(50, 88), BLUE_PIXEL);
    EXPECT_FALSE(has_pixel(frame, 0x000000));  // no caption outside debug mode

    window.ShowProgress(100, "Ready");
    EXPECT_EQ(display.last_frame().pixel(175, 75), GREEN_PIXEL);

    window.close();
    EXPECT_FALSE(display.is_open());
    EXPECT_FALSE(window.is_open());
    window.ShowProgress(10, "late");
    EXPECT_EQ(display.frame_count(), 3);
}

TEST(LoadingWindow, CaptionShowsOnlyInDebugModeWithBars)
{
    struct Case {
        int bar_mode;
        bool debug;
        bool caption;
    };
    for (auto [bar_mode, debug, caption] : {Case {2, true, true}, Case {2, false, false}, Case {0, true, false}}) {
        HeadlessDisplay display;
        LoadingWindow window(display);
        ASSERT_TRUE(window.open(plain_look(bar_mode), debug));
        window.ShowProgress(30, "Loading paths");
        const platform::Frame& frame = display.last_frame();
        EXPECT_EQ(has_pixel(frame, 0x000000), caption) << bar_mode << debug;
        EXPECT_EQ(has_pixel(frame, RED_PIXEL), bar_mode > 0) << bar_mode << debug;
        // Caption pixels stay inside the caption's box.
        for (int y = 0; y < frame.height; ++y) {
            for (int x = 0; x < frame.width; ++x) {
                if (frame.pixel(x, y) == 0) {
                    EXPECT_TRUE(y >= 68 && y < 88 && x >= 24 && x < 176) << x << ',' << y;
                }
            }
        }
    }
}

TEST(LoadingWindow, OpensWithLoadingAtZeroAndTheCaptionFollowsReports)
{
    HeadlessDisplay display;
    LoadingWindow window(display);
    ASSERT_TRUE(window.open(plain_look(2), true));
    platform::Frame opened = display.last_frame();
    EXPECT_FALSE(has_pixel(opened, GREEN_PIXEL));  // progress 0
    window.ShowProgress(0, "Loading");
    EXPECT_EQ(display.last_frame().pixels, opened.pixels);
    window.ShowProgress(0, "Loading rooms");
    EXPECT_NE(display.last_frame().pixels, opened.pixels);
}

TEST(LoadingWindow, BuiltInPicturesUnlessTheGameBringsItsOwn)
{
    HeadlessDisplay display({1024, 768});
    LoadingWindow window(display);

    // Bar mode 1 ignores the game's bars but still shows its own picture.
    ASSERT_TRUE(window.open(plain_look(1), false));
    EXPECT_EQ(display.placement().width, 200);
    window.ShowProgress(100, "");
    EXPECT_FALSE(has_pixel(display.last_frame(), RED_PIXEL));
    EXPECT_FALSE(has_pixel(display.last_frame(), GREEN_PIXEL));
    EXPECT_EQ(display.last_frame().pixel(10, 10), BLUE_PIXEL);

    // Bar mode 2 without pictures falls back to the built-in ones; no own picture gives the built-in one.
    ASSERT_TRUE(window.open({2, std::nullopt, Bitmap24(10, 16, GREEN), std::nullopt}, false));
    EXPECT_EQ(display.placement(), (platform::WindowPlacement {346, 338, 332, 92, false}));
    window.ShowProgress(100, "");
    EXPECT_FALSE(has_pixel(display.last_frame(), RED_PIXEL));
    EXPECT_EQ(display.last_frame().pixel(100, 70), GREEN_PIXEL);
    EXPECT_NE(display.last_frame().pixel(100, 61), GREEN_PIXEL);
}
