#include "transport/camera_command_wrap.h"

#include "transport/camera_command_encoder.h"

namespace transport {

namespace {

ByteArray behindPort(const ByteArray &command)
{
    ByteArray out;
    out.reserve(command.size() + 2);
    out.push_back(kCameraPort);
    out.insert(out.end(), command.begin(), command.end());
    return out;
}

} // namespace

ByteArray WrapCameraCommand(std::int32_t cameraCode, const ByteArray &command)
{
    switch (cameraCode) {
    case kPelcoPCameraCode: {
        ByteArray out = behindPort(command);
        std::uint8_t check = 0;
        for (const std::uint8_t byte : command)
            check ^= byte;
        out.push_back(check);
        return out;
    }
    case kPelcoDCameraCode: {
        // Bytes 0 and 1 are the spare byte and the sync byte; the check covers the rest.
        if (command.empty())
            return {};
        ByteArray out = command;
        std::uint8_t check = 0;
        for (std::size_t i = 2; i < out.size(); ++i)
            check = static_cast<std::uint8_t>(check + out[i]);
        out[0] = kCameraPort;
        out.push_back(check);
        return out;
    }
    case kNibbleAddressCameraCode:
    case kA5FrameCameraCode:
        return behindPort(command);
    default:
        return {};
    }
}

} // namespace transport
