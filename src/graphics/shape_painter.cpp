// ShapePainter: pixels, lines, rectangles, ellipses, polygons, arcs and flood fills on the shape target, with
// the pen and brush of the drawing state.
#include "graphics/shape_painter.h"

#include "graphics/cairo_stroke.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quillon {

namespace {

using Wide = __int128;   // products of two target coordinates

Wide floor_div(Wide numerator, Wide denominator)
{
    Wide quotient = numerator / denominator;
    return quotient * denominator > numerator ? quotient - 1 : quotient;
}
Wide ceil_div(Wide numerator, Wide denominator) { return -floor_div(-numerator, denominator); }

double cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// A direction from an ellipse's centre, upwards positive; the centre itself points right.
struct Direction {
    double x = 1;
    double y = 0;
};

// Whether a direction lies in the part of the turn from `start` counter-clockwise to `end`, both included.
struct Sweep {
    Direction start;
    Direction end;
    bool whole = false;   // the same direction twice: all the way round

    bool holds(double x, double y) const
    {
        if (whole)
            return true;
        double turn = cross(start.x, start.y, end.x, end.y);
        if (turn > 0)
            return cross(start.x, start.y, x, y) >= 0 && cross(x, y, end.x, end.y) >= 0;
        if (turn < 0)
            return !(cross(end.x, end.y, x, y) > 0 && cross(x, y, start.x, start.y) > 0);
        return cross(start.x, start.y, x, y) >= 0;
    }
};

constexpr std::uint32_t BUTTON_LIGHT = 0xFFFFFF;
constexpr std::uint32_t BUTTON_SHADE = 0x808080;

}  // namespace

ShapePainter::ShapePainter(const RegionTable& targets, const DrawingState& state)
    : m_targets(targets)
    , m_state(state)
{
    m_crossings.reserve(PolygonVertices::CAPACITY + 1);
    m_points.reserve(PolygonVertices::CAPACITY + 1);
}

bool ShapePainter::begin()
{
    const DrawingTarget& target = m_targets.gdi_target();
    if (!target.surface)
        return false;
    SurfaceCanvas canvas = target.surface->GetCanvas();
    if (!canvas.pixels)
        return false;
    m_canvas.reset(canvas);
    m_offset_x = target.offset_x;
    m_offset_y = target.offset_y;
    return m_canvas.clip().width() > 0 && m_canvas.clip().height() > 0;
}

void ShapePainter::pixel(int x, int y)
{
    if (begin())
        m_canvas.plot(x - m_offset_x, y - m_offset_y, script_color_pixel(m_state.brush.color));
}

std::optional<std::int32_t> ShapePainter::get_pixel(int x, int y)
{
    if (!begin())
        return std::nullopt;
    std::int64_t column = x - m_offset_x;
    std::int64_t row = y - m_offset_y;
    if (!m_canvas.inside(column, row))
        return std::nullopt;
    return static_cast<std::int32_t>(pixel_to_color(m_canvas.pixel_at(static_cast<int>(column), static_cast<int>(row))));
}

void ShapePainter::flood_fill(int x, int y)
{
    if (begin())
        m_flood.fill(m_canvas, x - m_offset_x, y - m_offset_y, m_state.brush);
}

void ShapePainter::line_on(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, std::uint32_t pixel)
{
    // Along the longer axis one pixel per step, the other coordinate the nearest to the exact line; only the
    // steps inside the clip rectangle are walked, so a line's length costs nothing beyond the clip.
    const SurfaceRect& clip = m_canvas.clip();
    std::int64_t dx = x2 - x1;
    std::int64_t dy = y2 - y1;
    if (dx == 0 && dy == 0)
        return;
    bool along_x = std::llabs(dx) >= std::llabs(dy);
    std::int64_t steps = along_x ? std::llabs(dx) : std::llabs(dy);
    std::int64_t start = along_x ? x1 : y1;
    std::int64_t sign = (along_x ? dx : dy) > 0 ? 1 : -1;
    std::int64_t low = along_x ? clip.left : clip.top;
    std::int64_t high = (along_x ? clip.right : clip.bottom) - 1;
    // Steps k from 0 to steps - 1 reach start + sign * k; keep those between low and high.
    std::int64_t first = sign > 0 ? low - start : start - high;
    std::int64_t last = sign > 0 ? high - start : start - low;
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, steps - 1);
    if (first > last)
        return;
    // The minor coordinate at step k is minor start + floor((2 k d + steps) / (2 steps)); the quotient and
    // remainder of that division move on by 2 d each step, by at most one whole turn.
    std::int64_t delta = along_x ? dy : dx;
    Wide denominator = 2 * static_cast<Wide>(steps);
    Wide numerator = 2 * static_cast<Wide>(first) * delta + steps;
    std::int64_t quotient = static_cast<std::int64_t>(floor_div(numerator, denominator));
    std::int64_t remainder = static_cast<std::int64_t>(numerator - static_cast<Wide>(quotient) * denominator);
    std::int64_t whole = 2 * steps;
    std::int64_t minor_start = along_x ? y1 : x1;
    for (std::int64_t k = first; k <= last; ++k) {
        std::int64_t major = start + sign * k;
        std::int64_t minor = minor_start + quotient;
        if (along_x)
            m_canvas.plot(major, minor, pixel);
        else
            m_canvas.plot(minor, major, pixel);
        remainder += 2 * delta;
        if (remainder >= whole) {
            remainder -= whole;
            ++quotient;
        } else if (remainder < 0) {
            remainder += whole;
            --quotient;
        }
    }
}

bool ShapePainter::wide_outline(const Outline& outline, const Pen& pen)
{
    SurfaceCanvas canvas = m_canvas.canvas();
    return stroke_outline(canvas, outline, script_color_pixel(pen.color), pen.width);
}

void ShapePainter::line(int x1, int y1, int x2, int y2)
{
    if (!begin())
        return;
    const Pen& pen = m_state.pen;
    std::int64_t from_x = x1 - m_offset_x;
    std::int64_t from_y = y1 - m_offset_y;
    std::int64_t to_x = x2 - m_offset_x;
    std::int64_t to_y = y2 - m_offset_y;
    if (pen.width > 1) {
        const TargetPoint ends[] = {{double(from_x), double(from_y)}, {double(to_x), double(to_y)}};
        Outline outline;
        outline.points = ends;
        if (wide_outline(outline, pen))
            return;
    }
    line_on(from_x, from_y, to_x, to_y, script_color_pixel(pen.color));
}

void ShapePainter::span_shape(const SpanSource& shape, const Outline& outline, const Pen& pen)
{
    const SurfaceRect& clip = m_canvas.clip();
    const Brush& brush = m_state.brush;
    bool wide = pen.width > 1;
    std::uint32_t pen_pixel = script_color_pixel(pen.color);
    std::int64_t first = std::max<std::int64_t>(shape.top, clip.top);
    std::int64_t last = std::min<std::int64_t>(shape.bottom, clip.bottom - 1);
    std::optional<Span> above = shape.row(first - 1);
    std::optional<Span> current = shape.row(first);
    for (std::int64_t y = first; y <= last; ++y) {
        std::optional<Span> below = shape.row(y + 1);
        if (wide) {
            m_canvas.brush_span(y, current->left, current->right, brush);
        } else {
            // Inside are the pixels with neighbours in the shape on all four sides.
            std::int64_t inner_left = current->left + 1;
            std::int64_t inner_right = current->right - 1;
            if (above && below) {
                inner_left = std::max({inner_left, above->left, below->left});
                inner_right = std::min({inner_right, above->right, below->right});
            } else {
                inner_right = inner_left - 1;
            }
            if (inner_left <= inner_right) {
                m_canvas.solid_span(y, current->left, inner_left - 1, pen_pixel);
                m_canvas.brush_span(y, inner_left, inner_right, brush);
                m_canvas.solid_span(y, inner_right + 1, current->right, pen_pixel);
            } else {
                m_canvas.solid_span(y, current->left, current->right, pen_pixel);
            }
        }
        above = current;
        current = below;
    }
    if (wide && !wide_outline(outline, pen))
        span_shape(shape, outline, Pen {pen.color, 1});
}

namespace {

// The pixel box of two corners: from the smaller coordinate up to, not including, the larger.
bool pixel_box(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, SpanSource& box)
{
    box.left = std::min(x1, x2);
    box.right = std::max(x1, x2) - 1;
    box.top = std::min(y1, y2);
    box.bottom = std::max(y1, y2) - 1;
    return box.left <= box.right && box.top <= box.bottom;
}

Outline box_outline(Outline::Kind kind, const SpanSource& box)
{
    Outline outline;
    outline.kind = kind;
    outline.left = static_cast<double>(box.left);
    outline.top = static_cast<double>(box.top);
    outline.right = static_cast<double>(box.right);
    outline.bottom = static_cast<double>(box.bottom);
    return outline;
}

}  // namespace

void ShapePainter::rectangle(int x1, int y1, int x2, int y2)
{
    SpanSource box;
    if (!begin() || !pixel_box(x1 - m_offset_x, y1 - m_offset_y, x2 - m_offset_x, y2 - m_offset_y, box))
        return;
    double left = static_cast<double>(box.left);
    double top = static_cast<double>(box.top);
    double right = static_cast<double>(box.right);
    double bottom = static_cast<double>(box.bottom);
    const TargetPoint corners[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    Outline outline;
    outline.points = corners;
    outline.closed = true;
    if (m_state.pen.width > 1)
        span_shape(box, outline, m_state.pen);
    else
        thin_rectangle(box, script_color_pixel(m_state.pen.color));
}

// The common case without the general shape's row by row work: the pen's border and the brush inside.
void ShapePainter::thin_rectangle(const SpanSource& box, std::uint32_t pen_pixel)
{
    m_canvas.solid_span(box.top, box.left, box.right, pen_pixel);
    if (box.bottom == box.top)
        return;
    const SurfaceRect& clip = m_canvas.clip();
    std::int64_t first = std::max<std::int64_t>(box.top + 1, clip.top);
    std::int64_t last = std::min<std::int64_t>(box.bottom - 1, clip.bottom - 1);
    for (std::int64_t y = first; y <= last; ++y) {
        m_canvas.plot(box.left, y, pen_pixel);
        if (box.right > box.left + 1)
            m_canvas.brush_span(y, box.left + 1, box.right - 1, m_state.brush);
        m_canvas.plot(box.right, y, pen_pixel);
    }
    m_canvas.solid_span(box.bottom, box.left, box.right, pen_pixel);
}

void ShapePainter::round_rectangle(int x1, int y1, int x2, int y2, int corner_width, int corner_height)
{
    SpanSource box;
    if (!begin() || !pixel_box(x1 - m_offset_x, y1 - m_offset_y, x2 - m_offset_x, y2 - m_offset_y, box))
        return;
    box.kind = SpanSource::Kind::round_rectangle;
    box.corner_width = std::clamp<std::int64_t>(corner_width, 0, box.right - box.left + 1);
    box.corner_height = std::clamp<std::int64_t>(corner_height, 0, box.bottom - box.top + 1);
    if (box.corner_width == 0 || box.corner_height == 0)
        box.kind = SpanSource::Kind::rectangle;
    Outline outline = box_outline(Outline::Kind::round_rectangle, box);
    outline.corner_width = static_cast<double>(box.corner_width);
    outline.corner_height = static_cast<double>(box.corner_height);
    span_shape(box, outline, m_state.pen);
}

void ShapePainter::ellipse(int x1, int y1, int x2, int y2)
{
    SpanSource box;
    if (!begin() || !pixel_box(x1 - m_offset_x, y1 - m_offset_y, x2 - m_offset_x, y2 - m_offset_y, box))
        return;
    box.kind = SpanSource::Kind::ellipse;
    box.ellipse_rows = ellipse_rows(box);
    span_shape(box, box_outline(Outline::Kind::ellipse, box), m_state.pen);
}

const Span* ShapePainter::ellipse_rows(const SpanSource& box)
{
    // Games draw many ellipses of one size: the runs of the last size are kept. Tall ellipses are worked out
    // row by row instead, for the rows that are drawn only.
    std::int64_t width = box.right - box.left + 1;
    std::int64_t height = box.bottom - box.top + 1;
    if (height > MAX_KEPT_ELLIPSE_ROWS)
        return nullptr;
    if (width != m_rows_width || height != m_rows_height) {
        m_rows.resize(static_cast<std::size_t>(height));
        for (std::int64_t y = 0; y < height; ++y)
            m_rows[y] = ellipse_row(width, height, y);
        m_rows_width = width;
        m_rows_height = height;
    }
    return m_rows.data();
}

void ShapePainter::polygon(std::span<const PolygonVertex> vertices)
{
    if (vertices.size() < 2 || !begin())
        return;
    // 1. The brush: per row, the crossings of the edges with the row's line, paired up from the left.
    const SurfaceRect& clip = m_canvas.clip();
    std::int64_t lowest = vertices[0].y;
    std::int64_t highest = vertices[0].y;
    for (const PolygonVertex& vertex : vertices) {
        lowest = std::min<std::int64_t>(lowest, vertex.y);
        highest = std::max<std::int64_t>(highest, vertex.y);
    }
    std::int64_t first = std::max<std::int64_t>(lowest - m_offset_y, clip.top);
    std::int64_t last = std::min<std::int64_t>(highest - m_offset_y - 1, clip.bottom - 1);
    for (std::int64_t y = first; y <= last && m_state.brush.style != BrushStyle::hollow; ++y) {
        m_crossings.clear();
        std::int64_t row = y + m_offset_y;
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            const PolygonVertex& a = vertices[i];
            const PolygonVertex& b = vertices[(i + 1) % vertices.size()];
            if ((a.y <= row && row < b.y) || (b.y <= row && row < a.y)) {
                // The first pixel at or right of the crossing.
                Wide numerator = static_cast<Wide>(row - a.y) * (static_cast<std::int64_t>(b.x) - a.x);
                Wide denominator = static_cast<std::int64_t>(b.y) - a.y;
                if (denominator < 0) {
                    numerator = -numerator;
                    denominator = -denominator;
                }
                m_crossings.push_back(a.x + static_cast<std::int64_t>(ceil_div(numerator, denominator)) - m_offset_x);
            }
        }
        std::sort(m_crossings.begin(), m_crossings.end());
        for (std::size_t i = 0; i + 1 < m_crossings.size(); i += 2)
            m_canvas.brush_span(y, m_crossings[i], m_crossings[i + 1] - 1, m_state.brush);
    }
    // 2. The pen along the closed outline.
    const Pen& pen = m_state.pen;
    if (pen.width > 1) {
        m_points.clear();
        for (const PolygonVertex& vertex : vertices)
            m_points.push_back({static_cast<double>(vertex.x - m_offset_x), static_cast<double>(vertex.y - m_offset_y)});
        Outline outline;
        outline.points = m_points;
        outline.closed = true;
        if (wide_outline(outline, pen))
            return;
    }
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const PolygonVertex& a = vertices[i];
        const PolygonVertex& b = vertices[(i + 1) % vertices.size()];
        line_on(a.x - m_offset_x, a.y - m_offset_y, b.x - m_offset_x, b.y - m_offset_y, script_color_pixel(pen.color));
    }
}

void ShapePainter::arc(ArcShape shape, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    SpanSource box;
    if (!begin() || !pixel_box(x1 - m_offset_x, y1 - m_offset_y, x2 - m_offset_x, y2 - m_offset_y, box))
        return;
    box.kind = SpanSource::Kind::ellipse;
    box.ellipse_rows = ellipse_rows(box);
    // 1. Directions from the centre (pixel centres, upwards positive) and the ends of the curve.
    double centre_x = (box.left + box.right) / 2.0;
    double centre_y = (box.top + box.bottom) / 2.0;
    double radius_x = (box.right - box.left) / 2.0;
    double radius_y = (box.bottom - box.top) / 2.0;
    auto direction = [&](int x, int y) {
        Direction d {x - m_offset_x - centre_x, centre_y - (y - m_offset_y)};
        return d.x == 0 && d.y == 0 ? Direction {} : d;
    };
    Sweep sweep {direction(x3, y3), direction(x4, y4)};
    sweep.whole = cross(sweep.start.x, sweep.start.y, sweep.end.x, sweep.end.y) == 0
        && sweep.start.x * sweep.end.x + sweep.start.y * sweep.end.y > 0;
    auto on_ellipse = [&](const Direction& d) {
        double scale = 1 / std::sqrt(radius_x > 0 && radius_y > 0
            ? (d.x / radius_x) * (d.x / radius_x) + (d.y / radius_y) * (d.y / radius_y)
            : d.x * d.x + d.y * d.y);
        return radius_x > 0 && radius_y > 0 ? Direction {d.x * scale, d.y * scale} : Direction {0, 0};
    };
    Direction from = on_ellipse(sweep.start);
    Direction to = on_ellipse(sweep.end);
    // 2. Which pixels belong to the shape, and which get the pen.
    auto in_ellipse = [&](std::int64_t x, std::int64_t y) {
        std::optional<Span> span = box.row(y);
        return span && x >= span->left && x <= span->right;
    };
    auto inside = [&](std::int64_t x, std::int64_t y) {
        if (!in_ellipse(x, y))
            return false;
        double dx = x - centre_x;
        double dy = centre_y - y;
        switch (shape) {
        case ArcShape::arc: return true;
        case ArcShape::pie: return sweep.holds(dx, dy);
        case ArcShape::chord:
            return sweep.whole || cross(from.x - to.x, from.y - to.y, dx - to.x, dy - to.y) >= 0;
        }
        return false;
    };
    auto pen_here = [&](std::int64_t x, std::int64_t y) {
        return shape != ArcShape::arc || sweep.holds(x - centre_x, centre_y - y);
    };
    Outline outline = box_outline(Outline::Kind::ellipse, box);
    outline.whole = sweep.whole;
    outline.start_angle = std::atan2(sweep.start.y / std::max(radius_y, 0.5), sweep.start.x / std::max(radius_x, 0.5));
    outline.end_angle = std::atan2(sweep.end.y / std::max(radius_y, 0.5), sweep.end.x / std::max(radius_x, 0.5));
    outline.closing = shape;
    region_shape(box, inside, pen_here, shape != ArcShape::arc, outline, m_state.pen);
}

template<typename Inside, typename PenHere>
void ShapePainter::region_shape(const SpanSource& box, Inside inside, PenHere pen_here, bool fill,
    const Outline& outline, const Pen& pen)
{
    const SurfaceRect& clip = m_canvas.clip();
    bool wide = pen.width > 1;
    std::uint32_t pen_pixel = script_color_pixel(pen.color);
    std::int64_t first = std::max<std::int64_t>(box.top, clip.top);
    std::int64_t last = std::min<std::int64_t>(box.bottom, clip.bottom - 1);
    for (std::int64_t y = first; y <= last; ++y) {
        std::optional<Span> span = box.row(y);
        std::int64_t from = std::max<std::int64_t>(span->left, clip.left);
        std::int64_t to = std::min<std::int64_t>(span->right, clip.right - 1);
        for (std::int64_t x = from; x <= to; ++x) {
            if (!inside(x, y))
                continue;
            bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            if (edge && !wide) {
                if (pen_here(x, y))
                    m_canvas.plot(x, y, pen_pixel);
            } else if (fill) {
                m_canvas.brush_span(y, x, x, m_state.brush);
            }
        }
    }
    if (wide && !wide_outline(outline, pen))
        region_shape(box, inside, pen_here, fill, outline, Pen {pen.color, 1});
}

void ShapePainter::button(int x1, int y1, int x2, int y2, bool pressed)
{
    SpanSource box;
    if (!begin())
        return;
    std::int64_t left = x1 - m_offset_x;
    std::int64_t top = y1 - m_offset_y;
    std::int64_t right = x2 - m_offset_x;
    std::int64_t bottom = y2 - m_offset_y;
    // 1. The face in the brush, outlined in black.
    if (pixel_box(left, top, right, bottom, box))
        thin_rectangle(box, 0);
    // 2. Two-pixel bevels: light (or shade) over the top and left, the other colour over the bottom and right.
    std::uint32_t first = pressed ? BUTTON_SHADE : BUTTON_LIGHT;
    std::uint32_t second = pressed ? BUTTON_LIGHT : BUTTON_SHADE;
    line_on(left, bottom, left, top, first);
    line_on(left, top, right, top, first);
    line_on(left + 1, bottom - 1, left + 1, top + 1, first);
    line_on(left + 1, top + 1, right - 1, top + 1, first);
    line_on(left, bottom, right, bottom, second);
    line_on(right, bottom, right, top, second);
    line_on(left + 1, bottom - 1, right - 1, bottom - 1, second);
    line_on(right - 1, bottom - 1, right - 1, top + 1, second);
}

}  // namespace quillon
