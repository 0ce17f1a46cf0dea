// Strokes of wide pens, drawn by Cairo straight onto a surface's pixels.
#include "graphics/cairo_stroke.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quillon {

namespace {

// Cairo keeps coordinates as 24.8 fixed-point numbers; paths stay well inside that.
constexpr double COORDINATE_LIMIT = 1 << 21;

bool within_limits(const Outline& outline, double width)
{
    auto fits = [](double value) { return std::abs(value) < COORDINATE_LIMIT; };
    if (!fits(width))
        return false;
    if (outline.kind == Outline::Kind::polyline)
        return std::ranges::all_of(outline.points, [&](const TargetPoint& point) { return fits(point.x) && fits(point.y); });
    return fits(outline.left) && fits(outline.top) && fits(outline.right) && fits(outline.bottom);
}

void polyline_path(cairo_t* cairo, const Outline& outline)
{
    for (const TargetPoint& point : outline.points)
        cairo_line_to(cairo, point.x, point.y);
    if (outline.closed)
        cairo_close_path(cairo);
}

// The unit circle scaled to the ellipse; a flat ellipse is the line across it.
void ellipse_path(cairo_t* cairo, const Outline& outline)
{
    double radius_x = (outline.right - outline.left) / 2;
    double radius_y = (outline.bottom - outline.top) / 2;
    if (radius_x <= 0 || radius_y <= 0) {
        cairo_move_to(cairo, outline.left, outline.top);
        cairo_line_to(cairo, outline.right, outline.bottom);
        return;
    }
    cairo_save(cairo);
    cairo_translate(cairo, outline.left + radius_x, outline.top + radius_y);
    cairo_scale(cairo, radius_x, radius_y);
    if (outline.whole) {
        cairo_arc(cairo, 0, 0, 1, 0, 2 * std::numbers::pi);
        cairo_close_path(cairo);
    } else {
        // Upwards counter-clockwise is downwards clockwise, against Cairo's direction of positive angles.
        if (outline.closing == ArcShape::pie)
            cairo_move_to(cairo, 0, 0);
        cairo_arc_negative(cairo, 0, 0, 1, -outline.start_angle, -outline.end_angle);
        if (outline.closing != ArcShape::arc)
            cairo_close_path(cairo);
    }
    cairo_restore(cairo);
}

void round_rectangle_path(cairo_t* cairo, const Outline& outline)
{
    double radius_x = std::min(outline.corner_width / 2, (outline.right - outline.left) / 2);
    double radius_y = std::min(outline.corner_height / 2, (outline.bottom - outline.top) / 2);
    if (radius_x <= 0 || radius_y <= 0) {
        cairo_rectangle(cairo, outline.left, outline.top, outline.right - outline.left, outline.bottom - outline.top);
        return;
    }
    // Quarter ellipses clockwise from the top-right corner.
    const double corners[4][3] = {
        {outline.right - radius_x, outline.top + radius_y, -std::numbers::pi / 2},
        {outline.right - radius_x, outline.bottom - radius_y, 0},
        {outline.left + radius_x, outline.bottom - radius_y, std::numbers::pi / 2},
        {outline.left + radius_x, outline.top + radius_y, std::numbers::pi},
    };
    for (const auto& corner : corners) {
        cairo_save(cairo);
        cairo_translate(cairo, corner[0], corner[1]);
        cairo_scale(cairo, radius_x, radius_y);
        cairo_arc(cairo, 0, 0, 1, corner[2], corner[2] + std::numbers::pi / 2);
        cairo_restore(cairo);
    }
    cairo_close_path(cairo);
}

}  // namespace

bool stroke_outline(SurfaceCanvas& canvas, const Outline& outline, std::uint32_t pixel, double width)
{
    if (!canvas.pixels || !within_limits(outline, width))
        return false;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(canvas.pixels),
        CAIRO_FORMAT_RGB24, canvas.width, canvas.height, canvas.pitch);
    cairo_t* cairo = cairo_create(surface);
    cairo_rectangle(cairo, canvas.clip.left, canvas.clip.top, canvas.clip.width(), canvas.clip.height());
    cairo_clip(cairo);
    // Pixel centres lie half a pixel in from Cairo's pixel corners.
    cairo_translate(cairo, 0.5, 0.5);
    cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cairo, width);
    cairo_set_line_cap(cairo, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cairo, CAIRO_LINE_JOIN_ROUND);
    cairo_set_source_rgb(cairo, ((pixel >> 16) & 0xFF) / 255.0, ((pixel >> 8) & 0xFF) / 255.0, (pixel & 0xFF) / 255.0);
    switch (outline.kind) {
    case Outline::Kind::polyline: polyline_path(cairo, outline); break;
    case Outline::Kind::ellipse: ellipse_path(cairo, outline); break;
    case Outline::Kind::round_rectangle: round_rectangle_path(cairo, outline); break;
    }
    cairo_stroke(cairo);
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    return true;
}

}  // namespace quillon
