// IntervalTimer: a timer that the main loop polls, firing at most once per interval of a clock.
#pragma once

#include "platform/clock.h"

#include <cstdint>

namespace quillon::platform {

// Like a window-system timer: enabling it starts the interval anew; when a poll finds the interval over,
// the timer fires once and the next interval starts at that moment, so missed intervals never pile up.
class IntervalTimer {
public:
    IntervalTimer(const Clock& clock, std::uint32_t interval_ms, bool enabled);

    void set_enabled(bool enabled);
    bool enabled() const { return m_enabled; }

    // True when the timer is enabled and its interval has passed since it was started or last fired.
    bool fired();

private:
    const Clock& m_clock;          // the time the timer measures
    std::uint32_t m_interval_ms;   // length of one interval
    bool m_enabled;                // polls fire only while enabled
    std::uint64_t m_start_ms = 0;  // clock time at which the current interval began
};

}  // namespace quillon::platform
