// Sdl2DialogHost: modal message boxes through SDL2.
#pragma once

#include "platform/dialog_host.h"

namespace quillon::platform {

class Sdl2DialogHost final : public DialogHost {
public:
    // When the window system cannot show the box, its text goes to standard error with a note, and the default
    // button counts as pressed.
    int message_box(std::string_view caption, std::string_view text, std::span<const std::string> buttons,
        int default_button) override;
};

}  // namespace quillon::platform
