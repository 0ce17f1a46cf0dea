// Sdl2FormWindow: a top-level SDL2 window for one of the runner's own dialogs.
#include "platform/sdl2/sdl2_form_window.h"

#include "platform/sdl2/imgui_window_host.h"
#include "platform/sdl2/sdl2_input.h"
#include "platform/sdl2/sdl2_subsystems.h"
#include "support/win1252.h"

#include <SDL.h>

#include <cstdio>

namespace quillon::platform {

namespace {

constexpr Uint32 SUBSYSTEMS = SDL_INIT_VIDEO | SDL_INIT_EVENTS;

// Input that belongs to some window: it reaches that window only.
bool is_window_input(Uint32 type)
{
    switch (type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_TEXTINPUT:
    case SDL_TEXTEDITING:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
        return true;
    default:
        return false;
    }
}

} // namespace

Sdl2FormWindow::Sdl2FormWindow()
    : m_started(sdl2_start(SUBSYSTEMS))
{
}

Sdl2FormWindow::~Sdl2FormWindow()
{
    close();
    if (m_started)
        sdl2_stop(SUBSYSTEMS);
}

bool Sdl2FormWindow::open(const WindowPlacement& placement, std::string_view caption)
{
    close();
    if (!m_started || placement.width <= 0 || placement.height <= 0)
        return false;
    Uint32 flags = SDL_WINDOW_HIDDEN | (placement.border ? 0 : SDL_WINDOW_BORDERLESS)
        | (placement.stay_on_top ? SDL_WINDOW_ALWAYS_ON_TOP : 0);
    m_window = SDL_CreateWindow(
        win1252_to_utf8(caption).c_str(), placement.left, placement.top, placement.width, placement.height, flags);
    if (m_window)
        // Drawn in software: a dialog shows a few frames and needs no graphics context of its own.
        m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
    if (!m_renderer) {
        std::fprintf(stderr, "form: cannot open a window: %s\n", SDL_GetError());
        close();
        return false;
    }
    m_window_id = SDL_GetWindowID(m_window);
    if (SDL_Window* owner = sdl2_owner_window())
        SDL_SetWindowModalFor(m_window, owner);
    m_pointer_shown_before = SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE;
    SDL_ShowCursor(SDL_ENABLE);
    return true;
}

void Sdl2FormWindow::show_pointer(bool shown)
{
    if (m_window)
        SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

void Sdl2FormWindow::close()
{
    if (m_texture)
        SDL_DestroyTexture(m_texture);
    if (m_renderer)
        SDL_DestroyRenderer(m_renderer);
    if (m_window) {
        SDL_DestroyWindow(m_window);
        SDL_ShowCursor(m_pointer_shown_before ? SDL_ENABLE : SDL_DISABLE);
    }
    m_texture = nullptr;
    m_renderer = nullptr;
    m_window = nullptr;
    m_texture_width = m_texture_height = 0;
    m_window_id = 0;
    m_shown = false;
    m_pointer_shown_before = true;
    // What the game would have had meanwhile (quit requests, joysticks, its window's events) reaches it now.
    for (SDL_Event& event : m_kept)
        SDL_PushEvent(&event);
    m_kept.clear();
}

bool Sdl2FormWindow::present(const FrameView& frame)
{
    if (!m_renderer || !frame.pixels || frame.width <= 0 || frame.height <= 0 || frame.pitch < frame.width * 4)
        return false;
    if (!m_texture || m_texture_width != frame.width || m_texture_height != frame.height) {
        if (m_texture)
            SDL_DestroyTexture(m_texture);
        m_texture = SDL_CreateTexture(
            m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, frame.width, frame.height);
        m_texture_width = m_texture ? frame.width : 0;
        m_texture_height = m_texture ? frame.height : 0;
    }
    if (!m_texture || SDL_UpdateTexture(m_texture, nullptr, frame.pixels, frame.pitch) != 0)
        return false;
    show_texture();
    if (!m_shown) {
        SDL_ShowWindow(m_window);
        SDL_RaiseWindow(m_window);
        m_shown = true;
        show_texture();
    }
    return true;
}

// The last frame at its own size from the top left corner.
void Sdl2FormWindow::show_texture()
{
    if (!m_texture)
        return;
    SDL_Rect target { 0, 0, m_texture_width, m_texture_height };
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, &target);
    SDL_RenderPresent(m_renderer);
}

void Sdl2FormWindow::route(const SDL_Event& sdl, std::vector<Event>& events)
{
    // 1. The tool windows took their events as they came.
    if (belongs_to_tool_window(sdl))
        return;
    std::uint32_t window = sdl2_event_window(sdl);
    // 2. This window's: its input, closing, focus; an exposed window is redrawn here.
    if (window == m_window_id && m_window_id != 0) {
        if (sdl.type == SDL_WINDOWEVENT && sdl.window.event == SDL_WINDOWEVENT_EXPOSED)
            show_texture();
        else
            append_sdl2_event(sdl, events);
        return;
    }
    // 3. Other windows take no input while the form is open; the rest waits for the game.
    if (!is_window_input(sdl.type))
        m_kept.push_back(sdl);
}

bool Sdl2FormWindow::wait(std::vector<Event>& events, int timeout_ms)
{
    if (!m_window)
        return false;
    std::size_t before = events.size();
    Uint64 deadline = SDL_GetTicks64() + static_cast<Uint64>(timeout_ms > 0 ? timeout_ms : 0);
    SDL_Event sdl;
    for (;;) {
        // Once something came, only what is already queued is taken.
        Uint64 now = SDL_GetTicks64();
        int left = events.size() > before || now >= deadline ? 0 : static_cast<int>(deadline - now);
        if (!(left > 0 ? SDL_WaitEventTimeout(&sdl, left) : SDL_PollEvent(&sdl)))
            break;
        route(sdl, events);
    }
    return events.size() > before;
}

ScreenSize Sdl2FormWindow::screen_size() const
{
    SDL_Window* owner = sdl2_owner_window();
    int index = owner ? SDL_GetWindowDisplayIndex(owner) : 0;
    SDL_DisplayMode mode;
    if (!m_started || SDL_GetDesktopDisplayMode(index < 0 ? 0 : index, &mode) != 0)
        return {};
    return { mode.w, mode.h };
}

} // namespace quillon::platform
