// FloodFiller: fills the 4-connected area of one colour around a point with the brush, a row run at a time.
#include "graphics/flood_fill.h"

#include <algorithm>

namespace quillon {

bool FloodFiller::takes(const SpanCanvas& canvas, int x, int y) const
{
    std::size_t mark = static_cast<std::size_t>(y - m_clip.top) * m_clip.width() + (x - m_clip.left);
    return !m_filled[mark] && canvas.pixel_at(x, y) == m_target;
}

// Seeds a pixel of every run of the area's colour along row y between left and right.
void FloodFiller::look_along(const SpanCanvas& canvas, int y, int left, int right)
{
    if (y < m_clip.top || y >= m_clip.bottom)
        return;
    bool in_run = false;
    for (int x = left; x <= right; ++x) {
        bool taken = takes(canvas, x, y);
        if (taken && !in_run)
            m_seeds.push_back({x, y});
        in_run = taken;
    }
}

void FloodFiller::fill(SpanCanvas& canvas, std::int64_t x, std::int64_t y, const Brush& brush)
{
    if (!canvas.has_pixels() || !canvas.inside(x, y) || brush.style == BrushStyle::hollow)
        return;
    // 1. The area's colour, and no pixel filled yet. The marks keep pixels that the brush leaves in the area's
    // colour (hatches, or a brush of that very colour) from being taken twice.
    m_clip = canvas.clip();
    m_target = canvas.pixel_at(static_cast<int>(x), static_cast<int>(y));
    m_filled.assign(static_cast<std::size_t>(m_clip.width()) * m_clip.height(), 0);
    m_seeds.clear();
    m_seeds.push_back({static_cast<int>(x), static_cast<int>(y)});
    // 2. Each seed grows into its whole run, which is filled and marked; the rows above and below are searched
    // along the run for more.
    while (!m_seeds.empty()) {
        Seed seed = m_seeds.back();
        m_seeds.pop_back();
        if (!takes(canvas, seed.x, seed.y))
            continue;
        int left = seed.x;
        while (left > m_clip.left && takes(canvas, left - 1, seed.y))
            --left;
        int right = seed.x;
        while (right + 1 < m_clip.right && takes(canvas, right + 1, seed.y))
            ++right;
        std::uint8_t* marks = &m_filled[static_cast<std::size_t>(seed.y - m_clip.top) * m_clip.width()];
        std::fill(marks + (left - m_clip.left), marks + (right - m_clip.left) + 1, 1);
        canvas.brush_span(seed.y, left, right, brush);
        look_along(canvas, seed.y - 1, left, right);
        look_along(canvas, seed.y + 1, left, right);
    }
}

}  // namespace quillon
