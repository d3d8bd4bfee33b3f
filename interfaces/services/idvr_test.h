#pragma once
// Canned recorder events, so that the recorder bridge and recorder software can be exercised
// without a unit: each member fires one fixed event through the hub's recorder event source
// and returns S_OK. Called on the service thread.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <string>

namespace services {

class ORVEX_INTERFACE IDVRTest
{
public:
    virtual ~IDVRTest() = default;

    virtual HRESULT PumpDeliveryStart() = 0;
    virtual HRESULT PumpDeliveryEnd() = 0;
    virtual HRESULT PumpEvent(std::int16_t event) = 0;
    virtual HRESULT CardRead() = 0;
    virtual HRESULT PaymentTransactionAuthorised() = 0;
    virtual HRESULT PaymentTransactionCancelled() = 0;
    virtual HRESULT PrintReceipt() = 0;
    virtual HRESULT PaymentTerminalEvent(std::int16_t event) = 0;
    virtual HRESULT CameraVisitPump() = 0;
    virtual HRESULT CameraVisitCRIND() = 0;
    virtual HRESULT CameraLeave() = 0;
    virtual HRESULT CameraVisitPOS() = 0;
    virtual HRESULT CameraVisit(std::int16_t event) = 0;
    virtual HRESULT CameraRoam() = 0;
    virtual HRESULT CameraVisitRego() = 0;
    virtual HRESULT RecognizeRegoNumber() = 0;
    virtual HRESULT POSInputText(const std::string &text) = 0;
    virtual HRESULT RequestImageCapture() = 0;
    virtual HRESULT CapturedFuellingPositionImage() = 0;
    virtual HRESULT CapturedPaymentTerminalImage() = 0;
    virtual HRESULT CapturedWorkstationImage() = 0;
};

} // namespace services
