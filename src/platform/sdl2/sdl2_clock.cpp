// Sdl2Clock: the SDL2 millisecond tick count and delay.
#include "platform/sdl2/sdl2_clock.h"

#include "platform/sdl2/sdl2_subsystems.h"

#include <SDL.h>

namespace quillon::platform {

Sdl2Clock::Sdl2Clock()
    : m_started(sdl2_start(SDL_INIT_TIMER))
    , m_origin_ms(SDL_GetTicks64())
{
}

Sdl2Clock::~Sdl2Clock()
{
    if (m_started)
        sdl2_stop(SDL_INIT_TIMER);
}

std::uint64_t Sdl2Clock::ticks_ms() const
{
    return SDL_GetTicks64() - m_origin_ms;
}

void Sdl2Clock::sleep_ms(std::uint32_t milliseconds)
{
    SDL_Delay(milliseconds);
}

}  // namespace quillon::platform
