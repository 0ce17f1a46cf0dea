// Clock: the millisecond tick count and sleeping, and the clock that game code reads the time from.
#pragma once

#include <chrono>
#include <cstdint>

namespace quillon::platform {

// The system's own monotonic milliseconds (since boot on Linux).
inline std::uint64_t monotonic_ms()
{
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds since the clock was created.
    virtual std::uint64_t ticks_ms() const = 0;
    virtual void sleep_ms(std::uint32_t milliseconds) = 0;
    // Milliseconds since the system started, as game code reads them.
    virtual std::uint64_t system_ms() const { return monotonic_ms(); }
};

// The clock of the game being played: a headless run reads its virtual time, so that every sleep shows in the
// time that game code sees. None outside a game.
inline Clock*& game_clock()
{
    static Clock* s_clock = nullptr;
    return s_clock;
}

// The game clock's system time; the system's own without a game clock.
inline std::uint64_t game_system_ms()
{
    return game_clock() ? game_clock()->system_ms() : monotonic_ms();
}

}  // namespace quillon::platform
