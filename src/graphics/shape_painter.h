// ShapePainter: pixels, lines, rectangles, ellipses, polygons, arcs and flood fills on the shape target, with
// the pen and brush of the drawing state.
#pragma once

#include "graphics/drawing_state.h"
#include "graphics/flood_fill.h"
#include "graphics/pixel_spans.h"
#include "graphics/regions.h"
#include "graphics/shape_geometry.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quillon {

// Positions are room coordinates; the region table's shape target places them on the screen buffer, and
// everything is clipped to the target's clip rectangle (the port of the view being drawn). Pixel coverage:
// - a rectangle or ellipse over (x1, y1, x2, y2) covers the columns from the smaller x up to, not including,
//   the larger one, and likewise the rows; a 1-pixel pen draws the pixels of the shape that touch its outside,
//   the brush the rest;
// - a 1-pixel line covers every pixel from its start towards its end, the end itself excluded;
// - a polygon's brush covers the pixels whose top-left corner lies inside (even-odd), left and top edges
//   included, right and bottom ones not; the pen then joins the vertices with lines;
// - a wider pen is a stroke of that width with round ends and joins along the 1-pixel outline, without
//   anti-aliasing (through Cairo).
class ShapePainter {
public:
    ShapePainter(const RegionTable& targets, const DrawingState& state);

    // The pixel in the brush colour.
    void pixel(int x, int y);
    // The colour there (red in the low byte); none outside the clip rectangle.
    std::optional<std::int32_t> get_pixel(int x, int y);
    // The 4-connected area around the point that has its colour, filled with the brush.
    void flood_fill(int x, int y);

    void line(int x1, int y1, int x2, int y2);
    void rectangle(int x1, int y1, int x2, int y2);
    // Corners rounded as quarters of an ellipse of corner_width x corner_height.
    void round_rectangle(int x1, int y1, int x2, int y2, int corner_width, int corner_height);
    void ellipse(int x1, int y1, int x2, int y2);
    // Closed through the vertices; fewer than two vertices draw nothing.
    void polygon(std::span<const PolygonVertex> vertices);
    // The part of the ellipse in (x1, y1, x2, y2) from the direction of (x3, y3) counter-clockwise to that of
    // (x4, y4); the same direction twice means the whole ellipse.
    void arc(ArcShape shape, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    // A rectangle in the brush with a black 1-pixel outline, and bevels that look raised, or pressed when
    // `pressed`.
    void button(int x1, int y1, int x2, int y2, bool pressed);

private:
    // The target's pixels and offset for one drawing; false when there is nothing to draw on.
    bool begin();
    // A 1-pixel line on the target, its end excluded.
    void line_on(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, std::uint32_t pixel);
    // The runs of the ellipse filling the box, from its left column; none when they are not kept.
    const Span* ellipse_rows(const SpanSource& box);
    // A rectangle's pixel box with a 1-pixel pen.
    void thin_rectangle(const SpanSource& box, std::uint32_t pen_pixel);
    // A shape of one run per row: the brush inside, the pen on the pixels that touch the outside (or along the
    // outline, for a wide pen).
    void span_shape(const SpanSource& shape, const Outline& outline, const Pen& pen);
    // The outline in a wide pen; false when it could not be stroked.
    bool wide_outline(const Outline& outline, const Pen& pen);
    // A shape given pixel by pixel inside an ellipse's box (arcs, chords and pies): the pen on the pixels that
    // touch the outside where pen_here says so, the brush on the others when filled.
    template<typename Inside, typename PenHere>
    void region_shape(const SpanSource& box, Inside inside, PenHere pen_here, bool fill, const Outline& outline,
        const Pen& pen);

    const RegionTable& m_targets;        // where shapes land
    const DrawingState& m_state;         // pen and brush
    SpanCanvas m_canvas;                 // the target of the drawing in progress
    std::int64_t m_offset_x = 0;         // room x of the target's column 0
    std::int64_t m_offset_y = 0;         // room y of the target's row 0
    FloodFiller m_flood;                 // its working space is kept between fills
    std::vector<std::int64_t> m_crossings;   // a polygon row's edge crossings, kept between polygons
    std::vector<TargetPoint> m_points;       // a polygon's vertices on the target, kept between polygons
    static constexpr std::int64_t MAX_KEPT_ELLIPSE_ROWS = 4096;
    std::vector<Span> m_rows;                // the runs of the last ellipse size drawn
    std::int64_t m_rows_width = 0;           // that size
    std::int64_t m_rows_height = 0;
};

}  // namespace quillon
