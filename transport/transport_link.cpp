#include "transport_link.h"

#include "queued_message.h"
#include "support/trace_log.h"

namespace transport {

TransportLink::TransportLink(std::int16_t portNumber, InboundSink &inbound, LinkTiming timing)
    : LinkProtocolThread(portNumber, timing), m_inbound(inbound)
{
    SetPriority(-1);
    Start();
}

TransportLink::TransportLink(std::int16_t portNumber, support::QueuedWorkerThread &inboundDispatcher,
                             LinkTiming timing)
    : LinkProtocolThread(portNumber, timing),
      m_ownedSink(std::make_unique<WorkerInboundSink>(inboundDispatcher)),
      m_inbound(*m_ownedSink)
{
    SetPriority(-1);
    Start();
}

TransportLink::~TransportLink()
{
    Stop();
}

void TransportLink::OnLinkError(const std::exception &error)
{
    deliver(QueuedMessage::LinkError(error.what()));
}

void TransportLink::OnFrameReceived(const std::uint8_t *data, std::int32_t length, std::uint8_t type)
{
    // Type 0 marks the link's own errors on the way to the dispatcher; a unit frame of that type
    // would pass its bytes off as one (raw, not even converted text).
    if (type == QueuedMessage::kLinkError) {
        support::TraceError("Link: frame of type 0 from the unit (%d bytes) dropped", length);
        return;
    }
    deliver(std::make_unique<QueuedMessage>(type, data, length));
}

void TransportLink::deliver(std::unique_ptr<support::QueueItem> item)
{
    if (!m_inbound.Post(item))
        support::TraceError("Link: inbound dispatcher refused a message; dropped");
}

} // namespace transport
