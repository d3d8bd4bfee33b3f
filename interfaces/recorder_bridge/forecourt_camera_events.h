#pragma once
// Camera movements as the recorder bridge fires them. Every member opens with the event's
// Timestamp and EventSequenceNumber; the camera block is CameraID, PositionDescription,
// KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate, TiltCoordinate, ZoomCoordinate.
// Flags are 16-bit values holding -1 or 0. Fired on the bridge's output thread.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <string>

namespace recorder_bridge {

class ORVEX_INTERFACE IForecourtCameraEvents
{
public:
    virtual ~IForecourtCameraEvents() = default;

    virtual HRESULT OnCameraVisitFuellingPosition(
        const std::string &Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID,
        std::int16_t CameraID, const std::string &PositionDescription, std::int16_t KnowPreset,
        std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
        double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate, std::int16_t EventID,
        const std::string &Description, std::int16_t Revisiting) = 0;
    virtual HRESULT OnCameraVisitPaymentTerminal(
        const std::string &Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID,
        std::int16_t CameraID, const std::string &PositionDescription, std::int16_t KnowPreset,
        std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
        double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate, std::int16_t EventID,
        const std::string &EventDescription, std::int16_t Revisiting) = 0;
    virtual HRESULT OnCameraLeavePosition(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                          std::int16_t CameraID, const std::string &PositionDescription,
                                          std::int16_t KnowPreset, std::int16_t PresetID,
                                          std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
                                          double TiltCoordinate, double ZoomCoordinate,
                                          double FocusCoordinate) = 0;
    virtual HRESULT OnCameraVisitWorkstation(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                             const std::string &WorkstationID, std::int16_t CameraID,
                                             const std::string &PositionDescription,
                                             std::int16_t KnowPreset, std::int16_t PresetID,
                                             std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
                                             double TiltCoordinate, double ZoomCoordinate,
                                             double FocusCoordinate) = 0;
    virtual HRESULT OnCameraVisit(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                  std::int16_t CameraID, const std::string &PositionDescription,
                                  std::int16_t KnowPreset, std::int16_t PresetID,
                                  std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
                                  double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate,
                                  std::int16_t EventID, const std::string &EventDescription,
                                  std::int16_t Revisiting) = 0;
    virtual HRESULT OnCameraRoam(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                 std::int16_t CameraID, const std::string &PositionDescription,
                                 std::int16_t KnowPreset, std::int16_t PresetID,
                                 std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
                                 double TiltCoordinate, double ZoomCoordinate) = 0;
    virtual HRESULT OnCameraLocalizeRegistrationPlate(
        const std::string &Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID,
        std::int16_t CameraID, const std::string &PositionDescription, std::int16_t KnowPreset,
        std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
        double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate) = 0;
};

} // namespace recorder_bridge
