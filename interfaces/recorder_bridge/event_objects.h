#pragma once
// The default interfaces of the recorder bridge's event objects. They have no members of their
// own beyond the one event source each object offers: recorder software takes an object from
// IOrvexInterface and subscribes its sink here.
//
// Advise: E_POINTER for a null sink or cookie; otherwise S_OK and a non-zero cookie (a new
// subscriber takes the first free slot). Unadvise: CONNECT_E_NOCONNECTION for a cookie that
// names no subscriber. Any thread may call, also a sink from inside its own handler; a
// subscription made while an event is being fired may miss that event.

#include "interfaces/recorder_bridge/forecourt_camera_events.h"
#include "interfaces/recorder_bridge/fuelling_events.h"
#include "interfaces/recorder_bridge/image_capture_events.h"
#include "interfaces/recorder_bridge/payment_terminal_events.h"
#include "interfaces/recorder_bridge/retail_events.h"
#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <memory>

namespace recorder_bridge {

template <typename Sink>
class ORVEX_INTERFACE IEventSource
{
public:
    virtual ~IEventSource() = default;

    virtual HRESULT Advise(std::shared_ptr<Sink> sink, std::uint32_t *cookie) = 0;
    virtual HRESULT Unadvise(std::uint32_t cookie) = 0;
};

class ORVEX_INTERFACE IFuelling : public IEventSource<IFuellingEvents>
{
};

class ORVEX_INTERFACE IPaymentTerminal : public IEventSource<IPaymentTerminalEvents>
{
};

class ORVEX_INTERFACE IForecourtCamera : public IEventSource<IForecourtCameraEvents>
{
};

class ORVEX_INTERFACE IRetail : public IEventSource<IRetailEvents>
{
};

class ORVEX_INTERFACE IImageCapture : public IEventSource<IImageCaptureEvents>
{
};

} // namespace recorder_bridge
