#pragma once
// How the service hands the recorder bridge its source of recorder events. Reached from the
// bridge's IOrvexInterface with dynamic_pointer_cast.
//
// RegisterServices subscribes the bridge's input stage to `ptr` and keeps `ptr` for the bridge's
// life; it returns S_OK whatever the subscription gave (a refused subscription is traced).

#include "interfaces/services/idvr_event_source.h"
#include "platform/export.h"
#include "platform/hresult.h"

#include <memory>

namespace recorder_bridge {

class ORVEX_INTERFACE IOrvexComponent
{
public:
    virtual ~IOrvexComponent() = default;

    virtual HRESULT RegisterServices(std::shared_ptr<services::IDVREventSource> ptr) = 0;
};

} // namespace recorder_bridge
