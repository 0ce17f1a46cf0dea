// CSprite: an animated image made of frames, with an origin and a bounding box.
#pragma once

#include "graphics/bounding_box.h"
#include "support/stored_image.h"

#include <filesystem>
#include <vector>

namespace quillon {

constexpr std::int32_t SPRITE_LIST_VERSION = 400;
constexpr std::int32_t SPRITE_VERSION = 400;

// How a sprite added from a file is set up.
struct SpriteImport {
    int frame_count = 1;        // frames of a picture strip (below 1 counts as 1); a GIF brings its own
    bool precise = true;        // collisions tested pixel by pixel
    bool transparent = true;    // the bottom-left colour is see-through
    bool video_memory = true;   // the drawable surface is asked for in video memory
    bool load_on_use = false;   // the drawable image is made when first drawn
    int origin_x = 0;           // the point of the frame placed at the instance's position
    int origin_y = 0;
};

class CSprite {
public:
    std::int32_t width = 1;              // of every frame
    std::int32_t height = 1;             // of every frame
    BoundingBox bounding_box;            // the visible part
    std::int32_t bounding_box_kind = 0;  // 1: the full image
    bool transparent = true;             // pixels of the transparent colour are not drawn and do not collide
    bool precise = true;                 // collisions are tested pixel by pixel
    bool video_memory = true;            // the drawable surface is asked for in video memory
    bool load_on_use = false;            // the drawable image is made when first drawn
    std::int32_t origin_x = 0;           // the point of the frame placed at the instance's position
    std::int32_t origin_y = 0;
    std::vector<StoredImage> frames;     // one 24-bit picture per frame

    // False refuses the record: a wrong version, or a frame without a usable picture.
    bool read_record(CStream& stream);
    void write_record(CStream& stream) const;

    int frame_count() const { return static_cast<int>(frames.size()); }
    // The picture of a frame; none outside 0 to frame count - 1, or once the images were released.
    const Bitmap24* frame_bitmap(int index) const;

    // Replaces the sprite with the picture in a file: every frame of a file named *.gif (any case), else the
    // first picture cut into import.frame_count frames side by side. False, changing nothing, when the file
    // cannot be read or decoded, or when the picture is narrower than the count of frames.
    bool add_from_file(const std::filesystem::path& file, const SpriteImport& import);

    // The box of the full frame for an opaque sprite or bounding box kind 1, else the union of the frames'
    // boxes ((0, 0, 0, 0) without frames).
    void compute_bounding_box();

    // Frees the frames' pixels; the frame count stays. The image sheets and collision masks keep the copies.
    void release_images();
    void reset() { *this = CSprite(); }
};

}  // namespace quillon
