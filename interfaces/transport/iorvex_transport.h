#pragma once
// The transport: builds messages, sends them to the unit over the serial link, and fires the
// unit's reports as IOrvexTransportEvents.
//
// The get members return a new, empty message; the set members send a copy of its buffer (type
// G, E, C, or the Default's own type) and return at once: the frame goes out later, in order,
// from the link thread. Without a port the message is dropped, with a one-time "No Serial Port
// Selected" notice per port setting. setSerialPort stops and replaces the link; a port that
// cannot be opened is reported by OnError. Every member returns S_OK except where noted. Any
// thread may call; events come from the transport's dispatcher thread.

#include "interfaces/transport/iorvex_transport_events.h"
#include "interfaces/transport/messages.h"

#include <cstdint>
#include <memory>

namespace transport {

class ORVEX_INTERFACE IOrvexTransport
{
public:
    virtual ~IOrvexTransport() = default;

    virtual HRESULT getConfigData(std::shared_ptr<IConfigData> *pConfig) = 0;
    virtual HRESULT setConfigData(const std::shared_ptr<IConfigData> &pConfig) = 0;
    virtual HRESULT getEvents(std::shared_ptr<IEvents> *pEvents) = 0;
    virtual HRESULT setEvents(const std::shared_ptr<IEvents> &pEvents) = 0;
    virtual HRESULT getCameraPresets(std::shared_ptr<ICameraPresets> *pCameraPresets) = 0;
    virtual HRESULT setCameraPresets(const std::shared_ptr<ICameraPresets> &pCameraPresets) = 0;
    virtual HRESULT getDefault(std::shared_ptr<IDefault> *pDefault) = 0;
    virtual HRESULT setDefault(const std::shared_ptr<IDefault> &pDefault) = 0;
    virtual HRESULT setSerialPort(std::int16_t port) = 0;

    // The event source (a connection point): a non-zero cookie per subscriber;
    // CONNECT_E_NOCONNECTION for a cookie that names none; E_POINTER for a null sink or cookie.
    virtual HRESULT Advise(std::shared_ptr<IOrvexTransportEvents> sink, std::uint32_t *cookie) = 0;
    virtual HRESULT Unadvise(std::uint32_t cookie) = 0;
};

} // namespace transport
