// Display: the one window of the runner's display, and presenting finished frames into it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon::platform {

struct ScreenSize {
    int width = 0;    // desktop width in pixels
    int height = 0;   // desktop height in pixels

    bool operator==(const ScreenSize&) const = default;
};

// Where a window goes and how it looks; the position is that of the client area's top-left corner.
struct WindowPlacement {
    int left = 0;          // screen x of the client area
    int top = 0;           // screen y of the client area
    int width = 0;         // client width in pixels
    int height = 0;        // client height in pixels
    bool border = true;    // false: no frame and no title bar
    bool full_screen = false;       // covers the whole monitor without border; left, top and size are ignored
    bool caption_buttons = true;    // the title bar has its menu and minimise buttons, where the system allows
    bool stay_on_top = false;       // kept above other windows

    bool operator==(const WindowPlacement&) const = default;
};

// A display mode for exclusive full screen.
struct DisplayMode {
    int width = 0;            // pixels
    int height = 0;           // pixels
    int bits_per_pixel = 0;   // colour depth asked for
    int refresh_rate = 0;     // Hz; 0 takes the driver's default

    bool operator==(const DisplayMode&) const = default;
};

// Where in the client area a presented frame goes, scaled to this size.
struct OutputArea {
    int left = 0;     // client x of the frame's left edge
    int top = 0;      // client y of the frame's top edge
    int width = 0;    // pixels the frame is scaled to
    int height = 0;   // rows the frame is scaled to

    bool operator==(const OutputArea&) const = default;
};

// Three ramps of 256 entries that map each colour channel's level to the level shown.
struct GammaRamp {
    std::array<std::uint16_t, 256> red {};     // red levels
    std::array<std::uint16_t, 256> green {};   // green levels
    std::array<std::uint16_t, 256> blue {};    // blue levels

    bool operator==(const GammaRamp&) const = default;
};

// A point in client coordinates.
struct PointerPosition {
    int x = 0;   // pixels from the client area's left edge
    int y = 0;   // pixels from the client area's top edge

    bool operator==(const PointerPosition&) const = default;
};

// A frame to present: 32-bit pixels 0x00RRGGBB, rows top-down, owned by the caller.
struct FrameView {
    const std::uint32_t* pixels = nullptr;   // first pixel of the top row
    int width = 0;                           // pixels per row
    int height = 0;                          // rows
    int pitch = 0;                           // bytes from one row to the next (at least width * 4)
};

// One window at a time. Captions are game strings (Windows-1252 bytes). A window is opened hidden, so that
// its first frame can be presented before it shows.
class Display {
public:
    virtual ~Display() = default;

    // Opens the window (closing an open one first); false when the window system refuses.
    virtual bool open(const WindowPlacement& placement, std::string_view caption) = 0;
    virtual void close() = 0;
    virtual bool is_open() const = 0;

    virtual void set_caption(std::string_view caption) = 0;
    virtual void set_visible(bool visible) = 0;

    // Scales the frame into the whole client area; false when no window is open or the frame is empty or
    // its pitch is shorter than a row.
    virtual bool present(const FrameView& frame) = 0;

    // The size of the desktop on which windows are placed.
    virtual ScreenSize screen_size() const = 0;

    // Moves, resizes and restyles the open window (full screen or not, border, buttons, on top) without
    // making it anew; false when no window is open.
    virtual bool place(const WindowPlacement& placement) = 0;
    // The size of the open window's client area; the monitor's in full screen.
    virtual ScreenSize client_size() const = 0;
    // Where the open window's client area stands on the screen, which the player may have moved it from; none
    // when the window system does not say.
    virtual std::optional<PointerPosition> client_position() const { return std::nullopt; }
    // Scales the frame into the area of the client area, black around it; false as for present.
    virtual bool present_scaled(const FrameView& frame, const OutputArea& area) = 0;

    // Makes the open window full screen in its own display mode; false, leaving the window as it was, when
    // the monitor has no such mode or refuses it. The desktop mode comes back when the window leaves full
    // screen or closes.
    virtual bool enter_exclusive(const DisplayMode& mode) = 0;
    // Whether presenting waits for the display's vertical blank.
    virtual void set_vsync(bool wait) = 0;
    // False when the display does not take gamma ramps.
    virtual bool set_gamma_ramp(const GammaRamp& ramp) = 0;
    // The pointer's shape over the window, by the game's cursor numbers (0 default, -1 none, -2 to -22 the
    // system shapes); unknown numbers give the default arrow.
    virtual void set_cursor(int cursor) = 0;
    // Where the pointer is over the client area (it may lie outside).
    virtual PointerPosition pointer_position() const = 0;
    // Where the pointer is on the screen, in desktop pixels (pop-up menus open there).
    virtual PointerPosition screen_pointer_position() const = 0;
    // The window system's handle of the open window (an X11 window id); 0 without a window or a window system.
    virtual std::uint64_t native_handle() const = 0;
};

}  // namespace quillon::platform
