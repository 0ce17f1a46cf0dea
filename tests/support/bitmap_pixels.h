// Test helper: a picture's colours, row by row from the top.
#pragma once

#include "support/bitmap.h"

#include <vector>

namespace quillon::testing {

inline std::vector<Color> pixels_of(const Bitmap24& bitmap)
{
    std::vector<Color> colors;
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x)
            colors.push_back(bitmap.pixel(x, y));
    return colors;
}

}  // namespace quillon::testing
