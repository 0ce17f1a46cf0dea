// Videos on the splash window, driven by a made-up clock: frames at their times, and the look at the player
// every 100 milliseconds that plays the video again or closes the window.
#include "dialogs/video_splash.h"

#include "platform/music_decoder.h"
#include "platform/openal/openal_mixer.h"
#include "../platform/video_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quillon;

namespace {

// A video of `frames` frames 40 ms apart, frame i filled with the pixel value i + 1.
class FakeVideo final : public platform::VideoFile {
public:
    FakeVideo(int frames, bool rewinds = true)
        : m_frames(frames)
        , m_rewinds(rewinds)
    {
    }
    int width() const override { return 4; }
    int height() const override { return 2; }
    bool next_frame(std::uint32_t* pixels, int width, int height, std::int64_t& time_ms) override
    {
        if (m_at >= m_frames)
            return false;
        std::fill_n(pixels, width * height, std::uint32_t(m_at + 1));
        time_ms = 40 * m_at++;
        return true;
    }
    std::int64_t frame_duration_ms() const override { return 40; }
    bool rewind() override
    {
        m_at = 0;
        return m_rewinds;
    }

private:
    int m_frames;
    bool m_rewinds;
    int m_at = 0;
};

std::unique_ptr<VideoSplash> video(int frames, bool loop, bool rewinds = true)
{
    auto splash = std::make_unique<VideoSplash>(std::make_unique<FakeVideo>(frames, rewinds), "clip.avi", true, loop,
        nullptr, nullptr);
    splash->placement({8, 8});
    return splash;
}

// The pixel at the canvas's (x, y) after painting the 8 by 8 window.
std::uint32_t painted(VideoSplash& splash, int x, int y)
{
    std::vector<std::uint32_t> pixels(64, 0x777777);
    SurfaceCanvas canvas {pixels.data(), 8, 8, 32, {0, 0, 8, 8}};
    splash.paint(canvas);
    return canvas.at(x, y);
}

}  // namespace

TEST(VideoSplash, ShowsEachFrameAtItsTimeFittedToTheScreen)
{
    auto splash = video(3, false);
    EXPECT_EQ(splash->tick(0), 40);
    EXPECT_EQ(splash->frames_shown(), 1);
    EXPECT_EQ(painted(*splash, 0, 2), 1u);   // 4 by 2 scaled to 8 by 4, rows 2 to 5
    EXPECT_EQ(painted(*splash, 7, 5), 1u);
    EXPECT_EQ(painted(*splash, 0, 1), 0u);   // black above
    EXPECT_FALSE(splash->needs_paint());
    EXPECT_EQ(splash->tick(39), 1);
    EXPECT_FALSE(splash->needs_paint());
    splash->tick(85);
    EXPECT_EQ(splash->frames_shown(), 3);    // the second and the third, late
    EXPECT_TRUE(splash->needs_paint());
    EXPECT_EQ(painted(*splash, 3, 3), 3u);
    EXPECT_EQ(splash->transcript(), "show_video: clip.avi");
}

TEST(VideoSplash, TheLookAtThePlayerClosesAStoppedVideoOrPlaysItAgain)
{
    auto once = video(3, false);
    once->tick(0);
    once->tick(100);   // the last frame (80 ms) still shows until 120 ms
    EXPECT_FALSE(once->finished());
    EXPECT_EQ(once->tick(150), 50);   // the next look is at 200 ms
    EXPECT_FALSE(once->finished());
    once->tick(200);
    EXPECT_TRUE(once->finished());
    EXPECT_EQ(once->plays(), 1);

    auto looped = video(3, true);
    looped->tick(0);
    looped->tick(100);
    looped->tick(200);
    EXPECT_FALSE(looped->finished());
    EXPECT_EQ(looped->plays(), 2);
    EXPECT_EQ(looped->frames_shown(), 4);   // three, then the first again
    EXPECT_EQ(painted(*looped, 0, 2), 1u);
    looped->tick(240);
    EXPECT_EQ(painted(*looped, 0, 2), 2u);
    looped->tick(400);
    EXPECT_EQ(looped->plays(), 3);
}

TEST(VideoSplash, AVideoThatGivesNothingOrCannotStartAgainCloses)
{
    auto empty = video(0, true);
    empty->tick(0);
    EXPECT_TRUE(empty->finished());

    auto stuck = video(2, true, false);
    stuck->tick(0);
    stuck->tick(100);
    EXPECT_TRUE(stuck->finished());
    EXPECT_EQ(stuck->plays(), 1);
}

TEST(VideoSplash, AKeyOrAClickOrAnAnswerCloses)
{
    platform::Event key;
    key.kind = platform::EventKind::key_down;
    auto pressed = video(3, true);
    pressed->tick(0);
    pressed->handle(key);
    EXPECT_TRUE(pressed->finished());
    auto answered = video(3, true);
    answered->answer(std::nullopt);
    EXPECT_TRUE(answered->finished());
}

TEST(VideoSplash, PlaysADecodedFileFrameByFrameAndClosesWhenItHasStopped)
{
    std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "video_splash.nut";
    ASSERT_TRUE(quillon::testing::write_video_fixture(file, 3));
    std::unique_ptr<platform::VideoFile> decoded = platform::open_video_file(file);
    ASSERT_TRUE(decoded);
    VideoSplash splash(std::move(decoded), "clip.nut", false, false, nullptr, nullptr);
    platform::WindowPlacement placement = splash.placement({100, 100});
    EXPECT_EQ(placement.width, quillon::testing::VIDEO_FIXTURE_WIDTH);
    EXPECT_EQ(placement.height, quillon::testing::VIDEO_FIXTURE_HEIGHT);
    std::vector<std::uint32_t> pixels(std::size_t(placement.width * placement.height));
    SurfaceCanvas canvas {pixels.data(), placement.width, placement.height, placement.width * 4,
        {0, 0, placement.width, placement.height}};
    for (std::int64_t time = 0; time <= 80; time += 40) {
        splash.tick(time);
        splash.paint(canvas);
        EXPECT_EQ(canvas.at(0, 0), quillon::testing::video_fixture_pixel(int(time / 40), 0)) << time;
        EXPECT_EQ(canvas.at(7, 3), quillon::testing::video_fixture_pixel(int(time / 40), 3)) << time;
    }
    splash.tick(100);
    EXPECT_FALSE(splash.finished());
    splash.tick(200);
    EXPECT_TRUE(splash.finished());
    EXPECT_EQ(splash.frames_shown(), 3);
    std::filesystem::remove(file);
}

TEST(VideoSplash, AVideoWithSoundHasStoppedOnlyWhenItsSoundHasEnded)
{
    std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "video_splash_sound.nut";
    ASSERT_TRUE(quillon::testing::write_video_fixture(file, 3, 500));
    platform::OpenAlMixer mixer(false);
    mixer.open();
    std::unique_ptr<platform::MusicDecoder> sound = platform::open_music_file(file);
    ASSERT_TRUE(sound);
    VideoSplash splash(platform::open_video_file(file), "clip.nut", false, false, &mixer,
        std::make_unique<MusicPlayer>(mixer, std::move(sound)));
    splash.placement({100, 100});
    std::int64_t closed_at = -1;
    for (std::int64_t time = 0; time <= 2000 && closed_at < 0; time += 20) {
        splash.tick(time);
        if (splash.finished())
            closed_at = time;
    }
    EXPECT_EQ(splash.frames_shown(), 3);
    EXPECT_GE(closed_at, 500);   // the pictures ended at 120 ms, the sound at 500 ms
    EXPECT_LE(closed_at, 700);
    std::filesystem::remove(file);
}
