// Made from the interface headers and interfaces/*.xml; keep the three in step.
#include "services/bus_objects.h"

#include "interfaces/dbus/orvexservices_adaptor.h"
#include "interfaces/services/iorvex_comms_event_source.h"
#include "services/bus_object.h"
#include "services/command_turns.h"
#include "services/hub_inbound_bus_object.h"
#include "support/trace_log.h"

#include <optional>
#include <set>
#include <tuple>

namespace services {
namespace {

// The commands answer asynchronously: each runs in its turn (CommandTurns), after a site send or
// read that is under way, and is answered when it is done, while the connection serves every
// other call meanwhile.
class OrvexCommsObject : public BusObject<IOrvexComms, org::orvex::IOrvexComms_adaptor,
                                          org::orvex::IOrvexCommsEvents_adaptor>
{
public:
    OrvexCommsObject(BusContext &context, std::string path, std::shared_ptr<IOrvexComms> hub)
        : BusObject(context, std::move(path), hub), m_turns(std::dynamic_pointer_cast<CommandTurns>(hub))
    {}

    void afterSend() { context().afterSend(); }

    // The hub fires its status events on the service thread, where the connection lives, so
    // they go out at once.
    class Signals final : public IOrvexCommsEvents
    {
    public:
        explicit Signals(OrvexCommsObject &owner) : m_owner(owner) {}
        HRESULT Debug(const std::string &debugData) override
        {
            return send([&] { m_owner.emitDebug(debugData); });
        }
        HRESULT OrvexOnline(const std::string &ver) override
        {
            return send([&] { m_owner.emitOrvexOnline(ver); });
        }
        HRESULT OrvexOffline() override
        {
            return send([&] { m_owner.emitOrvexOffline(); });
        }
        HRESULT CommsError(const std::string &reason) override
        {
            return send([&] { m_owner.emitCommsError(reason); });
        }
        HRESULT SystemDiagnostics(std::int16_t totalMem, std::int16_t maxMsgOutstanding,
                                  std::int16_t minSpaceAvailable,
                                  std::int16_t totalLoopTime) override
        {
            return send([&] {
                m_owner.emitSystemDiagnostics(totalMem, maxMsgOutstanding, minSpaceAvailable,
                                              totalLoopTime);
            });
        }
        HRESULT TaskDiagnostics(std::int16_t msgType, std::int16_t memUsed,
                                std::int16_t msgsUsed) override
        {
            return send([&] { m_owner.emitTaskDiagnostics(msgType, memUsed, msgsUsed); });
        }
        HRESULT ResetCount(std::int16_t ResetCount) override
        {
            return send([&] { m_owner.emitResetCount(ResetCount); });
        }
        HRESULT GotMessage(const std::string &msgType) override
        {
            return send([&] { m_owner.emitGotMessage(msgType); });
        }
        HRESULT CameraPosition(std::int16_t cameraNum, float pan, float tilt, float zoom) override
        {
            return send([&] {
                m_owner.emitCameraPosition(cameraNum, static_cast<double>(pan),
                                           static_cast<double>(tilt), static_cast<double>(zoom));
            });
        }

    private:
        template <typename Emit> HRESULT send(Emit &&emit)
        {
            emit();
            m_owner.afterSend();
            return S_OK;
        }

        OrvexCommsObject &m_owner;
    };

private:
    using Answer = sdbus::Result<std::int32_t>;

    void SetSerialPort(Answer &&answer, int16_t port) override
    {
        inTurn(std::move(answer), &IOrvexComms::SetSerialPort, port);
    }
    void ReadDataFromOrvex(Answer &&answer) override
    {
        inTurn(std::move(answer), &IOrvexComms::ReadDataFromOrvex);
    }
    void ClearOrvexMemory(Answer &&answer) override
    {
        inTurn(std::move(answer), &IOrvexComms::ClearOrvexMemory);
    }
    void ToggleDebug(Answer &&answer, int16_t time) override
    {
        inTurn(std::move(answer), &IOrvexComms::ToggleDebug, time);
    }
    void ClearResetCount(Answer &&answer) override
    {
        inTurn(std::move(answer), &IOrvexComms::ClearResetCount);
    }
    void SendCurrentSiteToOrvex(Answer &&answer) override
    {
        inTurn(std::move(answer), &IOrvexComms::SendCurrentSiteToOrvex);
    }
    void RequestResetCount(Answer &&answer) override
    {
        inTurn(std::move(answer), &IOrvexComms::RequestResetCount);
    }
    void RequestSystemDiagnostics(Answer &&answer) override
    {
        inTurn(std::move(answer), &IOrvexComms::RequestSystemDiagnostics);
    }
    void RequestTaskDiagnostics(Answer &&answer) override
    {
        inTurn(std::move(answer), &IOrvexComms::RequestTaskDiagnostics);
    }

    template <typename... Params>
    void inTurn(Answer &&answer, HRESULT (IOrvexComms::*member)(Params...), Params... args)
    {
        CommandTurns::Command command = [member, args...](IOrvexComms &comms) {
            return BusContext::contain([&] { return (comms.*member)(args...); });
        };
        CommandTurns::Reply reply = answerLater(std::move(answer));
        // The caller counts as a client from here on, also while it waits for its answer.
        (void)context().call(this->getObject(), [&] {
            if (m_turns)
                m_turns->RunInTurn(std::move(command), std::move(reply));
            else
                reply(command(*domain()));
            return S_OK;
        });
    }

    // Keeps `answer` until the reply sends it. An answer still unsent when this object leaves
    // the bus is dropped with it, while the connection is still open: the caller's wait ends
    // with the connection or its own time-out. A command refused while the service stops is
    // answered with the error the bus gives for a service that left without answering, which is
    // what such a caller got before the stop waited for a site send.
    CommandTurns::Reply answerLater(Answer &&answer)
    {
        auto kept = std::make_shared<Answer>(std::move(answer));
        m_unanswered->insert(kept);
        return [unanswered = std::weak_ptr(m_unanswered), weakAnswer = std::weak_ptr(kept),
                bus = context().weak_from_this()](std::optional<HRESULT> hr) {
            const auto answers = unanswered.lock();
            const auto answer = weakAnswer.lock();
            if (!answers || !answer)
                return;
            answers->erase(answer);
            try {
                if (hr)
                    answer->returnResults(std::int32_t{*hr});
                else
                    answer->returnError(sdbus::Error("org.freedesktop.DBus.Error.NoReply",
                                                     "OrvexServices is stopping: the command was not run"));
            } catch (const sdbus::Error &error) {
                support::TraceError("Error Answering a Command on the Bus: %s", error.getMessage().c_str());
            }
            if (const auto busContext = bus.lock())
                busContext->afterSend();
        };
    }

    std::shared_ptr<CommandTurns> m_turns;
    std::shared_ptr<std::set<std::shared_ptr<Answer>>> m_unanswered
        = std::make_shared<std::set<std::shared_ptr<Answer>>>();
};

class CameraCtrlObject : public BusObject<ICameraCtrl, org::orvex::ICameraCtrl_adaptor>
{
public:
    using BusObject::BusObject;

private:
    int32_t MoveUp(const int16_t &speed) override { return reply(&ICameraCtrl::MoveUp, speed); }
    int32_t MoveDown(const int16_t &speed) override { return reply(&ICameraCtrl::MoveDown, speed); }
    int32_t MoveLeft(const int16_t &speed) override { return reply(&ICameraCtrl::MoveLeft, speed); }
    int32_t MoveRight(const int16_t &speed) override
    {
        return reply(&ICameraCtrl::MoveRight, speed);
    }
    int32_t MoveUpLeft(const int16_t &speed) override
    {
        return reply(&ICameraCtrl::MoveUpLeft, speed);
    }
    int32_t MoveUpRight(const int16_t &speed) override
    {
        return reply(&ICameraCtrl::MoveUpRight, speed);
    }
    int32_t MoveDownLeft(const int16_t &speed) override
    {
        return reply(&ICameraCtrl::MoveDownLeft, speed);
    }
    int32_t MoveDownRight(const int16_t &speed) override
    {
        return reply(&ICameraCtrl::MoveDownRight, speed);
    }
    int32_t StopMoving() override { return reply(&ICameraCtrl::StopMoving); }
    int32_t ZoomIn(const int16_t &speed) override { return reply(&ICameraCtrl::ZoomIn, speed); }
    int32_t ZoomOut(const int16_t &speed) override { return reply(&ICameraCtrl::ZoomOut, speed); }
    int32_t FocusNear(const int16_t &speed) override
    {
        return reply(&ICameraCtrl::FocusNear, speed);
    }
    int32_t FocusFar(const int16_t &speed) override { return reply(&ICameraCtrl::FocusFar, speed); }
    int32_t OpenIris() override { return reply(&ICameraCtrl::OpenIris); }
    int32_t CloseIris() override { return reply(&ICameraCtrl::CloseIris); }
    int32_t SetPreset(const int16_t &preset) override
    {
        return reply(&ICameraCtrl::SetPreset, preset);
    }
    int32_t MoveToPreset(const int16_t &preset) override
    {
        return reply(&ICameraCtrl::MoveToPreset, preset);
    }
    std::tuple<int32_t, std::string> SelectCamera(const int16_t &camera,
                                                  const int16_t &cameraType) override
    {
        return reply(&ICameraCtrl::SelectCamera, camera, cameraType);
    }
    int32_t ClearPreset(const int16_t &preset) override
    {
        return reply(&ICameraCtrl::ClearPreset, preset);
    }
    int32_t RequestCameraPTZCoords() override
    {
        return reply(&ICameraCtrl::RequestCameraPTZCoords);
    }
    int32_t GoToPTZCoords(const double &pan, const double &tilt, const double &zoom) override
    {
        return reply(&ICameraCtrl::GoToPTZCoords, static_cast<float>(pan), static_cast<float>(tilt),
                     static_cast<float>(zoom));
    }
    int32_t ToggleAutoPan() override { return reply(&ICameraCtrl::ToggleAutoPan); }
    int32_t ToggleAutoIris() override { return reply(&ICameraCtrl::ToggleAutoIris); }
    int32_t AccessMenu() override { return reply(&ICameraCtrl::AccessMenu); }
};

class DVRTestObject : public BusObject<IDVRTest, org::orvex::IDVRTest_adaptor>
{
public:
    using BusObject::BusObject;

private:
    int32_t PumpDeliveryStart() override { return reply(&IDVRTest::PumpDeliveryStart); }
    int32_t PumpDeliveryEnd() override { return reply(&IDVRTest::PumpDeliveryEnd); }
    int32_t PumpEvent(const int16_t &event) override { return reply(&IDVRTest::PumpEvent, event); }
    int32_t CardRead() override { return reply(&IDVRTest::CardRead); }
    int32_t PaymentTransactionAuthorised() override
    {
        return reply(&IDVRTest::PaymentTransactionAuthorised);
    }
    int32_t PaymentTransactionCancelled() override
    {
        return reply(&IDVRTest::PaymentTransactionCancelled);
    }
    int32_t PrintReceipt() override { return reply(&IDVRTest::PrintReceipt); }
    int32_t PaymentTerminalEvent(const int16_t &event) override
    {
        return reply(&IDVRTest::PaymentTerminalEvent, event);
    }
    int32_t CameraVisitPump() override { return reply(&IDVRTest::CameraVisitPump); }
    int32_t CameraVisitCRIND() override { return reply(&IDVRTest::CameraVisitCRIND); }
    int32_t CameraLeave() override { return reply(&IDVRTest::CameraLeave); }
    int32_t CameraVisitPOS() override { return reply(&IDVRTest::CameraVisitPOS); }
    int32_t CameraVisit(const int16_t &event) override
    {
        return reply(&IDVRTest::CameraVisit, event);
    }
    int32_t CameraRoam() override { return reply(&IDVRTest::CameraRoam); }
    int32_t CameraVisitRego() override { return reply(&IDVRTest::CameraVisitRego); }
    int32_t RecognizeRegoNumber() override { return reply(&IDVRTest::RecognizeRegoNumber); }
    int32_t POSInputText(const std::string &text) override
    {
        return reply(&IDVRTest::POSInputText, text);
    }
    int32_t RequestImageCapture() override { return reply(&IDVRTest::RequestImageCapture); }
    int32_t CapturedFuellingPositionImage() override
    {
        return reply(&IDVRTest::CapturedFuellingPositionImage);
    }
    int32_t CapturedPaymentTerminalImage() override
    {
        return reply(&IDVRTest::CapturedPaymentTerminalImage);
    }
    int32_t CapturedWorkstationImage() override
    {
        return reply(&IDVRTest::CapturedWorkstationImage);
    }
};

// Keeps the hub's subscription for as long as the object is on the bus.
class SubscribedCommsObject
{
public:
    SubscribedCommsObject(BusContext &context, const std::string &path,
                          std::shared_ptr<IOrvexComms> hub)
        : m_object(PutOnBus<OrvexCommsObject>(context, path, hub)),
          m_inbound(MakeHubInboundBusObject(context, path, hub)),
          m_source(std::dynamic_pointer_cast<IOrvexCommsEventSource>(hub))
    {
        if (!m_source)
            return;
        const HRESULT hr = m_source->AdviseCommsEvents(
            std::make_shared<OrvexCommsObject::Signals>(*m_object), &m_cookie);
        if (FAILED(hr))
            support::TraceError("Error Advising Comms Events for the bus: %s",
                                DescribeResult(hr).c_str());
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

std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path,
                                    std::shared_ptr<IOrvexComms> object)
{
    return std::make_shared<SubscribedCommsObject>(context, path, std::move(object));
}
ORVEX_PUT_ON_BUS(ICameraCtrl, CameraCtrlObject)
ORVEX_PUT_ON_BUS(IDVRTest, DVRTestObject)

} // namespace services
