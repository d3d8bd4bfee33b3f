#include "plate_clock.h"

namespace recorder_bridge {

bool PlateClock::WaitUntil(TimePoint due)
{
    std::unique_lock lock(m_mutex);
    m_waiting = due;
    while (!m_interrupted && Now() < due)
        WaitLocked(lock, due);
    m_waiting.reset();
    return !m_interrupted;
}

void PlateClock::Interrupt()
{
    {
        std::lock_guard lock(m_mutex);
        m_interrupted = true;
    }
    m_changed.notify_all();
}

void ManualPlateClock::Advance(std::chrono::milliseconds by)
{
    {
        // Under the lock, so that a wait cannot test the old time and then miss the wake-up.
        std::lock_guard lock(m_mutex);
        m_now.store(m_now.load() + by);
    }
    m_changed.notify_all();
}

std::optional<PlateClock::TimePoint> ManualPlateClock::Waiting()
{
    std::lock_guard lock(m_mutex);
    return m_waiting;
}

} // namespace recorder_bridge
