// Windows BMP files: decoding into Bitmap24 and encoding 24-bit files.
#pragma once

#include "support/bitmap.h"

#include <optional>
#include <span>

namespace quillon {

// Headers that claim more pixels than this are refused.
inline constexpr long long BMP_MAX_PIXELS = 1LL << 28;

// Decodes 1, 4, 8, 16, 24 and 32-bit BMP files, bottom-up or top-down, uncompressed, with bit fields or (8 and
// 4 bits) run-length encoded; nothing for anything else, or for a picture of more than max_pixels pixels.
std::optional<Bitmap24> decode_bmp(std::span<const std::uint8_t> file, long long max_pixels = BMP_MAX_PIXELS);

// A complete 24-bit bottom-up BMP file.
std::vector<std::uint8_t> encode_bmp(const Bitmap24& bitmap);

}  // namespace quillon
