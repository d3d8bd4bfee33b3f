#pragma once
// Pump events as the recorder bridge fires them to recorder software. Every member opens with
// the event's Timestamp ("%Y-%m-%dT%H:%M:%S", local time) and EventSequenceNumber. Fired on the
// bridge's output thread, one subscriber after another; results are ignored.

#include "platform/currency.h"
#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <string>

namespace recorder_bridge {

class ORVEX_INTERFACE IFuellingEvents
{
public:
    virtual ~IFuellingEvents() = default;

    virtual HRESULT OnStartFuelDelivery(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                        std::int16_t FuellingPositionID, std::int16_t EventID,
                                        const std::string &EventDescription, std::int16_t CameraID) = 0;
    virtual HRESULT OnFinishFuelDelivery(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                         std::int16_t FuellingPositionID, std::int16_t EventID,
                                         const std::string &EventDescription, std::int16_t NozzleID,
                                         Currency TotalPrice, Currency UnitPrice, double Volume,
                                         const std::string &GradeName, std::int16_t PaymentMode,
                                         std::int16_t CameraID) = 0;
    virtual HRESULT OnFuellingEvent(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                    std::int16_t FuellingPositionID, std::int16_t EventID,
                                    const std::string &EventDescription, std::int16_t CameraID) = 0;
};

} // namespace recorder_bridge
