#pragma once
// The transport's inbound dispatcher: a queued worker that takes the link's received messages
// (QueuedMessage items) one at a time, in arrival order, and hands each to the transport's
// handler, which fires its event.
//
// Runs from construction at priority below normal. It goes idle whenever its queue is empty and
// the link's next post wakes it: an idle service with the unit online costs next to nothing,
// and a report is fired as soon as it is posted rather than at the next poll.
// A handler that throws is traced and the message dropped; the dispatcher goes on with the next
// one, so one bad message or subscriber never silences the reports after it. An item that is
// not a QueuedMessage is dropped. The destructor stops the thread before the queued items go.

#include "support/queued_worker_thread.h"

#include <cstdint>
#include <functional>
#include <span>

namespace transport {

class InboundDispatcher final : public support::QueuedWorkerThread
{
public:
    using Handler = std::function<void(std::uint8_t type, std::span<const std::uint8_t> payload)>;

    // `handler` runs on the dispatcher thread and must outlive the dispatcher.
    explicit InboundDispatcher(Handler handler);
    ~InboundDispatcher() override;

protected:
    void HandleItem(support::QueueItem &item) override;

private:
    const Handler m_handler;
};

} // namespace transport
