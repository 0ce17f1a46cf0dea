// SDL2 subsystems: starting and stopping them for the SDL2 drivers, and the test for a real window system.
#include "platform/sdl2/sdl2_subsystems.h"

#include <SDL.h>

#include <cstdlib>

#include <string_view>
#include <vector>

namespace quillon::platform {

bool sdl2_start(std::uint32_t subsystems)
{
    // Closing the game window is the game's business (it counts as Escape), not a request to quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Frames are scaled by whole pixels, as the game drew them.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // The runner takes no part in the desktop's screen saver policy.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    return SDL_InitSubSystem(subsystems) == 0;
}

void sdl2_stop(std::uint32_t subsystems)
{
    SDL_QuitSubSystem(subsystems);
    // The last one out also lets SDL free what no subsystem owns (its D-Bus connection, its hints).
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit();
}

bool sdl2_video_available()
{
    // Without a display named in the environment no window system can answer; asking SDL anyway makes its
    // drivers print complaints of their own.
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!x11 || !*x11) && (!wayland || !*wayland))
        return false;
    if (!sdl2_start(SDL_INIT_VIDEO))
        return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    std::string_view name = driver ? driver : "";
    bool real = name == "x11" || name == "wayland";
    sdl2_stop(SDL_INIT_VIDEO);
    return real;
}

namespace {

std::vector<SDL_Window*>& open_windows()
{
    static std::vector<SDL_Window*> s_windows;
    return s_windows;
}

}  // namespace

void sdl2_window_opened(SDL_Window* window) { open_windows().push_back(window); }

void sdl2_window_closed(SDL_Window* window) { std::erase(open_windows(), window); }

SDL_Window* sdl2_owner_window() { return open_windows().empty() ? nullptr : open_windows().back(); }

std::uint32_t sdl2_event_window(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: return event.key.windowID;
    case SDL_TEXTINPUT: return event.text.windowID;
    case SDL_TEXTEDITING: return event.edit.windowID;
    case SDL_MOUSEMOTION: return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return event.button.windowID;
    case SDL_MOUSEWHEEL: return event.wheel.windowID;
    case SDL_WINDOWEVENT: return event.window.windowID;
    default: return 0;
    }
}

}  // namespace quillon::platform
