// Sprites and backgrounds from picture files, their bounding boxes, and the lists' add, replace and delete.
#include "../support/bitmap_pixels.h"
#include "graphics/background_list.h"
#include "graphics/sprite_list.h"
#include "support/bmp_file.h"
#include "support/picture_file.h"

#include <png.h>

#include "graphics_fixture.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;
using namespace quillon::test;

namespace {

// A strip whose frame i has a red pixel at column i of row 0, over a white see-through background.
Bitmap24 marked_strip(int width, int height, int frames)
{
    Bitmap24 strip(width, height, WHITE);
    for (int i = 0; i < frames; ++i)
        strip.set_pixel(i * (width / frames) + i, 0, RED);
    return strip;
}

}  // namespace

TEST(Sprite, AStripSplitsIntoEqualFramesDroppingTheRest)
{
    ScratchDirectory dir("strip");
    Bitmap24 strip = marked_strip(100, 4, 3);
    strip.set_pixel(99, 1, BLUE);  // the dropped column
    auto file = dir.write("strip.png", encode_png(strip));

    CSprite sprite;
    ASSERT_TRUE(sprite.add_from_file(file, {3, true, true, false, true, 5, 6}));
    EXPECT_EQ(sprite.width, 33);
    EXPECT_EQ(sprite.height, 4);
    ASSERT_EQ(sprite.frame_count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(sprite.frame_bitmap(i)->pixel(i, 0), RED) << i;
    EXPECT_EQ(sprite.frame_bitmap(3), nullptr);
    EXPECT_EQ(sprite.bounding_box, (BoundingBox {0, 0, 2, 0}));  // the union of the frames' boxes
    EXPECT_EQ(sprite.origin_x, 5);
    EXPECT_EQ(sprite.origin_y, 6);
    EXPECT_TRUE(sprite.load_on_use);
    EXPECT_FALSE(sprite.video_memory);

    // A count of 0 or less takes the picture as one frame.
    ASSERT_TRUE(sprite.add_from_file(file, {0}));
    EXPECT_EQ(sprite.width, 100);
    EXPECT_EQ(sprite.frame_count(), 1);
}

TEST(Sprite, GifFramesWithDisposalOneBuildOnEachOther)
{
    ScratchDirectory dir("gif");
    auto gif = make_gif(2, 1, {{{0, 3}, DISPOSE_DO_NOT}, {{3, 1}, DISPOSE_DO_NOT}, {{2, 3}, DISPOSAL_UNSPECIFIED}, {{3, 3}, DISPOSE_DO_NOT}});
    constexpr Color FILL = CANVAS_FILL_COLOR;

    CSprite sprite;
    ASSERT_TRUE(sprite.add_from_file(dir.write("walk.GIF", gif), {7}));  // the count is the GIF's own
    ASSERT_EQ(sprite.frame_count(), 4);
    EXPECT_EQ(pixels_of(*sprite.frame_bitmap(0)), (std::vector<Color> {RED, FILL}));
    EXPECT_EQ(pixels_of(*sprite.frame_bitmap(1)), (std::vector<Color> {RED, GREEN}));
    EXPECT_EQ(pixels_of(*sprite.frame_bitmap(2)), (std::vector<Color> {BLUE, GREEN}));
    EXPECT_EQ(pixels_of(*sprite.frame_bitmap(3)), (std::vector<Color> {FILL, FILL}));  // after a fresh canvas

    // The same bytes under another name are a single picture: the first frame, cut as a strip.
    ASSERT_TRUE(sprite.add_from_file(dir.write("walk.png", gif), {2}));
    ASSERT_EQ(sprite.frame_count(), 2);
    EXPECT_EQ(pixels_of(*sprite.frame_bitmap(1)), (std::vector<Color> {FILL}));
}

TEST(Sprite, UnreadableFilesChangeNothing)
{
    ScratchDirectory dir("bad");
    CSprite sprite;
    sprite.origin_x = 9;
    EXPECT_FALSE(sprite.add_from_file(dir.path() / "missing.png", {}));
    EXPECT_FALSE(sprite.add_from_file(dir.write("junk.bmp", {'B', 'M', 1, 2}), {}));
    EXPECT_FALSE(sprite.add_from_file(dir.path(), {}));  // a directory
    // A strip of 3 columns cannot give 4 frames.
    EXPECT_FALSE(sprite.add_from_file(dir.write("narrow.png", encode_png(Bitmap24(3, 2, RED))), {4}));
    EXPECT_EQ(sprite.origin_x, 9);

    CBackground background;
    background.width = 12;
    EXPECT_FALSE(background.add_from_file(dir.path() / "missing.jpg", {}));
    EXPECT_EQ(background.width, 12);
}

TEST(Sprite, BoundingBoxRules)
{
    Bitmap24 frame(4, 3, WHITE);
    frame.set_pixel(2, 1, RED);
    struct Case {
        bool transparent;   // the sprite's flag
        int kind;           // bounding box kind
        bool with_frame;    // one frame, or none
        BoundingBox expected;   // the box computed
    };
    const Case cases[] = {
        {true, 0, true, {2, 1, 2, 1}},
        {false, 0, true, {0, 0, 3, 2}},   // opaque: the whole frame
        {true, 1, true, {0, 0, 3, 2}},    // kind 1: the whole frame
        {true, 0, false, {0, 0, 0, 0}},   // no frames
        {true, 2, true, {2, 1, 2, 1}},    // other kinds compute
    };
    for (const Case& c : cases) {
        CSprite sprite;
        sprite.width = 4;
        sprite.height = 3;
        sprite.transparent = c.transparent;
        sprite.bounding_box_kind = c.kind;
        if (c.with_frame)
            sprite.frames.push_back(StoredImage::from_bitmap(frame));
        sprite.compute_bounding_box();
        EXPECT_EQ(sprite.bounding_box, c.expected) << c.transparent << c.kind << c.with_frame;
    }
}

TEST(Sprite, ReleasingKeepsTheFrameCount)
{
    CSprite sprite;
    sprite.frames.push_back(StoredImage::from_bitmap(Bitmap24(2, 2)));
    sprite.frames.push_back(StoredImage::from_bitmap(Bitmap24(2, 2)));
    sprite.release_images();
    EXPECT_EQ(sprite.frame_count(), 2);
    EXPECT_EQ(sprite.frame_bitmap(0), nullptr);
}

TEST(Background, AddBlendsSeeThroughPixelsOverTheCanvasColour)
{
    ScratchDirectory dir("background");
    // A 2x1 PNG: an opaque blue pixel and a fully see-through red one.
    std::vector<std::uint8_t> rgba {0, 0, 255, 255, 255, 0, 0, 0};
    png_image png {};
    png.version = PNG_IMAGE_VERSION;
    png.width = 2;
    png.height = 1;
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&png, nullptr, &size, 0, rgba.data(), 0, nullptr);
    std::vector<std::uint8_t> bytes(size);
    png_image_write_to_memory(&png, bytes.data(), &size, 0, rgba.data(), 0, nullptr);
    bytes.resize(size);

    CBackground background;
    ASSERT_TRUE(background.add_from_file(dir.write("sky.png", bytes), {true, false, true}));
    EXPECT_EQ(background.width, 2);
    EXPECT_EQ(background.height, 1);
    EXPECT_TRUE(background.transparent);
    EXPECT_TRUE(background.load_on_use);
    ASSERT_NE(background.image_bitmap(), nullptr);
    EXPECT_EQ(pixels_of(*background.image_bitmap()), (std::vector<Color> {BLUE, CANVAS_FILL_COLOR}));
    background.release_image();
    EXPECT_EQ(background.image_bitmap(), nullptr);
}

class ResourceListsTest : public ::testing::Test {
protected:
    ResourceListsTest()
        : dir("lists")
        , sheets(regions, {})
        , sprite_list(sprites, masks, sheets)
        , background_list(backgrounds, sheets)
    {
        regions.reset(screen);
        strip = dir.write("strip.bmp", encode_bmp(marked_strip(8, 2, 2)));
    }

    ScratchDirectory dir;
    DDSurface screen {16, 16, false, 0, true};
    RegionTable regions;
    ImageSheets sheets;
    CollisionMasks masks;
    ResourceList<CSprite> sprites;
    ResourceList<CBackground> backgrounds;
    SpriteList sprite_list;
    BackgroundList background_list;
    std::filesystem::path strip;
};

TEST_F(ResourceListsTest, AddBuildsSheetAndMaskThenFreesTheFrames)
{
    sprites.add("hero", std::make_unique<CSprite>());
    EXPECT_EQ(sprite_list.add(dir.path() / "missing.png", {2}), -1);
    EXPECT_EQ(sprite_list.count(), 1);

    int index = sprite_list.add(strip, {2});
    ASSERT_EQ(index, 1);
    EXPECT_EQ(sprite_list.name(1), "__newsprite1");
    EXPECT_EQ(sprite_list.find("__newsprite1"), 1);
    CSprite* sprite = sprite_list.get(1);
    EXPECT_EQ(sprite->frame_count(), 2);
    EXPECT_EQ(sprite->frame_bitmap(0), nullptr);  // released once the sheet and mask hold the pixels
    ASSERT_NE(sheets.sprite(1), nullptr);
    EXPECT_EQ(sheets.sprite(1)->image_bitmap(1)->pixel(1, 0), RED);
    EXPECT_TRUE(masks.mask(1).solid(1, 1, 0));
    EXPECT_FALSE(masks.mask(1).solid(1, 0, 0));
}

TEST_F(ResourceListsTest, DeleteLeavesAnUndefinedSlotAndLaterAddsGoToTheEnd)
{
    ASSERT_EQ(sprite_list.add(strip, {2}), 0);
    ASSERT_EQ(sprite_list.add(strip, {1}), 1);
    EXPECT_TRUE(sprite_list.remove(0));
    EXPECT_FALSE(sprite_list.remove(0));
    EXPECT_FALSE(sprite_list.remove(5));
    EXPECT_FALSE(sprite_list.exists(0));
    EXPECT_EQ(sprite_list.name(0), "<undefined>");
    EXPECT_EQ(sprite_list.find("__newsprite0"), -1);
    EXPECT_EQ(sheets.sprite(0), nullptr);
    EXPECT_FALSE(masks.mask(0).present());
    EXPECT_EQ(sprite_list.add(strip, {2}), 2);
    EXPECT_EQ(sprite_list.name(2), "__newsprite2");
}

TEST_F(ResourceListsTest, ReplaceKeepsTheNameAndAFailedOneKeepsTheEntry)
{
    ASSERT_EQ(sprite_list.add(strip, {2}), 0);
    auto wide = dir.write("wide.bmp", encode_bmp(Bitmap24(6, 3, GREEN)));
    EXPECT_FALSE(sprite_list.replace(0, dir.path() / "missing.png", {1}));
    EXPECT_EQ(sprite_list.get(0)->width, 4);
    EXPECT_TRUE(sheets.sprite(0)->exists());

    ASSERT_TRUE(sprite_list.replace(0, wide, {1, true, false}));
    EXPECT_EQ(sprite_list.name(0), "__newsprite0");
    EXPECT_EQ(sprite_list.get(0)->width, 6);
    EXPECT_EQ(sheets.sprite(0)->image_width(), 6);
    EXPECT_FALSE(masks.mask(0).present());  // precise but opaque
    EXPECT_FALSE(sprite_list.replace(3, wide, {1}));

    // A deleted slot takes the replacement under the name it had.
    ASSERT_TRUE(sprite_list.remove(0));
    ASSERT_TRUE(sprite_list.replace(0, wide, {1}));
    EXPECT_EQ(sprite_list.name(0), "__newsprite0");
    EXPECT_EQ(sheets.sprite(0)->image_width(), 6);
}

TEST_F(ResourceListsTest, BackgroundsAddReplaceAndDelete)
{
    auto sky = dir.write("sky.bmp", encode_bmp(Bitmap24(5, 3, BLUE)));
    EXPECT_EQ(background_list.add(dir.path() / "missing.gif", {}), -1);
    ASSERT_EQ(background_list.add(sky, {}), 0);
    EXPECT_EQ(background_list.name(0), "__newbackground0");
    EXPECT_EQ(background_list.get(0)->image_bitmap(), nullptr);
    EXPECT_EQ(sheets.background(0)->image_bitmap(0)->pixel(4, 2), BLUE);

    ASSERT_TRUE(background_list.replace(0, strip, {}));
    EXPECT_EQ(sheets.background(0)->image_width(), 8);
    EXPECT_TRUE(background_list.remove(0));
    EXPECT_EQ(background_list.name(0), "<undefined>");
    EXPECT_EQ(sheets.background(0), nullptr);
    EXPECT_EQ(background_list.add(sky, {}), 1);
}
