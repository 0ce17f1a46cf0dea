// CBackground: a single image resource used for room backgrounds and tiles.
#pragma once

#include "support/stored_image.h"

#include <filesystem>

namespace quillon {

constexpr std::int32_t BACKGROUND_LIST_VERSION = 400;
constexpr std::int32_t BACKGROUND_VERSION = 400;

// How a background added from a file is set up.
struct BackgroundImport {
    bool transparent = false;   // the bottom-left colour is see-through
    bool video_memory = false;  // the drawable surface is asked for in video memory
    bool load_on_use = false;   // the drawable image is made when first drawn
};

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

    // The picture; none without image, or once it was released.
    const Bitmap24* image_bitmap() const;

    // Replaces the background with the first picture in a file; false, changing nothing, when it cannot be
    // read or decoded.
    bool add_from_file(const std::filesystem::path& file, const BackgroundImport& import);

    // Frees the image's pixels; the image sheet keeps the copy.
    void release_image() { image = StoredImage(); }
    void reset() { *this = CBackground(); }
};

}  // namespace quillon
