#pragma once
// Licence plate results handed to the hub: each member fires the recorder event of the same
// meaning (OnRecognizeRegistrationNumber, OnCaptured...Image) with its arguments unchanged and
// in the same order, and returns S_OK. Called on the service thread.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <string>

namespace services {

class ORVEX_INTERFACE ILicencePlate
{
public:
    virtual ~ILicencePlate() = default;

    virtual HRESULT RecognizeLicencePlateNumber(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                                std::int16_t NumberOfCharactersRecognized,
                                                const std::string &VehicleRegistrationNumber,
                                                const std::string &ConfidenceLevel,
                                                const std::string &ImageTimestamp) = 0;
    virtual HRESULT CapturedFuellingPositionImage(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                                  const std::string &ImageTimestamp,
                                                  const std::string &ImageFilename, std::int16_t EventID,
                                                  const std::string &SourceEventTimestamp,
                                                  std::int16_t SourceEventSequenceNumber) = 0;
    virtual HRESULT CapturedPaymentTerminalImage(std::int16_t PaymentTerminalID, std::int16_t CameraID,
                                                 const std::string &ImageTimestamp,
                                                 const std::string &ImageFilename, std::int16_t EventID,
                                                 const std::string &SourceEventTimestamp,
                                                 std::int16_t SourceEventSequenceNumber) = 0;
    virtual HRESULT CapturedWorkstationImage(const std::string &WorkstationID, std::int16_t CameraID,
                                             const std::string &ImageTimestamp,
                                             const std::string &ImageFilename, std::int16_t EventID,
                                             const std::string &SourceEventTimestamp,
                                             std::int16_t SourceEventSequenceNumber) = 0;
};

} // namespace services
