// Bitmap operations that sprites and backgrounds rest on: transparent colour, bounding box, creation, blending.
#pragma once

#include "graphics/bounding_box.h"
#include "support/bitmap.h"

namespace quillon {

// A missing bitmap (null) or one whose pixel bytes do not match its size counts as not a 24-bit bitmap; the
// first two operations then report an internal error as a non-fatal game error.

// The colour of the bottom-left pixel; 0 for a bad bitmap.
Color Bitmap24_TransparentColor(const Bitmap24* bitmap);

// The smallest box holding every pixel that differs from the transparent colour. Without such pixels the box
// keeps its start (width - 1, height - 1, 0, 0), so left lies beyond right. (0, 0, 0, 0) for a bad bitmap.
BoundingBox Bitmap24_BoundingBox(const Bitmap24* bitmap);

// A new black bitmap; a side below 1 becomes 1.
Bitmap24 Bitmap24_Create(int width, int height);
Bitmap24 Bitmap24_CreateFilled(int width, int height, Color color);

// Mixes the source over the destination with weight alpha / 256 over their common size; with transparency,
// source pixels of the source's transparent colour are skipped. False, changing nothing, for a bad bitmap.
bool Bitmap24_Blend(Bitmap24* destination, const Bitmap24* source, int alpha, bool use_transparency);

// Whether the bitmap is a usable 24-bit picture.
bool is_valid_bitmap(const Bitmap24* bitmap);

}  // namespace quillon
