#pragma once
// The commands that the Pelco P and Pelco D command sets share: both carry four bytes (command
// 1, command 2, data 1, data 2) and agree on them for stop, auto pan, the moves, zoom, presets,
// speeds and the menu. Each derived set frames the four bytes its own way and encodes the
// commands on which the two differ (iris, focus, position). Stateless; see CameraCommandEncoder.

#include "transport/camera_command_encoder.h"

namespace transport {

class PelcoFamilyProtocol : public CameraCommandEncoder
{
public:
    ByteArray ToggleAutoPan(std::int16_t camera) const override;
    ByteArray Stop(std::int16_t camera) const override;
    ByteArray ZoomIn(std::int16_t camera) const override;
    ByteArray ZoomOut(std::int16_t camera) const override;
    ByteArray SetPreset(std::int16_t camera, std::int16_t preset) const override;
    ByteArray MoveToPreset(std::int16_t camera, std::int16_t preset) const override;
    ByteArray ClearPreset(std::int16_t camera, std::int16_t preset) const override;
    ByteArray SetZoomSpeed(std::int16_t camera, std::int16_t speed) const override;
    ByteArray SetFocusSpeed(std::int16_t camera, std::int16_t speed) const override;
    ByteArray AccessMenu(std::int16_t camera) const override;

protected:
    // One command of the set, framed: command 1, command 2, data 1, data 2.
    virtual ByteArray command(std::int16_t camera, std::uint8_t command1, std::uint8_t command2,
                              std::uint8_t data1, std::uint8_t data2) const = 0;

    // A move: the direction bits in command 2, pan speed in data 1 when it pans, tilt speed in
    // data 2 when it tilts.
    ByteArray encodeMove(std::int16_t camera, int pan, int tilt, std::int16_t speed) const override;
};

} // namespace transport
