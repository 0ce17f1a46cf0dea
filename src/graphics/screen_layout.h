// Screen layout: the window's placement, the output rectangle, the exclusive display mode and gamma ramps.
#pragma once

#include "graphics/surface.h"
#include "platform/display.h"

namespace quillon {

// How the window looks, from the game settings.
struct WindowStyle {
    bool no_border = false;         // windowed without frame and title bar
    bool no_caption_buttons = false;  // no menu and minimise buttons
    bool stay_on_top = false;       // exclusive mode keeps the window above the others
};

// The window for a client size: the whole monitor in full screen, else centred on the monitor (halves
// toward zero).
platform::WindowPlacement window_layout(bool full_screen, int client_width, int client_height,
    platform::ScreenSize monitor, const WindowStyle& style);

// Where the screen buffer goes in the client area and at what scale.
struct OutputRectangle {
    double scale = 1;          // the scale in use for this frame
    int origin_x = 0;          // client x of the image's left edge
    int origin_y = 0;          // client y of the image's top edge
    platform::OutputArea area; // the image's rectangle in the client area

    bool operator==(const OutputRectangle&) const = default;
};

// Windowed: the window scale (1 when 0 or less) at the client's corner. Full screen: the full-screen scale
// when above 0 and it fits, else the largest that fits, centred.
OutputRectangle output_rectangle(bool full_screen, platform::ScreenSize client, int screen_width, int screen_height,
    double window_scale, double full_scale);

// The display mode exclusive start-up asks for first: the mode by resolution width (320, 640, 1024, 1280 or
// 1600, anything else 800 x 600), the depth kept when 8, 24 or 32 (else 16), the refresh kept when 60, 70, 85
// or 100 (else 0, the driver's default).
platform::DisplayMode exclusive_mode(int resolution_width, int refresh_rate, int color_depth);

// Ramps for red, green and blue levels from -1 to 1 (clamped); 0 gives the identity i * 257.
platform::GammaRamp gamma_ramp(double red, double green, double blue);

}  // namespace quillon
