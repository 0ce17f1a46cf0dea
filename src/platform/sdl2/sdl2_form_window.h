// Sdl2FormWindow: a top-level SDL2 window for one of the runner's own dialogs, modal for the game's window,
// showing the frames the runner paints pixel for pixel and taking the input aimed at it.
#pragma once

#include "platform/form_window.h"

#include <cstdint>
#include <vector>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace quillon::platform {

class Sdl2FormWindow final : public FormWindow {
public:
    Sdl2FormWindow();
    ~Sdl2FormWindow() override;
    Sdl2FormWindow(const Sdl2FormWindow&) = delete;
    Sdl2FormWindow& operator=(const Sdl2FormWindow&) = delete;

    bool open(const WindowPlacement& placement, std::string_view caption) override;
    bool present(const FrameView& frame) override;
    bool wait(std::vector<Event>& events, int timeout_ms) override;
    void show_pointer(bool shown) override;
    ScreenSize screen_size() const override;
    void close() override;

private:
    // Sorts one event from SDL's queue: this window's input is appended, other windows' input is dropped, and
    // everything else is kept for the game.
    void route(const SDL_Event& sdl, std::vector<Event>& events);
    void show_texture();

    bool m_started; // the video and events subsystems are ours to stop
    SDL_Window* m_window = nullptr; // the open window, if any
    SDL_Renderer* m_renderer = nullptr; // draws into m_window
    SDL_Texture* m_texture = nullptr; // the last frame, kept to redraw the window when it is exposed
    int m_texture_width = 0; // size of m_texture
    int m_texture_height = 0; // size of m_texture
    std::uint32_t m_window_id = 0; // SDL's id of m_window
    bool m_shown = false; // the first frame came and the window shows
    bool m_pointer_shown_before = true; // whether the pointer showed before the form opened, put back at close
    std::vector<SDL_Event> m_kept; // events that are not input of any window, queued again at close
};

} // namespace quillon::platform
