// Screen: the game window, the screen buffer every frame is drawn into, its regions, and presenting it.
#include "graphics/screen.h"

#include "code/value.h"
#include "graphics/drawing_state.h"
#include "support/bmp_file.h"
#include "support/game_error.h"
#include "support/picture_file.h"

#include <algorithm>
#include <fstream>
#include <utility>

namespace quillon {

namespace {

void report_graphics_error(std::string_view message)
{
    report_game_error("ERROR in handling graphics:\r" + std::string(message));
}

bool write_file(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

Screen::Screen(platform::Display& display, const GameSettings& settings)
    : m_display(display)
    , m_settings(settings)
{
}

bool Screen::start(const ScreenStart& start)
{
    // 1. A running screen starts over.
    if (m_initialised)
        shut_down();
    // 2. and 3. The first size, the mode and the scales.
    m_width = start.start_width;
    m_height = start.start_height;
    m_exclusive = start.exclusive;
    m_full_screen = start.full_screen || start.exclusive;
    m_window_scale = start.window_scale > 0 ? start.window_scale : 1.0;
    m_full_scale = start.full_scale;
    m_presented = false;
    // 4. and 5. The window, then the display mode when the display is to be ours.
    if (!open_window())
        return false;
    if (m_exclusive && !enter_exclusive(start))
        m_exclusive = false;
    // 6. The screen buffer, its regions, black.
    if (!make_buffer()) {
        m_display.close();
        return false;
    }
    // 7. Stretching costs the renderer nothing, so both scales stay as asked.
    // 8. Ready to draw with a fresh pen and brush, with the output rectangle known before the first frame.
    drawing_state() = DrawingState();
    m_display.set_vsync(m_settings.wait_for_vertical_blank);
    m_output = output_rectangle(m_full_screen, m_display.client_size(), m_width, m_height, m_window_scale, m_full_scale);
    m_initialised = true;
    return true;
}

bool Screen::open_window()
{
    if (m_display.open(layout(), m_caption))
        return true;
    report_graphics_error("Failed to create primary DirectDraw surface.");
    return false;
}

// The asked mode, then the same at the default refresh, then 800 x 600 at 16 bits.
bool Screen::enter_exclusive(const ScreenStart& start)
{
    platform::DisplayMode mode = exclusive_mode(start.resolution_width, start.refresh_rate, start.color_depth);
    if (m_display.enter_exclusive(mode))
        return true;
    mode.refresh_rate = 0;
    if (m_display.enter_exclusive(mode))
        return true;
    return m_display.enter_exclusive({800, 600, 16, 0});
}

bool Screen::make_buffer()
{
    m_regions.detach();
    m_buffer.emplace(m_width, m_height, false, 0, true);
    if (!m_buffer->has_surface()) {
        m_buffer.reset();
        return false;
    }
    m_regions.reset(*m_buffer);
    m_buffer->Clear(0);
    return true;
}

void Screen::shut_down()
{
    if (!m_initialised)
        return;
    m_regions.detach();
    m_buffer.reset();
    m_last_frame.reset();
    m_window_image.reset();
    m_window_image_current = false;
    if (!m_keep_window)
        m_display.close();
    m_initialised = false;
    m_exclusive = false;
}

void Screen::place_window()
{
    m_display.place(layout());
}

platform::WindowPlacement Screen::layout() const
{
    WindowStyle style {m_settings.no_window_border, m_settings.no_caption_buttons, m_exclusive};
    return window_layout(m_full_screen, round_to_int32(m_width * m_window_scale),
        round_to_int32(m_height * m_window_scale), m_display.screen_size(), style);
}

// The window stands where it was placed unless the player moved it.
platform::WindowPlacement Screen::window_placement() const
{
    platform::WindowPlacement placement = layout();
    if (placement.full_screen)
        return placement;
    if (std::optional<platform::PointerPosition> position = m_display.client_position()) {
        placement.left = position->x;
        placement.top = position->y;
    }
    return placement;
}

void Screen::set_size(int width, int height)
{
    if (!m_initialised)
        return;
    if (width != m_width || height != m_height) {
        m_width = width;
        m_height = height;
        make_buffer();
        place_window();
    }
    if (m_presented)
        m_display.set_visible(true);
}

void Screen::set_full_screen(bool full_screen)
{
    if (!m_initialised || m_exclusive || full_screen == m_full_screen)
        return;
    m_full_screen = full_screen;
    place_window();
}

void Screen::set_window_scale(double scale)
{
    scale = scale > 0 ? scale : 1.0;
    if (scale == m_window_scale)
        return;
    m_window_scale = scale;
    if (m_initialised)
        place_window();
}

void Screen::set_full_scale(double scale)
{
    // The present clears around the image, so a smaller image leaves black around it by itself.
    m_full_scale = scale;
}

void Screen::clear(bool draw, Color color)
{
    if (draw && m_buffer)
        m_buffer->Clear(color);
}

void Screen::paint_caption()
{
    bool caption_hidden = m_full_screen || m_settings.no_window_border;
    if (!m_settings.draw_caption || !caption_hidden || m_caption.empty() || !m_caption_painter)
        return;
    int region = m_regions.current();
    m_regions.select(-1);
    SurfaceCanvas canvas = m_buffer->GetCanvas();
    m_caption_painter(canvas, m_caption);
    m_regions.select(region);
}

void Screen::present()
{
    // 1. Only a running screen; a requested transition is used up either way.
    TransitionRequest transition = std::exchange(m_transition, TransitionRequest {});
    if (!m_initialised || !m_buffer)
        return;
    // 2. The caption inside the image when the window shows none.
    paint_caption();
    // 3. Where the image goes, then the image: through the transition when one is asked for, which then
    // draws the whole of this frame (or, for a kind it does not know, nothing).
    m_output = output_rectangle(m_full_screen, m_display.client_size(), m_width, m_height, m_window_scale, m_full_scale);
    if (transition.kind != 0)
        run_transition(transition);
    else
        show_buffer();
}

void Screen::show_buffer()
{
    SurfaceCanvas canvas = m_buffer->GetCanvas();
    m_display.present_scaled({canvas.pixels, canvas.width, canvas.height, canvas.pitch}, m_output.area);
    if (!m_presented) {
        m_presented = true;
        m_display.set_visible(true);
    }
    // A transition that comes later starts from this frame; the copy reuses its memory while the size stays.
    if (!m_last_frame || m_last_frame->width() != m_width || m_last_frame->height() != m_height)
        m_last_frame.emplace(m_width, m_height, false, 0, true);
    m_last_frame->DrawPart(0, 0, {0, 0, m_width, m_height}, *m_buffer, false, 1, 1);
    m_last_area = m_output.area;
    m_window_image_current = false;
}

// The window image at the client area's size, showing what the window shows: black around the last frame.
bool Screen::prepare_window_image()
{
    platform::ScreenSize client = m_display.client_size();
    if (client.width < 1 || client.height < 1)
        return false;
    if (!m_window_image || m_window_image->width() != client.width || m_window_image->height() != client.height) {
        m_window_image.emplace(client.width, client.height, false, 0, true);
        m_window_image_current = false;
    }
    if (!m_window_image->has_surface())
        return false;
    if (!m_window_image_current) {
        m_window_image->Clear(0);
        if (m_last_frame && m_last_frame->has_surface())
            m_window_image->Draw(m_last_area.left, m_last_area.top, *m_last_frame, false,
                double(m_last_area.width) / m_last_frame->width(), double(m_last_area.height) / m_last_frame->height());
        m_window_image_current = true;
    }
    const platform::OutputArea& area = m_output.area;
    m_window_image->set_clip({std::max(area.left, 0), std::max(area.top, 0),
        std::min(area.left + area.width, client.width), std::min(area.top + area.height, client.height)});
    return true;
}

// 1. Nothing for a kind it does not know or without steps; 2. each frame drawn over the window image, shown
// with the display waiting for the vertical blank, and followed by its share of the time.
void Screen::run_transition(const TransitionRequest& transition)
{
    int count = transition_frame_count(transition);
    if (count == 0 || !prepare_window_image())
        return;
    int delay = transition_frame_delay(transition);
    m_display.set_vsync(true);
    for (int frame = 1; frame <= count; ++frame) {
        draw_transition_frame(transition, frame, *m_window_image, *m_buffer, m_output);
        SurfaceCanvas canvas = m_window_image->GetCanvas();
        m_display.present_scaled({canvas.pixels, canvas.width, canvas.height, canvas.pitch},
            {0, 0, canvas.width, canvas.height});
        if (!m_presented) {
            m_presented = true;
            m_display.set_visible(true);
        }
        if (m_transition_frame_hook)
            m_transition_frame_hook(frame);
        if (m_clock && delay > 0)
            m_clock->sleep_ms(static_cast<std::uint32_t>(delay));
    }
    m_display.set_vsync(m_settings.wait_for_vertical_blank);
}

void Screen::mouse_position(int& x, int& y) const
{
    platform::PointerPosition pointer = m_display.pointer_position();
    window_to_room(pointer.x, pointer.y, x, y);
}

void Screen::window_to_room(int window_x, int window_y, int& x, int& y) const
{
    int rx = round_to_int32((window_x - m_output.origin_x) / m_output.scale);
    int ry = round_to_int32((window_y - m_output.origin_y) / m_output.scale);
    m_regions.room_position(rx, ry, x, y);
}

void Screen::set_caption(std::string_view caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    m_display.set_caption(m_caption);
}

void Screen::set_visible(bool visible)
{
    m_display.set_visible(visible);
}

// A rectangle of the surface; parts off the surface are black.
Bitmap24 Screen::capture(DDSurface& surface, const SurfaceRect& rect)
{
    Bitmap24 bitmap(rect.width(), rect.height());
    SurfaceCanvas canvas = surface.GetCanvas();
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, canvas.height); ++y) {
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, canvas.width); ++x)
            bitmap.set_pixel(x - rect.left, y - rect.top, pixel_to_color(canvas.at(x, y)));
    }
    return bitmap;
}

bool Screen::save(const std::filesystem::path& file, const SurfaceRect& rect)
{
    if (!m_buffer || rect.width() <= 0 || rect.height() <= 0)
        return false;
    return write_file(file, encode_bmp(capture(*m_buffer, rect)));
}

bool Screen::save_png(const std::filesystem::path& file)
{
    if (!m_buffer || m_width <= 0 || m_height <= 0)
        return false;
    return write_file(file, encode_png(capture(*m_buffer, {0, 0, m_width, m_height})));
}

bool Screen::save_transition_frame_png(const std::filesystem::path& file)
{
    const platform::OutputArea& area = m_output.area;
    if (!m_window_image || area.width <= 0 || area.height <= 0)
        return false;
    return write_file(file,
        encode_png(capture(*m_window_image, {area.left, area.top, area.left + area.width, area.top + area.height})));
}

void Screen::set_gamma(double red, double green, double blue)
{
    if (m_initialised && m_exclusive)
        m_display.set_gamma_ramp(gamma_ramp(red, green, blue));
}

}  // namespace quillon
