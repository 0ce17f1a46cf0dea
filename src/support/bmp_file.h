// Windows BMP files: decoding into Bitmap24 and encoding 24-bit files.
#pragma once

#include "support/bitmap.h"

#include <optional>
#include <span>

namespace quillon {

// Decodes 1, 4, 8, 24 and 32-bit uncompressed BMP files, bottom-up or top-down; nothing for anything else.
std::optional<Bitmap24> decode_bmp(std::span<const std::uint8_t> file);

// A complete 24-bit bottom-up BMP file.
std::vector<std::uint8_t> encode_bmp(const Bitmap24& bitmap);

}  // namespace quillon
