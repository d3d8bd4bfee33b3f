#pragma once
// The command set of camera code '_': A5, address, command, data 1, data 2, 55, sum (7 bytes;
// the sum is of the six bytes before it). Moves carry their speed steps in the two nibbles of
// data 2 (pan high, tilt low, 8 = still). The position command is 11 bytes. Sent to the unit
// unchanged behind the camera port. Stateless; see CameraCommandEncoder.

#include "transport/camera_command_encoder.h"

namespace transport {

class A5FrameProtocol final : public CameraCommandEncoder
{
public:
    ByteArray ToggleAutoIris(std::int16_t camera) const override;
    ByteArray ToggleAutoPan(std::int16_t camera) const override;
    ByteArray RequestCameraPTZCoords(std::int16_t camera) const override;
    ByteArray GoToPTZCoords(std::int16_t camera, float pan, float tilt, float zoom) const override;
    ByteArray Stop(std::int16_t camera) const override;
    ByteArray ZoomIn(std::int16_t camera) const override;
    ByteArray ZoomOut(std::int16_t camera) const override;
    ByteArray FocusNear(std::int16_t camera) const override;
    ByteArray FocusFar(std::int16_t camera) const override;
    ByteArray OpenIris(std::int16_t camera) const override;
    ByteArray CloseIris(std::int16_t camera) const override;
    ByteArray SetPreset(std::int16_t camera, std::int16_t preset) const override;
    ByteArray MoveToPreset(std::int16_t camera, std::int16_t preset) const override;
    ByteArray ClearPreset(std::int16_t camera, std::int16_t preset) const override;
    ByteArray SetZoomSpeed(std::int16_t camera, std::int16_t speed) const override;
    ByteArray SetFocusSpeed(std::int16_t camera, std::int16_t speed) const override;
    ByteArray AccessMenu(std::int16_t camera) const override;

    // The speed step of a move, 1 to 7. Speeds outside 0..63 count as the nearest end: a larger
    // step would carry into the other nibble and turn the move another way.
    static int speedStep(std::int16_t speed);

protected:
    ByteArray encodeMove(std::int16_t camera, int pan, int tilt, std::int16_t speed) const override;
};

} // namespace transport
