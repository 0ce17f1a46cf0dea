// Bitmap operations: transparent colour, bounding box, creation and blending, with their internal errors.
#include "graphics/bitmap_operations.h"

#include "graphics_fixture.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

TEST(BitmapOperations, TransparentColorAndBoundingBoxFollowTheBottomLeftPixel)
{
    Bitmap24 bitmap(5, 4, GREEN);
    bitmap.set_pixel(1, 1, RED);
    bitmap.set_pixel(3, 2, BLUE);
    bitmap.set_pixel(4, 3, GREEN);
    EXPECT_EQ(Bitmap24_TransparentColor(&bitmap), GREEN);
    EXPECT_EQ(Bitmap24_BoundingBox(&bitmap), (BoundingBox {1, 1, 3, 2}));

    // Without a solid pixel the box keeps its start, left beyond right.
    Bitmap24 empty(5, 4, BLUE);
    EXPECT_EQ(Bitmap24_BoundingBox(&empty), (BoundingBox {4, 3, 0, 0}));

    // The bottom-left pixel decides, even when most of the picture has another colour.
    Bitmap24 keyed(3, 2, RED);
    keyed.set_pixel(0, 1, WHITE);
    EXPECT_EQ(Bitmap24_BoundingBox(&keyed), (BoundingBox {0, 0, 2, 1}));
}

TEST(BitmapOperations, BadBitmapsReportInternalErrors)
{
    ErrorLog log;
    Bitmap24 torn(4, 4);
    torn.pixels.resize(10);
    EXPECT_EQ(Bitmap24_TransparentColor(nullptr), 0u);
    EXPECT_EQ(Bitmap24_BoundingBox(&torn), (BoundingBox {}));
    EXPECT_EQ(log.messages, (std::vector<std::string> {
                                "ERROR in handling bitmap:\rInternal error in Bitmap24_TransparentColor.",
                                "ERROR in handling bitmap:\rInternal error in Bitmap24_BoundingBox.",
                            }));
    Bitmap24 fine(2, 2);
    EXPECT_FALSE(Bitmap24_Blend(&fine, nullptr, 128, false));
    EXPECT_FALSE(Bitmap24_Blend(&torn, &fine, 128, false));
    EXPECT_EQ(log.messages.size(), 2u);  // blending fails quietly
}

TEST(BitmapOperations, CreateClampsSidesToOne)
{
    Bitmap24 made = Bitmap24_Create(0, -3);
    EXPECT_EQ(made.width, 1);
    EXPECT_EQ(made.height, 1);
    EXPECT_EQ(made.pixel(0, 0), BLACK);
    Bitmap24 filled = Bitmap24_CreateFilled(3, 2, BLUE);
    EXPECT_EQ(filled.pixel(2, 1), BLUE);
}

TEST(BitmapOperations, BlendMixesOverTheCommonSizeRoundingHalvesToEven)
{
    struct Case {
        int alpha;           // weight of the source, out of 256
        bool transparency;   // skip the source's transparent colour
        Color expected;   // at (0, 0), where the source is solid
    };
    // Destination channel 100 and source channel 101 (red); blue 0 and 255.
    const Case cases[] = {
        {0, false, make_color(100, 0, 0)},
        {128, false, make_color(100, 0, 128)},   // 100.5 goes to 100, 127.5 to 128
        {256, false, make_color(101, 0, 255)},
        {128, true, make_color(100, 0, 128)},
    };
    for (const Case& c : cases) {
        Bitmap24 destination(3, 3, make_color(100, 0, 0));
        Bitmap24 source(2, 2, make_color(101, 0, 255));
        source.set_pixel(0, 1, GREEN);  // the source's transparent colour
        ASSERT_TRUE(Bitmap24_Blend(&destination, &source, c.alpha, c.transparency));
        EXPECT_EQ(destination.pixel(0, 0), c.expected) << c.alpha;
        // The see-through pixel is skipped only with transparency.
        Color under_key = destination.pixel(0, 1);
        EXPECT_EQ(under_key == make_color(100, 0, 0), c.transparency || c.alpha == 0) << c.alpha;
        // Outside the common size the destination stays.
        EXPECT_EQ(destination.pixel(2, 2), make_color(100, 0, 0));
    }
}
