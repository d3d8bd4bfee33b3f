#pragma once
// The command set of camera code 'P': the address split into two nibbles in the first two
// bytes (80 | high nibble, 50 | low nibble), then eight command bytes, 10 bytes in all. The
// position query is 12 bytes and the position command 11 (positions in half degrees, seven
// bits a byte). Sent to the unit unchanged behind the camera port. Stateless; see
// CameraCommandEncoder.

#include "transport/camera_command_encoder.h"

namespace transport {

class NibbleAddressProtocol final : public CameraCommandEncoder
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

    // The speed step of a move: a quarter of the speed, but never below 1, and 1 itself
    // becomes 2.
    static std::uint8_t moveStep(std::int16_t speed);

protected:
    ByteArray encodeMove(std::int16_t camera, int pan, int tilt, std::int16_t speed) const override;
};

} // namespace transport
