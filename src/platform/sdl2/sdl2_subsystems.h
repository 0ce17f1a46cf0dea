// SDL2 subsystems: starting and stopping them for the SDL2 drivers, and the test for a real window system.
#pragma once

#include <cstdint>

struct SDL_Window;
union SDL_Event;

namespace quillon::platform {

// SDL_InitSubSystem with the hints every driver relies on; SDL counts the starts, so each driver that started
// a subsystem stops it once, and the last stop shuts SDL down. False when SDL refuses (SDL_GetError says why).
bool sdl2_start(std::uint32_t subsystems);
void sdl2_stop(std::uint32_t subsystems);

// Whether SDL's video starts with a driver that shows real windows (X11 or Wayland).
bool sdl2_video_available();

// The windows the displays have open. Message boxes are owned by the latest one, so that SDL shows them with
// the window system the game runs on instead of trying helper programs meant for others first.
void sdl2_window_opened(SDL_Window* window);
void sdl2_window_closed(SDL_Window* window);
SDL_Window* sdl2_owner_window();  // null when no window is open

// The id of the window a keyboard, text, mouse or window event belongs to; 0 for events of no window.
std::uint32_t sdl2_event_window(const SDL_Event& event);

}  // namespace quillon::platform
