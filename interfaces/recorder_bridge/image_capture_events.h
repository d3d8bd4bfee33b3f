#pragma once
// Captured-image notices as the recorder bridge fires them. Every member opens with the event's
// Timestamp and EventSequenceNumber. Fired on the bridge's output thread.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <string>

namespace recorder_bridge {

class ORVEX_INTERFACE IImageCaptureEvents
{
public:
    virtual ~IImageCaptureEvents() = default;

    virtual HRESULT OnCapturedFuellingPositionImage(
        const std::string &Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID,
        std::int16_t CameraID, const std::string &ImageTimestamp, const std::string &ImageFilename,
        std::int16_t EventID, const std::string &SourceEventTimestamp,
        std::int16_t SourceEventSequenceNumber) = 0;
    virtual HRESULT OnCapturedPaymentTerminalImage(
        const std::string &Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID,
        std::int16_t CameraID, const std::string &ImageTimestamp, const std::string &ImageFilename,
        std::int16_t EventID, const std::string &SourceEventTimestamp,
        std::int16_t SourceEventSequenceNumber) = 0;
    virtual HRESULT OnCapturedWorkstationImage(
        const std::string &Timestamp, std::int16_t EventSequenceNumber, const std::string &WorkstationID,
        std::int16_t CameraID, const std::string &ImageTimestamp, const std::string &ImageFilename,
        std::int16_t EventID, const std::string &SourceEventTimestamp,
        std::int16_t SourceEventSequenceNumber) = 0;
};

} // namespace recorder_bridge
