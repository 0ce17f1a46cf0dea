// Images as the game file stores them: a kind, then for kind 10 a compressed BMP file.
#pragma once

#include "support/bitmap.h"
#include "support/stream.h"

#include <optional>

namespace quillon {

constexpr std::int32_t IMAGE_NONE = -1;        // no image stored
constexpr std::int32_t IMAGE_COMPRESSED = 10;  // a zlib-compressed BMP file

// The decoded picture plus the bytes it was stored as, so that writing it back reproduces the file exactly.
struct StoredImage {
    std::int32_t kind = IMAGE_NONE;           // as stored; only IMAGE_COMPRESSED carries data
    std::vector<std::uint8_t> compressed;     // the stored zlib stream of a kind-10 image
    std::optional<Bitmap24> bitmap;           // the decoded picture; none when absent or undecodable

    // A kind-10 image made from a picture (for writers that build games).
    static StoredImage from_bitmap(const Bitmap24& bitmap);
};

// Reads one image. An unknown kind is reported as a game error and yields no picture; its bytes are not
// skipped, so the reads that follow are out of step as the format has it.
StoredImage ReadBitmap(CStream& stream);
void WriteBitmap(CStream& stream, const StoredImage& image);

}  // namespace quillon
