// The settings block: its version, the images that only some bar kinds store, and the display tables.
#include "support/settings.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(Settings, BarImagesAreStoredOnlyForTheGamesOwnBars)
{
    for (std::int32_t bar : {LOADING_BAR_NONE, LOADING_BAR_BUILT_IN, LOADING_BAR_OWN}) {
        GameSettings written;
        written.loading_bar = bar;
        written.loading_bar_back = StoredImage::from_bitmap(Bitmap24(3, 2, 0x112233));
        written.loading_bar_front = StoredImage::from_bitmap(Bitmap24(3, 2, 0x332211));
        written.window_scaling = 150;
        CStream stream;
        write_settings(stream, written);
        stream.WriteInt(777);
        stream.set_position(0);
        GameSettings read;
        ASSERT_TRUE(read_settings(stream, read));
        EXPECT_EQ(read.window_scaling, 150);
        EXPECT_EQ(read.loading_bar_back.bitmap.has_value(), bar == LOADING_BAR_OWN);
        EXPECT_EQ(stream.ReadInt(), 777) << "bar kind " << bar;
    }
}

TEST(Settings, AWrongVersionLeavesTheDefaults)
{
    CStream stream;
    stream.WriteInt(499);
    stream.WriteBool(true);
    stream.set_position(0);
    GameSettings settings;
    settings.start_fullscreen = true;
    EXPECT_FALSE(read_settings(stream, settings));
    EXPECT_FALSE(settings.start_fullscreen);
    EXPECT_TRUE(settings.show_cursor);
    EXPECT_EQ(settings.extra_number, 100);
}

TEST(Settings, ResolutionFrequencyAndDepthTables)
{
    struct Case {
        std::int32_t resolution, frequency, depth;
        int width, height, rate, bits;
    };
    const Case cases[] = {
        {0, 0, 0, 640, 480, 60, 16},
        {1, 1, 1, 800, 600, 70, 32},
        {2, 2, 0, 1024, 768, 85, 16},
        {3, 3, 0, 1280, 1024, 100, 16},
        {4, 4, 0, 1920, 1080, 0, 16},
        {5, 5, 0, 320, 240, 0, 16},
        {6, -1, 0, 1600, 1200, 0, 16},
        {7, 1, 0, 800, 600, 70, 16},
    };
    for (const Case& c : cases) {
        GameSettings settings;
        settings.resolution = c.resolution;
        settings.frequency = c.frequency;
        settings.color_depth = c.depth;
        auto size = settings.screen_size({1920, 1080});
        EXPECT_EQ(size.width, c.width) << c.resolution;
        EXPECT_EQ(size.height, c.height) << c.resolution;
        EXPECT_EQ(settings.refresh_rate(), c.rate) << c.frequency;
        EXPECT_EQ(settings.bits_per_pixel(), c.bits);
    }
}
