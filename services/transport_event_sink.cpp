#include "services/transport_event_sink.h"

#include "services/orvex_comms.h"

namespace services {

TransportEventSink::TransportEventSink(ServiceLoop &loop, OrvexComms *hub) : m_loop(loop), m_hub(hub) {}

void TransportEventSink::Detach()
{
    m_hub.store(nullptr);
}

HRESULT TransportEventSink::forward(const std::function<void(OrvexComms &)> &handler)
{
    // The hub is read on the service thread, where it is also detached, so it cannot go away
    // while a handler runs.
    m_loop.Invoke([&]() -> HRESULT {
        if (OrvexComms *hub = m_hub.load())
            handler(*hub);
        return S_OK;
    });
    return S_OK;
}

HRESULT TransportEventSink::HeartBeat(const std::string &versions)
{
    return forward([&](OrvexComms &hub) { hub.OnTransportHeartBeat(versions); });
}

HRESULT TransportEventSink::Debug(const std::string &debugData)
{
    return forward([&](OrvexComms &hub) { hub.OnTransportDebug(debugData); });
}

HRESULT TransportEventSink::BootLoadReadyRequest(std::int16_t statusCode, std::int16_t blockSize,
                                                 std::int16_t nextAddress)
{
    return forward(
        [&](OrvexComms &hub) { hub.OnTransportBootLoadReadyRequest(statusCode, blockSize, nextAddress); });
}

HRESULT TransportEventSink::DispenserMap(std::int16_t dispNumber, std::int16_t loopNumber, std::int16_t addr,
                                         std::int16_t cardAddr)
{
    return forward(
        [&](OrvexComms &hub) { hub.OnTransportDispenserMap(dispNumber, loopNumber, addr, cardAddr); });
}

HRESULT TransportEventSink::SystemDiagnostics(std::int16_t totalMem, std::int16_t maxMsgOutstanding,
                                              std::int16_t minSpaceAvailable, std::int16_t totalLoopTime)
{
    return forward([&](OrvexComms &hub) {
        hub.OnTransportSystemDiagnostics(totalMem, maxMsgOutstanding, minSpaceAvailable, totalLoopTime);
    });
}

HRESULT TransportEventSink::TaskConfig(std::int16_t taskType, std::int16_t inPort, std::int16_t outPort,
                                       std::int16_t iface)
{
    return forward([&](OrvexComms &hub) { hub.OnTransportTaskConfig(taskType, inPort, outPort, iface); });
}

HRESULT TransportEventSink::VehicleReg(std::int16_t logicalPump, const std::string &regNumber)
{
    return forward([&](OrvexComms &hub) { hub.OnTransportVehicleReg(logicalPump, regNumber); });
}

HRESULT TransportEventSink::OnError(const std::string &description)
{
    return forward([&](OrvexComms &hub) { hub.OnTransportError(description); });
}

HRESULT TransportEventSink::OnCameraPreset(const std::shared_ptr<transport::ICameraPresetsOutput> &pCPO)
{
    return forward([&](OrvexComms &hub) { hub.OnTransportCameraPreset(pCPO); });
}

HRESULT TransportEventSink::InterestZone(std::int16_t zone, std::int16_t camera, std::int16_t preset,
                                         const std::string &intText)
{
    return forward([&](OrvexComms &hub) { hub.OnTransportInterestZone(zone, camera, preset, intText); });
}

HRESULT TransportEventSink::OnConfigData(const std::shared_ptr<transport::IConfigDataOutput> &pCDO)
{
    return forward([&](OrvexComms &hub) { hub.OnTransportConfigData(pCDO); });
}

HRESULT TransportEventSink::OnEvents(const std::shared_ptr<transport::IEventsOutput> &pEO)
{
    return forward([&](OrvexComms &hub) { hub.OnTransportEvents(pEO); });
}

HRESULT TransportEventSink::TaskDiagnostics(std::int16_t msgType, std::int16_t memUsed, std::int16_t msgsUsed)
{
    return forward([&](OrvexComms &hub) { hub.OnTransportTaskDiagnostics(msgType, memUsed, msgsUsed); });
}

HRESULT TransportEventSink::ResetCount(std::int16_t ResetCount)
{
    return forward([&](OrvexComms &hub) { hub.OnTransportResetCount(ResetCount); });
}

HRESULT TransportEventSink::CameraPosition(std::int16_t cameranum, float pan, float tilt, float zoom)
{
    return forward([&](OrvexComms &hub) { hub.OnTransportCameraPosition(cameranum, pan, tilt, zoom); });
}

HRESULT TransportEventSink::OnCameraEvent(std::int16_t eventID, std::int16_t targetID, std::int16_t cameranum,
                                          std::int16_t presetNum, std::int16_t revisiting)
{
    return forward([&](OrvexComms &hub) {
        hub.OnTransportCameraEvent(eventID, targetID, cameranum, presetNum, revisiting);
    });
}

HRESULT TransportEventSink::OnPOSMessage(std::int16_t POSNumber, std::int16_t cameranum, std::int16_t presetNum,
                                         const std::string &Text)
{
    return forward([&](OrvexComms &hub) { hub.OnTransportPOSMessage(POSNumber, cameranum, presetNum, Text); });
}

HRESULT TransportEventSink::OnPumpEvent(std::int16_t eventID, std::int16_t pumpNum, std::int16_t hoseNum,
                                        std::int16_t cameranum)
{
    return forward([&](OrvexComms &hub) { hub.OnTransportPumpEvent(eventID, pumpNum, hoseNum, cameranum); });
}

HRESULT TransportEventSink::OnPumpEventWithDeliveryTotals(std::int16_t eventID, std::int16_t pumpNum,
                                                          std::int16_t hoseNum, Currency unitPrice,
                                                          Currency totalPrice, double volume,
                                                          std::int16_t cameranum)
{
    return forward([&](OrvexComms &hub) {
        hub.OnTransportPumpEventWithDeliveryTotals(eventID, pumpNum, hoseNum, unitPrice, totalPrice, volume,
                                                   cameranum);
    });
}

HRESULT TransportEventSink::OnPOSEventData(std::int16_t POSNum, std::int16_t cameranum, std::int16_t MovableFlag,
                                           std::int16_t presetNum, std::int16_t priority)
{
    return forward([&](OrvexComms &hub) {
        hub.OnTransportPOSEventData(POSNum, cameranum, MovableFlag, presetNum, priority);
    });
}

} // namespace services
