#include "transport/pelco_d_protocol.h"

#include "transport/camera_position_reply_count.h"

namespace transport {

namespace {

constexpr std::uint8_t kSync = 0xFF;

constexpr std::uint8_t kQueryPan = 0x51;
constexpr std::uint8_t kQueryTilt = 0x53;
constexpr std::uint8_t kQueryZoom = 0x61;
constexpr std::uint8_t kSetPan = 0x4B;
constexpr std::uint8_t kSetTilt = 0x4D;
constexpr std::uint8_t kSetZoom = 0x5F;

void appendComplete(ByteArray &out, std::int16_t camera, std::uint8_t command2, std::uint16_t data)
{
    const std::uint8_t address = CameraAddress(camera);
    const auto high = static_cast<std::uint8_t>(data >> 8);
    const auto low = static_cast<std::uint8_t>(data);
    const auto check = static_cast<std::uint8_t>(address + command2 + high + low);
    out.insert(out.end(), {kSync, address, 0x00, command2, high, low, check});
}

// Positions travel in hundredths. The product is taken in single precision, as the float
// argument times an integer is.
std::uint16_t hundredths(float value)
{
    return static_cast<std::uint16_t>(TruncateToInt(value * 100));
}

} // namespace

ByteArray PelcoDProtocol::command(std::int16_t camera, std::uint8_t command1, std::uint8_t command2,
                                  std::uint8_t data1, std::uint8_t data2) const
{
    return {0x00, kSync, CameraAddress(camera), command1, command2, data1, data2};
}

ByteArray PelcoDProtocol::ToggleAutoIris(std::int16_t camera) const
{
    return command(camera, 0x00, 0x2D, 0x00, 0x00);
}

ByteArray PelcoDProtocol::RequestCameraPTZCoords(std::int16_t camera) const
{
    ByteArray out;
    out.reserve(3 * kCompleteCommandSize);
    appendComplete(out, camera, kQueryPan, 0);
    appendComplete(out, camera, kQueryTilt, 0);
    appendComplete(out, camera, kQueryZoom, 0);
    ResetCameraPositionReplyCount();
    return out;
}

ByteArray PelcoDProtocol::GoToPTZCoords(std::int16_t camera, float pan, float tilt, float zoom) const
{
    ByteArray out;
    out.reserve(3 * kCompleteCommandSize);
    appendComplete(out, camera, kSetPan, hundredths(pan));
    appendComplete(out, camera, kSetTilt, hundredths(tilt));
    appendComplete(out, camera, kSetZoom, hundredths(zoom));
    return out;
}

ByteArray PelcoDProtocol::FocusNear(std::int16_t camera) const
{
    return command(camera, 0x01, 0x00, 0x00, 0x00);
}

ByteArray PelcoDProtocol::FocusFar(std::int16_t camera) const
{
    return command(camera, 0x00, 0x80, 0x00, 0x00);
}

ByteArray PelcoDProtocol::OpenIris(std::int16_t camera) const
{
    return command(camera, 0x02, 0x00, 0x00, 0x00);
}

ByteArray PelcoDProtocol::CloseIris(std::int16_t camera) const
{
    return command(camera, 0x04, 0x00, 0x00, 0x00);
}

} // namespace transport
