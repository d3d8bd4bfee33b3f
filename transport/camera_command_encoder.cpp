#include "transport/camera_command_encoder.h"

#include "transport/a5_frame_protocol.h"
#include "transport/nibble_address_protocol.h"
#include "transport/pelco_d_protocol.h"
#include "transport/pelco_p_protocol.h"

#include <cmath>
#include <limits>

namespace transport {

std::unique_ptr<CameraCommandEncoder> MakeCameraCommandEncoder(std::int32_t cameraCode)
{
    switch (cameraCode) {
    case kPelcoPCameraCode:
        return std::make_unique<PelcoPProtocol>();
    case kNibbleAddressCameraCode:
        return std::make_unique<NibbleAddressProtocol>();
    case kPelcoDCameraCode:
        return std::make_unique<PelcoDProtocol>();
    case kA5FrameCameraCode:
        return std::make_unique<A5FrameProtocol>();
    default:
        return nullptr;
    }
}

std::int32_t TruncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (value <= lowest)
        return std::numeric_limits<std::int32_t>::min();
    if (value >= highest)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

ByteArray CameraCommandEncoder::MoveUp(std::int16_t camera, std::int16_t speed) const
{
    return encodeMove(camera, 0, +1, speed);
}

ByteArray CameraCommandEncoder::MoveDown(std::int16_t camera, std::int16_t speed) const
{
    return encodeMove(camera, 0, -1, speed);
}

ByteArray CameraCommandEncoder::MoveLeft(std::int16_t camera, std::int16_t speed) const
{
    return encodeMove(camera, -1, 0, speed);
}

ByteArray CameraCommandEncoder::MoveRight(std::int16_t camera, std::int16_t speed) const
{
    return encodeMove(camera, +1, 0, speed);
}

ByteArray CameraCommandEncoder::MoveUpLeft(std::int16_t camera, std::int16_t speed) const
{
    return encodeMove(camera, -1, +1, speed);
}

ByteArray CameraCommandEncoder::MoveUpRight(std::int16_t camera, std::int16_t speed) const
{
    return encodeMove(camera, +1, +1, speed);
}

ByteArray CameraCommandEncoder::MoveDownLeft(std::int16_t camera, std::int16_t speed) const
{
    return encodeMove(camera, -1, -1, speed);
}

ByteArray CameraCommandEncoder::MoveDownRight(std::int16_t camera, std::int16_t speed) const
{
    return encodeMove(camera, +1, -1, speed);
}

} // namespace transport
