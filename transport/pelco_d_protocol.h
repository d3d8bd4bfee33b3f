#pragma once
// The Pelco D command set (camera code 'Z'). A command is a spare byte (the camera port goes
// there when it is wrapped), FF, address, command 1, command 2, data 1, data 2; the check byte
// is added when it is wrapped. The position query and the position command are three complete
// commands each (with their check bytes, 21 bytes in all), which the camera control sends as
// three messages. Stateless, except that making a position query starts the library's count
// of position replies again (camera_position_reply_count.h).

#include "transport/pelco_family_protocol.h"

namespace transport {

class PelcoDProtocol final : public PelcoFamilyProtocol
{
public:
    // Bytes in one complete command: FF, address, command 1, command 2, data 1, data 2, check.
    static constexpr std::size_t kCompleteCommandSize = 7;

    ByteArray ToggleAutoIris(std::int16_t camera) const override;
    ByteArray RequestCameraPTZCoords(std::int16_t camera) const override;
    ByteArray GoToPTZCoords(std::int16_t camera, float pan, float tilt, float zoom) const override;
    ByteArray FocusNear(std::int16_t camera) const override;
    ByteArray FocusFar(std::int16_t camera) const override;
    ByteArray OpenIris(std::int16_t camera) const override;
    ByteArray CloseIris(std::int16_t camera) const override;

protected:
    ByteArray command(std::int16_t camera, std::uint8_t command1, std::uint8_t command2,
                      std::uint8_t data1, std::uint8_t data2) const override;
};

} // namespace transport
