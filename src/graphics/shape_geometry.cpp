// The geometry of shapes on a drawing target: the pixel runs of filled shapes row by row.
#include "graphics/shape_geometry.h"

#include <algorithm>
#include <cmath>

namespace quillon {

Span ellipse_row(std::int64_t width, std::int64_t height, std::int64_t y)
{
    // The pixels whose centre lies in the ellipse through the box's edges, measured from the centre of the
    // row; a row that would have none (the tip of a narrow ellipse) gets the pixels nearest the middle.
    double radius_x = width / 2.0;
    double radius_y = height / 2.0;
    double across = (y + 0.5 - radius_y) / radius_y;
    double half = radius_x * std::sqrt(std::max(0.0, 1 - across * across));
    Span span {static_cast<std::int64_t>(std::ceil(radius_x - half - 0.5)),
        static_cast<std::int64_t>(std::floor(radius_x + half - 0.5))};
    if (span.left > span.right)
        span = {static_cast<std::int64_t>(std::ceil(radius_x - 1)), static_cast<std::int64_t>(std::floor(radius_x))};
    return span;
}

std::optional<Span> SpanSource::row(std::int64_t y) const
{
    if (y < top || y > bottom)
        return std::nullopt;
    std::int64_t height = bottom - top + 1;
    switch (kind) {
    case Kind::rectangle: return Span {left, right};
    case Kind::ellipse: {
        Span span = ellipse_rows ? ellipse_rows[y - top] : ellipse_row(right - left + 1, height, y - top);
        return Span {left + span.left, left + span.right};
    }
    case Kind::round_rectangle: break;
    }
    // The top rows take the upper half of the corner ellipse, the bottom rows its lower half; the corner
    // ellipse's right half ends at the right column.
    std::int64_t from_top = y - top;
    std::int64_t half = corner_height / 2;
    std::int64_t corner_row = -1;
    if (from_top < half)
        corner_row = from_top;
    else if (from_top >= height - half)
        corner_row = corner_height - (height - from_top);
    if (corner_row < 0)
        return Span {left, right};
    Span corner = ellipse_row(corner_width, corner_height, corner_row);
    return Span {left + corner.left, right - (corner_width - 1 - corner.right)};
}

}  // namespace quillon
