#pragma once
// Camera steering over the bus (services::ICameraCtrl). The steering commands are sent without
// waiting, so the window keeps painting while the service thread is busy; the service answers
// them S_OK whatever the camera does, so a command counts as done once sent, and an answer the
// bus refuses later goes to `onBusError`. SelectCamera waits for its answer, which carries the
// transport's text.
//
// Ownership: keeps its proxy; must go before the ServiceBus it was made on. Threads: that bus's
// thread only. Errors: SelectCamera raises CallError for an answer the bus refused.

#include "serviceclient/service_bus.h"

#include "interfaces/services/icamera_ctrl.h"

#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QObject>

#include <functional>
#include <memory>

class OrgOrvexICameraCtrlInterface;

namespace serviceclient {

class CameraCtrlOnBus final : public services::ICameraCtrl
{
public:
    CameraCtrlOnBus(const ServiceBus &bus, const QDBusObjectPath &path);
    ~CameraCtrlOnBus() override;
    CameraCtrlOnBus(const CameraCtrlOnBus &) = delete;
    CameraCtrlOnBus &operator=(const CameraCtrlOnBus &) = delete;

    HRESULT MoveUp(std::int16_t speed) override;
    HRESULT MoveDown(std::int16_t speed) override;
    HRESULT MoveLeft(std::int16_t speed) override;
    HRESULT MoveRight(std::int16_t speed) override;
    HRESULT MoveUpLeft(std::int16_t speed) override;
    HRESULT MoveUpRight(std::int16_t speed) override;
    HRESULT MoveDownLeft(std::int16_t speed) override;
    HRESULT MoveDownRight(std::int16_t speed) override;
    HRESULT StopMoving() override;
    HRESULT ZoomIn(std::int16_t speed) override;
    HRESULT ZoomOut(std::int16_t speed) override;
    HRESULT FocusNear(std::int16_t speed) override;
    HRESULT FocusFar(std::int16_t speed) override;
    HRESULT OpenIris() override;
    HRESULT CloseIris() override;
    HRESULT SetPreset(std::int16_t preset) override;
    HRESULT MoveToPreset(std::int16_t preset) override;
    HRESULT ClearPreset(std::int16_t preset) override;
    HRESULT RequestCameraPTZCoords() override;
    HRESULT ToggleAutoPan() override;
    HRESULT ToggleAutoIris() override;
    HRESULT AccessMenu() override;
    HRESULT SelectCamera(std::int16_t camera, std::int16_t cameraType,
                         std::string *result) override;
    HRESULT GoToPTZCoords(float pan, float tilt, float zoom) override;

    // Told the bus's text when the answer to a command sent without waiting is an error.
    std::function<void(const QString &text)> onBusError;

private:
    HRESULT send(const char *call, const QDBusPendingCall &pending);

    std::unique_ptr<OrgOrvexICameraCtrlInterface> m_proxy;
    // The context of the answers still to come; they are dropped once it is gone.
    QObject m_answers;
};

} // namespace serviceclient
