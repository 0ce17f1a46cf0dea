// Sdl2Clipboard: the window system's clipboard through SDL2, converting between UTF-8 and Windows-1252.
#include "platform/sdl2/sdl2_clipboard.h"

#include "platform/sdl2/sdl2_subsystems.h"
#include "support/win1252.h"

#include <SDL.h>

namespace quillon::platform {

Sdl2Clipboard::~Sdl2Clipboard()
{
    if (m_started)
        sdl2_stop(SDL_INIT_VIDEO);
}

bool Sdl2Clipboard::started()
{
    if (!m_tried) {
        m_tried = true;
        m_started = sdl2_start(SDL_INIT_VIDEO);
    }
    return m_started;
}

bool Sdl2Clipboard::has_text()
{
    return started() && SDL_HasClipboardText() == SDL_TRUE;
}

std::string Sdl2Clipboard::text()
{
    if (!started())
        return {};
    char* utf8 = SDL_GetClipboardText();
    std::string text = utf8 ? utf8_to_win1252(utf8) : std::string();
    SDL_free(utf8);
    return text;
}

void Sdl2Clipboard::set_text(std::string_view text)
{
    if (started())
        SDL_SetClipboardText(win1252_to_utf8(text).c_str());
}

} // namespace quillon::platform
