// CSprite: an animated image made of frames, with an origin and a bounding box.
#pragma once

#include "support/stored_image.h"

#include <vector>

namespace quillon {

constexpr std::int32_t SPRITE_LIST_VERSION = 400;
constexpr std::int32_t SPRITE_VERSION = 400;

// An inclusive pixel box in frame coordinates.
struct BoundingBox {
    std::int32_t left = 0;    // first column
    std::int32_t top = 0;     // first row
    std::int32_t right = 0;   // last column
    std::int32_t bottom = 0;  // last row
    bool operator==(const BoundingBox&) const = default;
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
};

}  // namespace quillon
