#include "forecourt_camera.h"

#include <cstdio>

namespace recorder_bridge {

namespace {

enum class Tail { None, Focus, FocusAndEvent };

// The debug line of a camera item: the opening, the head, an optional first value, the camera
// block, and the focus and event values where the member carries them.
void TraceCameraLine(const char *opening, const char *firstLabel, const std::string &firstValue,
                     const MessageItem &item, Tail tail)
{
    if (!support::TraceEnabled(2))
        return;
    std::string first;
    if (firstLabel)
        first = std::string(firstLabel) + " = " + firstValue + ", ";
    char focus[64] = "";
    if (tail != Tail::None)
        std::snprintf(focus, sizeof focus, ", Focus = %f", item.FocusCoordinate);
    std::string event;
    if (tail == Tail::FocusAndEvent) {
        event = ", EventID = " + std::to_string(item.EventID) + ", EventDescription = " + item.EventDescription
                + ", Revisiting = " + std::to_string(item.Revisiting);
    }
    support::TraceDebug("Firing %s Event, Timestamp = %s, Sequence ID =  %d, %sCamera = %d, Position = %s, "
                        "KnowPreset = %d, PresetID = %d, KnowAbsoluteCoords = %d, Pan = %f, Tilt = %f, "
                        "Zoom = %f%s%s",
                        opening, item.Timestamp.c_str(), item.EventSequenceNumber, first.c_str(), item.CameraID,
                        item.PositionDescription.c_str(), item.KnowPreset, item.PresetID,
                        item.KnowAbsoluteCoordinates, item.PanCoordinate, item.TiltCoordinate, item.ZoomCoordinate,
                        focus, event.c_str());
}

} // namespace

void ForecourtCamera::FireCameraItem(const MessageItem &item)
{
    const std::string &ts = item.Timestamp;
    const std::int16_t seq = item.EventSequenceNumber;
    const std::int16_t cam = item.CameraID;
    const std::string &pos = item.PositionDescription;
    const std::int16_t kp = item.KnowPreset;
    const std::int16_t preset = item.PresetID;
    const std::int16_t ka = item.KnowAbsoluteCoordinates;
    const double pan = item.PanCoordinate, tilt = item.TiltCoordinate, zoom = item.ZoomCoordinate;
    const double focus = item.FocusCoordinate;
    switch (item.Type) {
    case ItemType::CameraRoam:
        TraceCameraLine("Camera Roam", nullptr, {}, item, Tail::None);
        FireAll([&](IForecourtCameraEvents &s) { s.OnCameraRoam(ts, seq, cam, pos, kp, preset, ka, pan, tilt, zoom); });
        return;
    case ItemType::CameraVisitWorkstation:
        TraceCameraLine("Camera Visit POS", "POS", item.WorkstationID, item, Tail::Focus);
        FireAll([&](IForecourtCameraEvents &s) {
            s.OnCameraVisitWorkstation(ts, seq, item.WorkstationID, cam, pos, kp, preset, ka, pan, tilt, zoom, focus);
        });
        return;
    case ItemType::CameraLeavePosition:
        TraceCameraLine("Camera Leave", nullptr, {}, item, Tail::Focus);
        FireAll([&](IForecourtCameraEvents &s) {
            s.OnCameraLeavePosition(ts, seq, cam, pos, kp, preset, ka, pan, tilt, zoom, focus);
        });
        return;
    case ItemType::CameraVisit:
        TraceCameraLine("Camera Visit Event", nullptr, {}, item, Tail::FocusAndEvent);
        FireAll([&](IForecourtCameraEvents &s) {
            s.OnCameraVisit(ts, seq, cam, pos, kp, preset, ka, pan, tilt, zoom, focus, item.EventID,
                            item.EventDescription, item.Revisiting);
        });
        return;
    case ItemType::CameraVisitFuellingPosition:
        TraceCameraLine("Camera Visit Pump", "Pump", std::to_string(item.FuellingPositionID), item,
                        Tail::FocusAndEvent);
        FireAll([&](IForecourtCameraEvents &s) {
            s.OnCameraVisitFuellingPosition(ts, seq, item.FuellingPositionID, cam, pos, kp, preset, ka, pan, tilt,
                                            zoom, focus, item.EventID, item.EventDescription, item.Revisiting);
        });
        return;
    case ItemType::CameraVisitPaymentTerminal:
        TraceCameraLine("Camera Visit CRIND", "CRIND", std::to_string(item.PaymentTerminalID), item,
                        Tail::FocusAndEvent);
        FireAll([&](IForecourtCameraEvents &s) {
            s.OnCameraVisitPaymentTerminal(ts, seq, item.PaymentTerminalID, cam, pos, kp, preset, ka, pan, tilt,
                                           zoom, focus, item.EventID, item.EventDescription, item.Revisiting);
        });
        return;
    case ItemType::CameraLocalizeRegistrationPlate:
        // Opens like the fuelling position visit: trace readers key on that opening.
        TraceCameraLine("Camera Visit Pump", "Pump", std::to_string(item.FuellingPositionID), item, Tail::Focus);
        FireAll([&](IForecourtCameraEvents &s) {
            s.OnCameraLocalizeRegistrationPlate(ts, seq, item.FuellingPositionID, cam, pos, kp, preset, ka, pan,
                                                tilt, zoom, focus);
        });
        return;
    default:
        return;
    }
}

} // namespace recorder_bridge
