// Sdl2DialogHost: modal message boxes through SDL2.
#include "platform/sdl2/sdl2_dialog_host.h"

#include "support/win1252.h"

#include <SDL.h>

#include <cstdio>
#include <vector>

namespace quillon::platform {

int Sdl2DialogHost::message_box(
    std::string_view caption, std::string_view text, std::span<const std::string> buttons, int default_button)
{
    std::string title = win1252_to_utf8(caption);
    std::string message = win1252_to_utf8(text);
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
    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        std::fprintf(stderr, "%s\n(no message box could be shown: %s)\n", message.c_str(), SDL_GetError());
        return default_button;
    }
    return pressed < 0 ? default_button : pressed;
}

}  // namespace quillon::platform
