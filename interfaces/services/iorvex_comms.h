#pragma once
// Commands to the Orvex unit, offered by the service's communications hub.
//
// Each command becomes one message to the unit (or the site download or upload); the unit's
// replies come back later as the hub's status events. SetSerialPort restarts the link on that
// port and the one-second heartbeat. Commands that keep the unit busy (ReadDataFromOrvex,
// ClearOrvexMemory and RequestTaskDiagnostics 30 s, SendCurrentSiteToOrvex 60 s) postpone the
// next heartbeat step by that much. Every member returns S_OK, or E_POINTER when the hub has no
// transport (nothing is sent). Called on the service thread. The site send and read return once
// they have begun; clients on the bus are answered when they have ended.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>

namespace services {

class ORVEX_INTERFACE IOrvexComms
{
public:
    virtual ~IOrvexComms() = default;

    virtual HRESULT SetSerialPort(std::int16_t port) = 0;
    virtual HRESULT ReadDataFromOrvex() = 0;
    virtual HRESULT ClearOrvexMemory() = 0;
    virtual HRESULT ToggleDebug(std::int16_t time) = 0;
    virtual HRESULT ClearResetCount() = 0;
    // Begins the download (its ten-second wait runs on the service loop's timers).
    virtual HRESULT SendCurrentSiteToOrvex() = 0;
    virtual HRESULT RequestResetCount() = 0;
    // Sends nothing.
    virtual HRESULT RequestSystemDiagnostics() = 0;
    virtual HRESULT RequestTaskDiagnostics() = 0;
};

} // namespace services
