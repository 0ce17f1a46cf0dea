// Sdl2Display: an SDL2 window whose frames are scaled in through a renderer and a streaming texture.
#include "platform/sdl2/sdl2_display.h"

#include "platform/sdl2/sdl2_subsystems.h"
#include "support/win1252.h"

#include <SDL.h>

#include <cstdio>

namespace quillon::platform {

Sdl2Display::Sdl2Display()
    : m_started(sdl2_start(SDL_INIT_VIDEO))
{
}

Sdl2Display::~Sdl2Display()
{
    close();
    if (m_started)
        sdl2_stop(SDL_INIT_VIDEO);
}

bool Sdl2Display::open(const WindowPlacement& placement, std::string_view caption)
{
    close();
    if (!m_started || placement.width <= 0 || placement.height <= 0)
        return false;
    Uint32 flags = SDL_WINDOW_HIDDEN | (placement.border ? 0 : SDL_WINDOW_BORDERLESS);
    m_window = SDL_CreateWindow(win1252_to_utf8(caption).c_str(), placement.left, placement.top, placement.width,
        placement.height, flags);
    if (m_window)
        m_renderer = SDL_CreateRenderer(m_window, -1, 0);
    if (!m_renderer) {
        std::fprintf(stderr, "display: cannot open a window: %s\n", SDL_GetError());
        close();
        return false;
    }
    return true;
}

void Sdl2Display::close()
{
    if (m_texture)
        SDL_DestroyTexture(m_texture);
    if (m_renderer)
        SDL_DestroyRenderer(m_renderer);
    if (m_window)
        SDL_DestroyWindow(m_window);
    m_texture = nullptr;
    m_renderer = nullptr;
    m_window = nullptr;
    m_texture_width = 0;
    m_texture_height = 0;
}

void Sdl2Display::set_caption(std::string_view caption)
{
    if (m_window)
        SDL_SetWindowTitle(m_window, win1252_to_utf8(caption).c_str());
}

void Sdl2Display::set_visible(bool visible)
{
    if (!m_window)
        return;
    if (visible)
        SDL_ShowWindow(m_window);
    else
        SDL_HideWindow(m_window);
}

// Keeps one streaming texture of the frame's size, made anew only when the size changes.
bool Sdl2Display::fit_texture(int width, int height)
{
    if (m_texture && m_texture_width == width && m_texture_height == height)
        return true;
    if (m_texture)
        SDL_DestroyTexture(m_texture);
    m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
    m_texture_width = m_texture ? width : 0;
    m_texture_height = m_texture ? height : 0;
    return m_texture != nullptr;
}

bool Sdl2Display::present(const FrameView& frame)
{
    if (!m_renderer || !frame.pixels || frame.width <= 0 || frame.height <= 0 || frame.pitch < frame.width * 4)
        return false;
    if (!fit_texture(frame.width, frame.height))
        return false;
    if (SDL_UpdateTexture(m_texture, nullptr, frame.pixels, frame.pitch) != 0)
        return false;
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    SDL_RenderPresent(m_renderer);
    return true;
}

ScreenSize Sdl2Display::screen_size() const
{
    SDL_DisplayMode mode;
    int index = m_window ? SDL_GetWindowDisplayIndex(m_window) : 0;
    if (!m_started || SDL_GetDesktopDisplayMode(index < 0 ? 0 : index, &mode) != 0)
        return {};
    return {mode.w, mode.h};
}

}  // namespace quillon::platform
