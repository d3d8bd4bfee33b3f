#pragma once
// The hub's source of recorder events, as the recorder bridge's input stage subscribes to it
// (a connection point): a non-zero cookie per subscriber; CONNECT_E_NOCONNECTION for a cookie
// that names none; E_POINTER for a null sink or cookie. Any thread may call.

#include "interfaces/services/idvr_events.h"
#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <memory>

namespace services {

class ORVEX_INTERFACE IDVREventSource
{
public:
    virtual ~IDVREventSource() = default;

    virtual HRESULT AdviseDVREvents(std::shared_ptr<IDVREvents> sink, std::uint32_t *cookie) = 0;
    virtual HRESULT UnadviseDVREvents(std::uint32_t cookie) = 0;
};

} // namespace services
