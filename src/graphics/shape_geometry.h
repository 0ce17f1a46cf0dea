// The geometry of shapes on a drawing target: the pixel runs of filled shapes row by row, and the outlines that
// wide pens stroke.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace quillon {

// A row's run of pixels, both ends included.
struct Span {
    std::int64_t left = 0;
    std::int64_t right = 0;
};

// A shape with one run per row between its top and bottom rows: a rectangle, an ellipse or a rectangle with
// rounded corners, over the pixel box from (left, top) to (right, bottom), all four included.
struct SpanSource {
    enum class Kind : std::int8_t { rectangle, ellipse, round_rectangle };

    Kind kind = Kind::rectangle;
    std::int64_t left = 0;            // first column
    std::int64_t top = 0;             // first row
    std::int64_t right = 0;           // last column
    std::int64_t bottom = 0;          // last row
    std::int64_t corner_width = 0;    // round rectangles: the corner ellipse's size, at most the box's
    std::int64_t corner_height = 0;
    const Span* ellipse_rows = nullptr;   // ellipses: every row's run from column 0, when worked out beforehand

    // The row's run; none outside the rows.
    std::optional<Span> row(std::int64_t y) const;
};

// The run of row y of the ellipse filling the pixel box of the given size whose left column is 0. Every row of
// the box has at least one pixel.
Span ellipse_row(std::int64_t width, std::int64_t height, std::int64_t y);

// Which part of an ellipse an arc-shaped drawing takes.
enum class ArcShape : std::int8_t {
    arc,     // the curve alone, with the pen
    chord,   // the curve closed by a straight line, filled
    pie,     // the curve closed through the centre, filled
};

// A point on the target, (x, y) being the centre of pixel (x, y).
struct TargetPoint {
    double x = 0;
    double y = 0;
};

// The line along which a wide pen is stroked, through the centres of the pixels of the 1-pixel outline.
struct Outline {
    enum class Kind : std::int8_t { polyline, ellipse, round_rectangle };

    Kind kind = Kind::polyline;
    std::span<const TargetPoint> points;   // polyline: its points
    bool closed = false;                   // polyline: back to the first point at the end
    double left = 0;                       // ellipse, round rectangle: the box through the outline pixels
    double top = 0;
    double right = 0;
    double bottom = 0;
    double corner_width = 0;               // round rectangle: the corner ellipse's size
    double corner_height = 0;
    bool whole = true;                     // ellipse: all of it, else the part from start to end angle
    double start_angle = 0;                // radians on the unit circle the ellipse is scaled from, upwards
    double end_angle = 0;                  // positive; the part runs counter-clockwise from start to end
    ArcShape closing = ArcShape::arc;      // ellipse part: open, closed by a chord or through the centre
};

}  // namespace quillon
