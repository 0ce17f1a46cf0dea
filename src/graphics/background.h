// CBackground: a single image resource used for room backgrounds and tiles.
#pragma once

#include "support/stored_image.h"

namespace quillon {

constexpr std::int32_t BACKGROUND_LIST_VERSION = 400;
constexpr std::int32_t BACKGROUND_VERSION = 400;

class CBackground {
public:
    std::int32_t width = 0;       // of the image
    std::int32_t height = 0;
    bool transparent = false;     // pixels of the transparent colour are not drawn
    bool video_memory = false;    // the drawable surface is asked for in video memory
    bool load_on_use = false;     // the drawable image is made when first drawn
    bool has_image = false;       // whether an image is stored
    StoredImage image;            // the 24-bit picture, when has_image

    // False refuses the record: a wrong version, or a stored image without a usable picture.
    bool read_record(CStream& stream);
    void write_record(CStream& stream) const;
};

}  // namespace quillon
