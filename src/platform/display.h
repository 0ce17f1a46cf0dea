// Display: the one window of the runner's display, and presenting finished frames into it.
#pragma once

#include <cstdint>
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

    bool operator==(const WindowPlacement&) const = default;
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
};

}  // namespace quillon::platform
