// Video files through FFmpeg: the frames of a tiny file with their times and colours, going back to the start,
// and files that are missing, no video or cut short.
#include "platform/video_file.h"
#include "video_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

using namespace quillon;
using namespace quillon::testing;

namespace {

std::filesystem::path temp_file(const char* name)
{
    return std::filesystem::path(::testing::TempDir()) / name;
}

}  // namespace

TEST(VideoDecoder, GivesEachFrameWithItsTimeAndColoursAndStartsAgain)
{
    std::filesystem::path file = temp_file("video_decoder.nut");
    ASSERT_TRUE(write_video_fixture(file, 3));
    std::unique_ptr<platform::VideoFile> video = platform::open_video_file(file);
    ASSERT_TRUE(video);
    EXPECT_EQ(video->width(), VIDEO_FIXTURE_WIDTH);
    EXPECT_EQ(video->height(), VIDEO_FIXTURE_HEIGHT);
    EXPECT_EQ(video->frame_duration_ms(), 40);
    std::vector<std::uint32_t> pixels(VIDEO_FIXTURE_WIDTH * VIDEO_FIXTURE_HEIGHT);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < 3; ++i) {
            std::int64_t time = -1;
            ASSERT_TRUE(video->next_frame(pixels.data(), VIDEO_FIXTURE_WIDTH, VIDEO_FIXTURE_HEIGHT, time)) << i;
            EXPECT_EQ(time, 40 * i);
            EXPECT_EQ(pixels.front(), video_fixture_pixel(i, 0)) << i;
            EXPECT_EQ(pixels.back(), video_fixture_pixel(i, VIDEO_FIXTURE_HEIGHT - 1)) << i;
        }
        std::int64_t time = -1;
        EXPECT_FALSE(video->next_frame(pixels.data(), VIDEO_FIXTURE_WIDTH, VIDEO_FIXTURE_HEIGHT, time));
        EXPECT_TRUE(video->rewind());
    }
    // Scaled on decoding: twice the size, the colours kept.
    std::vector<std::uint32_t> doubled(4 * pixels.size());
    std::int64_t time = -1;
    ASSERT_TRUE(video->next_frame(doubled.data(), 2 * VIDEO_FIXTURE_WIDTH, 2 * VIDEO_FIXTURE_HEIGHT, time));
    EXPECT_EQ(doubled.front(), video_fixture_pixel(0, 0));
    EXPECT_EQ(doubled.back(), video_fixture_pixel(0, VIDEO_FIXTURE_HEIGHT - 1));
    std::filesystem::remove(file);
}

TEST(VideoDecoder, MissingBrokenAndCutFilesGiveNoVideoOrEndEarly)
{
    std::filesystem::path text = temp_file("video_decoder_text.avi");
    std::ofstream(text) << "this is no video at all";
    EXPECT_FALSE(platform::open_video_file(temp_file("video_decoder_missing.avi")));
    EXPECT_FALSE(platform::open_video_file(text));
    EXPECT_FALSE(platform::open_video_file(::testing::TempDir()));
    EXPECT_FALSE(platform::open_video_file("pipe:0"));   // names no protocol, so nothing waits on standard input

    std::filesystem::path cut = temp_file("video_decoder_cut.nut");
    ASSERT_TRUE(write_video_fixture(cut, 20));
    std::filesystem::resize_file(cut, std::filesystem::file_size(cut) / 2);
    if (std::unique_ptr<platform::VideoFile> video = platform::open_video_file(cut)) {
        std::vector<std::uint32_t> pixels(VIDEO_FIXTURE_WIDTH * VIDEO_FIXTURE_HEIGHT);
        std::int64_t time = 0;
        int frames = 0;
        while (frames < 100 && video->next_frame(pixels.data(), VIDEO_FIXTURE_WIDTH, VIDEO_FIXTURE_HEIGHT, time))
            ++frames;
        EXPECT_LT(frames, 20);
    }
    std::filesystem::remove(text);
    std::filesystem::remove(cut);
}
