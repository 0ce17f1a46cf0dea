// FloodFiller: fills the 4-connected area of one colour around a point with the brush, a row run at a time.
#pragma once

#include "graphics/pixel_spans.h"

#include <cstdint>
#include <vector>

namespace quillon {

// The area stays inside the canvas's clip rectangle. Its working space (a mark per pixel of the clip rectangle
// and the runs still to look around) is kept between fills, so that it grows once to the clip's size and no
// further, whatever the area's shape.
class FloodFiller {
public:
    // Nothing when the point lies outside the clip rectangle or the brush is hollow.
    void fill(SpanCanvas& canvas, std::int64_t x, std::int64_t y, const Brush& brush);

private:
    struct Seed {
        int x;   // a pixel of the area whose row run is not yet filled
        int y;
    };

    bool takes(const SpanCanvas& canvas, int x, int y) const;
    void look_along(const SpanCanvas& canvas, int y, int left, int right);

    std::vector<std::uint8_t> m_filled;   // per pixel of the clip rectangle: 1 once its run is filled
    std::vector<Seed> m_seeds;            // pixels to start runs from
    SurfaceRect m_clip;                   // the clip rectangle of the fill in progress
    std::uint32_t m_target = 0;           // the colour of the area
};

}  // namespace quillon
