// DDSurface: colour keys, fills, plain and stretched blits, and clipping with the source moved in step.
#include "graphics/surface.h"

#include "graphics_fixture.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

// A 4x4 source: column x has the colour make_color(10 * (x + 1), 0, 0), except a key-coloured (green) pixel.
DDSurface striped_source(bool transparent)
{
    DDSurface source(4, 4, transparent, GREEN, false);
    SurfaceCanvas canvas = source.GetCanvas();
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x)
            canvas.at(x, y) = color_to_pixel(make_color(10 * (x + 1), 0, 0));
    }
    canvas.at(1, 1) = color_to_pixel(GREEN);
    return source;
}

}  // namespace

TEST(Surface, ColourKeyStartsTransparentAndBlitsSkipIt)
{
    DDSurface keyed(3, 2, true, BLUE, true);
    EXPECT_EQ(color_at(keyed, 2, 1), BLUE);  // a new transparent surface is all key
    DDSurface target(4, 4, false, 0, true);
    ASSERT_TRUE(target.Clear(WHITE));
    target.Draw(0, 0, keyed, true, 1, 1);
    EXPECT_EQ(color_at(target, 1, 1), WHITE);

    DDSurface opaque = striped_source(false);
    DDSurface transparent = striped_source(true);
    target.Draw(0, 0, opaque, true, 1, 1);
    EXPECT_EQ(color_at(target, 1, 1), GREEN);
    target.Clear(WHITE);
    target.Draw(0, 0, transparent, true, 1, 1);
    EXPECT_EQ(color_at(target, 1, 1), WHITE);
    EXPECT_EQ(color_at(target, 2, 1), make_color(30, 0, 0));
}

TEST(Surface, DrawPartClipsAndMovesTheSourceInStep)
{
    struct Case {
        int x, y;          // where the 4x4 source is drawn
        double x_scale;    // its horizontal scale
        SurfaceRect clip;  // the target's clip rectangle
        int probe_x;       // a target column to read
        Color expected;    // its colour in row 3
    };
    const Case cases[] = {
        {-2, 0, 1, {0, 0, 8, 8}, 0, make_color(30, 0, 0)},     // cut on the left: source column 2 first
        {6, 0, 1, {0, 0, 8, 8}, 7, make_color(20, 0, 0)},      // cut on the right
        {1, 0, 1, {3, 0, 8, 8}, 2, WHITE},                     // left of the clip rectangle stays
        {1, 0, 1, {3, 0, 8, 8}, 3, make_color(30, 0, 0)},
        {0, 0, 2, {0, 0, 8, 8}, 3, make_color(20, 0, 0)},      // doubled: columns 2 and 3 from source column 1
        {-4, 0, 2, {0, 0, 8, 8}, 0, make_color(30, 0, 0)},     // doubled and cut by 4 pixels, 2 source columns
        {0, 0, 1, {0, 0, 8, 8}, 4, WHITE},
    };
    DDSurface source = striped_source(false);
    for (const Case& c : cases) {
        DDSurface target(8, 8, false, 0, true);
        target.Clear(WHITE);
        target.set_clip(c.clip);
        EXPECT_TRUE(target.DrawPart(c.x, c.y, {0, 0, 4, 4}, source, true, c.x_scale, 1));
        EXPECT_EQ(color_at(target, c.probe_x, 3), c.expected) << c.x << " " << c.x_scale << " " << c.probe_x;
    }
}

TEST(Surface, WithoutClippingOnlyTheSurfaceEdgesCut)
{
    DDSurface source = striped_source(false);
    DDSurface target(8, 8, false, 0, true);
    target.Clear(WHITE);
    target.set_clip({4, 4, 8, 8});
    target.DrawPart(-1, 0, {0, 0, 4, 4}, source, false, 1, 1);
    EXPECT_EQ(color_at(target, 0, 0), make_color(20, 0, 0));
    // Scales of 0 or less draw nothing and still report success.
    target.Clear(WHITE);
    EXPECT_TRUE(target.Draw(0, 0, source, true, 0, 1));
    EXPECT_EQ(color_at(target, 4, 4), WHITE);
}

TEST(Surface, AnEmptySurfaceDoesNothing)
{
    DDSurface empty;
    EXPECT_FALSE(empty.has_surface());
    EXPECT_FALSE(empty.Clear(RED));
    EXPECT_FALSE(empty.SetColorKey(RED));
    EXPECT_FALSE(empty.Restore());
    EXPECT_EQ(empty.GetCanvas().pixels, nullptr);
    DDSurface target(2, 2, false, 0, true);
    EXPECT_TRUE(target.Draw(0, 0, empty, true, 1, 1));
    EXPECT_TRUE(empty.Draw(0, 0, target, true, 1, 1));
    EXPECT_EQ(empty.clip(), (SurfaceRect {}));
}
