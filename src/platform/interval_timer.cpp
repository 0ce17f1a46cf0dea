// IntervalTimer: a timer that the main loop polls, firing at most once per interval of a clock.
#include "platform/interval_timer.h"

namespace quillon::platform {

IntervalTimer::IntervalTimer(const Clock& clock, std::uint32_t interval_ms, bool enabled)
    : m_clock(clock)
    , m_interval_ms(interval_ms)
    , m_enabled(false)
{
    set_enabled(enabled);
}

void IntervalTimer::set_enabled(bool enabled)
{
    if (enabled && !m_enabled)
        m_start_ms = m_clock.ticks_ms();
    m_enabled = enabled;
}

bool IntervalTimer::fired()
{
    if (!m_enabled)
        return false;
    std::uint64_t now = m_clock.ticks_ms();
    if (now - m_start_ms < m_interval_ms)
        return false;
    m_start_ms = now;
    return true;
}

}  // namespace quillon::platform
