#pragma once
// The hub's source of status events, as clients (the configuration tool, the event monitor
// console, through the bus) subscribe to it (a connection point): a non-zero cookie per
// subscriber; CONNECT_E_NOCONNECTION for a cookie that names none; E_POINTER for a null sink or
// cookie. Any thread may call.

#include "interfaces/services/iorvex_comms_events.h"
#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <memory>

namespace services {

class ORVEX_INTERFACE IOrvexCommsEventSource
{
public:
    virtual ~IOrvexCommsEventSource() = default;

    virtual HRESULT AdviseCommsEvents(std::shared_ptr<IOrvexCommsEvents> sink, std::uint32_t *cookie) = 0;
    virtual HRESULT UnadviseCommsEvents(std::uint32_t cookie) = 0;
};

} // namespace services
