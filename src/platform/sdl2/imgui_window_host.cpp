// ImguiWindowHost: one SDL window with its renderer and its own Dear ImGui context.
#include "platform/sdl2/imgui_window_host.h"

#include "platform/fonts.h"
#include "platform/sdl2/sdl2_subsystems.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>

#include <string>

namespace quillon::platform {

namespace {

constexpr const char* TOOL_WINDOW_MARK = "quillon.tool_window";
constexpr float FONT_PIXELS = 14.0f;

}  // namespace

bool belongs_to_tool_window(const SDL_Event& event)
{
    std::uint32_t id = sdl2_event_window(event);
    SDL_Window* window = id ? SDL_GetWindowFromID(id) : nullptr;
    return window && SDL_GetWindowData(window, TOOL_WINDOW_MARK);
}

ImguiWindowHost::~ImguiWindowHost() { close(); }

bool ImguiWindowHost::open(std::string_view caption, int left, int top, int width, int height)
{
    close();
    m_started = sdl2_start(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    if (!m_started)
        return false;
    std::string title(caption);
    m_window = SDL_CreateWindow(title.c_str(), left, top, width, height,
        SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_UTILITY);
    if (m_window)
        // Drawn in software: a small window redrawn a few times a second needs no graphics context of its own.
        m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
    if (!m_renderer) {
        close();
        return false;
    }
    SDL_SetWindowData(m_window, TOOL_WINDOW_MARK, this);
    m_window_id = SDL_GetWindowID(m_window);
    // 1. The context, without files of its own and without touching the game's cursor.
    ImGuiContext* previous = ImGui::GetCurrentContext();
    m_context = ImGui::CreateContext();
    ImGui::SetCurrentContext(m_context);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    io.ConfigFlags |= ImGuiConfigFlags_NoMouseCursorChange;
    ImGui::StyleColorsLight();
    // 2. The fixed-pitch font for everything (ImGui reads outline fonts only, else its own), then the backends.
    auto file = fixed_pitch_font_file();
    std::string extension = file ? file->extension().string() : std::string();
    if (extension == ".ttf" || extension == ".otf")
        m_fixed_font = io.Fonts->AddFontFromFileTTF(file->c_str(), FONT_PIXELS);
    if (!m_fixed_font)
        m_fixed_font = io.Fonts->AddFontDefault();
    ImGui_ImplSDL2_InitForSDLRenderer(m_window);
    ImGui_ImplSDLRenderer_Init(m_renderer);
    ImGui::SetCurrentContext(previous);
    SDL_AddEventWatch(watch_events, this);
    return true;
}

void ImguiWindowHost::close()
{
    if (m_context) {
        SDL_DelEventWatch(watch_events, this);
        ImGuiContext* previous = ImGui::GetCurrentContext();
        ImGui::SetCurrentContext(m_context);
        ImGui_ImplSDLRenderer_Shutdown();
        ImGui_ImplSDL2_Shutdown();
        ImGui::DestroyContext(m_context);
        ImGui::SetCurrentContext(previous == m_context ? nullptr : previous);
        m_context = nullptr;
    }
    if (m_renderer)
        SDL_DestroyRenderer(m_renderer);
    if (m_window)
        SDL_DestroyWindow(m_window);
    m_renderer = nullptr;
    m_window = nullptr;
    m_window_id = 0;
    m_visible = false;
    if (m_started)
        sdl2_stop(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    m_started = false;
}

void ImguiWindowHost::set_caption(std::string_view caption)
{
    if (m_window)
        SDL_SetWindowTitle(m_window, std::string(caption).c_str());
}

void ImguiWindowHost::set_visible(bool visible)
{
    if (!m_window || visible == m_visible)
        return;
    m_visible = visible;
    if (visible) {
        // The game keeps the keyboard: a tool window that appears does not take it.
        const char* before = SDL_GetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN);
        std::string previous = before ? before : "0";
        SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, "1");
        SDL_ShowWindow(m_window);
        SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, previous.c_str());
    }
    else
        SDL_HideWindow(m_window);
}

bool ImguiWindowHost::take_close_request()
{
    bool requested = m_close_requested;
    m_close_requested = false;
    return requested;
}

// Called by SDL as events enter its queue, on the thread that pumps them: the game's thread.
int ImguiWindowHost::watch_events(void* user_data, SDL_Event* event)
{
    auto* host = static_cast<ImguiWindowHost*>(user_data);
    if (sdl2_event_window(*event) == host->m_window_id)
        host->handle(*event);
    return 0;
}

void ImguiWindowHost::handle(const SDL_Event& event)
{
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) {
        m_close_requested = true;
        return;
    }
    // A click makes the window the one that gets the keyboard (a window manager would, but not every desktop has
    // one), so that what is typed next goes to it and not to the game.
    if (event.type == SDL_MOUSEBUTTONDOWN && SDL_GetKeyboardFocus() != m_window)
        SDL_SetWindowInputFocus(m_window);
    ImGuiContext* previous = ImGui::GetCurrentContext();
    ImGui::SetCurrentContext(m_context);
    ImGui_ImplSDL2_ProcessEvent(&event);
    ImGui::SetCurrentContext(previous);
}

void ImguiWindowHost::begin_frame()
{
    ImGui::SetCurrentContext(m_context);
    ImGui_ImplSDLRenderer_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    // The backend captures the mouse for the window that has the keyboard while a button is down; when that is
    // the game's window the capture would hand this window's clicks to the game, so it is let go.
    if (SDL_GetKeyboardFocus() != m_window)
        SDL_CaptureMouse(SDL_FALSE);
    ImGui::NewFrame();
}

void ImguiWindowHost::end_frame()
{
    ImGui::Render();
    SDL_SetRenderDrawColor(m_renderer, 240, 240, 240, 255);
    SDL_RenderClear(m_renderer);
    ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
    SDL_RenderPresent(m_renderer);
    ImGui::SetCurrentContext(nullptr);
}

}  // namespace quillon::platform
