#pragma once
// The service hub's recorder events: what the unit reports, in the terms recorder software
// uses. The recorder bridge's input stage sinks them; the test event generator can fire every
// member.
//
// Fired synchronously on the service thread, one subscriber after another; a sink's handler
// runs inside the hub's handler that fired it. Results are not examined. Flags are 16-bit
// values holding -1 (true) or 0 (false); money is Currency; volumes and camera coordinates are
// doubles.

#include "platform/currency.h"
#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <string>

namespace services {

class ORVEX_INTERFACE IDVREvents
{
public:
    virtual ~IDVREvents() = default;

    virtual HRESULT OnPosMessage(std::int16_t posNum, std::int16_t cameraNum, const std::string &msg) = 0;
    virtual HRESULT OnPumpEvent(std::int16_t pumpnum, std::int16_t eventNum, std::int16_t cameraNum) = 0;
    virtual HRESULT OnPumpDeliveryStart(std::int16_t pumpnum, std::int16_t cameraNum) = 0;
    virtual HRESULT OnPumpDeliveryEnd(std::int16_t pumpnum, std::int16_t nozzlenum, Currency totalPrice,
                                      Currency unitPrice, double volume, std::int16_t cameraNum) = 0;
    virtual HRESULT OnCardRead(std::int16_t PaymentTerminalID, std::int16_t PaymentMediaTypeCode,
                               const std::string &PaymentMediaData) = 0;
    virtual HRESULT OnPaymentTransactionAuthorized(std::int16_t PaymentTerminalID,
                                                   std::int16_t FuellingPositionID,
                                                   const std::string &HostTransactionID) = 0;
    virtual HRESULT OnPaymentTransactionCancelled(std::int16_t PaymentTerminalID) = 0;
    virtual HRESULT OnPrintReceipt(std::int16_t PaymentTerminalID) = 0;
    virtual HRESULT OnPaymentTerminalEvent(std::int16_t PaymentTerminalID, std::int16_t EventID) = 0;
    virtual HRESULT OnCameraVisitFuellingPosition(
        std::int16_t FuellingPositionID, std::int16_t CameraID, const std::string &PositionDescription,
        std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates,
        double PanCoordinate, double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate,
        std::int16_t EventID, std::int16_t Revisiting) = 0;
    virtual HRESULT OnCameraVisitPaymentTerminal(
        std::int16_t PaymentTerminalID, std::int16_t CameraID, const std::string &PositionDescription,
        std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates,
        double PanCoordinate, double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate,
        std::int16_t EventID, std::int16_t Revisiting) = 0;
    virtual HRESULT OnCameraLeavePosition(std::int16_t CameraID, const std::string &PositionDescription,
                                          std::int16_t KnowPreset, std::int16_t PresetID,
                                          std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
                                          double TiltCoordinate, double ZoomCoordinate,
                                          double FocusCoordinate) = 0;
    virtual HRESULT OnCameraVisitWorkstation(const std::string &WorkstationID, std::int16_t CameraID,
                                             const std::string &PositionDescription,
                                             std::int16_t KnowPreset, std::int16_t PresetID,
                                             std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
                                             double TiltCoordinate, double ZoomCoordinate,
                                             double FocusCoordinate) = 0;
    virtual HRESULT OnCameraVisit(std::int16_t CameraID, const std::string &PositionDescription,
                                  std::int16_t KnowPreset, std::int16_t PresetID,
                                  std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
                                  double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate,
                                  std::int16_t EventID, std::int16_t Revisiting) = 0;
    virtual HRESULT OnCameraRoam(std::int16_t CameraID, const std::string &PositionDescription,
                                 std::int16_t KnowPreset, std::int16_t PresetID,
                                 std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
                                 double TiltCoordinate, double ZoomCoordinate) = 0;
    virtual HRESULT OnCameraLocalizeRegistrationPlate(
        std::int16_t FuellingPositionID, std::int16_t CameraID, const std::string &PositionDescription,
        std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates,
        double PanCoordinate, double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate) = 0;
    virtual HRESULT OnRecognizeRegistrationNumber(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                                  std::int16_t NumberOfCharactersRecognized,
                                                  const std::string &VehicleRegistrationNumber,
                                                  const std::string &ConfidenceLevel,
                                                  const std::string &ImageTimestamp) = 0;
    virtual HRESULT OnRequestImageCapture(std::int16_t CameraID) = 0;
    virtual HRESULT OnCapturedFuellingPositionImage(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                                    const std::string &ImageTimestamp,
                                                    const std::string &ImageFilename, std::int16_t EventID,
                                                    const std::string &SourceEventTimestamp,
                                                    std::int16_t SourceEventSequenceNumber) = 0;
    virtual HRESULT OnCapturedPaymentTerminalImage(std::int16_t PaymentTerminalID, std::int16_t CameraID,
                                                   const std::string &ImageTimestamp,
                                                   const std::string &ImageFilename, std::int16_t EventID,
                                                   const std::string &SourceEventTimestamp,
                                                   std::int16_t SourceEventSequenceNumber) = 0;
    virtual HRESULT OnCapturedWorkstationImage(const std::string &WorkstationID, std::int16_t CameraID,
                                               const std::string &ImageTimestamp,
                                               const std::string &ImageFilename, std::int16_t EventID,
                                               const std::string &SourceEventTimestamp,
                                               std::int16_t SourceEventSequenceNumber) = 0;
};

} // namespace services
