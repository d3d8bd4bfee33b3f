#pragma once
// The command set of one family of PTZ cameras, chosen by its one-byte camera code.
//
// Each operation encodes one camera command for the camera whose number is given (its low
// byte is the camera's address) and returns the bytes, still unwrapped: WrapCameraCommand adds
// what the unit needs (check byte, camera port) before the bytes are sent as a pass-through
// message. Every value written into a byte keeps its low 8 bits: CameraControl passes only values
// within CameraCommandLimitsOf the code, which each encode exactly. Encoders hold no state, so one
// object may be used from any number of threads at once; the operations never fail.
//
// MakeCameraCommandEncoder gives the encoder of a code, or null for a code that has none.

#include "interfaces/transport/camera_command_limits.h"
#include "interfaces/transport/messages.h"

#include <cstdint>
#include <memory>

namespace transport {

class CameraCommandEncoder
{
public:
    virtual ~CameraCommandEncoder() = default;

    virtual ByteArray ToggleAutoIris(std::int16_t camera) const = 0;
    virtual ByteArray ToggleAutoPan(std::int16_t camera) const = 0;
    virtual ByteArray RequestCameraPTZCoords(std::int16_t camera) const = 0;
    virtual ByteArray GoToPTZCoords(std::int16_t camera, float pan, float tilt, float zoom) const = 0;
    virtual ByteArray Stop(std::int16_t camera) const = 0;
    ByteArray MoveUp(std::int16_t camera, std::int16_t speed) const;
    ByteArray MoveDown(std::int16_t camera, std::int16_t speed) const;
    ByteArray MoveLeft(std::int16_t camera, std::int16_t speed) const;
    ByteArray MoveRight(std::int16_t camera, std::int16_t speed) const;
    ByteArray MoveUpLeft(std::int16_t camera, std::int16_t speed) const;
    ByteArray MoveUpRight(std::int16_t camera, std::int16_t speed) const;
    ByteArray MoveDownLeft(std::int16_t camera, std::int16_t speed) const;
    ByteArray MoveDownRight(std::int16_t camera, std::int16_t speed) const;
    virtual ByteArray ZoomIn(std::int16_t camera) const = 0;
    virtual ByteArray ZoomOut(std::int16_t camera) const = 0;
    virtual ByteArray FocusNear(std::int16_t camera) const = 0;
    virtual ByteArray FocusFar(std::int16_t camera) const = 0;
    virtual ByteArray OpenIris(std::int16_t camera) const = 0;
    virtual ByteArray CloseIris(std::int16_t camera) const = 0;
    virtual ByteArray SetPreset(std::int16_t camera, std::int16_t preset) const = 0;
    virtual ByteArray MoveToPreset(std::int16_t camera, std::int16_t preset) const = 0;
    virtual ByteArray ClearPreset(std::int16_t camera, std::int16_t preset) const = 0;
    virtual ByteArray SetZoomSpeed(std::int16_t camera, std::int16_t speed) const = 0;
    virtual ByteArray SetFocusSpeed(std::int16_t camera, std::int16_t speed) const = 0;
    virtual ByteArray AccessMenu(std::int16_t camera) const = 0;

protected:
    // The eight moves differ only in direction: `pan` is -1 (left), 0 or +1 (right), `tilt` is
    // -1 (down), 0 or +1 (up). Each command set encodes a direction its own way.
    virtual ByteArray encodeMove(std::int16_t camera, int pan, int tilt, std::int16_t speed) const = 0;
};

std::unique_ptr<CameraCommandEncoder> MakeCameraCommandEncoder(std::int32_t cameraCode);

// The address byte of a camera number.
inline std::uint8_t CameraAddress(std::int16_t camera)
{
    return static_cast<std::uint8_t>(camera);
}

// Truncates toward zero like a C cast, but gives 0 for NaN and saturates out-of-range values
// instead of leaving them undefined: positions come from callers and may be anything.
std::int32_t TruncateToInt(double value);

} // namespace transport
