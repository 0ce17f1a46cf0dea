// Form window: a top-level window above the game's, whose pixels the runner draws itself (message forms,
// input boxes, choosers, splash screens, game information, pop-up menus), with the input aimed at it.
#pragma once

#include "platform/display.h"
#include "platform/input.h"

#include <string_view>
#include <vector>

namespace quillon::platform {

class FormWindow {
public:
    virtual ~FormWindow() = default;

    // Opens the window at the placement (screen coordinates of the client area), hidden until the first frame
    // is presented. It is owned by the game window when one is open and modal: while it is open the game window
    // takes no input. The caption is Windows-1252 bytes. False when no window can be made.
    virtual bool open(const WindowPlacement& placement, std::string_view caption) = 0;
    // Shows the frame in the client area, pixel for pixel, and shows the window.
    virtual bool present(const FrameView& frame) = 0;
    // Waits at most timeout_ms (0: does not wait) for input to this window and appends it, oldest first; true
    // when something came. Closing the window by its frame comes as EventKind::window_close; key and mouse
    // events aimed at other windows are dropped.
    virtual bool wait(std::vector<Event>& events, int timeout_ms) = 0;
    // Shows or hides the mouse pointer over the open window; it shows until told otherwise.
    virtual void show_pointer(bool shown) { (void)shown; }
    // Where the screen's desktop is: forms centre themselves on it.
    virtual ScreenSize screen_size() const = 0;
    virtual void close() = 0;
};

}  // namespace quillon::platform
