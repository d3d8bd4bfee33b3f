#pragma once
// The service's root: the getters of the objects every client works with. Each getter hands out
// the one shared object; a client letting go of it never ends it (the objects end with the
// root). getRecorderBridge is E_POINTER when the service holds no bridge; a null out-pointer is
// E_POINTER; otherwise S_OK. Called on the service thread.

#include "interfaces/recorder_bridge/orvex_interface.h"
#include "interfaces/services/icamera_ctrl.h"
#include "interfaces/services/idvr_test.h"
#include "interfaces/services/iorvex_comms.h"
#include "interfaces/services/iorvex_config_data.h"
#include "platform/export.h"
#include "platform/hresult.h"

#include <memory>

namespace services {

class ORVEX_INTERFACE IOrvex
{
public:
    virtual ~IOrvex() = default;

    virtual HRESULT getOrvexConfigData(std::shared_ptr<IOrvexConfigData> *ptr) = 0;
    virtual HRESULT getOrvexComms(std::shared_ptr<IOrvexComms> *ptr) = 0;
    virtual HRESULT getCameraCtrl(std::shared_ptr<ICameraCtrl> *ptr) = 0;
    virtual HRESULT getRecorderBridge(std::shared_ptr<recorder_bridge::IOrvexInterface> *ptr) = 0;
    virtual HRESULT getDVRTestInterface(std::shared_ptr<IDVRTest> *ptr) = 0;
};

} // namespace services
