// Sdl2DialogHost: modal message boxes through SDL2.
#include "platform/sdl2/sdl2_dialog_host.h"

#include "platform/sdl2/sdl2_subsystems.h"
#include "support/terminal_text.h"
#include "support/win1252.h"

#include <SDL.h>

#include <cstdio>
#include <vector>

namespace quillon::platform {

int Sdl2DialogHost::message_box(
    std::string_view caption, std::string_view text_bytes, std::span<const std::string> buttons, int default_button)
{
    std::string title = win1252_to_utf8(caption);
    std::string message = win1252_to_utf8(text_bytes);
    std::vector<std::string> labels;
    std::vector<SDL_MessageBoxButtonData> data;
    labels.reserve(buttons.size());
    for (const std::string& button : buttons)
        labels.push_back(win1252_to_utf8(button));
    for (std::size_t i = 0; i < labels.size(); ++i) {
        Uint32 flags = static_cast<int>(i) == default_button ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0;
        data.push_back({flags, static_cast<int>(i), labels[i].c_str()});
    }
    SDL_MessageBoxData box {};
    box.flags = SDL_MESSAGEBOX_INFORMATION | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    box.title = title.c_str();
    box.message = message.c_str();
    box.numbuttons = static_cast<int>(data.size());
    box.buttons = data.data();
    box.window = sdl2_owner_window();
    int pressed = -1;
    // Once no box could be shown, later ones go straight to standard error: trying again costs the game time
    // at every message and would fail the same way.
    if (m_boxes_failed || SDL_ShowMessageBox(&box, &pressed) != 0) {
        std::string text = terminal_text(text_bytes);
        if (!m_boxes_failed)
            std::fprintf(stderr, "quillon-runner: no message box can be shown (%s); messages go here\n", SDL_GetError());
        m_boxes_failed = true;
        std::fprintf(stderr, "%s\n", text.c_str());
        return default_button;
    }
    return pressed < 0 ? default_button : pressed;
}

}  // namespace quillon::platform
