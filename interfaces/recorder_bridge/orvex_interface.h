#pragma once
// The recorder bridge: the one creatable class of the RecorderBridge library.
//
// The getters hand out the bridge's event objects; each call returns the same object, which
// lives as long as anyone holds it (but fires nothing once the bridge is gone). A null
// out-pointer is E_POINTER; otherwise S_OK. FireTestMessage sends one OnStartFuelDelivery
// (pump 1, event 4, "Delivery Start", camera 0) through the whole pipeline. Any thread may call.
// The object also implements IOrvexComponent.

#include "interfaces/recorder_bridge/event_objects.h"
#include "interfaces/recorder_bridge/licence_plate_recognizer.h"
#include "platform/export.h"
#include "platform/hresult.h"

#include <memory>

namespace recorder_bridge {

class ORVEX_INTERFACE IOrvexInterface
{
public:
    virtual ~IOrvexInterface() = default;

    virtual HRESULT getFuellingInterface(std::shared_ptr<IFuelling> *ptr) = 0;
    virtual HRESULT getPaymentTerminal(std::shared_ptr<IPaymentTerminal> *ptr) = 0;
    virtual HRESULT getForecourtCamera(std::shared_ptr<IForecourtCamera> *ptr) = 0;
    virtual HRESULT getRetail(std::shared_ptr<IRetail> *ptr) = 0;
    virtual HRESULT FireTestMessage() = 0;
    virtual HRESULT getLicencePlateRecognizer(std::shared_ptr<ILicencePlateRecognizer> *ptr) = 0;
    virtual HRESULT getImageCapture(std::shared_ptr<IImageCapture> *ptr) = 0;
};

} // namespace recorder_bridge
