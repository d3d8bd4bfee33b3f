#pragma once
// The transport object: builds messages for the unit, sends them over the serial link, fires
// the unit's reports to its subscribers, and steers the selected camera (ICameraControl, whose
// commands join the send path as pass-through messages).
//
// Ownership: the object owns its inbound dispatcher and, once a port is set, its TransportLink;
// it is held by shared_ptr (the factory makes it). Destroying it stops the link (closing the
// port, dropping unsent messages) and then the dispatcher, so no event fires after the
// destructor has returned.
//
// Threads: any thread may call any member. Sends only queue to the link thread and return at
// once. Events are fired on the dispatcher thread, one message at a time, to every subscriber
// advised when the firing began; subscribers may advise and unadvise (themselves too) from
// inside an event or from any other thread. A subscriber that throws is traced and the others
// still get the event. Members return S_OK except for null pointers (E_POINTER) and a link that
// could not be made (E_FAIL, traced). ILinkBacklog reports what the current link has still to
// settle (0 without one) and numbers every message sent (camera commands too), so that a caller
// can wait for one of them.

#include "camera_control.h"
#include "event_decoder.h"
#include "inbound_dispatcher.h"
#include "transport_link.h"

#include "interfaces/transport/ilink_backlog.h"
#include "interfaces/transport/iorvex_transport.h"
#include "platform/connection_point.h"

#include <memory>
#include <mutex>

namespace transport {

class OrvexTransport final : public IOrvexTransport, public ILinkBacklog, public CameraControl
{
public:
    // `linkTiming` sets the read and retransmission time-outs of every link the object makes;
    // the defaults are the unit's, tests shorten them.
    // `sleeper` makes the pauses of the camera position command (null: real sleeps).
    explicit OrvexTransport(LinkTiming linkTiming = {}, Sleeper sleeper = {});
    ~OrvexTransport() override;
    OrvexTransport(const OrvexTransport &) = delete;
    OrvexTransport &operator=(const OrvexTransport &) = delete;

    HRESULT getConfigData(std::shared_ptr<IConfigData> *pConfig) override;
    HRESULT setConfigData(const std::shared_ptr<IConfigData> &pConfig) override;
    HRESULT getEvents(std::shared_ptr<IEvents> *pEvents) override;
    HRESULT setEvents(const std::shared_ptr<IEvents> &pEvents) override;
    HRESULT getCameraPresets(std::shared_ptr<ICameraPresets> *pCameraPresets) override;
    HRESULT setCameraPresets(const std::shared_ptr<ICameraPresets> &pCameraPresets) override;
    HRESULT getDefault(std::shared_ptr<IDefault> *pDefault) override;
    HRESULT setDefault(const std::shared_ptr<IDefault> &pDefault) override;
    HRESULT setSerialPort(std::int16_t port) override;

    HRESULT Advise(std::shared_ptr<IOrvexTransportEvents> sink, std::uint32_t *cookie) override;
    HRESULT Unadvise(std::uint32_t cookie) override;

    HRESULT getBacklog(std::int32_t *messages) override;
    HRESULT getLastMessageNumber(std::uint64_t *number) override;
    HRESULT hasSettled(std::uint64_t number, bool *settled) override;
    HRESULT getAcknowledgedCount(std::uint64_t *frames) override;
    HRESULT dropQueuedCameraCommands(std::int32_t *dropped) override;

    // Where the link delivers received messages; tests post QueuedMessage items here too.
    [[nodiscard]] support::QueuedWorkerThread &inboundDispatcher() { return *m_dispatcher; }

private:
    // The send path: queues `payload` to the link as a message of `type`, or, without a link,
    // drops it with the one-time "No Serial Port Selected" notice.
    void send(std::uint8_t type, const ByteArray &payload);
    HRESULT sendMessage(std::uint8_t type, IOrvexMsg *msg);
    // Under the link's lock: `*out` := read(link), 0 without a link; E_POINTER when `out` is null.
    template <typename Value, typename Read>
    HRESULT readLink(Value *out, Read &&read);
    void dispatch(std::uint8_t type, std::span<const std::uint8_t> payload);

    EventDecoder m_decoder; // dispatcher thread only
    ConnectionPoint<IOrvexTransportEvents> m_subscribers;
    std::unique_ptr<InboundDispatcher> m_dispatcher;

    const LinkTiming m_linkTiming;
    std::mutex m_linkMutex;
    std::unique_ptr<TransportLink> m_link; // guarded by m_linkMutex
    bool m_portWarningShown = false;       // guarded by m_linkMutex
    // Guarded by m_linkMutex: the number of the last message sent, and that of the last message
    // sent before the current link was made (those are settled or gone with their link).
    std::uint64_t m_lastNumber = 0;
    std::uint64_t m_lastBeforeLink = 0;
};

} // namespace transport
