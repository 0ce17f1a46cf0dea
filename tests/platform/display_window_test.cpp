// The display's window state on both drivers: placement, scaled presenting, exclusive modes, gamma, cursor.
#include "platform/headless/headless_display.h"
#include "platform/sdl2/sdl2_display.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace quillon::platform;

TEST(HeadlessDisplayWindow, PresentScaledComposesTheClientArea)
{
    HeadlessDisplay display({800, 600});
    std::vector<std::uint32_t> pixels {1, 2, 3, 4};  // 2x2
    EXPECT_FALSE(display.present_scaled({pixels.data(), 2, 2, 8}, {0, 0, 4, 4}));
    ASSERT_TRUE(display.open({10, 10, 6, 5, true}, ""));
    EXPECT_EQ(display.client_size(), (ScreenSize {6, 5}));
    ASSERT_TRUE(display.present_scaled({pixels.data(), 2, 2, 8}, {1, 1, 4, 4}));
    const Frame& frame = display.last_frame();
    ASSERT_EQ(frame.width, 6);
    ASSERT_EQ(frame.height, 5);
    std::vector<std::uint32_t> expected {
        0, 0, 0, 0, 0, 0,
        0, 1, 1, 2, 2, 0,
        0, 1, 1, 2, 2, 0,
        0, 3, 3, 4, 4, 0,
        0, 3, 3, 4, 4, 0,
    };
    EXPECT_EQ(frame.pixels, expected);

    // Without kept frames presenting only counts.
    display.keep_frames(false);
    std::vector<std::uint32_t> other {9, 9, 9, 9};
    EXPECT_TRUE(display.present_scaled({other.data(), 2, 2, 8}, {0, 0, 6, 5}));
    EXPECT_EQ(display.frame_count(), 2);
    EXPECT_EQ(display.last_frame().pixels, expected);
}

TEST(HeadlessDisplayWindow, PlacementFullScreenAndExclusiveModes)
{
    HeadlessDisplay display({1920, 1080});
    EXPECT_FALSE(display.place({0, 0, 10, 10}));
    EXPECT_FALSE(display.enter_exclusive({640, 480, 32, 0}));
    ASSERT_TRUE(display.open({0, 0, 320, 240, true}, ""));
    ASSERT_TRUE(display.place({0, 0, 0, 0, false, true}));
    EXPECT_EQ(display.client_size(), (ScreenSize {1920, 1080}));

    display.set_available_modes({{640, 480, 32, 60}});
    EXPECT_FALSE(display.enter_exclusive({640, 480, 32, 85}));
    EXPECT_FALSE(display.enter_exclusive({800, 600, 32, 0}));
    ASSERT_TRUE(display.enter_exclusive({640, 480, 32, 0}));
    EXPECT_EQ(display.client_size(), (ScreenSize {640, 480}));
    // Leaving full screen gives the desktop its mode back.
    ASSERT_TRUE(display.place({100, 100, 320, 240, true}));
    EXPECT_FALSE(display.exclusive_mode());
    EXPECT_EQ(display.client_size(), (ScreenSize {320, 240}));

    GammaRamp ramp;
    ramp.red[1] = 5;
    EXPECT_TRUE(display.set_gamma_ramp(ramp));
    EXPECT_EQ(display.gamma_ramp(), ramp);
    display.set_cursor(-21);
    EXPECT_EQ(display.cursor(), -21);
    display.set_vsync(true);
    EXPECT_TRUE(display.vsync());
    display.move_pointer({-4, 7});
    EXPECT_EQ(display.pointer_position(), (PointerPosition {-4, 7}));
}

// SDL's dummy video driver offers one 1024x768 mode and windows without a screen.
TEST(Sdl2DisplayWindow, WorksOverTheDummyVideoDriver)
{
    const char* previous = std::getenv("SDL_VIDEODRIVER");
    std::string saved = previous ? previous : "";
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    {
        Sdl2Display display;
        EXPECT_FALSE(display.place({0, 0, 10, 10}));
        ASSERT_TRUE(display.open({0, 0, 64, 48, false, false, false, true}, "window"));
        EXPECT_EQ(display.client_size(), (ScreenSize {64, 48}));
        ASSERT_TRUE(display.place({10, 10, 80, 60, true}));
        display.set_vsync(true);
        std::vector<std::uint32_t> pixels(16, 0xFF0000);
        EXPECT_TRUE(display.present_scaled({pixels.data(), 4, 4, 16}, {8, 6, 64, 48}));
        EXPECT_FALSE(display.present_scaled({pixels.data(), 4, 4, 8}, {0, 0, 4, 4}));
        EXPECT_FALSE(display.enter_exclusive({640, 480, 32, 0}));
        display.set_cursor(-3);
        display.set_cursor(-1);
        display.set_cursor(0);
        display.pointer_position();
        display.close();
    }
    if (previous)
        setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_VIDEODRIVER");
}
