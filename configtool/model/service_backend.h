#pragma once
// Where the tool's service objects come from: the service's root on the bus in the program
// (serviceclient), the service's own in-process site tables in tests. Each getter raises
// ComError when the service cannot be reached or refuses (a D-Bus error reply, a failed result).
// User-interface thread only.

#include "interfaces/services/icamera_ctrl.h"
#include "interfaces/services/iorvex_comms.h"
#include "interfaces/services/iorvex_config_data.h"

#include <memory>

namespace configtool {

class ServiceBackend
{
public:
    virtual ~ServiceBackend() = default;

    virtual std::shared_ptr<services::IOrvexConfigData> getOrvexConfigData() = 0;
    virtual std::shared_ptr<services::IOrvexComms> getOrvexComms() = 0;
    virtual std::shared_ptr<services::ICameraCtrl> getCameraCtrl() = 0;
};

} // namespace configtool
