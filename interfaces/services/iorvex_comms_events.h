#pragma once
// The service hub's status events, for the configuration tool and the event monitor console.
// Fired synchronously on the service thread; results are not examined. Camera coordinates are
// floats here (doubles in the recorder events).

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <string>

namespace services {

class ORVEX_INTERFACE IOrvexCommsEvents
{
public:
    virtual ~IOrvexCommsEvents() = default;

    virtual HRESULT Debug(const std::string &debugData) = 0;
    virtual HRESULT OrvexOnline(const std::string &ver) = 0;
    virtual HRESULT OrvexOffline() = 0;
    virtual HRESULT CommsError(const std::string &reason) = 0;
    virtual HRESULT SystemDiagnostics(std::int16_t totalMem, std::int16_t maxMsgOutstanding,
                                      std::int16_t minSpaceAvailable, std::int16_t totalLoopTime) = 0;
    virtual HRESULT TaskDiagnostics(std::int16_t msgType, std::int16_t memUsed, std::int16_t msgsUsed) = 0;
    virtual HRESULT ResetCount(std::int16_t ResetCount) = 0;
    virtual HRESULT GotMessage(const std::string &msgType) = 0;
    virtual HRESULT CameraPosition(std::int16_t cameraNum, float pan, float tilt, float zoom) = 0;
};

} // namespace services
