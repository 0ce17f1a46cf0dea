// CBackground: a single image resource used for room backgrounds and tiles.
#include "graphics/background.h"

namespace quillon {

bool CBackground::read_record(CStream& stream)
{
    if (stream.ReadInt() != BACKGROUND_VERSION)
        return false;
    width = stream.ReadInt();
    height = stream.ReadInt();
    transparent = stream.ReadBool();
    video_memory = stream.ReadBool();
    load_on_use = stream.ReadBool();
    has_image = stream.ReadBool();
    if (!has_image)
        return true;
    image = ReadBitmap(stream);
    return image.bitmap.has_value();
}

void CBackground::write_record(CStream& stream) const
{
    stream.WriteInt(BACKGROUND_VERSION);
    stream.WriteInt(width);
    stream.WriteInt(height);
    stream.WriteBool(transparent);
    stream.WriteBool(video_memory);
    stream.WriteBool(load_on_use);
    stream.WriteBool(has_image);
    if (has_image)
        WriteBitmap(stream, image);
}

}  // namespace quillon
