#pragma once
// Camera steering for clients: each member forwards one command to the transport's camera
// control. Remembers the camera last selected (1 once the service has made its start-up
// selection), whether or not the transport accepted it; a move to absolute coordinates is also
// fired to the recorder side through the hub as a licence plate localisation of that camera.
//
// Every member returns S_OK whatever the transport gives; E_POINTER when there is no camera
// control; GoToPTZCoords refuses a coordinate that is not a finite number with E_INVALIDARG and
// neither moves nor announces. Once the service is stopping (the hub's turns have ended) every
// member but SelectCamera sends nothing and returns E_ABORT. Thread affinity: the service thread. Shares the transport's camera control and
// the hub; owns nothing else.

#include "interfaces/services/icamera_ctrl.h"
#include "interfaces/transport/icamera_control.h"

#include <memory>

namespace services {

class OrvexComms;

class CameraCtrl final : public ICameraCtrl
{
public:
    CameraCtrl(std::shared_ptr<transport::ICameraControl> control, std::shared_ptr<OrvexComms> hub);

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
    HRESULT SelectCamera(std::int16_t camera, std::int16_t cameraType, std::string *result) override;
    HRESULT ClearPreset(std::int16_t preset) override;
    HRESULT RequestCameraPTZCoords() override;
    HRESULT GoToPTZCoords(float pan, float tilt, float zoom) override;
    HRESULT ToggleAutoPan() override;
    HRESULT ToggleAutoIris() override;
    HRESULT AccessMenu() override;

    [[nodiscard]] std::int16_t selectedCamera() const { return m_camera; }

private:
    // Calls `command` on the camera control; its result is not the client's concern.
    template <typename Command>
    HRESULT forward(Command &&command);

    std::shared_ptr<transport::ICameraControl> m_control;
    std::shared_ptr<OrvexComms> m_hub;
    std::int16_t m_camera = 0;
};

} // namespace services
