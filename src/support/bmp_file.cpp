// Windows BMP files: decoding into Bitmap24 and encoding 24-bit files.
#include "support/bmp_file.h"

#include <cstring>

namespace quillon {

namespace {

std::uint32_t read_u32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }
std::uint16_t read_u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
void write_u32(std::uint8_t* p, std::uint32_t v) { p[0] = v & 0xFF; p[1] = (v >> 8) & 0xFF; p[2] = (v >> 16) & 0xFF; p[3] = v >> 24; }
void write_u16(std::uint8_t* p, std::uint16_t v) { p[0] = v & 0xFF; p[1] = v >> 8; }

constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::size_t INFO_HEADER_SIZE = 40;
constexpr std::uint32_t COMPRESSION_NONE = 0;
constexpr std::uint32_t COMPRESSION_BITFIELDS = 3;
constexpr long long MAX_PIXELS = 1LL << 28;  // refuses headers that claim absurd sizes

// The header fields that decoding needs, checked against the size of the file.
struct BmpLayout {
    int width;                 // pixels per row
    int height;                // rows
    bool top_down;             // rows are stored from the top
    int bits;                  // bits per pixel: 1, 4, 8, 24 or 32
    std::size_t pixel_offset;  // where the first stored row begins
    std::size_t stride;        // bytes per stored row, padded to four
    const std::uint8_t* palette;  // BGRx entries, for 1, 4 and 8 bits
    std::size_t palette_size;     // number of palette entries present
};

std::optional<BmpLayout> read_layout(std::span<const std::uint8_t> file)
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
    std::uint32_t compression = read_u32(info + 16);
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return std::nullopt;
    layout.top_down = height < 0;
    layout.width = width;
    layout.height = height < 0 ? -height : height;
    if (static_cast<long long>(layout.width) * layout.height > MAX_PIXELS)
        return std::nullopt;
    bool plain = compression == COMPRESSION_NONE || (compression == COMPRESSION_BITFIELDS && layout.bits == 32);
    if (!plain || (layout.bits != 1 && layout.bits != 4 && layout.bits != 8 && layout.bits != 24 && layout.bits != 32))
        return std::nullopt;
    layout.stride = ((static_cast<std::size_t>(layout.width) * layout.bits + 31) / 32) * 4;
    layout.pixel_offset = read_u32(file.data() + 10);
    if (layout.pixel_offset > file.size() || layout.stride * layout.height > file.size() - layout.pixel_offset)
        return std::nullopt;
    std::size_t palette_start = FILE_HEADER_SIZE + info_size + (compression == COMPRESSION_BITFIELDS ? 12 : 0);
    layout.palette = file.data() + std::min(palette_start, file.size());
    layout.palette_size = palette_start < layout.pixel_offset ? (layout.pixel_offset - palette_start) / 4 : 0;
    return layout;
}

}  // namespace

std::optional<Bitmap24> decode_bmp(std::span<const std::uint8_t> file)
{
    auto layout = read_layout(file);
    if (!layout)
        return std::nullopt;
    Bitmap24 bitmap(layout->width, layout->height);
    for (int y = 0; y < layout->height; ++y) {
        int stored_row = layout->top_down ? y : layout->height - 1 - y;
        const std::uint8_t* source = file.data() + layout->pixel_offset + layout->stride * stored_row;
        std::uint8_t* target = bitmap.row(y);
        switch (layout->bits) {
        case 24:
            std::memcpy(target, source, static_cast<std::size_t>(layout->width) * 3);
            break;
        case 32:
            for (int x = 0; x < layout->width; ++x)
                std::memcpy(target + x * 3, source + x * 4, 3);
            break;
        default:
            for (int x = 0; x < layout->width; ++x) {
                int per_byte = 8 / layout->bits;
                int shift = 8 - layout->bits * (x % per_byte + 1);
                std::size_t index = (source[x / per_byte] >> shift) & ((1 << layout->bits) - 1);
                if (index < layout->palette_size)
                    std::memcpy(target + x * 3, layout->palette + index * 4, 3);
                else
                    std::memset(target + x * 3, 0, 3);
            }
        }
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
