#pragma once
// Steering of one selected camera through the unit. The transport object implements it beside
// IOrvexTransport (reach it with std::dynamic_pointer_cast).
//
// SelectCamera picks the camera and its command set by camera code: 0x28 '(', 0x50 'P',
// 0x5A 'Z' or 0x5F '_'; another code gives E_FAIL with "Invalid Camera Code" in `result` and
// leaves no camera selected. Every other member encodes one command (two for zoom and focus:
// speed first), wraps it for the unit and sends it as a pass-through message; with no camera
// selected it gives the notice "Please Select a Camera" and E_FAIL. Safe to call from any
// thread: a selection made while another thread steers never touches a freed encoder.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <string>

namespace transport {

class ORVEX_INTERFACE ICameraControl
{
public:
    virtual ~ICameraControl() = default;

    virtual HRESULT SelectCamera(std::int32_t camera, std::int32_t cameraType, std::string *result) = 0;
    virtual HRESULT MoveUp(std::int16_t speed) = 0;
    virtual HRESULT MoveDown(std::int16_t speed) = 0;
    virtual HRESULT MoveLeft(std::int16_t speed) = 0;
    virtual HRESULT MoveRight(std::int16_t speed) = 0;
    virtual HRESULT MoveUpLeft(std::int16_t speed) = 0;
    virtual HRESULT MoveUpRight(std::int16_t speed) = 0;
    virtual HRESULT MoveDownLeft(std::int16_t speed) = 0;
    virtual HRESULT MoveDownRight(std::int16_t speed) = 0;
    virtual HRESULT ZoomIn(std::int16_t speed) = 0;
    virtual HRESULT ZoomOut(std::int16_t speed) = 0;
    virtual HRESULT FocusNear(std::int16_t speed) = 0;
    virtual HRESULT FocusFar(std::int16_t speed) = 0;
    virtual HRESULT OpenIris() = 0;
    virtual HRESULT CloseIris() = 0;
    virtual HRESULT SetPreset(std::int16_t preset) = 0;
    virtual HRESULT MoveToPreset(std::int16_t preset) = 0;
    virtual HRESULT ClearPreset(std::int16_t preset) = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT RequestCameraPTZCoords() = 0;
    // For code 0x5A: tilt, 500 ms, pan, 500 ms, zoom; the call returns after the third is queued.
    virtual HRESULT GoToPTZCoords(float pan, float tilt, float zoom) = 0;
    virtual HRESULT ToggleAutoPan() = 0;
    virtual HRESULT ToggleAutoIris() = 0;
    virtual HRESULT AccessMenu() = 0;
};

} // namespace transport
