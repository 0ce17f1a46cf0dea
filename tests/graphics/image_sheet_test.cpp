// Image sheets: layout, image choice, origins, regions, alpha blending, tiling and load-on-use sheets.
#include "graphics/image_sheets.h"

#include "graphics_fixture.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

// A sprite of `count` frames of 2x2 pixels: frame i has colour make_color(i + 1, 0, 0) with a white
// see-through bottom-left pixel.
CSprite numbered_sprite(int count, int width = 2, int height = 2)
{
    CSprite sprite;
    sprite.width = width;
    sprite.height = height;
    for (int i = 0; i < count; ++i) {
        Bitmap24 frame(width, height, make_color(i + 1, 0, 0));
        frame.set_pixel(0, height - 1, WHITE);
        sprite.frames.push_back(StoredImage::from_bitmap(frame));
    }
    return sprite;
}

class SheetsTest : public ::testing::Test {
protected:
    SheetsTest()
        : dir("sheets")
        , sheets(regions, [this] { return dir.path() / ("sheet" + std::to_string(++files)); })
    {
        regions.reset(screen);
        screen.Clear(BLACK);
    }

    ScratchDirectory dir;
    int files = 0;
    DDSurface screen {20, 20, false, 0, true};
    RegionTable regions;
    ImageSheets sheets;
};

}  // namespace

TEST(ImageSheet, RowsHoldAtMost640PixelsOfImages)
{
    struct Case {
        int width, count;                // image width and number of images
        int columns, sheet_height;       // the layout expected
    };
    const Case cases[] = {{700, 2, 1, 2}, {16, 100, 40, 3}, {16, 5, 5, 1}, {640, 3, 1, 3}, {320, 3, 2, 2}};
    for (const Case& c : cases) {
        CSprite sprite = numbered_sprite(c.count, c.width, 1);
        ImageSheet sheet;
        std::vector<const Bitmap24*> images;
        for (int i = 0; i < c.count; ++i)
            images.push_back(sprite.frame_bitmap(i));
        sheet.build({images, c.width, 1}, {});
        EXPECT_EQ(sheet.columns(), c.columns) << c.width << "x" << c.count;
        ASSERT_NE(sheet.surface(), nullptr);
        EXPECT_EQ(sheet.surface()->height(), c.sheet_height);
        EXPECT_EQ(sheet.surface()->width(), c.columns * c.width);
    }
    ImageSheet empty;
    empty.build({{}, 4, 4}, {});
    EXPECT_FALSE(empty.exists());
}

TEST_F(SheetsTest, ImageIndicesWrapAroundTheCount)
{
    CSprite sprite = numbered_sprite(4);
    sheets.build_sprite(0, &sprite);
    struct Case {
        int image;   // the index asked for
        int drawn;   // the frame whose colour appears
    };
    for (Case c : {Case {-1, 3}, Case {9, 1}, Case {4, 0}, Case {-5, 3}}) {
        sheets.draw_sprite(0, c.image, 5, 5);
        EXPECT_EQ(color_at(screen, 6, 5), make_color(c.drawn + 1, 0, 0)) << c.image;
    }
    sheets.draw_sprite(7, 0, 0, 0);  // no such sprite: nothing happens
    EXPECT_EQ(color_at(screen, 0, 0), BLACK);
}

TEST_F(SheetsTest, OriginRegionOffsetAndPortClipPlaceTheImage)
{
    CSprite sprite = numbered_sprite(1, 4, 4);
    sprite.origin_x = 1;
    sprite.origin_y = 2;
    sprite.transparent = true;
    sheets.build_sprite(0, &sprite);
    sheets.draw_sprite(0, 0, 5, 5);
    EXPECT_EQ(color_at(screen, 4, 3), make_color(1, 0, 0));   // top-left at (5 - 1, 5 - 2)
    EXPECT_EQ(color_at(screen, 4, 6), BLACK);                 // the see-through corner
    EXPECT_EQ(color_at(screen, 3, 3), BLACK);

    // A view of the room at (100, 100) through a port at (10, 10) of size 5x5.
    screen.Clear(BLACK);
    regions.set(0, {10, 10, 15, 15}, 100, 100);
    regions.select(0);
    sheets.draw_sprite(0, 0, 104, 104, 2, 2);   // origin scaled: top-left at (102, 100), 8x8
    EXPECT_EQ(color_at(screen, 12, 10), make_color(1, 0, 0));
    EXPECT_EQ(color_at(screen, 14, 14), make_color(1, 0, 0));
    EXPECT_EQ(color_at(screen, 15, 12), BLACK);   // outside the port
    EXPECT_EQ(color_at(screen, 11, 12), BLACK);
}

TEST_F(SheetsTest, AlphaBlendsThroughTheTargetAndSkipsSeeThroughPixels)
{
    CSprite sprite = numbered_sprite(1, 2, 2);
    sprite.frames[0] = StoredImage::from_bitmap(Bitmap24(2, 2, make_color(200, 100, 0)));
    Bitmap24 frame(2, 2, make_color(200, 100, 0));
    frame.set_pixel(0, 1, WHITE);
    sprite.frames[0] = StoredImage::from_bitmap(frame);
    sprite.transparent = true;
    sheets.build_sprite(0, &sprite);
    struct Case {
        double alpha;     // as given
        Color expected;   // over black
    };
    // a = round(alpha * 256) / 256; channel = round(a * image).
    const Case cases[] = {{0.5, make_color(100, 50, 0)}, {0.25, make_color(50, 25, 0)}, {1.5, make_color(200, 100, 0)},
        {-1, BLACK}, {0.999, make_color(200, 100, 0)}};
    for (const Case& c : cases) {
        screen.Clear(BLACK);
        sheets.draw_sprite(0, 0, 3, 3, 1, 1, c.alpha);
        EXPECT_EQ(color_at(screen, 4, 3), c.expected) << c.alpha;
        EXPECT_EQ(color_at(screen, 3, 4), BLACK) << c.alpha;   // the see-through pixel
    }
    // Blending keeps to the port.
    screen.Clear(BLACK);
    regions.set(1, {0, 0, 4, 4}, 0, 0);
    regions.select(1);
    sheets.draw_sprite_stretched(0, 0, 2, 2, 4, 4, 0.5);
    EXPECT_EQ(color_at(screen, 3, 3), make_color(100, 50, 0));
    EXPECT_EQ(color_at(screen, 4, 3), BLACK);
}

TEST_F(SheetsTest, BlendingAsOneDrawsWhatOpaqueDrawingDrawsAtAnyScale)
{
    // Every pixel its own colour, with the see-through white at the corner and in the middle; a shrunk copy's
    // bottom-left corner comes from another row, which must not become the see-through colour.
    CSprite sprite;
    sprite.width = 5;
    sprite.height = 5;
    sprite.transparent = true;
    Bitmap24 frame(5, 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x)
            frame.set_pixel(x, y, make_color(10 + x * 40, 10 + y * 40, 7));
    }
    frame.set_pixel(0, 4, WHITE);
    frame.set_pixel(2, 2, WHITE);
    sprite.frames.push_back(StoredImage::from_bitmap(frame));
    sheets.build_sprite(0, &sprite);
    auto frame_drawn = [&](double x_scale, double y_scale, double alpha) {
        screen.Clear(BLACK);
        sheets.draw_sprite(0, 0, 1, 1, x_scale, y_scale, alpha);
        std::vector<Color> pixels;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x)
                pixels.push_back(color_at(screen, x, y));
        }
        return pixels;
    };
    const std::pair<double, double> scales[] = {{0.5, 0.5}, {0.7, 1.5}, {1.5, 2.6}, {2, 0.4}, {3, 3}};
    for (auto [x_scale, y_scale] : scales)
        EXPECT_EQ(frame_drawn(x_scale, y_scale, 1.5), frame_drawn(x_scale, y_scale, 1)) << x_scale << "x" << y_scale;
}

TEST_F(SheetsTest, TilingCoversTheAreaAlongTiledAxes)
{
    CBackground background;
    background.width = 3;
    background.height = 2;
    background.has_image = true;
    background.image = StoredImage::from_bitmap(Bitmap24(3, 2, BLUE));
    sheets.build_background(0, &background);

    // Tiled both ways from (7, 5): tiles start at x = 1 - 3 = -2 and y = 1 - 2 = -1 and cover the area.
    sheets.draw_background_tiled(0, 7, 5, {0, 0, 20, 20}, true, true);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(color_at(screen, x, y), BLUE) << x << "," << y;
    }
    // Only horizontally: one row of tiles at y = 5.
    screen.Clear(BLACK);
    sheets.draw_background_tiled(0, 7, 5, {0, 0, 20, 20}, false, true);
    EXPECT_EQ(color_at(screen, 0, 5), BLUE);
    EXPECT_EQ(color_at(screen, 19, 6), BLUE);
    EXPECT_EQ(color_at(screen, 0, 7), BLACK);
    EXPECT_EQ(color_at(screen, 0, 4), BLACK);
    // A scale that makes the tile 0 pixels wide draws nothing.
    screen.Clear(BLACK);
    sheets.draw_background_tiled(0, 0, 0, {0, 0, 20, 20}, true, true, 0.1, 1);
    EXPECT_EQ(color_at(screen, 0, 0), BLACK);
    // A part of the background, as a tile draws it.
    Bitmap24 marked(3, 2, BLUE);
    marked.set_pixel(2, 1, RED);
    background.image = StoredImage::from_bitmap(marked);
    sheets.build_background(0, &background);
    sheets.draw_background_part(0, {2, 1, 3, 2}, 10, 10, 2, 2);
    EXPECT_EQ(color_at(screen, 11, 11), RED);
    EXPECT_EQ(color_at(screen, 12, 11), BLACK);
}

TEST_F(SheetsTest, LoadOnUseSheetsWaitInTheirFileUntilDrawn)
{
    CSprite sprite = numbered_sprite(2);
    sprite.load_on_use = true;
    sheets.build_sprite(0, &sprite);
    ImageSheet* sheet = sheets.sprite(0);
    ASSERT_NE(sheet, nullptr);
    EXPECT_FALSE(sheet->ready());
    EXPECT_TRUE(std::filesystem::exists(sheet->file_name()));

    sheets.draw_sprite(0, 1, 0, 0);
    EXPECT_TRUE(sheet->ready());
    EXPECT_EQ(color_at(screen, 1, 0), make_color(2, 0, 0));

    sheets.discard_all();
    EXPECT_FALSE(sheet->ready());
    ErrorLog log;
    std::filesystem::remove(sheet->file_name());
    screen.Clear(BLACK);
    sheets.draw_sprite(0, 1, 0, 0);
    EXPECT_EQ(color_at(screen, 1, 0), BLACK);
    EXPECT_EQ(log.messages, (std::vector<std::string> {"Failed to restore sprite from file " + sheet->file_name().string()}));

    // Deleting the entry deletes its file.
    sheets.build_sprite(0, &sprite);
    std::filesystem::path file = sheets.sprite(0)->file_name();
    sheets.delete_sprite(0);
    EXPECT_EQ(sheets.sprite(0), nullptr);
    EXPECT_FALSE(std::filesystem::exists(file));
}
