#include "worker_thread.h"

#include <cerrno>
#include <chrono>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace support {

WorkerThread::WorkerThread(std::uint8_t createSuspended)
    : m_suspendCount(createSuspended == 1 ? 1 : 0)
{
}

WorkerThread::~WorkerThread()
{
    Stop();
}

void WorkerThread::Start()
{
    if (m_started.exchange(true))
        return;
    m_thread = std::thread([this] { ThreadEntry(); });
}

void WorkerThread::ThreadEntry()
{
    m_tid.store(static_cast<int>(::syscall(SYS_gettid)));
    ApplyPriority();
    WaitWhileSuspended();
    // An exception leaving a thread's function would end the process; here it only ends the
    // thread, which still marks itself exited so that nobody waits for it in vain.
    try {
        OnThreadStart();
        Run();
        OnThreadExit();
    } catch (...) {
    }
    {
        std::lock_guard lock(m_mutex);
        m_exited.store(true, std::memory_order_release);
    }
    m_exitCv.notify_all();
}

std::uint32_t WorkerThread::Suspend()
{
    std::lock_guard lock(m_mutex);
    return static_cast<std::uint32_t>(m_suspendCount++);
}

std::uint32_t WorkerThread::Resume()
{
    std::uint32_t previous;
    {
        std::lock_guard lock(m_mutex);
        previous = static_cast<std::uint32_t>(m_suspendCount);
        if (m_suspendCount > 0)
            --m_suspendCount;
    }
    m_wake.notify_all();
    return previous;
}

std::int32_t WorkerThread::SuspendCount() const
{
    std::lock_guard lock(m_mutex);
    return m_suspendCount;
}

std::uint32_t WorkerThread::WaitForExit(std::uint32_t timeoutMs)
{
    if (SuspendCount() != 0)
        Resume();
    std::unique_lock lock(m_mutex);
    const auto ended = [this] { return Exited(); };
    if (timeoutMs == kInfinite) {
        if (m_started.load())
            m_exitCv.wait(lock, ended);
    } else {
        m_exitCv.wait_for(lock, std::chrono::milliseconds(timeoutMs), ended);
    }
    return Exited() ? m_exitCode : kStillActive;
}

bool WorkerThread::SetPriority(std::int32_t priority)
{
    // Sequentially consistent on both sides: either this thread sees the worker's id, or the
    // worker sees the new priority when it starts, never neither.
    m_priority.store(priority);
    if (m_tid.load() == 0)
        return true; // applied by the thread when it starts
    return ApplyPriority();
}

bool WorkerThread::ApplyPriority()
{
    const int tid = m_tid.load();
    const std::int32_t priority = m_priority.load();
    if (tid == 0)
        return true;
    // Windows priorities rise with the number; nice values fall. Nice values belong to each
    // thread on Linux, so the base is the main thread's (the process id names it), not the one
    // this thread inherited from whoever created it.
    errno = 0;
    const int processNice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::getpid()));
    if (errno != 0)
        return false;
    int nice = processNice - priority;
    nice = nice < -20 ? -20 : (nice > 19 ? 19 : nice);
    return ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice) == 0;
}

void WorkerThread::RequestStop()
{
    // Set under the lock: a waiter tests the flag and blocks as one step under this lock, so a
    // request that slipped in between would otherwise go unnoticed until some later wake-up.
    {
        std::lock_guard lock(m_mutex);
        m_stopRequest.store(true, std::memory_order_release);
    }
    m_wake.notify_all();
}

void WorkerThread::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopRequest.store(true, std::memory_order_release);
        m_suspendCount = 0;
    }
    m_wake.notify_all();
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
}

void WorkerThread::WaitWhileSuspended()
{
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return RunnableLocked(); });
}

bool WorkerThread::SleepFor(std::uint32_t ms)
{
    std::unique_lock lock(m_mutex);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    m_wake.wait_until(lock, deadline, [this] { return StopRequested(); });
    m_wake.wait(lock, [this] { return RunnableLocked(); });
    return !StopRequested();
}

} // namespace support
