#pragma once
// The Pelco P command set (camera code '('): A0, address, four data bytes, AF. The check byte
// is added when the command is wrapped for the unit. This set has no position query or
// position command that the unit understands: both are sent as a stop. Stateless; see
// CameraCommandEncoder.

#include "transport/pelco_family_protocol.h"

namespace transport {

class PelcoPProtocol final : public PelcoFamilyProtocol
{
public:
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
