#include "orvex_transport.h"

#include "camera_presets.h"
#include "config_data.h"
#include "default.h"
#include "events.h"
#include "message_type.h"

#include "platform/notifier.h"
#include "support/trace_log.h"

#include <algorithm>
#include <cstdint>
#include <exception>

namespace transport {

namespace {

std::int32_t clampedCount(std::size_t count)
{
    return static_cast<std::int32_t>(std::min<std::size_t>(count, INT32_MAX));
}

template <typename Message, typename Interface>
HRESULT makeMessage(std::shared_ptr<Interface> *out)
{
    if (!out)
        return E_POINTER;
    *out = std::make_shared<Message>();
    return S_OK;
}

} // namespace

OrvexTransport::OrvexTransport(LinkTiming linkTiming, Sleeper sleeper)
    : CameraControl([this](const ByteArray &wrapped) { send(code(MessageType::PassThrough), wrapped); },
                    std::move(sleeper)),
      m_dispatcher(std::make_unique<InboundDispatcher>(
          [this](std::uint8_t type, std::span<const std::uint8_t> payload) { dispatch(type, payload); })),
      m_linkTiming(linkTiming)
{
}

OrvexTransport::~OrvexTransport()
{
    {
        std::lock_guard lock(m_linkMutex);
        m_link.reset();
    }
    m_dispatcher.reset();
}

HRESULT OrvexTransport::getConfigData(std::shared_ptr<IConfigData> *pConfig)
{
    return makeMessage<ConfigData>(pConfig);
}

HRESULT OrvexTransport::setConfigData(const std::shared_ptr<IConfigData> &pConfig)
{
    return sendMessage(code(MessageType::ConfigData), pConfig.get());
}

HRESULT OrvexTransport::getEvents(std::shared_ptr<IEvents> *pEvents)
{
    return makeMessage<Events>(pEvents);
}

HRESULT OrvexTransport::setEvents(const std::shared_ptr<IEvents> &pEvents)
{
    return sendMessage(code(MessageType::Events), pEvents.get());
}

HRESULT OrvexTransport::getCameraPresets(std::shared_ptr<ICameraPresets> *pCameraPresets)
{
    return makeMessage<CameraPresets>(pCameraPresets);
}

HRESULT OrvexTransport::setCameraPresets(const std::shared_ptr<ICameraPresets> &pCameraPresets)
{
    return sendMessage(code(MessageType::CameraPresets), pCameraPresets.get());
}

HRESULT OrvexTransport::getDefault(std::shared_ptr<IDefault> *pDefault)
{
    return makeMessage<Default>(pDefault);
}

HRESULT OrvexTransport::setDefault(const std::shared_ptr<IDefault> &pDefault)
{
    if (!pDefault)
        return E_POINTER;
    std::int32_t type = 0;
    pDefault->getMessageType(&type);
    return sendMessage(static_cast<std::uint8_t>(type), pDefault.get());
}

HRESULT OrvexTransport::sendMessage(std::uint8_t type, IOrvexMsg *msg)
{
    if (!msg)
        return E_POINTER;
    ByteArray payload;
    msg->getBuffer(&payload);
    send(type, payload);
    return S_OK;
}

void OrvexTransport::send(std::uint8_t type, const ByteArray &payload)
{
    {
        std::lock_guard lock(m_linkMutex);
        // Numbered under the lock that orders the posts, so that numbers rise along the queue.
        ++m_lastNumber;
        if (m_link) {
            if (!m_link->Send(type, payload, m_lastNumber))
                support::TraceError("Send: message of type 0x%02X could not be queued", type);
            return;
        }
        if (m_portWarningShown)
            return;
        m_portWarningShown = true;
    }
    // Outside the lock: a notifier may block until someone answers it.
    Notify("No Serial Port Selected", NoticeKind::Error);
}

HRESULT OrvexTransport::setSerialPort(std::int16_t port)
{
    std::lock_guard lock(m_linkMutex);
    // The old link goes first, so that only one thread ever holds the port.
    m_link.reset();
    m_lastBeforeLink = m_lastNumber;
    m_portWarningShown = false;
    try {
        m_link = std::make_unique<TransportLink>(port, *m_dispatcher, m_linkTiming);
    } catch (const std::exception &e) {
        support::TraceError("Error Setting Serial Port: %s", e.what());
        return E_FAIL;
    }
    return S_OK;
}

template <typename Value, typename Read>
HRESULT OrvexTransport::readLink(Value *out, Read &&read)
{
    if (!out)
        return E_POINTER;
    std::lock_guard lock(m_linkMutex);
    *out = m_link ? read(*m_link) : Value{0};
    return S_OK;
}

HRESULT OrvexTransport::getBacklog(std::int32_t *messages)
{
    return readLink(messages, [](TransportLink &link) { return clampedCount(link.Backlog()); });
}

HRESULT OrvexTransport::getLastMessageNumber(std::uint64_t *number)
{
    if (!number)
        return E_POINTER;
    std::lock_guard lock(m_linkMutex);
    *number = m_lastNumber;
    return S_OK;
}

HRESULT OrvexTransport::hasSettled(std::uint64_t number, bool *settled)
{
    if (!settled)
        return E_POINTER;
    std::lock_guard lock(m_linkMutex);
    if (number == 0 || number > m_lastNumber)
        return E_INVALIDARG;
    *settled = number <= m_lastBeforeLink || !m_link || m_link->Settled(number);
    return S_OK;
}

HRESULT OrvexTransport::getAcknowledgedCount(std::uint64_t *frames)
{
    return readLink(frames, [](TransportLink &link) { return link.Acknowledged(); });
}

HRESULT OrvexTransport::dropQueuedCameraCommands(std::int32_t *dropped)
{
    std::int32_t count = 0;
    readLink(&count, [](TransportLink &link) { return clampedCount(link.DropQueued(code(MessageType::PassThrough))); });
    if (dropped)
        *dropped = count;
    return S_OK;
}

HRESULT OrvexTransport::Advise(std::shared_ptr<IOrvexTransportEvents> sink, std::uint32_t *cookie)
{
    return m_subscribers.Advise(std::move(sink), cookie);
}

HRESULT OrvexTransport::Unadvise(std::uint32_t cookie)
{
    return m_subscribers.Unadvise(cookie);
}

void OrvexTransport::dispatch(std::uint8_t type, std::span<const std::uint8_t> payload)
{
    const EventCall call = m_decoder.decode(type, payload);
    if (!call)
        return;
    m_subscribers.Fire(call, [type](const std::string &what) {
        support::TraceError("Subscriber failed on message of type 0x%02X: %s", type, what.c_str());
    });
}

} // namespace transport
