#pragma once
// The time by which plate image requests fall due, and the recognizer's wait for it.
//
// The recognizer's thread waits in WaitUntil; Interrupt, from any thread, ends that wait and
// every later one, so that a shutdown never sits out a delay (which may be 49 days).
// SteadyPlateClock is the monotonic system clock; ManualPlateClock moves only when told to, so
// that tests and benchmarks can say exactly when each request falls due.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace recorder_bridge {

class PlateClock
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~PlateClock() = default;

    [[nodiscard]] virtual TimePoint Now() const = 0;
    // Blocks until Now() has reached `due` (true) or Interrupt has been called (false).
    bool WaitUntil(TimePoint due);
    void Interrupt();

protected:
    // Blocks on `lock` (held on m_mutex) until `due` may have come or the clock was notified.
    virtual void WaitLocked(std::unique_lock<std::mutex> &lock, TimePoint due) = 0;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<TimePoint> m_waiting; // the due time of the wait in progress

private:
    bool m_interrupted = false;
};

class SteadyPlateClock final : public PlateClock
{
public:
    [[nodiscard]] TimePoint Now() const override { return std::chrono::steady_clock::now(); }

protected:
    void WaitLocked(std::unique_lock<std::mutex> &lock, TimePoint due) override
    {
        m_changed.wait_until(lock, due);
    }
};

class ManualPlateClock final : public PlateClock
{
public:
    [[nodiscard]] TimePoint Now() const override { return TimePoint(m_now.load()); }
    // Moves the clock on and wakes a wait that is then due.
    void Advance(std::chrono::milliseconds by);
    // The time a wait is blocked for, if one is.
    [[nodiscard]] std::optional<TimePoint> Waiting();

protected:
    void WaitLocked(std::unique_lock<std::mutex> &lock, TimePoint) override { m_changed.wait(lock); }

private:
    std::atomic<TimePoint::duration> m_now{TimePoint::duration::zero()};
};

} // namespace recorder_bridge
