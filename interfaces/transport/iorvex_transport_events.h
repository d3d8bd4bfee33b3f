#pragma once
// The unit's reports, one member per received message type, fired by the transport from its
// inbound dispatcher thread to every subscriber, one message at a time and in arrival order.
// Bytes of the payload become 16-bit values as signed bytes; texts are converted from
// Windows-1252 to UTF-8 and end at a zero byte. Results are not examined; a subscriber that
// throws does not keep the others from the event.

#include "interfaces/transport/messages.h"
#include "platform/currency.h"

#include <memory>
#include <string>

namespace transport {

class ORVEX_INTERFACE IOrvexTransportEvents
{
public:
    virtual ~IOrvexTransportEvents() = default;

    virtual HRESULT HeartBeat(const std::string &versions) = 0;
    virtual HRESULT Debug(const std::string &debugData) = 0;
    virtual HRESULT BootLoadReadyRequest(std::int16_t statusCode, std::int16_t blockSize,
                                         std::int16_t nextAddress) = 0;
    virtual HRESULT DispenserMap(std::int16_t dispNumber, std::int16_t loopNumber, std::int16_t addr,
                                 std::int16_t cardAddr) = 0;
    virtual HRESULT SystemDiagnostics(std::int16_t totalMem, std::int16_t maxMsgOutstanding,
                                      std::int16_t minSpaceAvailable, std::int16_t totalLoopTime) = 0;
    virtual HRESULT TaskConfig(std::int16_t taskType, std::int16_t inPort, std::int16_t outPort,
                               std::int16_t iface) = 0;
    virtual HRESULT VehicleReg(std::int16_t logicalPump, const std::string &regNumber) = 0;
    virtual HRESULT OnError(const std::string &description) = 0;
    virtual HRESULT OnCameraPreset(const std::shared_ptr<ICameraPresetsOutput> &pCPO) = 0;
    virtual HRESULT InterestZone(std::int16_t zone, std::int16_t camera, std::int16_t preset,
                                 const std::string &intText) = 0;
    virtual HRESULT OnConfigData(const std::shared_ptr<IConfigDataOutput> &pCDO) = 0;
    virtual HRESULT OnEvents(const std::shared_ptr<IEventsOutput> &pEO) = 0;
    virtual HRESULT TaskDiagnostics(std::int16_t msgType, std::int16_t memUsed, std::int16_t msgsUsed) = 0;
    virtual HRESULT ResetCount(std::int16_t ResetCount) = 0;
    virtual HRESULT CameraPosition(std::int16_t cameranum, float pan, float tilt, float zoom) = 0;
    // `revisiting` is -1 or 0.
    virtual HRESULT OnCameraEvent(std::int16_t eventID, std::int16_t targetID, std::int16_t cameranum,
                                  std::int16_t presetNum, std::int16_t revisiting) = 0;
    virtual HRESULT OnPOSMessage(std::int16_t POSNumber, std::int16_t cameranum, std::int16_t presetNum,
                                 const std::string &Text) = 0;
    virtual HRESULT OnPumpEvent(std::int16_t eventID, std::int16_t pumpNum, std::int16_t hoseNum,
                                std::int16_t cameranum) = 0;
    virtual HRESULT OnPumpEventWithDeliveryTotals(std::int16_t eventID, std::int16_t pumpNum,
                                                  std::int16_t hoseNum, Currency unitPrice,
                                                  Currency totalPrice, double volume,
                                                  std::int16_t cameranum) = 0;
    // `MovableFlag` is -1 or 0.
    virtual HRESULT OnPOSEventData(std::int16_t POSNum, std::int16_t cameranum, std::int16_t MovableFlag,
                                   std::int16_t presetNum, std::int16_t priority) = 0;
};

} // namespace transport
