// CBackground: a single image resource used for room backgrounds and tiles.
#include "graphics/background.h"

#include "graphics/added_picture.h"

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

const Bitmap24* CBackground::image_bitmap() const
{
    return has_image && image.bitmap ? &*image.bitmap : nullptr;
}

bool CBackground::add_from_file(const std::filesystem::path& file, const BackgroundImport& import)
{
    auto pictures = load_added_picture(file);
    if (!pictures)
        return false;
    reset();
    Bitmap24 picture = blend_over(pictures->front());
    width = picture.width;
    height = picture.height;
    transparent = import.transparent;
    video_memory = import.video_memory;
    load_on_use = import.load_on_use;
    has_image = true;
    image = StoredImage::from_bitmap(picture);
    return true;
}

}  // namespace quillon
