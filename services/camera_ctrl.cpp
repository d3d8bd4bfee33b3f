#include "services/camera_ctrl.h"

#include "services/orvex_comms.h"

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

HRESULT CameraCtrl::MoveUp(std::int16_t speed)
{
    return forward([&](transport::ICameraControl &c) { c.MoveUp(speed); });
}

HRESULT CameraCtrl::MoveDown(std::int16_t speed)
{
    return forward([&](transport::ICameraControl &c) { c.MoveDown(speed); });
}

HRESULT CameraCtrl::MoveLeft(std::int16_t speed)
{
    return forward([&](transport::ICameraControl &c) { c.MoveLeft(speed); });
}

HRESULT CameraCtrl::MoveRight(std::int16_t speed)
{
    return forward([&](transport::ICameraControl &c) { c.MoveRight(speed); });
}

HRESULT CameraCtrl::MoveUpLeft(std::int16_t speed)
{
    return forward([&](transport::ICameraControl &c) { c.MoveUpLeft(speed); });
}

HRESULT CameraCtrl::MoveUpRight(std::int16_t speed)
{
    return forward([&](transport::ICameraControl &c) { c.MoveUpRight(speed); });
}

HRESULT CameraCtrl::MoveDownLeft(std::int16_t speed)
{
    return forward([&](transport::ICameraControl &c) { c.MoveDownLeft(speed); });
}

HRESULT CameraCtrl::MoveDownRight(std::int16_t speed)
{
    return forward([&](transport::ICameraControl &c) { c.MoveDownRight(speed); });
}

HRESULT CameraCtrl::StopMoving()
{
    return forward([](transport::ICameraControl &c) { c.Stop(); });
}

HRESULT CameraCtrl::ZoomIn(std::int16_t speed)
{
    return forward([&](transport::ICameraControl &c) { c.ZoomIn(speed); });
}

HRESULT CameraCtrl::ZoomOut(std::int16_t speed)
{
    return forward([&](transport::ICameraControl &c) { c.ZoomOut(speed); });
}

HRESULT CameraCtrl::FocusNear(std::int16_t speed)
{
    return forward([&](transport::ICameraControl &c) { c.FocusNear(speed); });
}

HRESULT CameraCtrl::FocusFar(std::int16_t speed)
{
    return forward([&](transport::ICameraControl &c) { c.FocusFar(speed); });
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
    return forward([&](transport::ICameraControl &c) { c.SetPreset(preset); });
}

HRESULT CameraCtrl::MoveToPreset(std::int16_t preset)
{
    return forward([&](transport::ICameraControl &c) { c.MoveToPreset(preset); });
}

HRESULT CameraCtrl::SelectCamera(std::int16_t camera, std::int16_t cameraType, std::string *result)
{
    m_camera = camera;
    // Sends nothing: allowed during a stop too.
    if (!m_control)
        return E_POINTER;
    m_control->SelectCamera(static_cast<std::int32_t>(camera), static_cast<std::int32_t>(cameraType), result);
    return S_OK;
}

HRESULT CameraCtrl::ClearPreset(std::int16_t preset)
{
    return forward([&](transport::ICameraControl &c) { c.ClearPreset(preset); });
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
