// CSprite: an animated image made of frames, with an origin and a bounding box.
#include "graphics/sprite.h"
#include "support/ascii_case.h"

#include "graphics/bitmap_operations.h"
#include "graphics/added_picture.h"

#include <algorithm>
#include <cctype>

namespace quillon {

namespace {

bool has_gif_extension(const std::filesystem::path& file)
{
    return equal_ignoring_ascii_case(file.extension().string(), ".gif");
}

// The frames a file gives: a GIF's frames as they are, any other picture blended over the canvas colour and
// cut into a strip; nothing when the file gives no picture or too narrow a strip.
std::optional<std::vector<PictureFrame>> frames_from_file(const std::filesystem::path& file, int strip_count)
{
    auto pictures = load_added_picture(file);
    if (!pictures)
        return std::nullopt;
    if (has_gif_extension(file))
        return pictures;
    // A strip narrower than its count of frames would give frames without a single column.
    if (pictures->front().image.width < std::max(strip_count, 1))
        return std::nullopt;
    PictureFrame strip {blend_over(pictures->front()), {}};
    return split_strip(strip, strip_count);
}

}  // namespace

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

const Bitmap24* CSprite::frame_bitmap(int index) const
{
    if (index < 0 || index >= frame_count() || !frames[index].bitmap)
        return nullptr;
    return &*frames[index].bitmap;
}

bool CSprite::add_from_file(const std::filesystem::path& file, const SpriteImport& import)
{
    auto pictures = frames_from_file(file, import.frame_count);
    if (!pictures)
        return false;
    reset();
    width = pictures->front().image.width;
    height = pictures->front().image.height;
    for (const PictureFrame& picture : *pictures)
        frames.push_back(StoredImage::from_bitmap(picture.image));
    bounding_box_kind = 0;
    precise = import.precise;
    transparent = import.transparent;
    video_memory = import.video_memory;
    load_on_use = import.load_on_use;
    origin_x = import.origin_x;
    origin_y = import.origin_y;
    compute_bounding_box();
    return true;
}

void CSprite::compute_bounding_box()
{
    if (!transparent || bounding_box_kind == 1) {
        bounding_box = {0, 0, width - 1, height - 1};
        return;
    }
    if (frames.empty()) {
        bounding_box = {};
        return;
    }
    bounding_box = {width - 1, height - 1, 0, 0};
    for (int i = 0; i < frame_count(); ++i) {
        BoundingBox frame_box = Bitmap24_BoundingBox(frame_bitmap(i));
        bounding_box.left = std::min(bounding_box.left, frame_box.left);
        bounding_box.top = std::min(bounding_box.top, frame_box.top);
        bounding_box.right = std::max(bounding_box.right, frame_box.right);
        bounding_box.bottom = std::max(bounding_box.bottom, frame_box.bottom);
    }
}

void CSprite::release_images()
{
    for (StoredImage& frame : frames)
        frame = StoredImage();
}

}  // namespace quillon
