// Bitmap operations that sprites and backgrounds rest on: transparent colour, bounding box, creation, blending.
#include "graphics/bitmap_operations.h"

#include "support/game_error.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace quillon {

namespace {

void report_bitmap_error(std::string_view operation)
{
    report_game_error("ERROR in handling bitmap:\rInternal error in " + std::string(operation) + ".");
}

bool same_pixel(const std::uint8_t* a, const std::uint8_t* b)
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

std::uint8_t mix(std::uint8_t target, std::uint8_t source, double a)
{
    double mixed = std::nearbyint((1 - a) * target + a * source);
    return static_cast<std::uint8_t>(std::clamp(mixed, 0.0, 255.0));
}

}  // namespace

bool is_valid_bitmap(const Bitmap24* bitmap)
{
    return bitmap && bitmap->width > 0 && bitmap->height > 0
        && bitmap->pixels.size() == static_cast<std::size_t>(bitmap->width) * bitmap->height * 3;
}

Color Bitmap24_TransparentColor(const Bitmap24* bitmap)
{
    if (!is_valid_bitmap(bitmap)) {
        report_bitmap_error("Bitmap24_TransparentColor");
        return 0;
    }
    return bitmap->transparent_color();
}

BoundingBox Bitmap24_BoundingBox(const Bitmap24* bitmap)
{
    if (!is_valid_bitmap(bitmap)) {
        report_bitmap_error("Bitmap24_BoundingBox");
        return {};
    }
    BoundingBox box {bitmap->width - 1, bitmap->height - 1, 0, 0};
    const std::uint8_t* key = bitmap->row(bitmap->height - 1);
    for (int y = 0; y < bitmap->height; ++y) {
        const std::uint8_t* row = bitmap->row(y);
        for (int x = 0; x < bitmap->width; ++x) {
            if (same_pixel(row + x * 3, key))
                continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

Bitmap24 Bitmap24_Create(int width, int height)
{
    return Bitmap24(width, height);
}

Bitmap24 Bitmap24_CreateFilled(int width, int height, Color color)
{
    return Bitmap24(width, height, color);
}

bool Bitmap24_Blend(Bitmap24* destination, const Bitmap24* source, int alpha, bool use_transparency)
{
    if (!is_valid_bitmap(destination) || !is_valid_bitmap(source))
        return false;
    double a = alpha / 256.0;
    int width = std::min(destination->width, source->width);
    int height = std::min(destination->height, source->height);
    std::uint8_t key[3];
    std::memcpy(key, source->row(source->height - 1), 3);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* target = destination->row(y);
        const std::uint8_t* from = source->row(y);
        for (int x = 0; x < width * 3; x += 3) {
            if (use_transparency && same_pixel(from + x, key))
                continue;
            for (int c = 0; c < 3; ++c)
                target[x + c] = mix(target[x + c], from[x + c], a);
        }
    }
    return true;
}

}  // namespace quillon
