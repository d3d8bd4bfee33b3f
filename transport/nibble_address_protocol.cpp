#include "transport/nibble_address_protocol.h"

namespace transport {

namespace {

constexpr std::size_t kCommandSize = 10;

// Direction codes of byte 2.
constexpr std::uint8_t kUp = 0x10;
constexpr std::uint8_t kDown = 0x08;
constexpr std::uint8_t kLeft = 0x40;
constexpr std::uint8_t kRight = 0x20;

// Lens codes of byte 3.
constexpr std::uint8_t kZoomIn = 0x20;
constexpr std::uint8_t kZoomOut = 0x40;
constexpr std::uint8_t kFocusNear = 0x08;
constexpr std::uint8_t kFocusFar = 0x10;
constexpr std::uint8_t kIrisOpen = 0x04;
constexpr std::uint8_t kIrisClose = 0x02;

// Preset codes of byte 6, with the preset number in byte 7.
constexpr std::uint8_t kSetPreset = 0x11;
constexpr std::uint8_t kGoToPreset = 0x10;
constexpr std::uint8_t kMenuPreset = 0x5E;

constexpr std::uint8_t kQueryPosition = 0x13;
constexpr std::uint8_t kQueryPositionArgument = 0x04;
constexpr std::uint8_t kSetPosition = 0x17;

std::uint8_t highHeader(std::int16_t camera)
{
    return static_cast<std::uint8_t>(0x80 | ((CameraAddress(camera) >> 4) & 0x0F));
}

std::uint8_t lowHeader(std::int16_t camera)
{
    return static_cast<std::uint8_t>(0x50 | (CameraAddress(camera) & 0x0F));
}

ByteArray blank(std::int16_t camera)
{
    ByteArray out(kCommandSize, 0x00);
    out[0] = highHeader(camera);
    out[1] = lowHeader(camera);
    return out;
}

ByteArray withByte(std::int16_t camera, std::size_t index, std::uint8_t value)
{
    ByteArray out = blank(camera);
    out[index] = value;
    return out;
}

ByteArray move(std::int16_t camera, std::uint8_t direction, std::int16_t speed)
{
    ByteArray out = withByte(camera, 2, direction);
    out[6] = out[8] = NibbleAddressProtocol::moveStep(speed);
    return out;
}

ByteArray preset(std::int16_t camera, std::uint8_t code, std::uint8_t number)
{
    ByteArray out = withByte(camera, 6, code);
    out[7] = number;
    return out;
}

} // namespace

std::uint8_t NibbleAddressProtocol::moveStep(std::int16_t speed)
{
    int step = speed / 4;
    if (step == 0)
        step = 1;
    else if (step == 1)
        step = 2;
    return static_cast<std::uint8_t>(step);
}

ByteArray NibbleAddressProtocol::ToggleAutoIris(std::int16_t camera) const
{
    return withByte(camera, 2, 0x02);
}

ByteArray NibbleAddressProtocol::ToggleAutoPan(std::int16_t camera) const
{
    return withByte(camera, 2, 0x04);
}

ByteArray NibbleAddressProtocol::RequestCameraPTZCoords(std::int16_t camera) const
{
    ByteArray out = withByte(camera, 6, kQueryPosition);
    out[7] = kQueryPositionArgument;
    out.push_back(highHeader(camera));
    out.push_back(static_cast<std::uint8_t>(CameraAddress(camera) & 0x0F));
    return out;
}

ByteArray NibbleAddressProtocol::GoToPTZCoords(std::int16_t camera, float pan, float tilt, float zoom) const
{
    // Half degrees; the product by 2 is exact in single precision.
    const std::int32_t p = TruncateToInt(2 * pan);
    const std::int32_t t = TruncateToInt(2 * tilt);
    const std::int32_t z = TruncateToInt(2 * zoom);
    ByteArray out = withByte(camera, 6, kSetPosition);
    out.resize(7);
    out.push_back(static_cast<std::uint8_t>(p >> 3));
    out.push_back(static_cast<std::uint8_t>(((p & 7) << 4) | (t >> 4)));
    out.push_back(static_cast<std::uint8_t>(((t & 15) << 3) | (z >> 7)));
    out.push_back(static_cast<std::uint8_t>(z & 0x7F));
    return out;
}

ByteArray NibbleAddressProtocol::Stop(std::int16_t camera) const
{
    return blank(camera);
}

ByteArray NibbleAddressProtocol::ZoomIn(std::int16_t camera) const
{
    return withByte(camera, 3, kZoomIn);
}

ByteArray NibbleAddressProtocol::ZoomOut(std::int16_t camera) const
{
    return withByte(camera, 3, kZoomOut);
}

ByteArray NibbleAddressProtocol::FocusNear(std::int16_t camera) const
{
    return withByte(camera, 3, kFocusNear);
}

ByteArray NibbleAddressProtocol::FocusFar(std::int16_t camera) const
{
    return withByte(camera, 3, kFocusFar);
}

ByteArray NibbleAddressProtocol::OpenIris(std::int16_t camera) const
{
    return withByte(camera, 3, kIrisOpen);
}

ByteArray NibbleAddressProtocol::CloseIris(std::int16_t camera) const
{
    return withByte(camera, 3, kIrisClose);
}

ByteArray NibbleAddressProtocol::SetPreset(std::int16_t camera, std::int16_t number) const
{
    return preset(camera, kSetPreset, static_cast<std::uint8_t>(number));
}

ByteArray NibbleAddressProtocol::MoveToPreset(std::int16_t camera, std::int16_t number) const
{
    return preset(camera, kGoToPreset, static_cast<std::uint8_t>(number));
}

// The cameras of this set keep no way to clear a preset or set lens speeds: these send the
// neutral command.
ByteArray NibbleAddressProtocol::ClearPreset(std::int16_t camera, std::int16_t) const
{
    return blank(camera);
}

ByteArray NibbleAddressProtocol::SetZoomSpeed(std::int16_t camera, std::int16_t) const
{
    return blank(camera);
}

ByteArray NibbleAddressProtocol::SetFocusSpeed(std::int16_t camera, std::int16_t) const
{
    return blank(camera);
}

ByteArray NibbleAddressProtocol::AccessMenu(std::int16_t camera) const
{
    return preset(camera, kSetPreset, kMenuPreset);
}

ByteArray NibbleAddressProtocol::encodeMove(std::int16_t camera, int pan, int tilt, std::int16_t speed) const
{
    const std::uint8_t direction = (pan < 0 ? kLeft : 0) | (pan > 0 ? kRight : 0) | (tilt > 0 ? kUp : 0)
                                   | (tilt < 0 ? kDown : 0);
    return move(camera, direction, speed);
}

} // namespace transport
