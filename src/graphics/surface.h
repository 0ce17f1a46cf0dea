// DDSurface: a drawable image over 32-bit pixel memory, with a colour key, a clip rectangle, fills and blits.
#pragma once

#include "platform/pixel_surface.h"
#include "support/color.h"

#include <cstdint>
#include <memory>

namespace quillon {

// A rectangle by its edges; right and bottom lie just outside it.
struct SurfaceRect {
    int left = 0;     // first column
    int top = 0;      // first row
    int right = 0;    // one past the last column
    int bottom = 0;   // one past the last row

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const SurfaceRect&) const = default;
};

// The pixels of a surface as drawing code (text, shapes, pixels) sees them: 0x00RRGGBB words, rows top-down,
// with the clip rectangle that drawing must keep to.
struct SurfaceCanvas {
    std::uint32_t* pixels = nullptr;  // first pixel of the top row
    int width = 0;                    // pixels per row
    int height = 0;                   // rows
    int pitch = 0;                    // bytes from one row to the next
    SurfaceRect clip;                 // drawing stays inside this rectangle

    std::uint32_t& at(int x, int y) { return *reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(pixels) + y * pitch + x * 4); }
};

// The pixel value of a colour (red in the low byte) on a surface, and back.
constexpr std::uint32_t color_to_pixel(Color color)
{
    return std::uint32_t(color_red(color)) << 16 | std::uint32_t(color_green(color)) << 8 | color_blue(color);
}
constexpr Color pixel_to_color(std::uint32_t pixel)
{
    return make_color((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// Surfaces live in memory and are never lost, so the operations that report a lost surface report success
// whenever the surface exists. A surface whose memory could not be had does nothing and reports failure.
class DDSurface {
public:
    // An empty surface: size 0, no pixels, empty clip rectangle.
    DDSurface() = default;
    // A sized surface; a transparent one gets the key colour as colour key and starts filled with it. The
    // video-memory wish has no meaning for memory surfaces and is accepted for the callers' sake.
    DDSurface(int width, int height, bool transparent, Color key, bool video_memory);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool transparent() const { return m_transparent; }
    bool has_surface() const { return m_pixels != nullptr; }

    const SurfaceRect& clip() const { return m_clip; }
    void set_clip(const SurfaceRect& clip) { m_clip = clip; }

    // True when the surface exists; memory surfaces keep their pixels, so there is nothing to bring back.
    bool Restore() const { return has_surface(); }

    // The pixels for drawing code; pixels is null when the surface does not exist.
    SurfaceCanvas GetCanvas();

    // Fills the whole surface with a colour.
    bool Clear(Color color);
    // Fills the whole surface with the colour and makes it the colour key.
    bool SetColorKey(Color color);
    std::uint32_t color_key() const { return m_key; }

    // Draws the whole source at (x, y), scaled.
    bool Draw(int x, int y, const DDSurface& source, bool clip, double x_scale, double y_scale);
    // Draws a rectangle of the source at (x, y), scaled, cut to this surface's clip rectangle when clip is set;
    // the source's colour key is skipped when the source is transparent. Reports success.
    bool DrawPart(int x, int y, SurfaceRect part, const DDSurface& source, bool clip, double x_scale, double y_scale);

    platform::PixelSurface* pixels() { return m_pixels.get(); }
    const platform::PixelSurface* pixels() const { return m_pixels.get(); }

private:
    int m_width = 0;                                   // pixels
    int m_height = 0;                                  // pixels
    bool m_transparent = false;                        // blits from it skip the colour key
    std::uint32_t m_key = 0;                           // the colour key's pixel value
    SurfaceRect m_clip;                                // blits onto it with clipping stay inside
    std::unique_ptr<platform::PixelSurface> m_pixels;  // none when creation failed
};

}  // namespace quillon
