// Screen layout: the window's placement, the output rectangle, the exclusive display mode and gamma ramps.
#include "graphics/screen_layout.h"

#include "code/value.h"

#include <algorithm>

namespace quillon {

platform::WindowPlacement window_layout(bool full_screen, int client_width, int client_height,
    platform::ScreenSize monitor, const WindowStyle& style)
{
    platform::WindowPlacement placement;
    placement.stay_on_top = style.stay_on_top;
    if (full_screen) {
        placement = {0, 0, monitor.width, monitor.height, false, true, false, style.stay_on_top};
        return placement;
    }
    placement.width = client_width;
    placement.height = client_height;
    placement.left = (monitor.width - client_width) / 2;
    placement.top = (monitor.height - client_height) / 2;
    placement.border = !style.no_border;
    placement.caption_buttons = !style.no_caption_buttons;
    return placement;
}

OutputRectangle output_rectangle(bool full_screen, platform::ScreenSize client, int screen_width, int screen_height,
    double window_scale, double full_scale)
{
    OutputRectangle out;
    if (!full_screen) {
        out.scale = window_scale > 0 ? window_scale : 1.0;
    } else {
        double fit = std::min(double(client.height) / screen_height, double(client.width) / screen_width);
        out.scale = full_scale > 0 && fit >= full_scale ? full_scale : fit;
        out.origin_x = round_to_int32((client.width - screen_width * out.scale) / 2);
        out.origin_y = round_to_int32((client.height - screen_height * out.scale) / 2);
    }
    out.area = {out.origin_x, out.origin_y, round_to_int32(screen_width * out.scale),
        round_to_int32(screen_height * out.scale)};
    return out;
}

platform::DisplayMode exclusive_mode(int resolution_width, int refresh_rate, int color_depth)
{
    platform::DisplayMode mode {800, 600, 16, 0};
    switch (resolution_width) {
    case 320: mode.width = 320; mode.height = 240; break;
    case 640: mode.width = 640; mode.height = 480; break;
    case 1024: mode.width = 1024; mode.height = 768; break;
    case 1280: mode.width = 1280; mode.height = 1024; break;
    case 1600: mode.width = 1600; mode.height = 1200; break;
    default: break;
    }
    if (color_depth == 8 || color_depth == 24 || color_depth == 32)
        mode.bits_per_pixel = color_depth;
    if (refresh_rate == 60 || refresh_rate == 70 || refresh_rate == 85 || refresh_rate == 100)
        mode.refresh_rate = refresh_rate;
    return mode;
}

namespace {

void fill_ramp(std::array<std::uint16_t, 256>& ramp, double level)
{
    level = std::clamp(level, -1.0, 1.0);
    double offset = level > 0 ? level * 65535 : 0;
    double slope = level > 0 ? (1 - level) * 65535 / 255 : (level + 1) * 65535 / 255;
    for (int i = 0; i < 256; ++i)
        ramp[i] = static_cast<std::uint16_t>(std::clamp(round_to_int32(i * slope + offset), 0, 65535));
}

}  // namespace

platform::GammaRamp gamma_ramp(double red, double green, double blue)
{
    platform::GammaRamp ramp;
    fill_ramp(ramp.red, red);
    fill_ramp(ramp.green, green);
    fill_ramp(ramp.blue, blue);
    return ramp;
}

}  // namespace quillon
