#include "serviceclient/camera_ctrl_on_bus.h"

#include "serviceclient/bus_reply.h"
#include "serviceclient/proxies/orvexservices_proxy.h"

namespace serviceclient {

CameraCtrlOnBus::CameraCtrlOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : m_proxy(bus.proxy<OrgOrvexICameraCtrlInterface>(path))
{}

CameraCtrlOnBus::~CameraCtrlOnBus() = default;

HRESULT CameraCtrlOnBus::send(const char *call, const QDBusPendingCall &pending)
{
    const QString member = QString::fromLatin1(call);
    WhenAnswered(pending, &m_answers, [this, member](const QDBusMessage &reply) {
        QString text;
        if (ResultOf(reply, &text) == kBusCallFailed && onBusError)
            onBusError(member + QStringLiteral(": ") + text);
    });
    return S_OK;
}

HRESULT CameraCtrlOnBus::MoveUp(std::int16_t speed)
{
    return send("MoveUp", m_proxy->MoveUp(speed));
}

HRESULT CameraCtrlOnBus::MoveDown(std::int16_t speed)
{
    return send("MoveDown", m_proxy->MoveDown(speed));
}

HRESULT CameraCtrlOnBus::MoveLeft(std::int16_t speed)
{
    return send("MoveLeft", m_proxy->MoveLeft(speed));
}

HRESULT CameraCtrlOnBus::MoveRight(std::int16_t speed)
{
    return send("MoveRight", m_proxy->MoveRight(speed));
}

HRESULT CameraCtrlOnBus::MoveUpLeft(std::int16_t speed)
{
    return send("MoveUpLeft", m_proxy->MoveUpLeft(speed));
}

HRESULT CameraCtrlOnBus::MoveUpRight(std::int16_t speed)
{
    return send("MoveUpRight", m_proxy->MoveUpRight(speed));
}

HRESULT CameraCtrlOnBus::MoveDownLeft(std::int16_t speed)
{
    return send("MoveDownLeft", m_proxy->MoveDownLeft(speed));
}

HRESULT CameraCtrlOnBus::MoveDownRight(std::int16_t speed)
{
    return send("MoveDownRight", m_proxy->MoveDownRight(speed));
}

HRESULT CameraCtrlOnBus::StopMoving()
{
    return send("StopMoving", m_proxy->StopMoving());
}

HRESULT CameraCtrlOnBus::ZoomIn(std::int16_t speed)
{
    return send("ZoomIn", m_proxy->ZoomIn(speed));
}

HRESULT CameraCtrlOnBus::ZoomOut(std::int16_t speed)
{
    return send("ZoomOut", m_proxy->ZoomOut(speed));
}

HRESULT CameraCtrlOnBus::FocusNear(std::int16_t speed)
{
    return send("FocusNear", m_proxy->FocusNear(speed));
}

HRESULT CameraCtrlOnBus::FocusFar(std::int16_t speed)
{
    return send("FocusFar", m_proxy->FocusFar(speed));
}

HRESULT CameraCtrlOnBus::OpenIris()
{
    return send("OpenIris", m_proxy->OpenIris());
}

HRESULT CameraCtrlOnBus::CloseIris()
{
    return send("CloseIris", m_proxy->CloseIris());
}

HRESULT CameraCtrlOnBus::SetPreset(std::int16_t preset)
{
    return send("SetPreset", m_proxy->SetPreset(preset));
}

HRESULT CameraCtrlOnBus::MoveToPreset(std::int16_t preset)
{
    return send("MoveToPreset", m_proxy->MoveToPreset(preset));
}

HRESULT CameraCtrlOnBus::ClearPreset(std::int16_t preset)
{
    return send("ClearPreset", m_proxy->ClearPreset(preset));
}

HRESULT CameraCtrlOnBus::RequestCameraPTZCoords()
{
    return send("RequestCameraPTZCoords", m_proxy->RequestCameraPTZCoords());
}

HRESULT CameraCtrlOnBus::ToggleAutoPan()
{
    return send("ToggleAutoPan", m_proxy->ToggleAutoPan());
}

HRESULT CameraCtrlOnBus::ToggleAutoIris()
{
    return send("ToggleAutoIris", m_proxy->ToggleAutoIris());
}

HRESULT CameraCtrlOnBus::AccessMenu()
{
    return send("AccessMenu", m_proxy->AccessMenu());
}

HRESULT CameraCtrlOnBus::GoToPTZCoords(float pan, float tilt, float zoom)
{
    return send("GoToPTZCoords", m_proxy->GoToPTZCoords(pan, tilt, zoom));
}

HRESULT CameraCtrlOnBus::SelectCamera(std::int16_t camera, std::int16_t cameraType,
                                      std::string *result)
{
    return detail::ask(result, "SelectCamera",
                       [&] { return m_proxy->SelectCamera(camera, cameraType); });
}

} // namespace serviceclient
