// Sdl2Display: an SDL2 window whose frames are scaled in through a renderer and a streaming texture.
#include "platform/sdl2/sdl2_display.h"

#include "platform/sdl2/sdl2_subsystems.h"
#include "support/win1252.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdio>

namespace quillon::platform {

Sdl2Display::Sdl2Display()
    : m_started(sdl2_start(SDL_INIT_VIDEO))
{
}

Sdl2Display::~Sdl2Display()
{
    close();
    if (m_cursor)
        SDL_FreeCursor(m_cursor);
    if (m_started)
        sdl2_stop(SDL_INIT_VIDEO);
}

bool Sdl2Display::open(const WindowPlacement& placement, std::string_view caption)
{
    // A window left open by the game before (a restarted game) is fitted to the new placement and kept.
    bool full_screen = m_window && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    if (m_window && full_screen == placement.full_screen && placement.width > 0 && placement.height > 0) {
        SDL_SetWindowBordered(m_window, placement.border ? SDL_TRUE : SDL_FALSE);
        SDL_SetWindowSize(m_window, placement.width, placement.height);
        SDL_SetWindowPosition(m_window, placement.left, placement.top);
        SDL_SetWindowTitle(m_window, win1252_to_utf8(caption).c_str());
        return true;
    }
    close();
    if (!m_started || placement.width <= 0 || placement.height <= 0)
        return false;
    Uint32 flags = SDL_WINDOW_HIDDEN | (placement.border ? 0 : SDL_WINDOW_BORDERLESS)
        | (placement.full_screen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0)
        | (placement.stay_on_top ? SDL_WINDOW_ALWAYS_ON_TOP : 0);
    m_window = SDL_CreateWindow(win1252_to_utf8(caption).c_str(), placement.left, placement.top, placement.width,
        placement.height, flags);
    if (m_window) {
        sdl2_window_opened(m_window);
        m_renderer = SDL_CreateRenderer(m_window, -1, m_vsync ? SDL_RENDERER_PRESENTVSYNC : 0);
    }
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
    if (m_window) {
        sdl2_window_closed(m_window);
        SDL_DestroyWindow(m_window);
    }
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
    return draw_frame(frame, nullptr);
}

bool Sdl2Display::present_scaled(const FrameView& frame, const OutputArea& area)
{
    return draw_frame(frame, &area);
}

// The frame into the whole client area, or into the given area with black around it.
bool Sdl2Display::draw_frame(const FrameView& frame, const OutputArea* area)
{
    if (!m_renderer || !frame.pixels || frame.width <= 0 || frame.height <= 0 || frame.pitch < frame.width * 4)
        return false;
    if (!fit_texture(frame.width, frame.height))
        return false;
    if (SDL_UpdateTexture(m_texture, nullptr, frame.pixels, frame.pitch) != 0)
        return false;
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    SDL_Rect target {};
    if (area)
        target = {area->left, area->top, area->width, area->height};
    SDL_RenderCopy(m_renderer, m_texture, nullptr, area ? &target : nullptr);
    SDL_RenderPresent(m_renderer);
    return true;
}

std::uint64_t Sdl2Display::native_handle() const
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!m_window || !SDL_GetWindowWMInfo(m_window, &info))
        return 0;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11)
        return info.info.x11.window;
#endif
    return 0;
}

ScreenSize Sdl2Display::screen_size() const
{
    SDL_DisplayMode mode;
    int index = m_window ? SDL_GetWindowDisplayIndex(m_window) : 0;
    if (!m_started || SDL_GetDesktopDisplayMode(index < 0 ? 0 : index, &mode) != 0)
        return {};
    return {mode.w, mode.h};
}

bool Sdl2Display::place(const WindowPlacement& placement)
{
    if (!m_window)
        return false;
    if (placement.full_screen) {
        // A window already in its own display mode stays in it.
        if (!(SDL_GetWindowFlags(m_window) & SDL_WINDOW_FULLSCREEN))
            SDL_SetWindowFullscreen(m_window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(m_window, 0);
        SDL_SetWindowBordered(m_window, placement.border ? SDL_TRUE : SDL_FALSE);
        SDL_SetWindowSize(m_window, placement.width, placement.height);
        SDL_SetWindowPosition(m_window, placement.left, placement.top);
    }
    SDL_SetWindowAlwaysOnTop(m_window, placement.stay_on_top ? SDL_TRUE : SDL_FALSE);
    return true;
}

ScreenSize Sdl2Display::client_size() const
{
    if (!m_renderer)
        return {};
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(m_renderer, &width, &height);
    return {width, height};
}

std::optional<PointerPosition> Sdl2Display::client_position() const
{
    if (!m_window)
        return std::nullopt;
    PointerPosition position;
    SDL_GetWindowPosition(m_window, &position.x, &position.y);
    return position;
}

bool Sdl2Display::enter_exclusive(const DisplayMode& mode)
{
    if (!m_window)
        return false;
    int display = SDL_GetWindowDisplayIndex(m_window);
    SDL_DisplayMode wanted {SDL_PIXELFORMAT_UNKNOWN, mode.width, mode.height, mode.refresh_rate, nullptr};
    SDL_DisplayMode closest {};
    if (!SDL_GetClosestDisplayMode(display < 0 ? 0 : display, &wanted, &closest) || closest.w != mode.width
        || closest.h != mode.height || (mode.refresh_rate != 0 && closest.refresh_rate != mode.refresh_rate))
        return false;
    if (SDL_SetWindowDisplayMode(m_window, &closest) != 0)
        return false;
    return SDL_SetWindowFullscreen(m_window, SDL_WINDOW_FULLSCREEN) == 0;
}

void Sdl2Display::set_vsync(bool wait)
{
    m_vsync = wait;
    if (m_renderer)
        SDL_RenderSetVSync(m_renderer, wait ? 1 : 0);
}

bool Sdl2Display::set_gamma_ramp(const GammaRamp& ramp)
{
    return m_window && SDL_SetWindowGammaRamp(m_window, ramp.red.data(), ramp.green.data(), ramp.blue.data()) == 0;
}

namespace {

// The system shape nearest to each of the game's cursor numbers 0 to -22 (-1, no cursor, is handled apart).
SDL_SystemCursor system_cursor(int cursor)
{
    switch (cursor) {
    case -3: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case -4: return SDL_SYSTEM_CURSOR_IBEAM;
    case -6: return SDL_SYSTEM_CURSOR_SIZENESW;
    case -7: case -15: return SDL_SYSTEM_CURSOR_SIZENS;
    case -8: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case -9: case -14: return SDL_SYSTEM_CURSOR_SIZEWE;
    case -11: return SDL_SYSTEM_CURSOR_WAIT;
    case -13: case -18: return SDL_SYSTEM_CURSOR_NO;
    case -17: case -19: return SDL_SYSTEM_CURSOR_WAITARROW;
    case -21: return SDL_SYSTEM_CURSOR_HAND;
    case -22: return SDL_SYSTEM_CURSOR_SIZEALL;
    default: return SDL_SYSTEM_CURSOR_ARROW;
    }
}

}  // namespace

void Sdl2Display::set_cursor(int cursor)
{
    if (!m_started)
        return;
    if (cursor == -1) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    SDL_Cursor* shape = SDL_CreateSystemCursor(system_cursor(cursor));
    if (shape) {
        SDL_SetCursor(shape);
        if (m_cursor)
            SDL_FreeCursor(m_cursor);
        m_cursor = shape;
    }
    SDL_ShowCursor(SDL_ENABLE);
}

PointerPosition Sdl2Display::screen_pointer_position() const
{
    int x = 0;
    int y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    return {x, y};
}

PointerPosition Sdl2Display::pointer_position() const
{
    if (!m_window)
        return {};
    int screen_x = 0;
    int screen_y = 0;
    int window_x = 0;
    int window_y = 0;
    SDL_GetGlobalMouseState(&screen_x, &screen_y);
    SDL_GetWindowPosition(m_window, &window_x, &window_y);
    return {screen_x - window_x, screen_y - window_y};
}

}  // namespace quillon::platform
