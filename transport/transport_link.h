#pragma once
// The transport's link: a LinkProtocolThread that hands what it receives to the transport's
// inbound dispatcher as QueuedMessage items.
//
// OnFrameReceived posts a QueuedMessage(type, copy of the payload); a frame of type 0 from the
// unit is traced and dropped, since type 0 on the dispatcher's queue means a link error.
// OnLinkError posts a QueuedMessage of type 0 whose 255-byte payload is the error's text (at
// most 254 characters) and zero padding. Both run on the link thread; a post the dispatcher refuses is traced and the
// item deleted.
//
// The thread starts at construction (priority below normal) and the port is opened on it; the
// destructor stops the thread and closes the port, deleting messages still queued. The inbound
// sink (or dispatcher) must outlive the link. Send messages with Send() or Post(OutgoingMessage).

#include "inbound_sink.h"
#include "link_protocol_thread.h"

#include <cstdint>
#include <exception>
#include <memory>

namespace transport {

class TransportLink final : public LinkProtocolThread
{
public:
    TransportLink(std::int16_t portNumber, InboundSink &inbound, LinkTiming timing = {});
    TransportLink(std::int16_t portNumber, support::QueuedWorkerThread &inboundDispatcher,
                  LinkTiming timing = {});
    ~TransportLink() override;

protected:
    void OnLinkError(const std::exception &error) override;
    void OnFrameReceived(const std::uint8_t *data, std::int32_t length, std::uint8_t type) override;

private:
    void deliver(std::unique_ptr<support::QueueItem> item);

    std::unique_ptr<WorkerInboundSink> m_ownedSink;
    InboundSink &m_inbound;
};

} // namespace transport
