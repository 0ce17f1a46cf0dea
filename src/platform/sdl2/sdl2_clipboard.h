// Sdl2Clipboard: the window system's clipboard through SDL2.
#pragma once

#include "platform/clipboard.h"

namespace quillon::platform {

// Starts SDL's video on first use, which the clipboard needs; without it the clipboard is empty and keeps
// nothing.
class Sdl2Clipboard final : public Clipboard {
public:
    ~Sdl2Clipboard() override;

    bool has_text() override;
    std::string text() override;
    void set_text(std::string_view text) override;

private:
    bool started();

    bool m_tried = false; // the video subsystem was asked for
    bool m_started = false; // and it started
};

} // namespace quillon::platform
