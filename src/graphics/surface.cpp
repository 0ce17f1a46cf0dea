// DDSurface: a drawable image over 32-bit pixel memory, with a colour key, a clip rectangle, fills and blits.
#include "graphics/surface.h"

#include "code/value.h"

namespace quillon {

DDSurface::DDSurface(int width, int height, bool transparent, Color key, bool)
    : m_width(width)
    , m_height(height)
    , m_transparent(transparent)
    , m_clip {0, 0, width, height}
    , m_pixels(platform::PixelSurface::create(width, height))
{
    if (transparent)
        SetColorKey(key);
}

SurfaceCanvas DDSurface::GetCanvas()
{
    if (!m_pixels)
        return {};
    return {m_pixels->pixels(), m_width, m_height, m_pixels->pitch(), m_clip};
}

bool DDSurface::Clear(Color color)
{
    if (!m_pixels)
        return false;
    m_pixels->fill({0, 0, m_width, m_height}, color_to_pixel(color));
    return true;
}

bool DDSurface::SetColorKey(Color color)
{
    if (!Clear(color))
        return false;
    m_key = color_to_pixel(color);
    m_pixels->set_color_key(m_key);
    return true;
}

bool DDSurface::Draw(int x, int y, const DDSurface& source, bool clip, double x_scale, double y_scale)
{
    return DrawPart(x, y, {0, 0, source.width(), source.height()}, source, clip, x_scale, y_scale);
}

bool DDSurface::DrawPart(int x, int y, SurfaceRect part, const DDSurface& source, bool clip, double x_scale,
    double y_scale)
{
    // 1. Nothing to draw.
    if (!m_pixels || !source.m_pixels || x_scale <= 0 || y_scale <= 0)
        return true;
    // 2. Where the part lands.
    SurfaceRect target {x, y, x + round_to_int32(x_scale * part.width()), y + round_to_int32(y_scale * part.height())};
    // 3. Cut to the clip rectangle, moving the source sides in step.
    if (clip) {
        if (target.right < m_clip.left || target.left >= m_clip.right || target.bottom < m_clip.top
            || target.top >= m_clip.bottom)
            return true;
        if (target.left < m_clip.left) {
            part.left = round_to_int32(part.left - (target.left - m_clip.left) / x_scale);
            target.left = m_clip.left;
        }
        if (target.top < m_clip.top) {
            part.top = round_to_int32(part.top - (target.top - m_clip.top) / y_scale);
            target.top = m_clip.top;
        }
        if (target.right > m_clip.right) {
            part.right = round_to_int32(part.right - (target.right - m_clip.right) / x_scale);
            target.right = m_clip.right;
        }
        if (target.bottom > m_clip.bottom) {
            part.bottom = round_to_int32(part.bottom - (target.bottom - m_clip.bottom) / y_scale);
            target.bottom = m_clip.bottom;
        }
    }
    // 4. One blit; the pixel layer keeps it on both surfaces and skips the source's key when it has one.
    m_pixels->blit(*source.m_pixels, {part.left, part.top, part.width(), part.height()},
        {target.left, target.top, target.width(), target.height()});
    return true;
}

}  // namespace quillon
