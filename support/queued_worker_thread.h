#pragma once
// A worker that owns a first-in-first-out queue of QueueItems and hands each to HandleItem.
//
// Producers on any thread Post items; the worker alone consumes them. With `resumeOnPost`, a
// Post wakes an idle worker; with `suspendWhenIdle`, the default Run goes idle when it finds the
// queue empty. The emptiness test before going idle and the idle test in Post are one decision
// under the queue's lock, so no posted item ever waits for a later Post. Idle counts as one
// suspension while it lasts.
//
// The queue owns what it holds; the destructor of a concrete worker must call Stop() first, and
// the items still queued are deleted only after the thread has ended.

#include "worker_thread.h"
#include "queue_item.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>

namespace support {

class QueuedWorkerThread : public WorkerThread
{
public:
    QueuedWorkerThread(bool resumeOnPost, bool suspendWhenIdle);
    ~QueuedWorkerThread() override;

    // True when queued; false only when the queue could not grow, and the item then stays with
    // the caller (it is handed back through `item`, which is left untouched).
    bool Post(std::unique_ptr<QueueItem> &item);
    bool Post(std::unique_ptr<QueueItem> &&item);

    // The head item, or null when the queue is empty.
    std::unique_ptr<QueueItem> Pop();
    [[nodiscard]] bool IsEmpty();
    // The items queued and not yet popped.
    [[nodiscard]] std::size_t QueuedCount();
    // Deletes the queued items for which `drop` is true; the others keep their order. Returns how
    // many went. `drop` runs, and the items are deleted, under the queue's lock: neither may
    // touch the worker.
    std::size_t RemoveIf(const std::function<bool(const QueueItem &)> &drop);

protected:
    // Handles one item on the worker thread. Under the default Run the item is deleted when this
    // returns, or when it throws.
    virtual void HandleItem(QueueItem &item) = 0;

    // Pops and handles until a stop is requested; idle when the queue is empty and
    // `suspendWhenIdle` is set; a Suspend holds after the item in hand. An exception from
    // HandleItem ends the loop (the item in hand is still deleted); items still queued stay for
    // the destructor.
    void Run() override;

    // Goes idle when the queue is empty and a stop is not requested; returns when an item is
    // posted (with resumeOnPost), the worker is resumed, or a stop is requested.
    void IdleWhileEmpty();

private:
    const bool m_resumeOnPost;
    const bool m_suspendWhenIdle;
    bool m_idle = false;
    std::deque<std::unique_ptr<QueueItem>> m_queue;
};

} // namespace support
