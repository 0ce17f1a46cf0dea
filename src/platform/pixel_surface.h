// PixelSurface: 32-bit pixel memory with fills and plain or stretched blits, optionally skipping a colour key.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

struct SDL_Surface;

namespace quillon::platform {

// A rectangle by its top-left corner and size, in pixels.
struct PixelRect {
    int x = 0;        // left column
    int y = 0;        // top row
    int width = 0;    // columns
    int height = 0;   // rows

    bool operator==(const PixelRect&) const = default;
};

// Pixels are 0x00RRGGBB words, rows top-down, `pitch` bytes apart. The memory works without any window
// system, so the headless backend draws exactly as the windowed one does.
class PixelSurface {
public:
    // Nothing when the memory cannot be had or a side is below 1.
    static std::unique_ptr<PixelSurface> create(int width, int height);
    ~PixelSurface();
    PixelSurface(const PixelSurface&) = delete;
    PixelSurface& operator=(const PixelSurface&) = delete;

    int width() const;
    int height() const;
    int pitch() const;
    std::uint32_t* pixels();
    const std::uint32_t* pixels() const;

    // Blits from this surface skip pixels of exactly this value; none copies every pixel.
    void set_color_key(std::optional<std::uint32_t> key);

    // Fills the part of the rectangle that lies on the surface.
    void fill(const PixelRect& rect, std::uint32_t value);

    // Copies a rectangle of the source into a rectangle of this surface, stretched (nearest pixel) when the
    // sizes differ; both are cut to the surfaces they lie on.
    void blit(const PixelSurface& source, const PixelRect& from, const PixelRect& to);

private:
    explicit PixelSurface(SDL_Surface* surface);
    void copy(const PixelSurface& source, const PixelRect& from, int to_x, int to_y);

    SDL_Surface* m_surface;               // owns the pixel memory
    std::optional<std::uint32_t> m_key;   // skipped by blits from this surface
};

}  // namespace quillon::platform
