// The scales of pan, volume and frequency, and the gains they give.
#include "sound/sound_levels.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(SoundLevels, ScriptValuesMapOntoTheirScales)
{
    struct Case {
        double value;
        std::int32_t pan, volume, frequency;
    };
    const Case cases[] = {
        {-1, -10000, -10000, 100},
        {0, -10000, -10000, 100},
        {0.00005, -9999, -10000, 105},
        {0.25, -5000, -7500, 25075},
        {0.5, 0, -5000, 50050},
        {0.99999, 10000, 0, 99999},
        {1, 10000, 0, 100000},
        {1e9, 10000, 0, 100000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pan_level(c.value), c.pan) << c.value;
        EXPECT_EQ(volume_level(c.value), c.volume) << c.value;
        EXPECT_EQ(frequency_level(c.value), c.frequency) << c.value;
    }
}

TEST(SoundLevels, PanAndVolumeGiveChannelGains)
{
    EXPECT_DOUBLE_EQ(attenuation_gain(0), 1);
    EXPECT_DOUBLE_EQ(attenuation_gain(-2000), 0.1);
    EXPECT_DOUBLE_EQ(attenuation_gain(-10000), 0);
    ChannelGains right = channel_gains(4000, -2000);
    EXPECT_DOUBLE_EQ(right.left, 0.1 * 0.01);
    EXPECT_DOUBLE_EQ(right.right, 0.1);
    ChannelGains hard_left = channel_gains(-10000, 0);
    EXPECT_DOUBLE_EQ(hard_left.left, 1);
    EXPECT_DOUBLE_EQ(hard_left.right, 0);
}
