// Screen: the game window, the screen buffer every frame is drawn into, its regions, and presenting it.
#pragma once

#include "graphics/regions.h"
#include "graphics/screen_layout.h"
#include "graphics/transition.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "support/bitmap.h"
#include "support/settings.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace quillon {

// What screen start-up is given.
struct ScreenStart {
    bool exclusive = false;       // the display is ours in its own mode
    int resolution_width = 800;   // picks the exclusive mode
    int start_width = 640;        // the first screen buffer
    int start_height = 480;
    double full_scale = 1;        // 0 or less: as large as fits
    double window_scale = 1;      // 0 or less: 1
    bool full_screen = false;     // start full screen (always so when exclusive)
    int refresh_rate = 0;         // Hz for the exclusive mode; 0 the default
    int color_depth = 16;         // bits per pixel for the exclusive mode
};

// Writes the caption at the top left of the screen buffer when the window shows none of its own.
using CaptionPainter = std::function<void(SurfaceCanvas& canvas, std::string_view caption)>;
// Called after each frame of a transition has been shown, with its number (from 1).
using TransitionFrameHook = std::function<void(int frame)>;

class Screen {
public:
    Screen(platform::Display& display, const GameSettings& settings);

    // Opens the window and makes the screen buffer; false (window hidden) when either fails.
    bool start(const ScreenStart& start);
    void shut_down();
    // Shut-down then leaves the window open, for the next game to start in it.
    void keep_window_at_shut_down() { m_keep_window = true; }
    bool initialised() const { return m_initialised; }

    // A new, black screen buffer of the size when it differs (regions reset), and the window fitted to it.
    void set_size(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }

    // Switches between window and full screen; not in exclusive mode.
    void set_full_screen(bool full_screen);
    bool full_screen() const { return m_full_screen; }
    bool exclusive() const { return m_exclusive; }
    // F4: the other of window and full screen.
    void toggle_full_screen() { set_full_screen(!m_full_screen); }

    void set_window_scale(double scale);
    double window_scale() const { return m_window_scale; }
    void set_full_scale(double scale);
    double full_scale() const { return m_full_scale; }

    // Fills the screen buffer with the colour when draw is set.
    void clear(bool draw, Color color);
    // Shows the finished screen buffer in the window (showing the window with its first frame), through the
    // requested transition when there is one.
    void present();
    // The next present (only that one) shows its frame with this transition. A kind that is not 0 but draws
    // nothing (outside 1 to 17, or no steps) leaves the window as it is for that frame.
    void request_transition(const TransitionRequest& transition) { m_transition = transition; }
    // Transitions sleep between their frames on this clock; without one they do not wait.
    void set_clock(platform::Clock* clock) { m_clock = clock; }
    void set_transition_frame_hook(TransitionFrameHook hook) { m_transition_frame_hook = std::move(hook); }

    RegionTable& regions() { return m_regions; }
    const RegionTable& regions() const { return m_regions; }
    DDSurface* buffer() { return m_buffer ? &*m_buffer : nullptr; }
    const OutputRectangle& output() const { return m_output; }

    // The room position under the pointer, through the regions.
    void mouse_position(int& x, int& y) const;
    // The room position under a point of the window's client area, through the regions.
    void window_to_room(int window_x, int window_y, int& x, int& y) const;

    void set_caption(std::string_view caption);
    const std::string& caption() const { return m_caption; }
    void set_caption_painter(CaptionPainter painter) { m_caption_painter = std::move(painter); }
    void set_cursor(int cursor) { m_display.set_cursor(cursor); }
    // The window system's handle of the window, 0 when there is none.
    std::uint64_t window_handle() const { return m_display.native_handle(); }
    // Where the window's client area is on the screen and its size: the whole monitor in full screen.
    platform::WindowPlacement window_placement() const;
    // The size of the monitor the window stands on.
    platform::ScreenSize monitor_size() const { return m_display.screen_size(); }
    // Where the pointer is on the monitor, in desktop pixels.
    platform::PointerPosition pointer_on_monitor() const { return m_display.screen_pointer_position(); }
    void set_visible(bool visible);

    // Writes a rectangle of the screen buffer as a 24-bit BMP file (parts off the buffer are black).
    bool save(const std::filesystem::path& file, const SurfaceRect& rect);
    bool save(const std::filesystem::path& file) { return save(file, {0, 0, m_width, m_height}); }
    // Writes the whole screen buffer as an RGB PNG file: right after present, the frame just shown at its own
    // size (--screenshot). False without a buffer or when the file cannot be written.
    bool save_png(const std::filesystem::path& file);
    // Writes the output rectangle of the window image as the last transition frame left it, as an RGB PNG file.
    // False when no transition has drawn yet or the file cannot be written.
    bool save_transition_frame_png(const std::filesystem::path& file);

    // Only in exclusive mode; levels from -1 to 1 per channel.
    void set_gamma(double red, double green, double blue);

private:
    bool open_window();
    bool enter_exclusive(const ScreenStart& start);
    bool make_buffer();
    void place_window();
    platform::WindowPlacement layout() const;
    void paint_caption();
    void show_buffer();
    void run_transition(const TransitionRequest& transition);
    bool prepare_window_image();
    static Bitmap24 capture(DDSurface& surface, const SurfaceRect& rect);

    platform::Display& m_display;        // the window
    const GameSettings& m_settings;      // border, buttons, caption drawing, vertical blank
    bool m_initialised = false;          // between a successful start and shut-down
    bool m_keep_window = false;          // shut-down leaves the window open for the next game
    bool m_exclusive = false;            // the display runs in the game's own mode
    bool m_full_screen = false;          // the window covers the monitor
    bool m_presented = false;            // a frame was presented, so the window shows
    int m_width = 640;                   // of the screen buffer
    int m_height = 480;
    double m_window_scale = 1;           // windowed scale, never 0 or less
    double m_full_scale = 1;             // full-screen scale; 0 or less fits the monitor
    std::optional<DDSurface> m_buffer;   // every frame is drawn here
    RegionTable m_regions;               // views onto the buffer and the drawing targets
    OutputRectangle m_output;            // where the last frame went
    std::string m_caption;               // the window caption (Windows-1252 bytes)
    CaptionPainter m_caption_painter;    // draws the caption into the image when the window shows none
    TransitionRequest m_transition;      // for the next present only
    platform::Clock* m_clock = nullptr;  // transitions sleep on it
    TransitionFrameHook m_transition_frame_hook;  // told of every transition frame shown
    // What the window shows, for transitions to draw over: the last plain frame with where it went, and the
    // client area as a transition leaves it (current until the next plain frame).
    std::optional<DDSurface> m_last_frame;       // a copy of the screen buffer as last shown
    platform::OutputArea m_last_area;            // where that copy went in the client area
    std::optional<DDSurface> m_window_image;     // the client area, drawn on by transitions
    bool m_window_image_current = false;         // it shows what the window shows
};

}  // namespace quillon
