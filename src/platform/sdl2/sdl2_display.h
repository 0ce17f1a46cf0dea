// Sdl2Display: an SDL2 window whose frames are scaled in through a renderer and a streaming texture.
#pragma once

#include "platform/display.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;

namespace quillon::platform {

class Sdl2Display final : public Display {
public:
    Sdl2Display();
    ~Sdl2Display() override;
    Sdl2Display(const Sdl2Display&) = delete;
    Sdl2Display& operator=(const Sdl2Display&) = delete;

    bool open(const WindowPlacement& placement, std::string_view caption) override;
    void close() override;
    bool is_open() const override { return m_window != nullptr; }
    void set_caption(std::string_view caption) override;
    void set_visible(bool visible) override;
    bool present(const FrameView& frame) override;
    ScreenSize screen_size() const override;
    bool place(const WindowPlacement& placement) override;
    ScreenSize client_size() const override;
    std::optional<PointerPosition> client_position() const override;
    bool present_scaled(const FrameView& frame, const OutputArea& area) override;
    bool enter_exclusive(const DisplayMode& mode) override;
    void set_vsync(bool wait) override;
    bool set_gamma_ramp(const GammaRamp& ramp) override;
    void set_cursor(int cursor) override;
    PointerPosition pointer_position() const override;
    PointerPosition screen_pointer_position() const override;
    std::uint64_t native_handle() const override;

private:
    bool fit_texture(int width, int height);
    bool draw_frame(const FrameView& frame, const OutputArea* area);

    bool m_started;                       // the video subsystem is ours to stop
    SDL_Window* m_window = nullptr;       // the open window, if any
    SDL_Renderer* m_renderer = nullptr;   // draws into m_window
    SDL_Texture* m_texture = nullptr;     // streaming, the size of the last frame
    int m_texture_width = 0;              // size of m_texture
    int m_texture_height = 0;             // size of m_texture
    bool m_vsync = false;                 // presenting waits for the vertical blank
    SDL_Cursor* m_cursor = nullptr;       // the system cursor in use, if one was made
};

}  // namespace quillon::platform
