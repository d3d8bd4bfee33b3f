#include "transport/a5_frame_protocol.h"

#include <algorithm>
#include <initializer_list>

namespace transport {

namespace {

constexpr std::uint8_t kStart = 0xA5;
constexpr std::uint8_t kEnd = 0x55;

constexpr std::uint8_t kControl = 0x10;
constexpr std::uint8_t kGoToPreset = 0x11;
constexpr std::uint8_t kAccessMenu = 0x19;
constexpr std::uint8_t kSetPreset = 0x25;
constexpr std::uint8_t kClearPreset = 0x26;
constexpr std::uint8_t kQueryPosition = 0x40;
constexpr std::uint8_t kSetPosition = 0x41;

// Data 1 of the control command: what the lens does.
constexpr std::uint8_t kLensStill = 0x0D;
constexpr std::uint8_t kZoomIn = 0x0E;
constexpr std::uint8_t kZoomOut = 0x0C;
constexpr std::uint8_t kFocusNear = 0x03;
constexpr std::uint8_t kFocusFar = 0x04;
constexpr std::uint8_t kIrisOpen = 0x06;
constexpr std::uint8_t kIrisClose = 0x05;

// Data 2: pan step in the high nibble, tilt step in the low one; 8 is still.
constexpr int kStill = 0x88;
constexpr int kPanStep = 0x10;
constexpr int kTiltStep = 0x01;

constexpr int kMaxSpeed = 63;

// Single-precision scale factors of the zoom, and the step value where the optical range ends.
constexpr float kOpticalZoomScale = 910.2222F;
constexpr float kDigitalZoomScale = 72.08081F;
constexpr float kOpticalZoomLimit = 18.0F;
constexpr int kDigitalZoomBase = 0x4000;
constexpr double kPanTiltScale = 26.666666666666668;

ByteArray frame(std::initializer_list<std::uint8_t> body)
{
    ByteArray out;
    out.reserve(body.size() + 3);
    out.push_back(kStart);
    for (const std::uint8_t byte : body)
        out.push_back(byte);
    out.push_back(kEnd);
    std::uint8_t sum = 0;
    for (const std::uint8_t byte : out)
        sum = static_cast<std::uint8_t>(sum + byte);
    out.push_back(sum);
    return out;
}

ByteArray command(std::int16_t camera, std::uint8_t cmd, std::uint8_t data1, int data2)
{
    return frame({CameraAddress(camera), cmd, data1, static_cast<std::uint8_t>(data2)});
}

ByteArray control(std::int16_t camera, std::uint8_t lens)
{
    return command(camera, kControl, lens, kStill);
}

// `pan` and `tilt` are -1, 0 or +1: the step moves the nibble away from still.
ByteArray move(std::int16_t camera, int pan, int tilt, std::int16_t speed)
{
    const int step = A5FrameProtocol::speedStep(speed);
    return command(camera, kControl, kLensStill, kStill + step * (pan * kPanStep + tilt * kTiltStep));
}

ByteArray preset(std::int16_t camera, std::uint8_t cmd, std::int16_t number)
{
    // Signed division: the remainder of a negative number keeps its sign.
    return command(camera, cmd, static_cast<std::uint8_t>(0x80 + number / 16), 0x80 + number % 16);
}

std::uint16_t panTiltSteps(float degrees)
{
    return static_cast<std::uint16_t>(TruncateToInt(degrees * kPanTiltScale));
}

std::uint16_t zoomSteps(float zoom)
{
    if (zoom <= kOpticalZoomLimit)
        return static_cast<std::uint16_t>(TruncateToInt(zoom * kOpticalZoomScale));
    return static_cast<std::uint16_t>(TruncateToInt((zoom - kOpticalZoomLimit) * kDigitalZoomScale + kDigitalZoomBase));
}

} // namespace

int A5FrameProtocol::speedStep(std::int16_t speed)
{
    const int clamped = std::clamp<int>(speed, 0, kMaxSpeed);
    return clamped * 6 / kMaxSpeed + 1;
}

ByteArray A5FrameProtocol::ToggleAutoIris(std::int16_t camera) const
{
    return control(camera, kLensStill);
}

ByteArray A5FrameProtocol::ToggleAutoPan(std::int16_t camera) const
{
    return control(camera, kLensStill);
}

ByteArray A5FrameProtocol::RequestCameraPTZCoords(std::int16_t camera) const
{
    return command(camera, kQueryPosition, 0x80, kStill);
}

ByteArray A5FrameProtocol::GoToPTZCoords(std::int16_t camera, float pan, float tilt, float zoom) const
{
    const std::uint16_t p = panTiltSteps(pan);
    const std::uint16_t t = panTiltSteps(tilt);
    const std::uint16_t z = zoomSteps(zoom);
    auto high = [](std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); };
    auto low = [](std::uint16_t v) { return static_cast<std::uint8_t>(v); };
    return frame({CameraAddress(camera), kSetPosition, high(p), low(p), high(t), low(t), high(z), low(z)});
}

ByteArray A5FrameProtocol::Stop(std::int16_t camera) const
{
    return control(camera, kLensStill);
}

ByteArray A5FrameProtocol::ZoomIn(std::int16_t camera) const
{
    return control(camera, kZoomIn);
}

ByteArray A5FrameProtocol::ZoomOut(std::int16_t camera) const
{
    return control(camera, kZoomOut);
}

ByteArray A5FrameProtocol::FocusNear(std::int16_t camera) const
{
    return control(camera, kFocusNear);
}

ByteArray A5FrameProtocol::FocusFar(std::int16_t camera) const
{
    return control(camera, kFocusFar);
}

ByteArray A5FrameProtocol::OpenIris(std::int16_t camera) const
{
    return control(camera, kIrisOpen);
}

ByteArray A5FrameProtocol::CloseIris(std::int16_t camera) const
{
    return control(camera, kIrisClose);
}

ByteArray A5FrameProtocol::SetPreset(std::int16_t camera, std::int16_t number) const
{
    return preset(camera, kSetPreset, number);
}

ByteArray A5FrameProtocol::MoveToPreset(std::int16_t camera, std::int16_t number) const
{
    return preset(camera, kGoToPreset, number);
}

ByteArray A5FrameProtocol::ClearPreset(std::int16_t camera, std::int16_t number) const
{
    return preset(camera, kClearPreset, number);
}

ByteArray A5FrameProtocol::SetZoomSpeed(std::int16_t camera, std::int16_t) const
{
    return control(camera, kLensStill);
}

ByteArray A5FrameProtocol::SetFocusSpeed(std::int16_t camera, std::int16_t) const
{
    return control(camera, kLensStill);
}

ByteArray A5FrameProtocol::AccessMenu(std::int16_t camera) const
{
    return command(camera, kAccessMenu, 0x80, 0x80);
}

ByteArray A5FrameProtocol::encodeMove(std::int16_t camera, int pan, int tilt, std::int16_t speed) const
{
    return move(camera, pan, tilt, speed);
}

} // namespace transport
