// HeadlessDisplay: a display without a window that keeps the last presented frame and the window state in memory.
#include "platform/headless/headless_display.h"

#include "platform/headless/png_writer.h"

#include <algorithm>
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
    m_exclusive.reset();
}

bool HeadlessDisplay::place(const WindowPlacement& placement)
{
    if (!m_open)
        return false;
    m_placement = placement;
    if (!placement.full_screen)
        m_exclusive.reset();
    return true;
}

ScreenSize HeadlessDisplay::client_size() const
{
    if (!m_open)
        return {};
    if (m_exclusive)
        return {m_exclusive->width, m_exclusive->height};
    if (m_placement.full_screen)
        return m_screen;
    return {m_placement.width, m_placement.height};
}

// The client area as the player would see it: black, with the frame scaled (nearest pixel) into the area.
bool HeadlessDisplay::present_scaled(const FrameView& frame, const OutputArea& area)
{
    if (!m_open || !frame.pixels || frame.width <= 0 || frame.height <= 0 || frame.pitch < frame.width * 4)
        return false;
    ScreenSize client = client_size();
    if (!m_keep_frames || (area == OutputArea {0, 0, client.width, client.height} && area.width == frame.width
        && area.height == frame.height))
        return present(frame);
    m_frame.width = client.width;
    m_frame.height = client.height;
    m_frame.pixels.assign(static_cast<std::size_t>(client.width) * client.height, 0);
    const auto* source = reinterpret_cast<const unsigned char*>(frame.pixels);
    int top = std::max(area.top, 0);
    int bottom = std::min(area.top + area.height, client.height);
    int left = std::max(area.left, 0);
    int right = std::min(area.left + area.width, client.width);
    m_columns.resize(std::max(right - left, 0));
    for (int x = left; x < right; ++x)
        m_columns[x - left] = static_cast<int>(static_cast<std::int64_t>(x - area.left) * frame.width / area.width);
    for (int y = top; y < bottom; ++y) {
        int from_y = static_cast<int>(static_cast<std::int64_t>(y - area.top) * frame.height / area.height);
        const auto* row = reinterpret_cast<const std::uint32_t*>(source + static_cast<std::size_t>(from_y) * frame.pitch);
        std::uint32_t* out = m_frame.pixels.data() + static_cast<std::size_t>(y) * client.width + left;
        for (int x = 0; x < right - left; ++x)
            out[x] = row[m_columns[x]];
    }
    ++m_frame_count;
    return true;
}

bool HeadlessDisplay::enter_exclusive(const DisplayMode& mode)
{
    if (!m_open)
        return false;
    bool offered = m_modes.empty() || std::any_of(m_modes.begin(), m_modes.end(), [&](const DisplayMode& m) {
        return m.width == mode.width && m.height == mode.height && m.bits_per_pixel == mode.bits_per_pixel
            && (mode.refresh_rate == 0 || m.refresh_rate == mode.refresh_rate);
    });
    if (!offered)
        return false;
    m_exclusive = mode;
    m_placement.full_screen = true;
    return true;
}

bool HeadlessDisplay::set_gamma_ramp(const GammaRamp& ramp)
{
    if (!m_open)
        return false;
    m_gamma = ramp;
    return true;
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
    ++m_frame_count;
    if (!m_keep_frames)
        return true;
    m_frame.width = frame.width;
    m_frame.height = frame.height;
    m_frame.pixels.resize(static_cast<std::size_t>(frame.width) * frame.height);
    const auto* source = reinterpret_cast<const unsigned char*>(frame.pixels);
    for (int y = 0; y < frame.height; ++y) {
        std::memcpy(m_frame.pixels.data() + static_cast<std::size_t>(y) * frame.width,
            source + static_cast<std::size_t>(y) * frame.pitch, static_cast<std::size_t>(frame.width) * 4);
    }
    return true;
}

bool HeadlessDisplay::save_png(const std::string& path) const
{
    if (m_frame.pixels.empty())
        return false;
    return write_png(path, m_frame.pixels.data(), m_frame.width, m_frame.height);
}

}  // namespace quillon::platform
