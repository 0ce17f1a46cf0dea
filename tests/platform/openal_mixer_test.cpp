// The OpenAL mixer: the sound card when there is one, else the silent mixer announced in one line; voices and
// buffers that are asked for wrongly are refused.
#include "platform/openal/openal_mixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using namespace quillon::platform;

TEST(OpenAlMixer, WithoutACardTheSilentMixerIsAnnouncedInOneLine)
{
    OpenAlMixer mixer(true);
    testing::internal::CaptureStderr();
    mixer.open();
    mixer.open();
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(mixer.is_open());
    if (mixer.is_silent()) {
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
        EXPECT_EQ(log.rfind("audio: ", 0), 0u) << log;
    } else {
        EXPECT_EQ(log, "");
    }
    mixer.close();
    EXPECT_FALSE(mixer.is_open());
}

TEST(OpenAlMixer, RefusesWhatCannotPlay)
{
    OpenAlMixer mixer(false);
    std::vector<std::int16_t> frames = {1, 2, 3, 4};
    EXPECT_EQ(mixer.create_buffer(44100, frames, false), 0u);  // closed
    mixer.open();
    EXPECT_TRUE(mixer.is_silent());
    EXPECT_EQ(mixer.create_buffer(0, frames, false), 0u);
    EXPECT_EQ(mixer.create_buffer(44100, std::span(frames).first(3), false), 0u);
    EXPECT_EQ(mixer.create_buffer(44100, {}, false), 0u);
    AudioBufferId buffer = mixer.create_buffer(44100, frames, false);
    ASSERT_NE(buffer, 0u);
    EXPECT_EQ(mixer.create_voice(buffer + 1, false), 0u);
    VoiceId voice = mixer.create_voice(buffer, false);
    ASSERT_NE(voice, 0u);
    mixer.play(voice, true);
    EXPECT_TRUE(mixer.is_playing(voice));
    // A buffer deleted under a playing voice silences it.
    mixer.delete_buffer(buffer);
    EXPECT_FALSE(mixer.is_playing(voice));
    mixer.play(voice, false);
    EXPECT_FALSE(mixer.is_playing(voice));
    for (VoiceId wrong : {VoiceId(0), voice + 7}) {
        mixer.play(wrong, false);
        mixer.stop(wrong);
        EXPECT_FALSE(mixer.is_playing(wrong));
    }
    // Time that cannot be or is far too long does not hold the mixer up.
    for (double seconds : {-1.0, std::nan(""), 1e300, std::numeric_limits<double>::infinity()})
        mixer.advance(seconds);
}
