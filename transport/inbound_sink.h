#pragma once
// Where a TransportLink delivers what it receives: the transport's inbound dispatcher.
//
// Post is called on the link thread only; it takes the item, or returns false and leaves it in
// `item` (a dispatcher whose queue cannot grow). The sink must outlive the link that posts to it:
// its owner stops and deletes the link first.

#include "platform/export.h"
#include "support/queue_item.h"
#include "support/queued_worker_thread.h"

#include <memory>

namespace transport {

class ORVEX_INTERFACE InboundSink
{
public:
    virtual ~InboundSink() = default;
    virtual bool Post(std::unique_ptr<support::QueueItem> &item) = 0;
};

// Adapts a queued worker (the transport's inbound dispatcher) to an InboundSink.
class WorkerInboundSink final : public InboundSink
{
public:
    explicit WorkerInboundSink(support::QueuedWorkerThread &worker) : m_worker(worker) {}
    bool Post(std::unique_ptr<support::QueueItem> &item) override { return m_worker.Post(item); }

private:
    support::QueuedWorkerThread &m_worker;
};

} // namespace transport
