// Clock: the millisecond tick count and sleeping.
#pragma once

#include <cstdint>

namespace quillon::platform {

class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds since the clock was created.
    virtual std::uint64_t ticks_ms() const = 0;
    virtual void sleep_ms(std::uint32_t milliseconds) = 0;
};

}  // namespace quillon::platform
