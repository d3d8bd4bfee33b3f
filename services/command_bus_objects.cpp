// Made from the interface headers and interfaces/*.xml; keep the three in step.
#include "services/bus_objects.h"

#include "interfaces/dbus/orvexservices_adaptor.h"
#include "interfaces/services/iorvex_comms_event_source.h"
#include "services/bus_context.h"
#include "services/hub_inbound_bus_object.h"
#include "support/trace_log.h"

#include <tuple>

namespace services {
namespace {

class OrvexCommsObject final : public sdbus::AdaptorInterfaces<org::orvex::IOrvexComms_adaptor, org::orvex::IOrvexCommsEvents_adaptor>
{
public:
    OrvexCommsObject(BusContext &context, std::string path, std::shared_ptr<services::IOrvexComms> object)
        : AdaptorInterfaces(context.connection(), std::move(path)), m_context(context),
          m_object(std::move(object))
    {
        registerAdaptor();
    }
    ~OrvexCommsObject() { unregisterAdaptor(); }

    void afterSend() { m_context.afterSend(); }

    // The hub fires its status events on the service thread, where the connection lives, so
    // they go out at once.
    class Signals final : public IOrvexCommsEvents
    {
    public:
        explicit Signals(OrvexCommsObject &owner) : m_owner(owner) {}
    HRESULT Debug(const std::string & debugData) override
        {
            m_owner.emitDebug(debugData);
            m_owner.afterSend();
            return S_OK;
        }
        HRESULT OrvexOnline(const std::string & ver) override
        {
            m_owner.emitOrvexOnline(ver);
            m_owner.afterSend();
            return S_OK;
        }
        HRESULT OrvexOffline() override
        {
            m_owner.emitOrvexOffline();
            m_owner.afterSend();
            return S_OK;
        }
        HRESULT CommsError(const std::string & reason) override
        {
            m_owner.emitCommsError(reason);
            m_owner.afterSend();
            return S_OK;
        }
        HRESULT SystemDiagnostics(std::int16_t totalMem, std::int16_t maxMsgOutstanding, std::int16_t minSpaceAvailable, std::int16_t totalLoopTime) override
        {
            m_owner.emitSystemDiagnostics(totalMem, maxMsgOutstanding, minSpaceAvailable, totalLoopTime);
            m_owner.afterSend();
            return S_OK;
        }
        HRESULT TaskDiagnostics(std::int16_t msgType, std::int16_t memUsed, std::int16_t msgsUsed) override
        {
            m_owner.emitTaskDiagnostics(msgType, memUsed, msgsUsed);
            m_owner.afterSend();
            return S_OK;
        }
        HRESULT ResetCount(std::int16_t ResetCount) override
        {
            m_owner.emitResetCount(ResetCount);
            m_owner.afterSend();
            return S_OK;
        }
        HRESULT GotMessage(const std::string & msgType) override
        {
            m_owner.emitGotMessage(msgType);
            m_owner.afterSend();
            return S_OK;
        }
        HRESULT CameraPosition(std::int16_t cameraNum, float pan, float tilt, float zoom) override
        {
            m_owner.emitCameraPosition(cameraNum, static_cast<double>(pan), static_cast<double>(tilt), static_cast<double>(zoom));
            m_owner.afterSend();
            return S_OK;
        }

    private:
        OrvexCommsObject &m_owner;
    };

private:
    int32_t SetSerialPort(const int16_t &port) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetSerialPort(port); });
    }
    int32_t ReadDataFromOrvex() override
    {
        return m_context.call(getObject(), [&] { return m_object->ReadDataFromOrvex(); });
    }
    int32_t ClearOrvexMemory() override
    {
        return m_context.call(getObject(), [&] { return m_object->ClearOrvexMemory(); });
    }
    int32_t ToggleDebug(const int16_t &time) override
    {
        return m_context.call(getObject(), [&] { return m_object->ToggleDebug(time); });
    }
    int32_t ClearResetCount() override
    {
        return m_context.call(getObject(), [&] { return m_object->ClearResetCount(); });
    }
    int32_t SendCurrentSiteToOrvex() override
    {
        return m_context.call(getObject(), [&] { return m_object->SendCurrentSiteToOrvex(); });
    }
    int32_t RequestResetCount() override
    {
        return m_context.call(getObject(), [&] { return m_object->RequestResetCount(); });
    }
    int32_t RequestSystemDiagnostics() override
    {
        return m_context.call(getObject(), [&] { return m_object->RequestSystemDiagnostics(); });
    }
    int32_t RequestTaskDiagnostics() override
    {
        return m_context.call(getObject(), [&] { return m_object->RequestTaskDiagnostics(); });
    }

    BusContext &m_context;
    std::shared_ptr<services::IOrvexComms> m_object;
};

class CameraCtrlObject final : public sdbus::AdaptorInterfaces<org::orvex::ICameraCtrl_adaptor>
{
public:
    CameraCtrlObject(BusContext &context, std::string path, std::shared_ptr<services::ICameraCtrl> object)
        : AdaptorInterfaces(context.connection(), std::move(path)), m_context(context),
          m_object(std::move(object))
    {
        registerAdaptor();
    }
    ~CameraCtrlObject() { unregisterAdaptor(); }

private:
    int32_t MoveUp(const int16_t &speed) override
    {
        return m_context.call(getObject(), [&] { return m_object->MoveUp(speed); });
    }
    int32_t MoveDown(const int16_t &speed) override
    {
        return m_context.call(getObject(), [&] { return m_object->MoveDown(speed); });
    }
    int32_t MoveLeft(const int16_t &speed) override
    {
        return m_context.call(getObject(), [&] { return m_object->MoveLeft(speed); });
    }
    int32_t MoveRight(const int16_t &speed) override
    {
        return m_context.call(getObject(), [&] { return m_object->MoveRight(speed); });
    }
    int32_t MoveUpLeft(const int16_t &speed) override
    {
        return m_context.call(getObject(), [&] { return m_object->MoveUpLeft(speed); });
    }
    int32_t MoveUpRight(const int16_t &speed) override
    {
        return m_context.call(getObject(), [&] { return m_object->MoveUpRight(speed); });
    }
    int32_t MoveDownLeft(const int16_t &speed) override
    {
        return m_context.call(getObject(), [&] { return m_object->MoveDownLeft(speed); });
    }
    int32_t MoveDownRight(const int16_t &speed) override
    {
        return m_context.call(getObject(), [&] { return m_object->MoveDownRight(speed); });
    }
    int32_t StopMoving() override
    {
        return m_context.call(getObject(), [&] { return m_object->StopMoving(); });
    }
    int32_t ZoomIn(const int16_t &speed) override
    {
        return m_context.call(getObject(), [&] { return m_object->ZoomIn(speed); });
    }
    int32_t ZoomOut(const int16_t &speed) override
    {
        return m_context.call(getObject(), [&] { return m_object->ZoomOut(speed); });
    }
    int32_t FocusNear(const int16_t &speed) override
    {
        return m_context.call(getObject(), [&] { return m_object->FocusNear(speed); });
    }
    int32_t FocusFar(const int16_t &speed) override
    {
        return m_context.call(getObject(), [&] { return m_object->FocusFar(speed); });
    }
    int32_t OpenIris() override
    {
        return m_context.call(getObject(), [&] { return m_object->OpenIris(); });
    }
    int32_t CloseIris() override
    {
        return m_context.call(getObject(), [&] { return m_object->CloseIris(); });
    }
    int32_t SetPreset(const int16_t &preset) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetPreset(preset); });
    }
    int32_t MoveToPreset(const int16_t &preset) override
    {
        return m_context.call(getObject(), [&] { return m_object->MoveToPreset(preset); });
    }
    std::tuple<int32_t, std::string> SelectCamera(const int16_t &camera, const int16_t &cameraType) override
    {
        std::string resultOut{};
        return {m_context.call(getObject(), [&] { return m_object->SelectCamera(camera, cameraType, &resultOut); }), resultOut};
    }
    int32_t ClearPreset(const int16_t &preset) override
    {
        return m_context.call(getObject(), [&] { return m_object->ClearPreset(preset); });
    }
    int32_t RequestCameraPTZCoords() override
    {
        return m_context.call(getObject(), [&] { return m_object->RequestCameraPTZCoords(); });
    }
    int32_t GoToPTZCoords(const double &pan, const double &tilt, const double &zoom) override
    {
        return m_context.call(getObject(), [&] { return m_object->GoToPTZCoords(static_cast<float>(pan), static_cast<float>(tilt), static_cast<float>(zoom)); });
    }
    int32_t ToggleAutoPan() override
    {
        return m_context.call(getObject(), [&] { return m_object->ToggleAutoPan(); });
    }
    int32_t ToggleAutoIris() override
    {
        return m_context.call(getObject(), [&] { return m_object->ToggleAutoIris(); });
    }
    int32_t AccessMenu() override
    {
        return m_context.call(getObject(), [&] { return m_object->AccessMenu(); });
    }

    BusContext &m_context;
    std::shared_ptr<services::ICameraCtrl> m_object;
};

class DVRTestObject final : public sdbus::AdaptorInterfaces<org::orvex::IDVRTest_adaptor>
{
public:
    DVRTestObject(BusContext &context, std::string path, std::shared_ptr<services::IDVRTest> object)
        : AdaptorInterfaces(context.connection(), std::move(path)), m_context(context),
          m_object(std::move(object))
    {
        registerAdaptor();
    }
    ~DVRTestObject() { unregisterAdaptor(); }

private:
    int32_t PumpDeliveryStart() override
    {
        return m_context.call(getObject(), [&] { return m_object->PumpDeliveryStart(); });
    }
    int32_t PumpDeliveryEnd() override
    {
        return m_context.call(getObject(), [&] { return m_object->PumpDeliveryEnd(); });
    }
    int32_t PumpEvent(const int16_t &event) override
    {
        return m_context.call(getObject(), [&] { return m_object->PumpEvent(event); });
    }
    int32_t CardRead() override
    {
        return m_context.call(getObject(), [&] { return m_object->CardRead(); });
    }
    int32_t PaymentTransactionAuthorised() override
    {
        return m_context.call(getObject(), [&] { return m_object->PaymentTransactionAuthorised(); });
    }
    int32_t PaymentTransactionCancelled() override
    {
        return m_context.call(getObject(), [&] { return m_object->PaymentTransactionCancelled(); });
    }
    int32_t PrintReceipt() override
    {
        return m_context.call(getObject(), [&] { return m_object->PrintReceipt(); });
    }
    int32_t PaymentTerminalEvent(const int16_t &event) override
    {
        return m_context.call(getObject(), [&] { return m_object->PaymentTerminalEvent(event); });
    }
    int32_t CameraVisitPump() override
    {
        return m_context.call(getObject(), [&] { return m_object->CameraVisitPump(); });
    }
    int32_t CameraVisitCRIND() override
    {
        return m_context.call(getObject(), [&] { return m_object->CameraVisitCRIND(); });
    }
    int32_t CameraLeave() override
    {
        return m_context.call(getObject(), [&] { return m_object->CameraLeave(); });
    }
    int32_t CameraVisitPOS() override
    {
        return m_context.call(getObject(), [&] { return m_object->CameraVisitPOS(); });
    }
    int32_t CameraVisit(const int16_t &event) override
    {
        return m_context.call(getObject(), [&] { return m_object->CameraVisit(event); });
    }
    int32_t CameraRoam() override
    {
        return m_context.call(getObject(), [&] { return m_object->CameraRoam(); });
    }
    int32_t CameraVisitRego() override
    {
        return m_context.call(getObject(), [&] { return m_object->CameraVisitRego(); });
    }
    int32_t RecognizeRegoNumber() override
    {
        return m_context.call(getObject(), [&] { return m_object->RecognizeRegoNumber(); });
    }
    int32_t POSInputText(const std::string &text) override
    {
        return m_context.call(getObject(), [&] { return m_object->POSInputText(text); });
    }
    int32_t RequestImageCapture() override
    {
        return m_context.call(getObject(), [&] { return m_object->RequestImageCapture(); });
    }
    int32_t CapturedFuellingPositionImage() override
    {
        return m_context.call(getObject(), [&] { return m_object->CapturedFuellingPositionImage(); });
    }
    int32_t CapturedPaymentTerminalImage() override
    {
        return m_context.call(getObject(), [&] { return m_object->CapturedPaymentTerminalImage(); });
    }
    int32_t CapturedWorkstationImage() override
    {
        return m_context.call(getObject(), [&] { return m_object->CapturedWorkstationImage(); });
    }

    BusContext &m_context;
    std::shared_ptr<services::IDVRTest> m_object;
};

// Keeps the hub's subscription for as long as the object is on the bus.
class SubscribedCommsObject
{
public:
    SubscribedCommsObject(BusContext &context, const std::string &path, std::shared_ptr<IOrvexComms> hub)
        : m_object(std::make_shared<OrvexCommsObject>(context, path, hub)),
          m_inbound(MakeHubInboundBusObject(context, path, hub)),
          m_source(std::dynamic_pointer_cast<IOrvexCommsEventSource>(hub))
    {
        if (!m_source)
            return;
        const HRESULT hr = m_source->AdviseCommsEvents(std::make_shared<OrvexCommsObject::Signals>(*m_object), &m_cookie);
        if (FAILED(hr))
            support::TraceError("Error Advising Comms Events for the bus: %s", DescribeResult(hr).c_str());
    }
    ~SubscribedCommsObject()
    {
        if (m_source && m_cookie != 0)
            (void)m_source->UnadviseCommsEvents(m_cookie);
    }
    SubscribedCommsObject(const SubscribedCommsObject &) = delete;
    SubscribedCommsObject &operator=(const SubscribedCommsObject &) = delete;

private:
    std::shared_ptr<OrvexCommsObject> m_object;
    std::shared_ptr<void> m_inbound;
    std::shared_ptr<IOrvexCommsEventSource> m_source;
    std::uint32_t m_cookie = 0;
};

} // namespace

std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path, std::shared_ptr<IOrvexComms> object)
{
    return std::make_shared<SubscribedCommsObject>(context, path, std::move(object));
}
std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path, std::shared_ptr<ICameraCtrl> object)
{
    return std::make_shared<CameraCtrlObject>(context, path, std::move(object));
}
std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path, std::shared_ptr<IDVRTest> object)
{
    return std::make_shared<DVRTestObject>(context, path, std::move(object));
}

} // namespace services
