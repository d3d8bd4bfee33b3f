#pragma once
// The hub's subscriber to the transport's events. The transport calls it on its dispatcher
// thread; each event is carried into the service thread with ServiceLoop::Invoke and handled
// there by the hub, so the dispatcher waits for the handler (and for a command the service
// thread is busy with) before it fires the next event: events are handled one at a time, in
// the order the transport fired them.
//
// Every member answers S_OK. Once detached (the hub is going away), or once the loop has quit,
// events are dropped.

#include "interfaces/transport/iorvex_transport_events.h"
#include "platform/service_loop.h"

#include <atomic>
#include <functional>

namespace services {

class OrvexComms;

class TransportEventSink final : public transport::IOrvexTransportEvents
{
public:
    TransportEventSink(ServiceLoop &loop, OrvexComms *hub);

    // On the service thread: no event reaches the hub after this returns.
    void Detach();

    HRESULT HeartBeat(const std::string &versions) override;
    HRESULT Debug(const std::string &debugData) override;
    HRESULT BootLoadReadyRequest(std::int16_t statusCode, std::int16_t blockSize,
                                 std::int16_t nextAddress) override;
    HRESULT DispenserMap(std::int16_t dispNumber, std::int16_t loopNumber, std::int16_t addr,
                         std::int16_t cardAddr) override;
    HRESULT SystemDiagnostics(std::int16_t totalMem, std::int16_t maxMsgOutstanding,
                              std::int16_t minSpaceAvailable, std::int16_t totalLoopTime) override;
    HRESULT TaskConfig(std::int16_t taskType, std::int16_t inPort, std::int16_t outPort,
                       std::int16_t iface) override;
    HRESULT VehicleReg(std::int16_t logicalPump, const std::string &regNumber) override;
    HRESULT OnError(const std::string &description) override;
    HRESULT OnCameraPreset(const std::shared_ptr<transport::ICameraPresetsOutput> &pCPO) override;
    HRESULT InterestZone(std::int16_t zone, std::int16_t camera, std::int16_t preset,
                         const std::string &intText) override;
    HRESULT OnConfigData(const std::shared_ptr<transport::IConfigDataOutput> &pCDO) override;
    HRESULT OnEvents(const std::shared_ptr<transport::IEventsOutput> &pEO) override;
    HRESULT TaskDiagnostics(std::int16_t msgType, std::int16_t memUsed, std::int16_t msgsUsed) override;
    HRESULT ResetCount(std::int16_t ResetCount) override;
    HRESULT CameraPosition(std::int16_t cameranum, float pan, float tilt, float zoom) override;
    HRESULT OnCameraEvent(std::int16_t eventID, std::int16_t targetID, std::int16_t cameranum,
                          std::int16_t presetNum, std::int16_t revisiting) override;
    HRESULT OnPOSMessage(std::int16_t POSNumber, std::int16_t cameranum, std::int16_t presetNum,
                         const std::string &Text) override;
    HRESULT OnPumpEvent(std::int16_t eventID, std::int16_t pumpNum, std::int16_t hoseNum,
                        std::int16_t cameranum) override;
    HRESULT OnPumpEventWithDeliveryTotals(std::int16_t eventID, std::int16_t pumpNum, std::int16_t hoseNum,
                                          Currency unitPrice, Currency totalPrice, double volume,
                                          std::int16_t cameranum) override;
    HRESULT OnPOSEventData(std::int16_t POSNum, std::int16_t cameranum, std::int16_t MovableFlag,
                           std::int16_t presetNum, std::int16_t priority) override;

private:
    HRESULT forward(const std::function<void(OrvexComms &)> &handler);

    ServiceLoop &m_loop;
    std::atomic<OrvexComms *> m_hub;
};

} // namespace services
