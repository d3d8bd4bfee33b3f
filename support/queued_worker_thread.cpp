#include "queued_worker_thread.h"

#include "trace_log.h"

#include <algorithm>
#include <exception>
#include <new>

namespace support {

QueuedWorkerThread::QueuedWorkerThread(bool resumeOnPost, bool suspendWhenIdle)
    : WorkerThread(0), m_resumeOnPost(resumeOnPost), m_suspendWhenIdle(suspendWhenIdle)
{
}

QueuedWorkerThread::~QueuedWorkerThread()
{
    // The thread must have ended before the queue goes; a concrete worker has normally stopped
    // it already in its own destructor.
    Stop();
    // Destroyed outside the lock, so that an item whose destructor posts or logs cannot deadlock.
    std::deque<std::unique_ptr<QueueItem>> remaining;
    {
        std::lock_guard lock(m_mutex);
        remaining.swap(m_queue);
    }
}

bool QueuedWorkerThread::Post(std::unique_ptr<QueueItem> &item)
{
    if (!item)
        return false;
    bool woke = false;
    {
        std::lock_guard lock(m_mutex);
        try {
            m_queue.push_back(std::move(item));
        } catch (const std::bad_alloc &) {
            return false;
        }
        if (m_resumeOnPost && m_idle) {
            m_idle = false;
            if (m_suspendCount > 0)
                --m_suspendCount;
            woke = true;
        }
    }
    if (woke)
        m_wake.notify_all();
    return true;
}

bool QueuedWorkerThread::Post(std::unique_ptr<QueueItem> &&item)
{
    return Post(item);
}

std::unique_ptr<QueueItem> QueuedWorkerThread::Pop()
{
    std::lock_guard lock(m_mutex);
    if (m_queue.empty())
        return nullptr;
    auto item = std::move(m_queue.front());
    m_queue.pop_front();
    return item;
}

bool QueuedWorkerThread::IsEmpty()
{
    std::lock_guard lock(m_mutex);
    return m_queue.empty();
}

std::size_t QueuedWorkerThread::QueuedCount()
{
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

std::size_t QueuedWorkerThread::RemoveIf(const std::function<bool(const QueueItem &)> &drop)
{
    std::lock_guard lock(m_mutex);
    const auto kept = std::remove_if(m_queue.begin(), m_queue.end(), [&](const auto &item) { return drop(*item); });
    const auto dropped = static_cast<std::size_t>(m_queue.end() - kept);
    m_queue.erase(kept, m_queue.end());
    return dropped;
}

void QueuedWorkerThread::IdleWhileEmpty()
{
    std::unique_lock lock(m_mutex);
    if (!m_queue.empty() || StopRequested())
        return;
    m_idle = true;
    ++m_suspendCount;
    m_wake.wait(lock, [this] { return m_suspendCount <= 0 || StopRequested(); });
    if (m_idle) {
        // Woken by Resume or by a stop rather than by a post.
        m_idle = false;
        if (m_suspendCount > 0)
            --m_suspendCount;
    }
}

void QueuedWorkerThread::Run()
{
    try {
        while (!StopRequested()) {
            if (auto item = Pop())
                HandleItem(*item);
            if (m_suspendWhenIdle)
                IdleWhileEmpty();
            else if (IsEmpty())
                SleepFor(1); // a polling worker without a Run of its own must not spin
            // A Suspend holds also while items keep arriving.
            WaitWhileSuspended();
        }
    } catch (const std::exception &e) {
        // A failed item ends the loop; the item in hand was deleted as the exception left it.
        TraceError("Worker thread ended by an exception: %s", e.what());
    } catch (...) {
        TraceError("Worker thread ended by an unknown exception");
    }
}

} // namespace support
