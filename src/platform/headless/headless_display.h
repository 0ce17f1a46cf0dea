// HeadlessDisplay: a display without a window that keeps the last presented frame and the window state in memory.
#pragma once

#include "platform/display.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon::platform {

// A copy of a presented frame, packed (pitch = width * 4).
struct Frame {
    int width = 0;                        // pixels per row
    int height = 0;                       // rows
    std::vector<std::uint32_t> pixels;    // width * height pixels 0x00RRGGBB, rows top-down

    std::uint32_t pixel(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

class HeadlessDisplay final : public Display {
public:
    // The desktop size that windows are placed on; fixed, so that runs are reproducible.
    static constexpr ScreenSize DEFAULT_SCREEN {1920, 1080};

    explicit HeadlessDisplay(ScreenSize screen = DEFAULT_SCREEN);

    bool open(const WindowPlacement& placement, std::string_view caption) override;
    void close() override;
    bool is_open() const override { return m_open; }
    void set_caption(std::string_view caption) override;
    void set_visible(bool visible) override;
    bool present(const FrameView& frame) override;
    ScreenSize screen_size() const override { return m_screen; }
    bool place(const WindowPlacement& placement) override;
    ScreenSize client_size() const override;
    bool present_scaled(const FrameView& frame, const OutputArea& area) override;
    bool enter_exclusive(const DisplayMode& mode) override;
    void set_vsync(bool wait) override { m_vsync = wait; }
    bool set_gamma_ramp(const GammaRamp& ramp) override;
    void set_cursor(int cursor) override { m_cursor = cursor; }
    std::uint64_t native_handle() const override { return 0; }
    PointerPosition pointer_position() const override { return m_pointer; }
    // The pointer over the client area of the window where it was last placed.
    PointerPosition screen_pointer_position() const override
    {
        return {m_placement.left + m_pointer.x, m_placement.top + m_pointer.y};
    }

    const WindowPlacement& placement() const { return m_placement; }
    const std::string& caption() const { return m_caption; }
    bool visible() const { return m_visible; }
    // The last frame presented since the display was created; kept when the window closes.
    const Frame& last_frame() const { return m_frame; }
    int frame_count() const { return m_frame_count; }
    // The display mode of exclusive full screen, while the window is in it.
    const std::optional<DisplayMode>& exclusive_mode() const { return m_exclusive; }
    // The modes enter_exclusive accepts; every mode when empty.
    void set_available_modes(std::vector<DisplayMode> modes) { m_modes = std::move(modes); }
    bool vsync() const { return m_vsync; }
    const std::optional<GammaRamp>& gamma_ramp() const { return m_gamma; }
    int cursor() const { return m_cursor; }
    // Whether presenting keeps a copy of the frame (the default). Runs that never look at frames, such as
    // servers and benchmarks, can do without the copy; frames are still counted.
    void keep_frames(bool keep) { m_keep_frames = keep; }
    // Puts the pointer somewhere over (or beside) the client area, as scripted input does.
    void move_pointer(PointerPosition position) { m_pointer = position; }
    // Writes the last frame as an 8-bit RGB PNG file; false when there is none or the file cannot be written.
    bool save_png(const std::string& path) const;

private:
    ScreenSize m_screen;             // the pretended desktop
    bool m_open = false;             // between open and close
    bool m_visible = false;          // shown by set_visible
    WindowPlacement m_placement;     // as last opened
    std::string m_caption;           // Windows-1252 bytes
    Frame m_frame;                   // the last frame presented
    int m_frame_count = 0;           // frames presented so far
    std::optional<DisplayMode> m_exclusive;  // the mode while in exclusive full screen
    std::vector<DisplayMode> m_modes;        // modes on offer; empty offers every mode
    bool m_vsync = false;                    // presenting would wait for the vertical blank
    std::optional<GammaRamp> m_gamma;        // the ramp last set
    int m_cursor = 0;                        // the cursor number last set
    PointerPosition m_pointer;               // where the pointer is, in client coordinates
    std::vector<int> m_columns;              // present_scaled: the frame column of each client column
    bool m_keep_frames = true;               // presenting copies the frame into m_frame
};

}  // namespace quillon::platform
