// Loading window: the borderless window with a picture and a progress bar shown while a game loads.
#pragma once

#include "platform/display.h"
#include "support/bitmap.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quillon {

// How the game's settings dress the loading window.
struct LoadingLook {
    int bar_mode = 1;                    // 0 no bar, 1 the built-in bars, 2 the game's own bars
    std::optional<Bitmap24> empty_bar;   // bar mode 2: the game's empty bar (else the built-in one)
    std::optional<Bitmap24> full_bar;    // bar mode 2: the game's full bar (else the built-in one)
    std::optional<Bitmap24> picture;     // the game's own loading picture, shown instead of the built-in one
};

struct LoadingBox {
    int left = 0;     // x of the top-left corner
    int top = 0;      // y of the top-left corner
    int width = 0;    // pixels
    int height = 0;   // pixels

    bool operator==(const LoadingBox&) const = default;
};

// Where each part of the loading window goes.
struct LoadingLayout {
    LoadingBox window;           // on the screen: the picture's size, centred (halves rounded toward zero)
    LoadingBox empty_bar;        // in the window: left 24, 32 above the bottom, the window's width less 48
    LoadingBox full_bar;         // in the window: left 24, 30 above the bottom, the empty bar's width
    LoadingBox caption;          // in the window: over the empty bar; the text is vertically centred in it
    bool bars_visible = false;   // both bars show whenever the bar mode is above 0
    bool caption_visible = false;  // the caption shows only in debug mode, and only with the bars

    bool operator==(const LoadingLayout&) const = default;
};

// The layout for a picture and bar pictures of these sizes on a screen of this size.
LoadingLayout loading_layout(
    platform::ScreenSize screen, int picture_width, int picture_height, int empty_bar_height, int full_bar_height,
    int bar_mode, bool debug);

// The full bar's width at a percentage of the empty bar's: rounded to the nearest pixel, halves to even,
// never below 0.
int loading_bar_width(int percent, int empty_width);

class LoadingWindow {
public:
    explicit LoadingWindow(platform::Display& display);

    // Takes over the look's pictures, places the window, reports progress 0 with "Loading" and shows it.
    // False when the display cannot open the window; the load goes on without it.
    bool open(LoadingLook look, bool debug);
    // Redraws the window with the full bar at percent of the empty bar's width, and the caption in debug mode.
    void ShowProgress(int percent, std::string_view caption);
    // Hides the window and frees its pictures.
    void close();

    bool is_open() const { return m_open; }
    const LoadingLayout& layout() const { return m_layout; }

private:
    platform::Display& m_display;               // the window the frames go to
    bool m_open = false;                        // between a successful open and close
    LoadingLayout m_layout;                     // as computed at open
    Bitmap24 m_full_bar;                        // the full bar's picture, stretched anew for every report
    std::vector<std::uint32_t> m_background;    // the picture with the empty bar, composed at open
    std::vector<std::uint32_t> m_frame;         // the frame of the last report
};

}  // namespace quillon
