// Sdl2DialogHost: modal message boxes through SDL2.
#pragma once

#include "platform/dialog_host.h"

namespace quillon::platform {

class Sdl2DialogHost final : public DialogHost {
public:
    // The box is owned by the game's window when one is open. When the window system cannot show the box, its
    // text goes to standard error (with a note the first time, and without trying again later), and the
    // default button counts as pressed.
    int message_box(std::string_view caption, std::string_view text, std::span<const std::string> buttons,
        int default_button) override;

private:
    bool m_boxes_failed = false;  // a box could not be shown, so messages go to standard error
};

}  // namespace quillon::platform
