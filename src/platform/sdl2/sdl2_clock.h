// Sdl2Clock: the SDL2 millisecond tick count and delay.
#pragma once

#include "platform/clock.h"

namespace quillon::platform {

class Sdl2Clock final : public Clock {
public:
    Sdl2Clock();
    ~Sdl2Clock() override;
    Sdl2Clock(const Sdl2Clock&) = delete;
    Sdl2Clock& operator=(const Sdl2Clock&) = delete;

    std::uint64_t ticks_ms() const override;
    void sleep_ms(std::uint32_t milliseconds) override;

private:
    bool m_started;              // the timer subsystem is ours to stop
    std::uint64_t m_origin_ms;   // SDL's tick count when the clock was created
};

}  // namespace quillon::platform
