// Dialog host: modal message boxes of the window system, or answers from a script when headless.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace quillon::platform {

class DialogHost {
public:
    virtual ~DialogHost() = default;

    // Shows a modal box with a caption, a text (both Windows-1252 bytes) and buttons labelled left to right,
    // and returns the index of the button pressed. Closing the box without a button presses default_button.
    virtual int message_box(std::string_view caption, std::string_view text, std::span<const std::string> buttons,
        int default_button) = 0;
};

}  // namespace quillon::platform
