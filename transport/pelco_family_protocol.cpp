#include "transport/pelco_family_protocol.h"

namespace transport {

namespace {

// Direction bits of command 2.
constexpr std::uint8_t kRight = 0x02;
constexpr std::uint8_t kLeft = 0x04;
constexpr std::uint8_t kUp = 0x08;
constexpr std::uint8_t kDown = 0x10;
constexpr std::uint8_t kPanBits = kLeft | kRight;
constexpr std::uint8_t kTiltBits = kUp | kDown;

constexpr std::uint8_t kZoomTele = 0x20;
constexpr std::uint8_t kZoomWide = 0x40;
constexpr std::uint8_t kSetPreset = 0x03;
constexpr std::uint8_t kClearPreset = 0x05;
constexpr std::uint8_t kGoToPreset = 0x07;
constexpr std::uint8_t kZoomSpeed = 0x25;
constexpr std::uint8_t kFocusSpeed = 0x27;
// The menu opens by setting the reserved preset 95.
constexpr std::uint8_t kMenuPreset = 0x5F;

std::uint8_t low(std::int16_t value)
{
    return static_cast<std::uint8_t>(value);
}

} // namespace

ByteArray PelcoFamilyProtocol::encodeMove(std::int16_t camera, int pan, int tilt, std::int16_t speed) const
{
    const std::uint8_t direction = (pan < 0 ? kLeft : 0) | (pan > 0 ? kRight : 0) | (tilt > 0 ? kUp : 0)
                                   | (tilt < 0 ? kDown : 0);
    const std::uint8_t panSpeed = (direction & kPanBits) != 0 ? low(speed) : 0;
    const std::uint8_t tiltSpeed = (direction & kTiltBits) != 0 ? low(speed) : 0;
    return command(camera, 0x00, direction, panSpeed, tiltSpeed);
}

ByteArray PelcoFamilyProtocol::ToggleAutoPan(std::int16_t camera) const
{
    return command(camera, 0x00, 0x00, 0x00, 0x00);
}

ByteArray PelcoFamilyProtocol::Stop(std::int16_t camera) const
{
    return command(camera, 0x00, 0x00, 0x00, 0x00);
}

ByteArray PelcoFamilyProtocol::ZoomIn(std::int16_t camera) const
{
    return command(camera, 0x00, kZoomTele, 0x00, 0x00);
}

ByteArray PelcoFamilyProtocol::ZoomOut(std::int16_t camera) const
{
    return command(camera, 0x00, kZoomWide, 0x00, 0x00);
}

ByteArray PelcoFamilyProtocol::SetPreset(std::int16_t camera, std::int16_t preset) const
{
    return command(camera, 0x00, kSetPreset, 0x00, low(preset));
}

ByteArray PelcoFamilyProtocol::MoveToPreset(std::int16_t camera, std::int16_t preset) const
{
    return command(camera, 0x00, kGoToPreset, 0x00, low(preset));
}

ByteArray PelcoFamilyProtocol::ClearPreset(std::int16_t camera, std::int16_t preset) const
{
    return command(camera, 0x00, kClearPreset, 0x00, low(preset));
}

ByteArray PelcoFamilyProtocol::SetZoomSpeed(std::int16_t camera, std::int16_t speed) const
{
    return command(camera, 0x00, kZoomSpeed, 0x00, low(speed));
}

ByteArray PelcoFamilyProtocol::SetFocusSpeed(std::int16_t camera, std::int16_t speed) const
{
    return command(camera, 0x00, kFocusSpeed, 0x00, low(speed));
}

ByteArray PelcoFamilyProtocol::AccessMenu(std::int16_t camera) const
{
    return command(camera, 0x00, kSetPreset, 0x00, kMenuPreset);
}

} // namespace transport
