// Form: one dialog that the runner draws itself, as a window when there is a window system and as a text on
// standard error answered by a line of the answers script when headless.
#pragma once

#include "graphics/surface.h"
#include "platform/display.h"
#include "platform/input.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quillon {

class Form {
public:
    virtual ~Form() = default;

    // The window's caption (Windows-1252 bytes) and where it goes on a screen of this size.
    virtual std::string caption() const = 0;
    virtual platform::WindowPlacement placement(platform::ScreenSize screen) const = 0;

    // Paints the whole client area; the canvas is exactly the placement's size.
    virtual void paint(SurfaceCanvas& canvas) = 0;
    // One input event to the form's window, positions in its client area.
    virtual void handle(const platform::Event& event) = 0;
    // Time passing: milliseconds since the form opened. Returns how many milliseconds until it wants to be
    // called again, or -1 when it waits for input only (splash screens close after a delay; videos play).
    virtual int tick(std::int64_t elapsed_ms) { (void)elapsed_ms; return -1; }
    // Whether something changed since the last paint.
    virtual bool needs_paint() const { return true; }
    // Whether the mouse pointer over the form is the game's choice (shown or hidden as the game shows it over
    // its own window) rather than always shown, as dialogs that ask something need it.
    virtual bool follows_game_pointer() const { return false; }
    // Whether the form has its answer and closes.
    virtual bool finished() const = 0;

    // Headless: the text that stands for the form on standard error, then the next line of the answers script
    // (none when the script is used up, which takes the form's default) gives its answer and finishes it.
    virtual std::string transcript() const = 0;
    virtual void answer(const std::optional<std::string>& line) = 0;
    // After answer: a note for the log when the line named nothing the form knows; empty when all went well.
    virtual std::string answer_note() const { return {}; }
};

}  // namespace quillon
