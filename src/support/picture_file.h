// Picture files (PNG, BMP, GIF with all its frames, JPEG) decoded into 24-bit frames.
#pragma once

#include "support/bitmap.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace quillon {

// One decoded frame. Pictures with an alpha channel keep their colours unblended beside the opacity, so
// that a caller can either blend them over a colour or key the see-through pixels with a colour of its own.
struct PictureFrame {
    Bitmap24 image;                    // the colours; a GIF frame is already drawn over its canvas
    std::vector<std::uint8_t> alpha;   // width * height opacities, rows top-down; empty when all are 255
};

// Decodes a picture, recognised by its first bytes rather than by its name. A GIF gives one frame per image
// in it, each drawn onto a canvas of the logical screen size that starts filled with CANVAS_FILL_COLOR;
// a frame whose disposal method is 1 (leave in place) hands its canvas on to the next frame, every other
// frame leaves a fresh canvas behind. Other formats give one frame. Nothing for data that does not decode.
std::optional<std::vector<PictureFrame>> decode_picture(std::span<const std::uint8_t> file);

// The same for a file on disk; nothing when it cannot be read.
std::optional<std::vector<PictureFrame>> load_picture_file(const std::filesystem::path& path);

// Cuts a horizontal strip into count frames of width / count pixels each (integer division: the columns
// left over on the right are dropped). A count below 1 is taken as 1.
std::vector<PictureFrame> split_strip(const PictureFrame& strip, int count);

// The frame blended over a background colour, as a picture added at run time is shown.
Bitmap24 blend_over(const PictureFrame& frame, Color background = CANVAS_FILL_COLOR);

// A colour that no opaque pixel of any of the frames uses (an opacity of 128 or more counts as opaque).
// CANVAS_FILL_COLOR is preferred, so that pictures which do not use it look as the runner's own canvases do.
Color unused_color(std::span<const PictureFrame> frames);

// The frame with every see-through pixel, and the bottom-left pixel that marks the transparent colour, set to
// key. The bottom-left pixel is overwritten even when it is opaque, because the runner reads the key there.
Bitmap24 key_transparent_pixels(const PictureFrame& frame, Color key);

// A complete RGB PNG file of the picture (lossless, so decoding it gives the same pixels back).
std::vector<std::uint8_t> encode_png(const Bitmap24& bitmap);

}  // namespace quillon
