// SpanCanvas: the pixels a shape is drawn on, written a pixel or a run at a time inside the clip rectangle, with
// the brush's fill pattern.
#include "graphics/pixel_spans.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace {

// The 8 x 8 hatches from backward diagonal to vertical, a byte per row with the leftmost pixel in the top bit.
// ORDER: BrushStyle from backward_diagonal.
constexpr std::array<std::array<std::uint8_t, 8>, 6> HATCHES = {{
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},   // "/"
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},   // "\"
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08},   // "+"
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},   // "x"
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},   // "-"
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},   // "|"
}};

std::uint8_t hatch_row(BrushStyle style, std::int64_t y)
{
    return HATCHES[static_cast<int>(style) - static_cast<int>(BrushStyle::backward_diagonal)][y & 7];
}

}  // namespace

bool hatch_covers(BrushStyle style, std::int64_t x, std::int64_t y)
{
    return (hatch_row(style, y) >> (7 - (x & 7))) & 1;
}

void SpanCanvas::reset(const SurfaceCanvas& canvas)
{
    m_canvas = canvas;
    SurfaceRect& clip = m_canvas.clip;
    clip.left = std::max(clip.left, 0);
    clip.top = std::max(clip.top, 0);
    clip.right = std::min(clip.right, canvas.width);
    clip.bottom = std::min(clip.bottom, canvas.height);
    if (clip.right < clip.left)
        clip.right = clip.left;
    if (clip.bottom < clip.top)
        clip.bottom = clip.top;
}

void SpanCanvas::solid_span(std::int64_t y, std::int64_t left, std::int64_t right, std::uint32_t pixel)
{
    if (y < m_canvas.clip.top || y >= m_canvas.clip.bottom)
        return;
    left = std::max<std::int64_t>(left, m_canvas.clip.left);
    right = std::min<std::int64_t>(right, m_canvas.clip.right - 1);
    if (left > right)
        return;
    std::uint32_t* row = &m_canvas.at(static_cast<int>(left), static_cast<int>(y));
    std::fill_n(row, right - left + 1, pixel);
}

void SpanCanvas::brush_span(std::int64_t y, std::int64_t left, std::int64_t right, const Brush& brush)
{
    if (brush.style == BrushStyle::hollow)
        return;
    std::uint32_t pixel = script_color_pixel(brush.color);
    if (brush.style == BrushStyle::solid) {
        solid_span(y, left, right, pixel);
        return;
    }
    if (y < m_canvas.clip.top || y >= m_canvas.clip.bottom)
        return;
    left = std::max<std::int64_t>(left, m_canvas.clip.left);
    right = std::min<std::int64_t>(right, m_canvas.clip.right - 1);
    std::uint8_t pattern = hatch_row(brush.style, y);
    if (pattern == 0)
        return;
    std::uint32_t* row = &m_canvas.at(0, static_cast<int>(y));
    for (std::int64_t x = left; x <= right; ++x)
        if ((pattern >> (7 - (x & 7))) & 1)
            row[x] = pixel;
}

}  // namespace quillon
