// Windows BMP files: decoding into Bitmap24 and encoding 24-bit files.
#include "support/bmp_file.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace quillon {

namespace {

std::uint32_t read_u32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }
std::uint16_t read_u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
void write_u32(std::uint8_t* p, std::uint32_t v) { p[0] = v & 0xFF; p[1] = (v >> 8) & 0xFF; p[2] = (v >> 16) & 0xFF; p[3] = v >> 24; }
void write_u16(std::uint8_t* p, std::uint16_t v) { p[0] = v & 0xFF; p[1] = v >> 8; }

constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::size_t INFO_HEADER_SIZE = 40;
constexpr std::size_t MASKS_OFFSET = FILE_HEADER_SIZE + INFO_HEADER_SIZE;  // red, green, blue masks
constexpr std::uint32_t COMPRESSION_NONE = 0;
constexpr std::uint32_t COMPRESSION_RLE8 = 1;
constexpr std::uint32_t COMPRESSION_RLE4 = 2;
constexpr std::uint32_t COMPRESSION_BITFIELDS = 3;

// The header fields that decoding needs, checked against the size of the file.
struct BmpLayout {
    int width;                 // pixels per row
    int height;                // rows
    bool top_down;             // rows are stored from the top
    int bits;                  // bits per pixel: 1, 4, 8, 16, 24 or 32
    std::uint32_t compression; // none, run-length (8 or 4 bits) or bit fields (16 or 32 bits)
    std::size_t pixel_offset;  // where the first stored row begins
    std::size_t stride;        // bytes per stored row, padded to four
    const std::uint8_t* palette;  // BGRx entries, for 1, 4 and 8 bits
    std::size_t palette_size;     // number of palette entries present
    std::uint32_t masks[3];       // red, green and blue bits of a 16 or 32-bit pixel
};

bool supported(int bits, std::uint32_t compression, bool top_down)
{
    switch (compression) {
    case COMPRESSION_NONE:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case COMPRESSION_RLE8:
        return bits == 8 && !top_down;
    case COMPRESSION_RLE4:
        return bits == 4 && !top_down;
    case COMPRESSION_BITFIELDS:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

// The masks of 16 and 32-bit pixels: stored ones with bit fields, else 5-5-5 or 8-8-8.
void read_masks(std::span<const std::uint8_t> file, BmpLayout& layout)
{
    if (layout.compression == COMPRESSION_BITFIELDS) {
        for (int i = 0; i < 3; ++i)
            layout.masks[i] = read_u32(file.data() + MASKS_OFFSET + 4 * i);
    } else if (layout.bits == 16) {
        layout.masks[0] = 0x7C00, layout.masks[1] = 0x03E0, layout.masks[2] = 0x001F;
    } else {
        layout.masks[0] = 0xFF0000, layout.masks[1] = 0x00FF00, layout.masks[2] = 0x0000FF;
    }
}

std::optional<BmpLayout> read_layout(std::span<const std::uint8_t> file, long long max_pixels)
{
    if (file.size() < FILE_HEADER_SIZE + 12 || file[0] != 'B' || file[1] != 'M')
        return std::nullopt;
    const std::uint8_t* info = file.data() + FILE_HEADER_SIZE;
    std::uint32_t info_size = read_u32(info);
    if (info_size < INFO_HEADER_SIZE || FILE_HEADER_SIZE + info_size > file.size())
        return std::nullopt;
    BmpLayout layout {};
    auto width = static_cast<std::int32_t>(read_u32(info + 4));
    auto height = static_cast<std::int32_t>(read_u32(info + 8));
    layout.bits = read_u16(info + 14);
    layout.compression = read_u32(info + 16);
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return std::nullopt;
    layout.top_down = height < 0;
    layout.width = width;
    layout.height = height < 0 ? -height : height;
    if (static_cast<long long>(layout.width) * layout.height > std::min(max_pixels, BMP_MAX_PIXELS)
        || !supported(layout.bits, layout.compression, layout.top_down))
        return std::nullopt;
    // A plain header is followed by the three masks; longer headers hold them at the same place.
    bool masks_after_header = layout.compression == COMPRESSION_BITFIELDS && info_size == INFO_HEADER_SIZE;
    if (layout.compression == COMPRESSION_BITFIELDS && MASKS_OFFSET + 12 > file.size())
        return std::nullopt;
    read_masks(file, layout);
    layout.stride = ((static_cast<std::size_t>(layout.width) * layout.bits + 31) / 32) * 4;
    layout.pixel_offset = read_u32(file.data() + 10);
    if (layout.pixel_offset > file.size())
        return std::nullopt;
    bool run_length = layout.compression == COMPRESSION_RLE8 || layout.compression == COMPRESSION_RLE4;
    if (!run_length && layout.stride * layout.height > file.size() - layout.pixel_offset)
        return std::nullopt;
    std::size_t palette_start = FILE_HEADER_SIZE + info_size + (masks_after_header ? 12 : 0);
    layout.palette = file.data() + std::min(palette_start, file.size());
    layout.palette_size = palette_start < layout.pixel_offset ? (layout.pixel_offset - palette_start) / 4 : 0;
    return layout;
}

void put_palette_color(const BmpLayout& layout, std::size_t index, std::uint8_t* target)
{
    if (index < layout.palette_size)
        std::memcpy(target, layout.palette + index * 4, 3);
    else
        std::memset(target, 0, 3);
}

// One channel of a bit-field pixel, scaled from its mask's range to 0..255.
std::uint8_t mask_channel(std::uint32_t pixel, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    int shift = std::countr_zero(mask);
    std::uint64_t range = mask >> shift;
    std::uint64_t value = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>((value * 255 + range / 2) / range);
}

void decode_row(const BmpLayout& layout, const std::uint8_t* source, std::uint8_t* target)
{
    switch (layout.bits) {
    case 24:
        std::memcpy(target, source, static_cast<std::size_t>(layout.width) * 3);
        break;
    case 16:
    case 32:
        for (int x = 0; x < layout.width; ++x, target += 3) {
            std::uint32_t pixel = layout.bits == 16 ? read_u16(source + x * 2) : read_u32(source + x * 4);
            target[0] = mask_channel(pixel, layout.masks[2]);
            target[1] = mask_channel(pixel, layout.masks[1]);
            target[2] = mask_channel(pixel, layout.masks[0]);
        }
        break;
    default:
        for (int x = 0; x < layout.width; ++x) {
            int per_byte = 8 / layout.bits;
            int shift = 8 - layout.bits * (x % per_byte + 1);
            put_palette_color(layout, (source[x / per_byte] >> shift) & ((1 << layout.bits) - 1), target + x * 3);
        }
    }
}

// Run-length data into palette indices, rows from the bottom; pixels that the data skips keep index 0.
// Codes: a count and an index (for 4 bits two alternating indices), or 0 then 0 (end of row), 1 (end of
// picture), 2 (move right and up by the next two bytes) or n (n literal indices, padded to an even length).
std::vector<std::uint8_t> expand_run_length(const BmpLayout& layout, std::span<const std::uint8_t> data)
{
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(layout.width) * layout.height, 0);
    bool four_bits = layout.compression == COMPRESSION_RLE4;
    long long x = 0, y = 0;
    auto put = [&](std::uint8_t index) {
        if (x < layout.width && y < layout.height)
            indices[static_cast<std::size_t>(y) * layout.width + x] = index;
        ++x;
    };
    auto nibble = [&](std::uint8_t byte, long long i) -> std::uint8_t {
        return four_bits ? (i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte;
    };
    std::size_t at = 0;
    while (at + 2 <= data.size() && y < layout.height) {
        std::uint8_t count = data[at], value = data[at + 1];
        at += 2;
        if (count > 0) {
            for (long long i = 0; i < count; ++i)
                put(nibble(value, i));
        } else if (value == 0) {
            x = 0, ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (at + 2 > data.size())
                break;
            x += data[at], y += data[at + 1];
            at += 2;
        } else {
            std::size_t bytes = four_bits ? (value + 1u) / 2 : value;
            if (at + bytes > data.size())
                break;
            for (long long i = 0; i < value; ++i)
                put(nibble(data[at + (four_bits ? i / 2 : i)], i));
            at += bytes + bytes % 2;
        }
    }
    return indices;
}

void decode_run_length(const BmpLayout& layout, std::span<const std::uint8_t> file, Bitmap24& bitmap)
{
    std::vector<std::uint8_t> indices = expand_run_length(layout, file.subspan(layout.pixel_offset));
    for (int y = 0; y < layout.height; ++y) {
        const std::uint8_t* row = indices.data() + static_cast<std::size_t>(layout.height - 1 - y) * layout.width;
        for (int x = 0; x < layout.width; ++x)
            put_palette_color(layout, row[x], bitmap.row(y) + x * 3);
    }
}

}  // namespace

std::optional<Bitmap24> decode_bmp(std::span<const std::uint8_t> file, long long max_pixels)
{
    auto layout = read_layout(file, max_pixels);
    if (!layout)
        return std::nullopt;
    Bitmap24 bitmap(layout->width, layout->height);
    if (layout->compression == COMPRESSION_RLE8 || layout->compression == COMPRESSION_RLE4) {
        decode_run_length(*layout, file, bitmap);
        return bitmap;
    }
    for (int y = 0; y < layout->height; ++y) {
        int stored_row = layout->top_down ? y : layout->height - 1 - y;
        decode_row(*layout, file.data() + layout->pixel_offset + layout->stride * stored_row, bitmap.row(y));
    }
    return bitmap;
}

std::vector<std::uint8_t> encode_bmp(const Bitmap24& bitmap)
{
    std::size_t stride = ((static_cast<std::size_t>(bitmap.width) * 3 + 3) / 4) * 4;
    std::size_t pixel_bytes = stride * bitmap.height;
    std::vector<std::uint8_t> file(FILE_HEADER_SIZE + INFO_HEADER_SIZE + pixel_bytes, 0);
    file[0] = 'B';
    file[1] = 'M';
    write_u32(&file[2], static_cast<std::uint32_t>(file.size()));
    write_u32(&file[10], FILE_HEADER_SIZE + INFO_HEADER_SIZE);
    std::uint8_t* info = &file[FILE_HEADER_SIZE];
    write_u32(info, INFO_HEADER_SIZE);
    write_u32(info + 4, static_cast<std::uint32_t>(bitmap.width));
    write_u32(info + 8, static_cast<std::uint32_t>(bitmap.height));
    write_u16(info + 12, 1);
    write_u16(info + 14, 24);
    write_u32(info + 20, static_cast<std::uint32_t>(pixel_bytes));
    for (int y = 0; y < bitmap.height; ++y) {
        std::uint8_t* target = &file[FILE_HEADER_SIZE + INFO_HEADER_SIZE + stride * (bitmap.height - 1 - y)];
        std::memcpy(target, bitmap.row(y), static_cast<std::size_t>(bitmap.width) * 3);
    }
    return file;
}

}  // namespace quillon
