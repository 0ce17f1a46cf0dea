// Picture files: decoding each format into frames, GIF frame disposal, strips and transparency keys.
#include "bitmap_pixels.h"
#include "solid_jpeg.h"
#include "support/bmp_file.h"
#include "support/picture_file.h"

#include <gif_lib.h>
#include <png.h>

#include <cstdio>
#include <cstring>

#include <zlib.h>

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

constexpr Color RED = make_color(255, 0, 0);
constexpr Color GREEN = make_color(0, 255, 0);
constexpr Color BLUE = make_color(0, 0, 255);

// width * height pixels given as RGBA quadruples.
std::vector<std::uint8_t> rgba_png(int width, int height, const std::vector<std::uint8_t>& rgba)
{
    png_image png {};
    png.version = PNG_IMAGE_VERSION;
    png.width = width;
    png.height = height;
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&png, nullptr, &size, 0, rgba.data(), 0, nullptr);
    std::vector<std::uint8_t> file(size);
    png_image_write_to_memory(&png, file.data(), &size, 0, rgba.data(), 0, nullptr);
    file.resize(size);
    return file;
}

// One image of a test GIF: its place, its palette indices, disposal and transparent index.
struct GifImage {
    int left, top, width, height;
    std::vector<GifByteType> indices;
    int disposal;
    int transparent;
};

int write_to_vector(GifFileType* gif, const GifByteType* bytes, int count)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + count);
    return count;
}

// A GIF of a 4x2 logical screen with the palette red, green, blue, black, written record by record.
std::vector<std::uint8_t> make_gif(const std::vector<GifImage>& images)
{
    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, write_to_vector, &error);
    EGifSetGifVersion(gif, true);
    GifColorType colors[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0, 0, 0}};
    ColorMapObject* palette = GifMakeMapObject(4, colors);
    EGifPutScreenDesc(gif, 4, 2, 8, 0, palette);
    for (GifImage image : images) {
        GraphicsControlBlock control {image.disposal, false, 0, image.transparent};
        GifByteType extension[4];
        std::size_t length = EGifGCBToExtension(&control, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension);
        EGifPutImageDesc(gif, image.left, image.top, image.width, image.height, false, nullptr);
        for (int y = 0; y < image.height; ++y)
            EGifPutLine(gif, image.indices.data() + y * image.width, image.width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(palette);
    return out;
}

}  // namespace

TEST(PictureFile, PngKeepsColoursAndAlphaApart)
{
    // Top row: opaque red, half-transparent blue; bottom row: invisible green, opaque green.
    auto file = rgba_png(2, 2, {255, 0, 0, 255, 0, 0, 255, 128, 0, 255, 0, 0, 0, 255, 0, 255});
    auto frames = decode_picture(file);
    ASSERT_TRUE(frames);
    ASSERT_EQ(frames->size(), 1u);
    const PictureFrame& frame = frames->front();
    EXPECT_EQ(pixels_of(frame.image), (std::vector<Color> {RED, BLUE, GREEN, GREEN}));
    EXPECT_EQ(frame.alpha, (std::vector<std::uint8_t> {255, 128, 0, 255}));

    Bitmap24 blended = blend_over(frame, 0);
    EXPECT_EQ(blended.pixel(0, 0), RED);
    EXPECT_EQ(blended.pixel(1, 0), make_color(0, 0, 128));
    EXPECT_EQ(blended.pixel(0, 1), 0u);
}

TEST(PictureFile, OpaqueFormatsDecodeWithoutAlpha)
{
    Bitmap24 picture(3, 2, GREEN);
    picture.set_pixel(0, 0, RED);
    picture.set_pixel(2, 1, BLUE);
    // An alpha channel in which every pixel is opaque counts as none.
    std::vector<std::uint8_t> rgba;
    for (Color color : {RED, GREEN, GREEN, GREEN, GREEN, BLUE})
        rgba.insert(rgba.end(), {color_red(color), color_green(color), color_blue(color), 255});
    for (const auto& file : {encode_png(picture), encode_bmp(picture), rgba_png(3, 2, rgba)}) {
        auto frames = decode_picture(file);
        ASSERT_TRUE(frames);
        ASSERT_EQ(frames->size(), 1u);
        EXPECT_EQ(frames->front().image, picture);
        EXPECT_TRUE(frames->front().alpha.empty());
    }
}

TEST(PictureFile, JpegDecodesToNearlyItsColour)
{
    auto frames = decode_picture(solid_jpeg(16, 8, 200, 100, 50));
    ASSERT_TRUE(frames);
    const Bitmap24& image = frames->front().image;
    EXPECT_EQ(image.width, 16);
    EXPECT_EQ(image.height, 8);
    Color middle = image.pixel(8, 4);
    EXPECT_NEAR(color_red(middle), 200, 3);
    EXPECT_NEAR(color_green(middle), 100, 3);
    EXPECT_NEAR(color_blue(middle), 50, 3);
}

TEST(PictureFile, GifFramesAccumulateOnlyAfterDisposalOne)
{
    constexpr Color FILL = CANVAS_FILL_COLOR;
    auto file = make_gif({
        // A red 2x2 square on the left; disposal 1 hands the canvas on.
        {0, 0, 2, 2, {0, 0, 0, 0}, DISPOSE_DO_NOT, NO_TRANSPARENT_COLOR},
        // A 2x1 image on the right whose second pixel is transparent; disposal 2 clears afterwards.
        {2, 0, 2, 1, {1, 3}, DISPOSE_BACKGROUND, 3},
        // A single blue pixel on the fresh canvas.
        {3, 1, 1, 1, {2}, DISPOSAL_UNSPECIFIED, NO_TRANSPARENT_COLOR},
    });
    auto frames = decode_picture(file);
    ASSERT_TRUE(frames);
    ASSERT_EQ(frames->size(), 3u);
    EXPECT_EQ(pixels_of((*frames)[0].image), (std::vector<Color> {RED, RED, FILL, FILL, RED, RED, FILL, FILL}));
    EXPECT_EQ(pixels_of((*frames)[1].image), (std::vector<Color> {RED, RED, GREEN, FILL, RED, RED, FILL, FILL}));
    EXPECT_EQ(pixels_of((*frames)[2].image), (std::vector<Color> {FILL, FILL, FILL, FILL, FILL, FILL, FILL, BLUE}));
}

TEST(PictureFile, UndecodableDataGivesNothing)
{
    auto png = encode_png(Bitmap24(4, 4, RED));
    std::vector<std::uint8_t> truncated(png.begin(), png.begin() + png.size() / 2);
    std::vector<std::uint8_t> jpeg_header {0xFF, 0xD8, 0xFF, 0xE0, 0, 0};
    for (const auto& data : {std::vector<std::uint8_t> {}, std::vector<std::uint8_t> {'h', 'e', 'l', 'l', 'o'},
                             truncated, jpeg_header})
        EXPECT_FALSE(decode_picture(data));
    EXPECT_FALSE(load_picture_file("/nonexistent/picture.png"));
}

TEST(PictureFile, StripSplitsIntoEqualFramesDroppingTheRest)
{
    // A 100-pixel strip into 3 frames: 33 pixels each, the last column dropped.
    PictureFrame strip {Bitmap24(100, 2, RED), std::vector<std::uint8_t>(200, 255)};
    for (int y = 0; y < 2; ++y) {
        strip.image.set_pixel(33, y, GREEN);  // first column of frame 1
        strip.image.set_pixel(99, y, BLUE);   // dropped
        strip.alpha[y * 100 + 98] = 0;        // last column of frame 2
    }
    auto frames = split_strip(strip, 3);
    ASSERT_EQ(frames.size(), 3u);
    for (const PictureFrame& frame : frames) {
        EXPECT_EQ(frame.image.width, 33);
        EXPECT_EQ(frame.image.height, 2);
        EXPECT_EQ(frame.alpha.size(), 66u);
    }
    EXPECT_EQ(frames[1].image.pixel(0, 1), GREEN);
    EXPECT_EQ(frames[0].image.pixel(32, 1), RED);
    EXPECT_EQ(frames[2].image.pixel(32, 0), RED);
    EXPECT_EQ(frames[2].alpha[32], 0);
    EXPECT_EQ(split_strip(strip, 0).size(), 1u);
}

TEST(PictureFile, SeeThroughPixelsTakeAColourThePictureDoesNotUse)
{
    // The canvas colour is taken when it is free; a picture that uses it opaquely gets another colour.
    PictureFrame frame {Bitmap24(2, 2, RED), {255, 0, 255, 255}};
    EXPECT_EQ(unused_color(std::span(&frame, 1)), CANVAS_FILL_COLOR);
    frame.image.set_pixel(0, 0, CANVAS_FILL_COLOR);
    frame.image.set_pixel(1, 0, 0);  // see-through, so its colour does not count
    Color key = unused_color(std::span(&frame, 1));
    EXPECT_NE(key, CANVAS_FILL_COLOR);
    EXPECT_NE(key, RED);

    // The see-through pixel and the bottom-left pixel take the key, so the runner finds it there.
    Bitmap24 keyed = key_transparent_pixels(frame, key);
    EXPECT_EQ(pixels_of(keyed), (std::vector<Color> {CANVAS_FILL_COLOR, key, key, RED}));
    EXPECT_EQ(keyed.transparent_color(), key);

    // Opaque pictures stay as they are.
    EXPECT_EQ(key_transparent_pixels(PictureFrame {Bitmap24(2, 2, RED), {}}, key), Bitmap24(2, 2, RED));
}

namespace {

void put_be(std::vector<std::uint8_t>& file, std::size_t at, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        file[at + i] = static_cast<std::uint8_t>(value >> (8 * (bytes - 1 - i)));
}

void put_le16(std::vector<std::uint8_t>& file, std::size_t at, std::uint16_t value)
{
    file[at] = value & 0xFF;
    file[at + 1] = value >> 8;
}

// An 8-bit run-length BMP that claims width x height pixels but holds only the end-of-picture code.
std::vector<std::uint8_t> empty_rle_bmp(std::uint32_t width, std::uint32_t height)
{
    std::vector<std::uint8_t> file(14 + 40 + 1024, 0);
    file[0] = 'B', file[1] = 'M';
    auto put_le32 = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    put_le32(10, static_cast<std::uint32_t>(file.size()));  // the pixels follow the palette
    put_le32(14, 40);
    put_le32(18, width);
    put_le32(22, height);
    put_le16(file, 26, 1);
    put_le16(file, 28, 8);
    put_le32(30, 1);  // run-length, 8 bits
    file.insert(file.end(), {0, 1});
    return file;
}

}  // namespace

TEST(PictureFile, SizesBeyondWhatTheFileCanHoldAreRefusedBeforeDecoding)
{
    // A PNG whose header (with a correct checksum) claims 60000 x 60000 pixels.
    auto png = encode_png(Bitmap24(4, 4, RED));
    put_be(png, 16, 60000, 4);
    put_be(png, 20, 60000, 4);
    put_be(png, 29, static_cast<std::uint32_t>(crc32(0, png.data() + 12, 17)), 4);
    // A JPEG whose frame header claims 60000 x 60000.
    auto jpeg = solid_jpeg(16, 8, 1, 2, 3);
    std::size_t frame = 2;
    while (frame + 1 < jpeg.size() && !(jpeg[frame] == 0xFF && jpeg[frame + 1] == 0xC0))
        ++frame;
    ASSERT_LT(frame + 9, jpeg.size());
    put_be(jpeg, frame + 5, 60000, 2);
    put_be(jpeg, frame + 7, 60000, 2);
    // GIFs whose logical screen, or whose one image, claims 65535 x 65535.
    const auto gif = make_gif({{0, 0, 4, 2, {0, 1, 2, 3, 0, 1, 2, 3}, DISPOSAL_UNSPECIFIED, NO_TRANSPARENT_COLOR}});
    auto big_screen = gif;
    put_le16(big_screen, 6, 65535);
    put_le16(big_screen, 8, 65535);
    auto big_image = gif;
    ASSERT_EQ(big_image[33], 0x2C);  // the image separator after the header, the palette and the control block
    put_le16(big_image, 33 + 5, 65535);
    put_le16(big_image, 33 + 7, 65535);
    for (const auto& file : {png, jpeg, big_screen, big_image, empty_rle_bmp(16384, 16384)})
        EXPECT_FALSE(decode_picture(file));
    // A run-length picture within reach of its file decodes.
    EXPECT_TRUE(decode_picture(empty_rle_bmp(64, 64)));
}

TEST(PictureFile, FilesCutShortFailAsAWhole)
{
    auto jpeg = solid_jpeg(64, 64, 200, 10, 10);
    auto gif = make_gif({{0, 0, 4, 2, {0, 1, 2, 3, 0, 1, 2, 3}, DISPOSAL_UNSPECIFIED, NO_TRANSPARENT_COLOR}});
    ASSERT_TRUE(decode_picture(jpeg));
    ASSERT_TRUE(decode_picture(gif));
    jpeg.resize(jpeg.size() * 2 / 3);
    gif.resize(gif.size() - 6);
    EXPECT_FALSE(decode_picture(jpeg));
    EXPECT_FALSE(decode_picture(gif));
}
