#pragma once
// Camera steering for clients: each member forwards one command to the transport's camera
// control. Remembers the camera last selected (1 once the service has made its start-up
// selection), whether or not the transport accepted it; a move to absolute coordinates is also
// fired to the recorder side through the hub as a licence plate localisation of that camera.
//
// Every member returns S_OK whatever the transport gives; E_POINTER when there is no camera
// control; GoToPTZCoords refuses a coordinate that is not a finite number with E_INVALIDARG and
// neither moves nor announces. Once the service is stopping (the hub's turns have ended) every
// member but SelectCamera sends nothing and returns E_ABORT.
//
// Values the selected command set cannot carry (CameraCommandLimitsOf its camera type) never
// reach the camera as another value, and the hub reports each with a warning (GotMessage and
// trace) that names the camera, the command and the field: a speed or a coordinate is sent as
// the nearest one the set carries (the camera moves as near as it can; the announced position is
// the one sent); a preset is not sent (E_INVALIDARG), since another preset would show another
// place; a camera number that no address holds leaves no camera selected, so that no command
// steers another camera. Before a selection with a known camera type, values go on unchecked and
// the transport refuses what it cannot carry.
//
// Thread affinity: the service thread. Shares the transport's camera control and the hub; owns
// nothing else.

#include "interfaces/services/icamera_ctrl.h"
#include "interfaces/transport/camera_command_limits.h"
#include "interfaces/transport/icamera_control.h"

#include <memory>
#include <optional>
#include <string>

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
    // The speed, or the nearest one the selected set carries in `field`, with a warning.
    std::int16_t nearestSpeed(const char *command, std::int16_t speed,
                              transport::FieldRange transport::CameraCommandLimits::*field) const;
    float
    nearestCoordinate(const char *field, float value,
                      transport::CoordinateRange transport::CameraCommandLimits::*range) const;
    // False, with a warning, when the selected set cannot carry the preset.
    bool presetCarried(const char *command, std::int16_t preset) const;
    template <typename Command>
    HRESULT forwardPreset(const char *name, std::int16_t preset, Command &&command);
    template <typename Command>
    HRESULT forwardSpeed(const char *name, std::int16_t speed,
                         transport::FieldRange transport::CameraCommandLimits::*field,
                         Command &&command);
    [[nodiscard]] std::string commandRecord(const char *command) const;
    void warn(const std::string &text) const;

    std::shared_ptr<transport::ICameraControl> m_control;
    std::shared_ptr<OrvexComms> m_hub;
    std::int16_t m_camera = 0;
    // Of the camera type selected last, when it has a command set and the camera an address.
    std::optional<transport::CameraCommandLimits> m_limits;
};

} // namespace services
