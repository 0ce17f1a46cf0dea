// VirtualClock: time that passes only when the program sleeps, so that headless runs repeat exactly.
#pragma once

#include "platform/clock.h"

namespace quillon::platform {

class VirtualClock final : public Clock {
public:
    std::uint64_t ticks_ms() const override { return m_now_ms; }
    // Returns at once, the clock having moved on by the time asked for.
    void sleep_ms(std::uint32_t milliseconds) override { m_now_ms += milliseconds; }
    // The virtual time as well: the system "started" with the clock.
    std::uint64_t system_ms() const override { return m_now_ms; }

private:
    std::uint64_t m_now_ms = 0;   // virtual milliseconds since creation
};

}  // namespace quillon::platform
