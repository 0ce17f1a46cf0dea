// Pictures imported by the packer: alpha channels keyed with an unused colour, strips, GIF frames, exact BMPs.
#include "game_builder.h"
#include "support/bmp_file.h"
#include "support/picture_file.h"

#include <png.h>

#include <gtest/gtest.h>

using namespace quillon;

namespace {

constexpr Color RED = make_color(255, 0, 0);

// A 4x4 PNG whose left column and bottom row are see-through; the rest is red, with one pixel in the
// canvas colour so that the key must be some other colour.
std::vector<std::uint8_t> cut_out_png()
{
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            bool clear = x == 0 || y == 3;
            bool canvas = x == 3 && y == 0;
            rgba.insert(rgba.end(), {std::uint8_t(canvas ? 64 : 255), std::uint8_t(canvas ? 128 : 0), 0,
                                     std::uint8_t(clear ? 0 : 255)});
        }
    }
    png_image png {};
    png.version = PNG_IMAGE_VERSION;
    png.width = 4;
    png.height = 4;
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&png, nullptr, &size, 0, rgba.data(), 0, nullptr);
    std::vector<std::uint8_t> file(size);
    png_image_write_to_memory(&png, file.data(), &size, 0, rgba.data(), 0, nullptr);
    file.resize(size);
    return file;
}

}  // namespace

TEST(PictureImport, AlphaBecomesAColourThePictureDoesNotUseAtTheBottomLeft)
{
    GameBuilder builder;
    builder.file("sprites/cut.png", cut_out_png());
    builder.file("backgrounds/cut.png", cut_out_png());
    builder.manifest("sprites", {"cut"});
    builder.manifest("backgrounds", {{{"name", "cut"}, {"transparent", true}}});
    GameFile game = builder.build();

    const CSprite& sprite = *game.sprites.get(0);
    ASSERT_EQ(sprite.frames.size(), 1u);
    const Bitmap24& frame = *sprite.frames[0].bitmap;
    Color key = frame.transparent_color();
    EXPECT_NE(key, RED);
    EXPECT_NE(key, CANVAS_FILL_COLOR);
    EXPECT_EQ(frame.pixel(0, 0), key);
    EXPECT_EQ(frame.pixel(2, 3), key);
    EXPECT_EQ(frame.pixel(1, 1), RED);
    EXPECT_EQ(frame.pixel(3, 0), CANVAS_FILL_COLOR);
    EXPECT_EQ(sprite.bounding_box, (BoundingBox {1, 0, 3, 2}));

    const CBackground& background = *game.backgrounds.get(0);
    EXPECT_EQ(background.width, 4);
    EXPECT_EQ(background.image.bitmap->transparent_color(), key);
    EXPECT_EQ(background.image.bitmap->pixel(0, 0), key);
}

TEST(PictureImport, StripsSplitAndBitmapsStayExact)
{
    // Ten columns in three frames: three pixels each, the last column dropped.
    Bitmap24 strip(10, 2, RED);
    for (int y = 0; y < 2; ++y) {
        strip.set_pixel(3, y, make_color(0, 255, 0));
        strip.set_pixel(9, y, make_color(0, 0, 255));
    }
    Bitmap24 bitmap(5, 3, make_color(1, 2, 3));
    bitmap.set_pixel(4, 0, make_color(200, 100, 50));
    GameBuilder builder;
    builder.file("sprites/walk.png", encode_png(strip));
    builder.file("sprites/still.bmp", encode_bmp(bitmap));
    builder.manifest("sprites", {{{"name", "walk"}, {"strip", 3}}, "still"});
    GameFile game = builder.build();

    const CSprite& walk = *game.sprites.get(0);
    ASSERT_EQ(walk.frames.size(), 3u);
    EXPECT_EQ(walk.width, 3);
    EXPECT_EQ(walk.height, 2);
    EXPECT_EQ(walk.frames[1].bitmap->pixel(0, 0), make_color(0, 255, 0));
    EXPECT_EQ(walk.frames[2].bitmap->pixel(2, 1), RED);
    EXPECT_EQ(*game.sprites.get(1)->frames[0].bitmap, bitmap);
}

TEST(PictureImport, AnimatedGifGivesOneFramePerImage)
{
    // A 2x1 GIF of two one-pixel images: red on the left with disposal 1 (leave in place), then green on
    // the right, which is drawn over what the first image left.
    const std::vector<std::uint8_t> gif {
        'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0,  // screen 2x1, a global palette of two colours
        0xFF, 0, 0, 0, 0xFF, 0,                                // red, green
        0x21, 0xF9, 4, 1 << 2, 0, 0, 0, 0,                     // disposal 1
        0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0,                       // image at (0, 0), 1x1
        2, 2, 0x44, 0x01, 0,                                   // clear, index 0, end
        0x21, 0xF9, 4, 2 << 2, 0, 0, 0, 0,                     // disposal 2
        0x2C, 1, 0, 0, 0, 1, 0, 1, 0, 0,                       // image at (1, 0), 1x1
        2, 2, 0x4C, 0x01, 0,                                   // clear, index 1, end
        0x3B};
    GameBuilder builder;
    builder.file("sprites/anim.gif", gif);
    builder.manifest("sprites", {"anim"});
    GameFile game = builder.build();
    const CSprite& sprite = *game.sprites.get(0);
    ASSERT_EQ(sprite.frames.size(), 2u);
    EXPECT_EQ(sprite.width, 2);
    EXPECT_EQ(sprite.frames[0].bitmap->pixel(0, 0), RED);
    EXPECT_EQ(sprite.frames[0].bitmap->pixel(1, 0), CANVAS_FILL_COLOR);
    EXPECT_EQ(sprite.frames[1].bitmap->pixel(0, 0), RED);
    EXPECT_EQ(sprite.frames[1].bitmap->pixel(1, 0), make_color(0, 255, 0));
}

TEST(PictureImport, LoadingImagesAreBlendedOverTheCanvasColour)
{
    GameBuilder builder;
    builder.file("loading.png", cut_out_png());
    builder.manifest("settings", {{"own_loading_image", true}, {"loading_image", "loading.png"}});
    GameFile game = builder.build();
    const Bitmap24& image = *game.settings.loading_image.bitmap;
    EXPECT_EQ(image.pixel(0, 0), CANVAS_FILL_COLOR);
    EXPECT_EQ(image.pixel(1, 1), RED);
}
