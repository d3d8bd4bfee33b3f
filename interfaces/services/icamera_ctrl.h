#pragma once
// Camera steering for clients (the configuration tool's preset editor): each member forwards
// one command to the transport's camera control, which encodes it for the selected camera
// protocol. Every member returns S_OK whatever the transport gives (E_POINTER only when the
// object has no camera control). SelectCamera remembers the camera number even when the
// transport refuses the type, and passes the transport's result text (for a refused type
// "Invalid Camera Code") through `result`. GoToPTZCoords also announces the move to the
// recorder side as a licence plate localisation of the selected camera; a coordinate that is not
// a finite number (NaN, infinity) is refused with E_INVALIDARG before either. A value beyond what
// the selected camera type's commands carry never reaches the camera as another value: speeds
// and coordinates go as the nearest value carried, a preset is refused with E_INVALIDARG, a
// camera number no address holds leaves no camera selected; each with a warning GotMessage of
// the hub. Called on the service thread.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <string>

namespace services {

class ORVEX_INTERFACE ICameraCtrl
{
public:
    virtual ~ICameraCtrl() = default;

    virtual HRESULT MoveUp(std::int16_t speed) = 0;
    virtual HRESULT MoveDown(std::int16_t speed) = 0;
    virtual HRESULT MoveLeft(std::int16_t speed) = 0;
    virtual HRESULT MoveRight(std::int16_t speed) = 0;
    virtual HRESULT MoveUpLeft(std::int16_t speed) = 0;
    virtual HRESULT MoveUpRight(std::int16_t speed) = 0;
    virtual HRESULT MoveDownLeft(std::int16_t speed) = 0;
    virtual HRESULT MoveDownRight(std::int16_t speed) = 0;
    virtual HRESULT StopMoving() = 0;
    virtual HRESULT ZoomIn(std::int16_t speed) = 0;
    virtual HRESULT ZoomOut(std::int16_t speed) = 0;
    virtual HRESULT FocusNear(std::int16_t speed) = 0;
    virtual HRESULT FocusFar(std::int16_t speed) = 0;
    virtual HRESULT OpenIris() = 0;
    virtual HRESULT CloseIris() = 0;
    virtual HRESULT SetPreset(std::int16_t preset) = 0;
    virtual HRESULT MoveToPreset(std::int16_t preset) = 0;
    virtual HRESULT SelectCamera(std::int16_t camera, std::int16_t cameraType, std::string *result) = 0;
    virtual HRESULT ClearPreset(std::int16_t preset) = 0;
    virtual HRESULT RequestCameraPTZCoords() = 0;
    virtual HRESULT GoToPTZCoords(float pan, float tilt, float zoom) = 0;
    virtual HRESULT ToggleAutoPan() = 0;
    virtual HRESULT ToggleAutoIris() = 0;
    virtual HRESULT AccessMenu() = 0;
};

} // namespace services
