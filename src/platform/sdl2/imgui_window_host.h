// ImguiWindowHost: one SDL window with its renderer and its own Dear ImGui context, fed with that window's events.
#pragma once

#include <cstdint>
#include <string_view>

struct SDL_Window;
struct SDL_Renderer;
struct ImGuiContext;
struct ImFont;
union SDL_Event;

namespace quillon::platform {

// Events of the window go to its ImGui context as they enter SDL's queue; the game's input skips windows marked
// as tool windows, so the game never sees them.
class ImguiWindowHost {
public:
    ImguiWindowHost() = default;
    ~ImguiWindowHost();
    ImguiWindowHost(const ImguiWindowHost&) = delete;
    ImguiWindowHost& operator=(const ImguiWindowHost&) = delete;

    // A window always on top at (left, top) with a UTF-8 caption; false when SDL refuses.
    bool open(std::string_view caption, int left, int top, int width, int height);
    void close();
    bool is_open() const { return m_window != nullptr; }
    void set_caption(std::string_view caption);
    void set_visible(bool visible);
    bool visible() const { return m_visible; }

    // The user asked to close the window since the last call.
    bool take_close_request();

    // Starts a frame in this window's context; end_frame draws and shows it.
    void begin_frame();
    void end_frame();
    // The fixed-pitch font, or ImGui's own when no such font file was found.
    ImFont* fixed_font() const { return m_fixed_font; }

private:
    static int watch_events(void* user_data, SDL_Event* event);
    void handle(const SDL_Event& event);

    SDL_Window* m_window = nullptr;       // the window, while open
    SDL_Renderer* m_renderer = nullptr;   // draws into it
    ImGuiContext* m_context = nullptr;    // its ImGui state
    ImFont* m_fixed_font = nullptr;       // "Courier New" or its metric twin
    std::uint32_t m_window_id = 0;        // SDL's id of the window
    bool m_started = false;               // the video subsystem is ours to stop
    bool m_visible = false;               // shown on screen
    bool m_close_requested = false;       // the close button was pressed
};

// Whether the event belongs to a tool window (a debug or information window) rather than to the game's.
bool belongs_to_tool_window(const SDL_Event& event);

}  // namespace quillon::platform
