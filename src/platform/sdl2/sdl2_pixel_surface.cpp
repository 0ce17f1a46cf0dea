// PixelSurface over SDL2 memory surfaces: SDL's fills and stretching blitters need no SDL_Init for plain memory;
// the unscaled copy, the blit of nearly every sprite, is our own so that keyed pixels are chosen without
// branches, eight at a time.
#include "platform/pixel_surface.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace quillon::platform {

namespace {

SDL_Rect to_sdl(const PixelRect& rect)
{
    return SDL_Rect {rect.x, rect.y, rect.width, rect.height};
}

constexpr std::uint32_t RGB_MASK = 0x00FFFFFF;  // the byte above the colour carries nothing

// On x86-64 the keyed copy is built twice, for AVX2 and for the baseline, and chosen when the program loads.
#if defined(__x86_64__)
#define QUILLON_WITH_AVX2 __attribute__((target_clones("avx2", "default")))
#else
#define QUILLON_WITH_AVX2
#endif

// Eight pixels at a time: each target pixel takes the source pixel unless that one is the key.
using Pixels8 = std::uint32_t __attribute__((vector_size(32)));

QUILLON_WITH_AVX2
void copy_keyed_rect(std::uint8_t* to, int to_pitch, const std::uint8_t* from, int from_pitch, int count, int rows,
    std::uint32_t key)
{
    const Pixels8 keys = {key, key, key, key, key, key, key, key};
    const Pixels8 mask = {RGB_MASK, RGB_MASK, RGB_MASK, RGB_MASK, RGB_MASK, RGB_MASK, RGB_MASK, RGB_MASK};
    for (int y = 0; y < rows; ++y, to += to_pitch, from += from_pitch) {
        auto* target = reinterpret_cast<std::uint32_t*>(to);
        const auto* source = reinterpret_cast<const std::uint32_t*>(from);
        int i = 0;
        for (; i + 8 <= count; i += 8) {
            Pixels8 in;
            Pixels8 out;
            std::memcpy(&in, source + i, sizeof in);
            std::memcpy(&out, target + i, sizeof out);
            Pixels8 keep = (in & mask) == keys;  // all ones where the target stays
            out = (out & keep) | (in & ~keep);
            std::memcpy(target + i, &out, sizeof out);
        }
        for (; i < count; ++i) {
            if ((source[i] & RGB_MASK) != key)
                target[i] = source[i];
        }
    }
}

}  // namespace

std::unique_ptr<PixelSurface> PixelSurface::create(int width, int height)
{
    if (width < 1 || height < 1)
        return nullptr;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
    if (!surface)
        return nullptr;
    // Blits copy pixels as they are; no blending with an alpha byte that the format does not have.
    SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_NONE);
    return std::unique_ptr<PixelSurface>(new PixelSurface(surface));
}

PixelSurface::PixelSurface(SDL_Surface* surface)
    : m_surface(surface)
{
}

PixelSurface::~PixelSurface()
{
    SDL_FreeSurface(m_surface);
}

int PixelSurface::width() const { return m_surface->w; }
int PixelSurface::height() const { return m_surface->h; }
int PixelSurface::pitch() const { return m_surface->pitch; }
std::uint32_t* PixelSurface::pixels() { return static_cast<std::uint32_t*>(m_surface->pixels); }
const std::uint32_t* PixelSurface::pixels() const { return static_cast<const std::uint32_t*>(m_surface->pixels); }

void PixelSurface::set_color_key(std::optional<std::uint32_t> key)
{
    m_key = key ? std::optional<std::uint32_t>(*key & RGB_MASK) : std::nullopt;
    SDL_SetColorKey(m_surface, key ? SDL_TRUE : SDL_FALSE, key.value_or(0));
}

void PixelSurface::fill(const PixelRect& rect, std::uint32_t value)
{
    SDL_Rect area = to_sdl(rect);
    SDL_FillRect(m_surface, &area, value);
}

void PixelSurface::blit(const PixelSurface& source, const PixelRect& from, const PixelRect& to)
{
    if (from.width <= 0 || from.height <= 0 || to.width <= 0 || to.height <= 0)
        return;
    SDL_Rect source_area = to_sdl(from);
    SDL_Rect target_area = to_sdl(to);
    if (from.width == to.width && from.height == to.height)
        copy(source, from, to.x, to.y);
    else
        SDL_BlitScaled(source.m_surface, &source_area, m_surface, &target_area);
}

// An unscaled blit: the rectangle is cut to the source and, moved by the same amount, to this surface.
void PixelSurface::copy(const PixelSurface& source, const PixelRect& from, int to_x, int to_y)
{
    int dx = to_x - from.x;
    int dy = to_y - from.y;
    int left = std::max({from.x, 0, -dx});
    int top = std::max({from.y, 0, -dy});
    int right = std::min({from.x + from.width, source.width(), width() - dx});
    int bottom = std::min({from.y + from.height, source.height(), height() - dy});
    if (right <= left || bottom <= top)
        return;
    const auto* from_bytes = static_cast<const std::uint8_t*>(source.m_surface->pixels) + top * source.pitch() + left * 4;
    auto* to_bytes = static_cast<std::uint8_t*>(m_surface->pixels) + (top + dy) * pitch() + (left + dx) * 4;
    int count = right - left;
    if (source.m_key) {
        copy_keyed_rect(to_bytes, pitch(), from_bytes, source.pitch(), count, bottom - top, *source.m_key);
        return;
    }
    for (int y = top; y < bottom; ++y, from_bytes += source.pitch(), to_bytes += pitch())
        std::memmove(to_bytes, from_bytes, static_cast<std::size_t>(count) * 4);
}

}  // namespace quillon::platform
