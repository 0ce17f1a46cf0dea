// BoundingBox: an inclusive pixel box in image coordinates.
#pragma once

#include <cstdint>

namespace quillon {

struct BoundingBox {
    std::int32_t left = 0;    // first column
    std::int32_t top = 0;     // first row
    std::int32_t right = 0;   // last column
    std::int32_t bottom = 0;  // last row
    bool operator==(const BoundingBox&) const = default;
};

}  // namespace quillon
