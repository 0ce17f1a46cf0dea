// Pictures on the splash window: fitted to the screen or at their own size, and files that show nothing.
#include "dialogs/image_splash.h"

#include "support/picture_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

using namespace quillon;

TEST(ImageSplash, FittingScalesByTheSmallerRatioRoundsTheSizeAndCentres)
{
    struct Case {
        int outer_width, outer_height, width, height;
        SurfaceRect expected;
    };
    const Case cases[] = {
        {1024, 768, 640, 480, {0, 0, 1024, 768}},       // same shape: the whole screen
        {1024, 768, 300, 200, {0, 42, 1024, 725}},      // wide: 3.41, the height 682.7 rounds to 683
        {1024, 768, 100, 400, {416, 0, 608, 768}},      // tall: 1.92
        {1024, 768, 4000, 3000, {0, 0, 1024, 768}},     // larger than the screen shrinks
        {4, 4, 1, 3, {1, 0, 2, 4}},                     // 1.33: the width 1.33 rounds to 1
        {300, 300, 300, 300, {0, 0, 300, 300}},         // its own size
        {300, 300, 0, 10, {}},                          // nothing to fit
    };
    for (const Case& c : cases)
        EXPECT_EQ(fit_centred(c.outer_width, c.outer_height, c.width, c.height), c.expected) << c.width << "x" << c.height;
}

TEST(ImageSplash, ShowsAPictureFileFittedOnTheFullScreenOrAtItsSizeCentred)
{
    Bitmap24 picture(2, 1);
    picture.set_pixel(0, 0, make_color(255, 0, 0));
    picture.set_pixel(1, 0, make_color(0, 0, 255));
    std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "splash_picture.png";
    std::vector<std::uint8_t> png = encode_png(picture);
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));

    std::unique_ptr<ImageSplash> full = ImageSplash::open(file, "pic.png", true, 0);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->transcript(), "show_image: pic.png");
    platform::ScreenSize screen {8, 8};
    platform::WindowPlacement placement = full->placement(screen);
    EXPECT_EQ((SurfaceRect {placement.left, placement.top, placement.width, placement.height}), (SurfaceRect {0, 0, 8, 8}));
    std::vector<std::uint32_t> pixels(64, 0x777777);
    SurfaceCanvas canvas {pixels.data(), 8, 8, 32, {0, 0, 8, 8}};
    full->paint(canvas);
    // Scaled by 4 to 8 by 4, rows 2 to 5; black above and below.
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            std::uint32_t expected = y < 2 || y >= 6 ? 0 : x < 4 ? 0xFF0000 : 0x0000FF;
            EXPECT_EQ(canvas.at(x, y), expected) << x << "," << y;
        }
    }

    std::unique_ptr<ImageSplash> own = ImageSplash::open(file, "pic.png", false, 0);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->placement(screen).left, 3);
    EXPECT_EQ(own->placement(screen).top, 3);
    EXPECT_EQ(own->placement(screen).width, 2);
    EXPECT_EQ(own->placement(screen).height, 1);
    std::filesystem::remove(file);
}

TEST(ImageSplash, AMissingFileAFolderOrAFileThatIsNoPictureShowsNothing)
{
    std::filesystem::path folder = ::testing::TempDir();
    std::filesystem::path text = folder / "splash_not_a_picture.png";
    std::ofstream(text) << "not a picture";
    EXPECT_FALSE(ImageSplash::open(folder / "splash_missing.png", "", true, 0));
    EXPECT_FALSE(ImageSplash::open(folder, "", true, 0));
    EXPECT_FALSE(ImageSplash::open(text, "", true, 0));
    std::filesystem::remove(text);
}
