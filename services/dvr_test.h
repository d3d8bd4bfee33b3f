#pragma once
// The test event generator: canned recorder events fired through the hub's recorder event
// source, so that the recorder bridge and recorder software can be exercised without a unit.
// No state. Thread affinity: the service thread. Shares the hub.

#include "interfaces/services/idvr_test.h"

#include <memory>

namespace services {

class OrvexComms;

class DVRTest final : public IDVRTest
{
public:
    explicit DVRTest(std::shared_ptr<OrvexComms> hub);

    HRESULT PumpDeliveryStart() override;
    HRESULT PumpDeliveryEnd() override;
    HRESULT PumpEvent(std::int16_t event) override;
    HRESULT CardRead() override;
    HRESULT PaymentTransactionAuthorised() override;
    HRESULT PaymentTransactionCancelled() override;
    HRESULT PrintReceipt() override;
    HRESULT PaymentTerminalEvent(std::int16_t event) override;
    HRESULT CameraVisitPump() override;
    HRESULT CameraVisitCRIND() override;
    HRESULT CameraLeave() override;
    HRESULT CameraVisitPOS() override;
    HRESULT CameraVisit(std::int16_t event) override;
    HRESULT CameraRoam() override;
    HRESULT CameraVisitRego() override;
    HRESULT RecognizeRegoNumber() override;
    HRESULT POSInputText(const std::string &text) override;
    HRESULT RequestImageCapture() override;
    HRESULT CapturedFuellingPositionImage() override;
    HRESULT CapturedPaymentTerminalImage() override;
    HRESULT CapturedWorkstationImage() override;

private:
    template <typename Call>
    HRESULT fire(Call &&call);

    std::shared_ptr<OrvexComms> m_hub;
};

} // namespace services
