// CSprite: an animated image made of frames, with an origin and a bounding box.
#include "graphics/sprite.h"

namespace quillon {

bool CSprite::read_record(CStream& stream)
{
    if (stream.ReadInt() != SPRITE_VERSION)
        return false;
    width = stream.ReadInt();
    height = stream.ReadInt();
    bounding_box.left = stream.ReadInt();
    bounding_box.right = stream.ReadInt();
    bounding_box.bottom = stream.ReadInt();
    bounding_box.top = stream.ReadInt();
    transparent = stream.ReadBool();
    bounding_box_kind = stream.ReadInt();
    precise = stream.ReadBool();
    video_memory = stream.ReadBool();
    load_on_use = stream.ReadBool();
    origin_x = stream.ReadInt();
    origin_y = stream.ReadInt();
    std::int32_t count = stream.ReadInt();
    frames.clear();
    for (std::int32_t i = 0; i < count; ++i) {
        frames.push_back(ReadBitmap(stream));
        // A frame that gives no picture cannot be kept, and after an unknown kind the stream is out of step.
        if (!frames.back().bitmap)
            return false;
    }
    return true;
}

void CSprite::write_record(CStream& stream) const
{
    stream.WriteInt(SPRITE_VERSION);
    stream.WriteInt(width);
    stream.WriteInt(height);
    stream.WriteInt(bounding_box.left);
    stream.WriteInt(bounding_box.right);
    stream.WriteInt(bounding_box.bottom);
    stream.WriteInt(bounding_box.top);
    stream.WriteBool(transparent);
    stream.WriteInt(bounding_box_kind);
    stream.WriteBool(precise);
    stream.WriteBool(video_memory);
    stream.WriteBool(load_on_use);
    stream.WriteInt(origin_x);
    stream.WriteInt(origin_y);
    stream.WriteInt(static_cast<std::int32_t>(frames.size()));
    for (const StoredImage& frame : frames)
        WriteBitmap(stream, frame);
}

}  // namespace quillon
