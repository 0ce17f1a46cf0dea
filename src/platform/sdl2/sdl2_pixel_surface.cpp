// PixelSurface over SDL2 memory surfaces: SDL's blitters need no SDL_Init for plain memory.
#include "platform/pixel_surface.h"

#include <SDL.h>

namespace quillon::platform {

namespace {

SDL_Rect to_sdl(const PixelRect& rect)
{
    return SDL_Rect {rect.x, rect.y, rect.width, rect.height};
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
        SDL_BlitSurface(source.m_surface, &source_area, m_surface, &target_area);
    else
        SDL_BlitScaled(source.m_surface, &source_area, m_surface, &target_area);
}

}  // namespace quillon::platform
