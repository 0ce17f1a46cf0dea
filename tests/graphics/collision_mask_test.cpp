// Collision masks: which sprites get one, how frames are keyed, and the point test at the edges.
#include "graphics/collision_mask.h"

#include "graphics_fixture.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

// A 70-pixel-wide sprite (so that rows span two words) with two frames: frame 0 solid at (1, 1) and (69, 2)
// over white, frame 1 all white.
CSprite two_frame_sprite()
{
    CSprite sprite;
    sprite.width = 70;
    sprite.height = 3;
    Bitmap24 first(70, 3, WHITE);
    first.set_pixel(1, 1, RED);
    first.set_pixel(69, 2, BLUE);
    sprite.frames.push_back(StoredImage::from_bitmap(first));
    sprite.frames.push_back(StoredImage::from_bitmap(Bitmap24(70, 3, WHITE)));
    return sprite;
}

}  // namespace

TEST(CollisionMask, SolidPixelsDifferFromTheFramesOwnBottomLeft)
{
    CSprite sprite = two_frame_sprite();
    // A frame keyed by another colour: its bottom-left is red, so the white pixels are solid.
    Bitmap24 red_keyed(70, 3, WHITE);
    red_keyed.set_pixel(0, 2, RED);
    sprite.frames.push_back(StoredImage::from_bitmap(red_keyed));
    CollisionMask mask;
    mask.build(&sprite);
    ASSERT_TRUE(mask.present());
    EXPECT_EQ(mask.frame_count(), 3);

    struct Case {
        int frame;      // the frame tested
        double x, y;    // frame coordinates
        bool solid;     // the expected answer
    };
    const Case cases[] = {
        {0, 1, 1, true},
        {0, 1.99, 1.5, true},    // coordinates are floored
        {0, 0.99, 1, false},
        {0, 69, 2, true},        // the second word of the row
        {0, 70, 2, false},       // x = width is outside
        {0, 69.5, 3, false},     // y = height is outside
        {0, -0.5, 1, false},
        {1, 1, 1, false},        // a fully see-through frame never collides
        {1, 69, 2, false},
        {2, 0, 2, false},
        {2, 5, 0, true},
        {3, 1, 1, false},        // no such frame
    };
    for (const Case& c : cases)
        EXPECT_EQ(mask.point_test(c.frame, c.x, c.y), c.solid) << c.frame << " " << c.x << "," << c.y;
}

TEST(CollisionMask, OnlyPreciseTransparentSpritesWithFramesHaveMasks)
{
    CSprite not_precise = two_frame_sprite();
    not_precise.precise = false;
    CSprite opaque = two_frame_sprite();
    opaque.transparent = false;
    CSprite no_frames;
    no_frames.width = 4;
    ResourceList<CSprite> sprites;
    sprites.add("a", std::make_unique<CSprite>(not_precise));
    sprites.add("b", std::make_unique<CSprite>(opaque));
    sprites.add("c", std::make_unique<CSprite>(no_frames));
    sprites.add("gone", nullptr);
    sprites.add("d", std::make_unique<CSprite>(two_frame_sprite()));

    CollisionMasks masks;
    masks.build_all(sprites);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(masks.mask(i).present()) << i;
        // Without a mask every point counts, even outside the frame.
        EXPECT_TRUE(masks.point_test(i, 0, 1000, -5)) << i;
    }
    EXPECT_TRUE(masks.mask(4).present());
    EXPECT_FALSE(masks.point_test(4, 1, 1, 1));
    masks.free(4);
    EXPECT_TRUE(masks.point_test(4, 1, 1, 1));
    masks.build(6, sprites.get(4));  // grows the table
    EXPECT_TRUE(masks.mask(6).present());
}

TEST(CollisionMask, AFrameWithoutPictureReportsAndLeavesNoMask)
{
    ErrorLog log;
    CSprite sprite = two_frame_sprite();
    sprite.frames[1] = StoredImage();
    CollisionMask mask;
    mask.build(&sprite);
    EXPECT_FALSE(mask.present());
    EXPECT_EQ(log.messages, (std::vector<std::string> {"Internal error in creating collision masks."}));
}
