// HeadlessDisplay: a display without a window that keeps the last presented frame in memory.
#pragma once

#include "platform/display.h"

#include <cstdint>
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

    const WindowPlacement& placement() const { return m_placement; }
    const std::string& caption() const { return m_caption; }
    bool visible() const { return m_visible; }
    // The last frame presented since the display was created; kept when the window closes.
    const Frame& last_frame() const { return m_frame; }
    int frame_count() const { return m_frame_count; }
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
};

}  // namespace quillon::platform
