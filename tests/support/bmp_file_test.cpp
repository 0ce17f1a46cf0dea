// BMP files: the pixel layouts a Windows bitmap may use, decoded into 24-bit pictures.
#include "bitmap_pixels.h"
#include "support/bmp_file.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

constexpr Color BLACK = make_color(0, 0, 0);
constexpr Color RED = make_color(255, 0, 0);
constexpr Color GREEN = make_color(0, 255, 0);
constexpr Color BLUE = make_color(0, 0, 255);

using Bytes = std::vector<std::uint8_t>;

void put_u32(Bytes& file, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A file with a 40-byte info header; `between` (palette or masks) lies between the header and the pixels.
Bytes bmp_file(int width, int height, int bits, std::uint32_t compression, const Bytes& between, const Bytes& pixels)
{
    Bytes file(54, 0);
    file[0] = 'B';
    file[1] = 'M';
    put_u32(file, 10, static_cast<std::uint32_t>(54 + between.size()));
    put_u32(file, 14, 40);
    put_u32(file, 18, static_cast<std::uint32_t>(width));
    put_u32(file, 22, static_cast<std::uint32_t>(height));
    file[26] = 1;
    file[28] = static_cast<std::uint8_t>(bits);
    put_u32(file, 30, compression);
    file.insert(file.end(), between.begin(), between.end());
    file.insert(file.end(), pixels.begin(), pixels.end());
    put_u32(file, 2, static_cast<std::uint32_t>(file.size()));
    return file;
}

// Palette indices 0 black, 1 red, 2 green, 3 blue, as BGRx entries.
const Bytes PALETTE = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};

}  // namespace

TEST(BmpFile, EveryWindowsPixelLayoutDecodes)
{
    struct Case {
        const char* layout;
        Bytes file;
        std::vector<Color> expected;  // rows from the top
    };
    const Case cases[] = {
        // 5-5-5 without masks: white, red, and blue 16 of 31 scaled to 132.
        {"16 bits", bmp_file(3, 1, 16, 0, {}, {0xFF, 0x7F, 0x00, 0x7C, 0x10, 0x00, 0, 0}),
            {make_color(255, 255, 255), RED, make_color(0, 0, 132)}},
        {"16 bits 5-6-5",
            bmp_file(2, 1, 16, 3, {0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0}, {0xE0, 0x07, 0x00, 0xF8}),
            {GREEN, RED}},
        // Masks in red-green-blue byte order instead of the usual blue-green-red.
        {"32 bits with masks",
            bmp_file(1, 1, 32, 3, {0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0}, {0x10, 0x20, 0x30, 0}),
            {make_color(0x10, 0x20, 0x30)}},
        {"8 bits top-down", bmp_file(2, -2, 8, 0, PALETTE, {1, 2, 0, 0, 3, 0, 0, 0}), {RED, GREEN, BLUE, BLACK}},
        // Bottom row: three literal indices padded to an even length, then a run of one; end of row. Top row:
        // a move one to the right, one blue pixel, end of picture; skipped pixels take index 0.
        {"8 bits run-length",
            bmp_file(4, 2, 8, 1, PALETTE, {0, 3, 2, 3, 1, 0, 1, 1, 0, 0, 0, 2, 1, 0, 1, 3, 0, 1}),
            {BLACK, BLUE, BLACK, BLACK, GREEN, BLUE, RED, RED}},
        // A run alternates its two indices; literal indices come two to a byte.
        {"4 bits run-length", bmp_file(8, 1, 4, 2, PALETTE, {3, 0x12, 0, 3, 0x12, 0x30, 2, 0x30, 0, 1}),
            {RED, GREEN, RED, RED, GREEN, BLUE, BLUE, BLACK}},
    };
    for (const Case& c : cases) {
        std::optional<Bitmap24> bitmap = decode_bmp(c.file);
        ASSERT_TRUE(bitmap) << c.layout;
        EXPECT_EQ(pixels_of(*bitmap), c.expected) << c.layout;
    }
}

TEST(BmpFile, UnknownOrImpossibleLayoutsGiveNothing)
{
    const Bytes refused[] = {
        bmp_file(1, 1, 24, 4, {}, {1, 2, 3, 0}),             // a JPEG inside a bitmap
        bmp_file(2, -2, 8, 1, PALETTE, {0, 1}),              // run-length rows are always bottom-up
        bmp_file(1, 1, 8, 2, PALETTE, {0, 1}),               // four-bit runs in an eight-bit picture
        bmp_file(4, 4, 24, 0, {}, Bytes(47)),                // fewer pixel bytes than the rows need
        bmp_file(1, 1, 16, 3, {}, {}),                       // masks announced but missing
    };
    for (const Bytes& file : refused)
        EXPECT_FALSE(decode_bmp(file));
}
