#include "inbound_dispatcher.h"

#include "queued_message.h"

#include "support/trace_log.h"

#include <exception>

namespace transport {

InboundDispatcher::InboundDispatcher(Handler handler)
    : support::QueuedWorkerThread(true, true), m_handler(std::move(handler))
{
    SetPriority(-1);
    Start();
}

InboundDispatcher::~InboundDispatcher()
{
    Stop();
}

void InboundDispatcher::HandleItem(support::QueueItem &item)
{
    const auto *message = dynamic_cast<const QueuedMessage *>(&item);
    if (!message)
        return;
    try {
        m_handler(message->type(), message->bytes());
    } catch (const std::exception &e) {
        support::TraceError("Error dispatching message of type 0x%02X: %s", message->type(), e.what());
    } catch (...) {
        support::TraceError("Error dispatching message of type 0x%02X: unknown exception", message->type());
    }
}

} // namespace transport
