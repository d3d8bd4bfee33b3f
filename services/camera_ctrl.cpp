#include "services/camera_ctrl.h"

#include "services/orvex_comms.h"
#include "services/unit_fields.h"
#include "support/trace_log.h"

#include <cmath>

namespace services {

CameraCtrl::CameraCtrl(std::shared_ptr<transport::ICameraControl> control, std::shared_ptr<OrvexComms> hub)
    : m_control(std::move(control)), m_hub(std::move(hub))
{
}

template <typename Command>
HRESULT CameraCtrl::forward(Command &&command)
{
    if (!m_control)
        return E_POINTER;
    // A stopping service sends the unit nothing that could hold back a site send's tables.
    if (m_hub && !m_hub->AdmitCameraCommand())
        return E_ABORT;
    command(*m_control);
    return S_OK;
}

std::string CameraCtrl::commandRecord(const char *command) const
{
    return "camera " + std::to_string(m_camera) + ", " + command;
}

void CameraCtrl::warn(const std::string &text) const
{
    if (m_hub)
        m_hub->ReportWarning(text);
    else
        support::TraceAt(1, "%s", text.c_str());
}

std::int16_t
CameraCtrl::nearestSpeed(const char *command, std::int16_t speed,
                         transport::FieldRange transport::CameraCommandLimits::*field) const
{
    if (!m_limits)
        return speed;
    const transport::FieldRange range = (*m_limits).*field;
    const auto sent = static_cast<std::int16_t>(range.nearest(speed));
    if (sent != speed)
        warn(OutsideRangeText(commandRecord(command), "speed", speed, range.min, range.max,
                              SentAs(sent)));
    return sent;
}

float CameraCtrl::nearestCoordinate(
    const char *field, float value,
    transport::CoordinateRange transport::CameraCommandLimits::*range) const
{
    if (!m_limits)
        return value;
    const transport::CoordinateRange carried = (*m_limits).*range;
    const float sent = carried.nearest(value);
    if (sent != value)
        warn(OutsideRangeText(commandRecord("GoToPTZCoords"), field, value, carried.min,
                              carried.max, SentAs(sent)));
    return sent;
}

bool CameraCtrl::presetCarried(const char *command, std::int16_t preset) const
{
    if (!m_limits || m_limits->preset.contains(preset))
        return true;
    warn(OutsideRangeText(commandRecord(command), "preset", preset, m_limits->preset.min,
                          m_limits->preset.max, "not sent"));
    return false;
}

template <typename Command>
HRESULT CameraCtrl::forwardPreset(const char *name, std::int16_t preset, Command &&command)
{
    if (!m_control)
        return E_POINTER;
    if (!presetCarried(name, preset))
        return E_INVALIDARG;
    return forward([&](transport::ICameraControl &c) { command(c, preset); });
}

template <typename Command>
HRESULT CameraCtrl::forwardSpeed(const char *name, std::int16_t speed,
                                 transport::FieldRange transport::CameraCommandLimits::*field,
                                 Command &&command)
{
    if (!m_control)
        return E_POINTER;
    const std::int16_t sent = nearestSpeed(name, speed, field);
    return forward([&](transport::ICameraControl &c) { command(c, sent); });
}

HRESULT CameraCtrl::MoveUp(std::int16_t speed)
{
    return forwardSpeed("MoveUp", speed, &transport::CameraCommandLimits::moveSpeed,
                        [](transport::ICameraControl &c, std::int16_t sent) { c.MoveUp(sent); });
}

HRESULT CameraCtrl::MoveDown(std::int16_t speed)
{
    return forwardSpeed("MoveDown", speed, &transport::CameraCommandLimits::moveSpeed,
                        [](transport::ICameraControl &c, std::int16_t sent) { c.MoveDown(sent); });
}

HRESULT CameraCtrl::MoveLeft(std::int16_t speed)
{
    return forwardSpeed("MoveLeft", speed, &transport::CameraCommandLimits::moveSpeed,
                        [](transport::ICameraControl &c, std::int16_t sent) { c.MoveLeft(sent); });
}

HRESULT CameraCtrl::MoveRight(std::int16_t speed)
{
    return forwardSpeed("MoveRight", speed, &transport::CameraCommandLimits::moveSpeed,
                        [](transport::ICameraControl &c, std::int16_t sent) { c.MoveRight(sent); });
}

HRESULT CameraCtrl::MoveUpLeft(std::int16_t speed)
{
    return forwardSpeed(
        "MoveUpLeft", speed, &transport::CameraCommandLimits::moveSpeed,
        [](transport::ICameraControl &c, std::int16_t sent) { c.MoveUpLeft(sent); });
}

HRESULT CameraCtrl::MoveUpRight(std::int16_t speed)
{
    return forwardSpeed(
        "MoveUpRight", speed, &transport::CameraCommandLimits::moveSpeed,
        [](transport::ICameraControl &c, std::int16_t sent) { c.MoveUpRight(sent); });
}

HRESULT CameraCtrl::MoveDownLeft(std::int16_t speed)
{
    return forwardSpeed(
        "MoveDownLeft", speed, &transport::CameraCommandLimits::moveSpeed,
        [](transport::ICameraControl &c, std::int16_t sent) { c.MoveDownLeft(sent); });
}

HRESULT CameraCtrl::MoveDownRight(std::int16_t speed)
{
    return forwardSpeed(
        "MoveDownRight", speed, &transport::CameraCommandLimits::moveSpeed,
        [](transport::ICameraControl &c, std::int16_t sent) { c.MoveDownRight(sent); });
}

HRESULT CameraCtrl::StopMoving()
{
    return forward([](transport::ICameraControl &c) { c.Stop(); });
}

HRESULT CameraCtrl::ZoomIn(std::int16_t speed)
{
    return forwardSpeed("ZoomIn", speed, &transport::CameraCommandLimits::lensSpeed,
                        [](transport::ICameraControl &c, std::int16_t sent) { c.ZoomIn(sent); });
}

HRESULT CameraCtrl::ZoomOut(std::int16_t speed)
{
    return forwardSpeed("ZoomOut", speed, &transport::CameraCommandLimits::lensSpeed,
                        [](transport::ICameraControl &c, std::int16_t sent) { c.ZoomOut(sent); });
}

HRESULT CameraCtrl::FocusNear(std::int16_t speed)
{
    return forwardSpeed("FocusNear", speed, &transport::CameraCommandLimits::lensSpeed,
                        [](transport::ICameraControl &c, std::int16_t sent) { c.FocusNear(sent); });
}

HRESULT CameraCtrl::FocusFar(std::int16_t speed)
{
    return forwardSpeed("FocusFar", speed, &transport::CameraCommandLimits::lensSpeed,
                        [](transport::ICameraControl &c, std::int16_t sent) { c.FocusFar(sent); });
}

HRESULT CameraCtrl::OpenIris()
{
    return forward([](transport::ICameraControl &c) { c.OpenIris(); });
}

HRESULT CameraCtrl::CloseIris()
{
    return forward([](transport::ICameraControl &c) { c.CloseIris(); });
}

HRESULT CameraCtrl::SetPreset(std::int16_t preset)
{
    return forwardPreset("SetPreset", preset, [](transport::ICameraControl &c, std::int16_t sent) {
        c.SetPreset(sent);
    });
}

HRESULT CameraCtrl::MoveToPreset(std::int16_t preset)
{
    return forwardPreset(
        "MoveToPreset", preset,
        [](transport::ICameraControl &c, std::int16_t sent) { c.MoveToPreset(sent); });
}

HRESULT CameraCtrl::SelectCamera(std::int16_t camera, std::int16_t cameraType, std::string *result)
{
    m_camera = camera;
    m_limits = transport::CameraCommandLimitsOf(cameraType);
    if (m_limits && !m_limits->camera.contains(camera)) {
        // The transport refuses it too and drops the camera selected before.
        warn(OutsideRangeText("camera " + std::to_string(camera), "number", camera,
                              m_limits->camera.min, m_limits->camera.max, "no camera selected"));
        m_limits.reset();
    }
    // Sends nothing: allowed during a stop too.
    if (!m_control)
        return E_POINTER;
    m_control->SelectCamera(static_cast<std::int32_t>(camera), static_cast<std::int32_t>(cameraType), result);
    return S_OK;
}

HRESULT CameraCtrl::ClearPreset(std::int16_t preset)
{
    return forwardPreset(
        "ClearPreset", preset,
        [](transport::ICameraControl &c, std::int16_t sent) { c.ClearPreset(sent); });
}

HRESULT CameraCtrl::RequestCameraPTZCoords()
{
    return forward([](transport::ICameraControl &c) { c.RequestCameraPTZCoords(); });
}

HRESULT CameraCtrl::GoToPTZCoords(float pan, float tilt, float zoom)
{
    // No camera protocol can encode such a coordinate, and the recorder side could not place it.
    if (!std::isfinite(pan) || !std::isfinite(tilt) || !std::isfinite(zoom))
        return E_INVALIDARG;
    if (m_control) {
        pan = nearestCoordinate("pan", pan, &transport::CameraCommandLimits::pan);
        tilt = nearestCoordinate("tilt", tilt, &transport::CameraCommandLimits::tilt);
        zoom = nearestCoordinate("zoom", zoom, &transport::CameraCommandLimits::zoom);
    }
    const HRESULT hr = forward([&](transport::ICameraControl &c) { c.GoToPTZCoords(pan, tilt, zoom); });
    if (FAILED(hr))
        return hr;
    if (m_hub) {
        const std::int16_t camera = m_camera;
        m_hub->FireDVREvents([&](IDVREvents &s) {
            s.OnCameraLocalizeRegistrationPlate(0, camera, "Licence Plate", 0, 0, -1, static_cast<double>(pan),
                                                static_cast<double>(tilt), static_cast<double>(zoom), 0.0);
        });
    }
    return S_OK;
}

HRESULT CameraCtrl::ToggleAutoPan()
{
    return forward([](transport::ICameraControl &c) { c.ToggleAutoPan(); });
}

HRESULT CameraCtrl::ToggleAutoIris()
{
    return forward([](transport::ICameraControl &c) { c.ToggleAutoIris(); });
}

HRESULT CameraCtrl::AccessMenu()
{
    return forward([](transport::ICameraControl &c) { c.AccessMenu(); });
}

} // namespace services
