#pragma once
// A thread wrapped in an object: counted suspend and resume, a stop request its body polls,
// and a timed wait for its end.
//
// The thread runs OnThreadStart, Run and OnThreadExit in that order, then marks itself exited;
// an exception escaping any of them ends the thread quietly (exit code 0), as a normal end would.
// None of the three runs before the most derived constructor has finished: the thread is made
// by Start(), which the owner (or the most derived constructor, as its last statement) calls.
//
// Suspension is counted, as on the platform the system was first written for, but honoured at
// the worker's own waiting points (WaitWhileSuspended, SleepFor, and the idle wait of
// QueuedWorkerThread), which is where every worker of the system can be suspended. A worker
// created suspended starts Run only once resumed.
//
// Stopping: Stop() sets the stop request, lifts every suspension, and waits for the thread
// without a limit. Every concrete worker calls Stop() in its own destructor, so that no virtual
// step runs on a half-destroyed object; the base destructor calls it again as a safety net.
// Owners stop a worker from another thread, never from the worker itself.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace support {

class WorkerThread
{
public:
    static constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;
    static constexpr std::uint32_t kFailed = 0xFFFFFFFFu;
    static constexpr std::uint32_t kStillActive = 259;

    // Created suspended only when `createSuspended` is exactly 1.
    explicit WorkerThread(std::uint8_t createSuspended = 0);
    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;
    virtual ~WorkerThread();

    // Creates the thread. Call once, after construction has finished.
    void Start();

    // Both return the suspend count before the call, or kFailed.
    std::uint32_t Suspend();
    std::uint32_t Resume();

    // Resumes once when suspended, then waits up to `timeoutMs` (kInfinite: no limit) for the
    // thread to end; returns its exit code (0), or kStillActive while it runs.
    std::uint32_t WaitForExit(std::uint32_t timeoutMs);

    // -1 is below normal: one nice step above the process's. Applied when the thread starts if
    // it has not yet. False when the system refused it (raising priority needs privileges).
    bool SetPriority(std::int32_t priority);

    void RequestStop();
    [[nodiscard]] bool StopRequested() const { return m_stopRequest.load(std::memory_order_acquire); }
    [[nodiscard]] bool Exited() const { return m_exited.load(std::memory_order_acquire); }
    [[nodiscard]] std::int32_t SuspendCount() const;

    // Sets the stop request, resumes as often as the suspend count says, and waits for the
    // thread without a limit. Idempotent; a worker whose thread has ended is not waited for.
    void Stop();

protected:
    virtual void OnThreadStart() {}
    virtual void Run() {}
    virtual void OnThreadExit() {}

    // Waiting points for Run bodies. WaitWhileSuspended blocks while the suspend count is above
    // 0 and no stop is requested. SleepFor waits `ms` milliseconds on the monotonic clock, ends
    // early on a stop request, and then honours suspension; it returns false when a stop is
    // requested.
    void WaitWhileSuspended();
    bool SleepFor(std::uint32_t ms);

    // The lock that guards the suspend count; QueuedWorkerThread also guards its queue and its
    // idle decision with it, so that a post and the decision to go idle are one step.
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::int32_t m_suspendCount = 0;

private:
    void ThreadEntry();
    bool ApplyPriority();
    [[nodiscard]] bool RunnableLocked() const { return m_suspendCount <= 0 || StopRequested(); }

    std::thread m_thread;
    std::atomic<bool> m_stopRequest{false};
    std::atomic<bool> m_exited{false};
    std::atomic<bool> m_started{false};
    std::atomic<std::int32_t> m_priority{0};
    std::atomic<int> m_tid{0};
    std::condition_variable m_exitCv;
    std::uint32_t m_exitCode = 0;
};

} // namespace support
