// HeadlessDisplay: a display without a window that keeps the last presented frame in memory.
#include "platform/headless/headless_display.h"

#include "platform/headless/png_writer.h"

#include <cstring>

namespace quillon::platform {

HeadlessDisplay::HeadlessDisplay(ScreenSize screen)
    : m_screen(screen)
{
}

bool HeadlessDisplay::open(const WindowPlacement& placement, std::string_view caption)
{
    if (placement.width <= 0 || placement.height <= 0)
        return false;
    m_open = true;
    m_visible = false;
    m_placement = placement;
    m_caption = caption;
    return true;
}

void HeadlessDisplay::close()
{
    m_open = false;
    m_visible = false;
}

void HeadlessDisplay::set_caption(std::string_view caption)
{
    m_caption = caption;
}

void HeadlessDisplay::set_visible(bool visible)
{
    m_visible = m_open && visible;
}

bool HeadlessDisplay::present(const FrameView& frame)
{
    if (!m_open || !frame.pixels || frame.width <= 0 || frame.height <= 0 || frame.pitch < frame.width * 4)
        return false;
    m_frame.width = frame.width;
    m_frame.height = frame.height;
    m_frame.pixels.resize(static_cast<std::size_t>(frame.width) * frame.height);
    const auto* source = reinterpret_cast<const unsigned char*>(frame.pixels);
    for (int y = 0; y < frame.height; ++y) {
        std::memcpy(m_frame.pixels.data() + static_cast<std::size_t>(y) * frame.width,
            source + static_cast<std::size_t>(y) * frame.pitch, static_cast<std::size_t>(frame.width) * 4);
    }
    ++m_frame_count;
    return true;
}

bool HeadlessDisplay::save_png(const std::string& path) const
{
    if (m_frame.pixels.empty())
        return false;
    return write_png(path, m_frame.pixels.data(), m_frame.width, m_frame.height);
}

}  // namespace quillon::platform
