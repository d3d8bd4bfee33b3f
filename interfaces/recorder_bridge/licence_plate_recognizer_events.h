#pragma once
// Plate image requests and recognized registration numbers, fired by the recorder bridge's
// licence plate recognizer on its own thread, one subscriber after another.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <string>

namespace recorder_bridge {

class ORVEX_INTERFACE ILicencePlateRecognizerEvents
{
public:
    virtual ~ILicencePlateRecognizerEvents() = default;

    virtual HRESULT OnRequestImageCapture(std::int16_t CameraID) = 0;
    virtual HRESULT OnRecognizeRegistrationNumber(const std::string &Timestamp,
                                                  std::int16_t EventSequenceNumber,
                                                  std::int16_t FuellingPositionID, std::int16_t CameraID,
                                                  std::int16_t NumberOfCharactersRecognized,
                                                  const std::string &VehicleRegistrationNumber,
                                                  const std::string &ConfidenceLevel,
                                                  const std::string &ImageTimestamp) = 0;
};

} // namespace recorder_bridge
