#include "transport/pelco_p_protocol.h"

namespace transport {

namespace {
constexpr std::uint8_t kStart = 0xA0;
constexpr std::uint8_t kEnd = 0xAF;
} // namespace

ByteArray PelcoPProtocol::command(std::int16_t camera, std::uint8_t command1, std::uint8_t command2,
                                  std::uint8_t data1, std::uint8_t data2) const
{
    return {kStart, CameraAddress(camera), command1, command2, data1, data2, kEnd};
}

ByteArray PelcoPProtocol::ToggleAutoIris(std::int16_t camera) const
{
    return command(camera, 0x00, 0x00, 0x00, 0x00);
}

ByteArray PelcoPProtocol::RequestCameraPTZCoords(std::int16_t camera) const
{
    return command(camera, 0x00, 0x00, 0x00, 0x00);
}

ByteArray PelcoPProtocol::GoToPTZCoords(std::int16_t camera, float, float, float) const
{
    return command(camera, 0x00, 0x00, 0x00, 0x00);
}

ByteArray PelcoPProtocol::FocusNear(std::int16_t camera) const
{
    return command(camera, 0x02, 0x00, 0x00, 0x00);
}

ByteArray PelcoPProtocol::FocusFar(std::int16_t camera) const
{
    return command(camera, 0x01, 0x00, 0x00, 0x00);
}

ByteArray PelcoPProtocol::OpenIris(std::int16_t camera) const
{
    return command(camera, 0x04, 0x00, 0x00, 0x00);
}

ByteArray PelcoPProtocol::CloseIris(std::int16_t camera) const
{
    return command(camera, 0x08, 0x00, 0x00, 0x00);
}

} // namespace transport
