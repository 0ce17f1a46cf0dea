// Images as the game file stores them: a kind, then for kind 10 a compressed BMP file.
#include "support/stored_image.h"

#include "support/bmp_file.h"
#include "support/compression.h"
#include "support/game_error.h"

namespace quillon {

StoredImage StoredImage::from_bitmap(const Bitmap24& bitmap)
{
    StoredImage image;
    image.kind = IMAGE_COMPRESSED;
    image.compressed = deflate_zlib(encode_bmp(bitmap));
    image.bitmap = bitmap;
    return image;
}

StoredImage ReadBitmap(CStream& stream)
{
    StoredImage image;
    image.kind = stream.ReadInt();
    if (image.kind == IMAGE_NONE)
        return image;
    if (image.kind != IMAGE_COMPRESSED) {
        report_game_error("ERROR in handling bitmap:\rInternal error: Unknown image compression scheme.");
        return image;
    }
    auto stored = stream.ReadBlockBytes();
    image.compressed.assign(stored.begin(), stored.end());
    image.bitmap = decode_bmp(inflate_zlib(stored));
    return image;
}

void WriteBitmap(CStream& stream, const StoredImage& image)
{
    stream.WriteInt(image.kind);
    if (image.kind == IMAGE_COMPRESSED)
        stream.WriteBlock(image.compressed);
}

}  // namespace quillon
