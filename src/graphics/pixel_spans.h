// SpanCanvas: the pixels a shape is drawn on, written a pixel or a run at a time inside the clip rectangle, with
// the brush's fill pattern.
#pragma once

#include "graphics/drawing_state.h"
#include "graphics/surface.h"

#include <cstddef>
#include <cstdint>

namespace quillon {

// The pixel value of a script colour; the top byte is ignored.
constexpr std::uint32_t script_color_pixel(std::int32_t color)
{
    return color_to_pixel(static_cast<Color>(color) & 0xFFFFFF);
}

// Whether the hatch of the style covers the pixel; hatches repeat every 8 pixels from the surface's top-left.
bool hatch_covers(BrushStyle style, std::int64_t x, std::int64_t y);

class SpanCanvas {
public:
    // The canvas, with its clip rectangle cut to its pixels.
    void reset(const SurfaceCanvas& canvas);

    bool has_pixels() const { return m_canvas.pixels != nullptr; }
    const SurfaceCanvas& canvas() const { return m_canvas; }
    // Inside the surface and its clip rectangle.
    const SurfaceRect& clip() const { return m_canvas.clip; }
    bool inside(std::int64_t x, std::int64_t y) const
    {
        return x >= m_canvas.clip.left && x < m_canvas.clip.right && y >= m_canvas.clip.top && y < m_canvas.clip.bottom;
    }

    // The pixel value at a point of the canvas (inside it).
    std::uint32_t pixel_at(int x, int y) const
    {
        return *reinterpret_cast<const std::uint32_t*>(
            reinterpret_cast<const char*>(m_canvas.pixels) + static_cast<std::ptrdiff_t>(y) * m_canvas.pitch + x * 4);
    }
    void plot(std::int64_t x, std::int64_t y, std::uint32_t pixel)
    {
        if (inside(x, y))
            m_canvas.at(static_cast<int>(x), static_cast<int>(y)) = pixel;
    }
    // The run from left to right (both included) of row y, in one pixel value.
    void solid_span(std::int64_t y, std::int64_t left, std::int64_t right, std::uint32_t pixel);
    // The run in the brush: its colour everywhere (solid), on the hatch's lines, or nowhere (hollow).
    void brush_span(std::int64_t y, std::int64_t left, std::int64_t right, const Brush& brush);

private:
    SurfaceCanvas m_canvas;   // the pixels; clip lies on them
};

}  // namespace quillon
