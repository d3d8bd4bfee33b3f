#include "tools/unit-sim/camera_responder.h"

#include <numeric>

namespace unitsim {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kCameraPort = 0x01;

// Camera codes that open a position reply.
constexpr std::uint8_t kPelcoDCode = 0x5A;
constexpr std::uint8_t kNibbleAddressCode = 0x50;
constexpr std::uint8_t kA5FrameCode = 0x5F;

// Pelco D: queries, their reply kinds, and the position commands.
constexpr std::uint8_t kPelcoDQueryPan = 0x51;
constexpr std::uint8_t kPelcoDQueryTilt = 0x53;
constexpr std::uint8_t kPelcoDQueryZoom = 0x61;
constexpr std::uint8_t kPelcoDPanReply = 0x59;
constexpr std::uint8_t kPelcoDTiltReply = 0x5B;
constexpr std::uint8_t kPelcoDZoomReply = 0x63;
constexpr std::uint8_t kPelcoDSetPan = 0x4B;
constexpr std::uint8_t kPelcoDSetTilt = 0x4D;
constexpr std::uint8_t kPelcoDSetZoom = 0x5F;

constexpr std::uint8_t kNibbleQuery = 0x13;
constexpr std::uint8_t kNibbleSet = 0x17;
constexpr std::uint8_t kNibbleReplyMark = 0x43; // 'C'

constexpr std::uint8_t kA5Query = 0x40;
constexpr std::uint8_t kA5Set = 0x41;

std::uint8_t sum(Bytes::const_iterator begin, Bytes::const_iterator end)
{
    return static_cast<std::uint8_t>(std::accumulate(begin, end, 0U));
}

std::uint8_t high(std::int32_t value)
{
    return static_cast<std::uint8_t>(value >> 8);
}

std::uint8_t low(std::int32_t value)
{
    return static_cast<std::uint8_t>(value);
}

std::int32_t word(std::uint8_t highByte, std::uint8_t lowByte)
{
    return (highByte << 8) | lowByte;
}

bool isPelcoP(const Bytes &c)
{
    if (c.size() != 8 || c[0] != 0xA0 || c[6] != 0xAF)
        return false;
    std::uint8_t check = 0;
    for (std::size_t i = 0; i < 7; ++i)
        check ^= c[i];
    return check == c[7];
}

bool isPelcoD(const Bytes &c)
{
    return c.size() == 7 && c[0] == 0xFF && sum(c.begin() + 1, c.end() - 1) == c[6];
}

bool isA5Frame(const Bytes &c)
{
    return (c.size() == 7 || c.size() == 11) && c[0] == 0xA5 && c[c.size() - 2] == 0x55
           && sum(c.begin(), c.end() - 1) == c.back();
}

bool isNibbleAddress(const Bytes &c)
{
    return c.size() >= 10 && c.size() <= 12 && (c[0] & 0xF0) == 0x80 && (c[1] & 0xF0) == 0x50;
}

Message positionReply(Bytes payload)
{
    return Message{CameraResponder::kPositionReplyType, std::move(payload)};
}

} // namespace

const char *cameraProtocolName(CameraProtocol protocol)
{
    switch (protocol) {
    case CameraProtocol::PelcoP:
        return "PelcoP";
    case CameraProtocol::PelcoD:
        return "PelcoD";
    case CameraProtocol::NibbleAddress:
        return "NibbleAddress";
    case CameraProtocol::A5Frame:
        return "A5Frame";
    case CameraProtocol::Unknown:
        break;
    }
    return "Unknown";
}

CameraCommand CameraResponder::recognise(const Bytes &payload)
{
    CameraCommand command;
    if (payload.empty() || payload[0] != kCameraPort) {
        command.bytes = payload;
        return command;
    }
    command.bytes.assign(payload.begin() + 1, payload.end());
    const Bytes &c = command.bytes;
    if (isPelcoP(c)) {
        command.protocol = CameraProtocol::PelcoP;
        command.camera = c[1];
    } else if (isPelcoD(c)) {
        command.protocol = CameraProtocol::PelcoD;
        command.camera = c[1];
    } else if (isA5Frame(c)) {
        command.protocol = CameraProtocol::A5Frame;
        command.camera = c[1];
    } else if (isNibbleAddress(c)) {
        command.protocol = CameraProtocol::NibbleAddress;
        command.camera = static_cast<std::uint8_t>(((c[0] & 0x0F) << 4) | (c[1] & 0x0F));
    }
    return command;
}

std::vector<Message> CameraResponder::Handle(const Message &received)
{
    if (received.type != kPassThroughType)
        return {};
    CameraCommand command = recognise(received.payload);
    std::lock_guard lock(m_mutex);
    m_commands.push_back(command);
    switch (command.protocol) {
    case CameraProtocol::PelcoD:
        return pelcoD(command);
    case CameraProtocol::NibbleAddress:
        return nibbleAddress(command);
    case CameraProtocol::A5Frame:
        return a5Frame(command);
    case CameraProtocol::PelcoP:
    case CameraProtocol::Unknown:
        break;
    }
    return {};
}

std::vector<Message> CameraResponder::pelcoD(const CameraCommand &command)
{
    const Bytes &c = command.bytes;
    const std::uint8_t camera = command.camera;
    CameraRawPosition &at = m_positions[{command.protocol, camera}];
    auto reply = [&](std::uint8_t kind, std::int32_t value) {
        // The camera's own answer (FF, address, 00, kind, value, check) behind the code and
        // camera number that the unit puts in front.
        Bytes payload{kPelcoDCode, camera, 0xFF, camera, 0x00, kind, high(value), low(value), 0};
        payload[8] = sum(payload.begin() + 3, payload.begin() + 8);
        return std::vector<Message>{positionReply(std::move(payload))};
    };
    const std::int32_t value = word(c[4], c[5]);
    switch (c[3]) {
    case kPelcoDQueryPan:
        return reply(kPelcoDPanReply, at.pan);
    case kPelcoDQueryTilt:
        return reply(kPelcoDTiltReply, at.tilt);
    case kPelcoDQueryZoom:
        return reply(kPelcoDZoomReply, at.zoom);
    case kPelcoDSetPan:
        at.pan = value;
        break;
    case kPelcoDSetTilt:
        at.tilt = value;
        break;
    case kPelcoDSetZoom:
        at.zoom = value;
        break;
    default:
        break;
    }
    return {};
}

std::vector<Message> CameraResponder::nibbleAddress(const CameraCommand &command)
{
    const Bytes &c = command.bytes;
    CameraRawPosition &at = m_positions[{command.protocol, command.camera}];
    if (c.size() == 11 && c[6] == kNibbleSet) {
        // Half degrees, seven bits a byte; the pan's top byte is signed.
        at.pan = 8 * static_cast<std::int8_t>(c[7]) + ((c[8] >> 4) & 7);
        at.tilt = ((c[8] & 15) << 4) | ((c[9] >> 3) & 15);
        at.zoom = ((c[9] & 7) << 7) | (c[10] & 0x7F);
        return {};
    }
    if (c.size() == 12 && c[6] == kNibbleQuery) {
        return {positionReply({kNibbleAddressCode, command.camera, kNibbleReplyMark, 0x00, 0x00, 0x00,
                               static_cast<std::uint8_t>(at.pan >> 3),
                               static_cast<std::uint8_t>(((at.pan & 7) << 4) | ((at.tilt >> 4) & 15)),
                               static_cast<std::uint8_t>(((at.tilt & 15) << 3) | ((at.zoom >> 7) & 7)),
                               static_cast<std::uint8_t>(at.zoom & 0x7F)})};
    }
    return {};
}

std::vector<Message> CameraResponder::a5Frame(const CameraCommand &command)
{
    const Bytes &c = command.bytes;
    CameraRawPosition &at = m_positions[{command.protocol, command.camera}];
    if (c.size() == 11 && c[2] == kA5Set) {
        at = CameraRawPosition{word(c[3], c[4]), word(c[5], c[6]), word(c[7], c[8])};
        return {};
    }
    if (c.size() == 7 && c[2] == kA5Query) {
        return {positionReply({kA5FrameCode, command.camera, high(at.pan), low(at.pan), high(at.tilt), low(at.tilt),
                               high(at.zoom), low(at.zoom)})};
    }
    return {};
}

MessageHandler CameraResponder::handler(MessageHandler others)
{
    return [this, others = std::move(others)](const Message &received) {
        std::vector<Message> replies = others ? others(received) : std::vector<Message>{};
        for (Message &reply : Handle(received))
            replies.push_back(std::move(reply));
        return replies;
    };
}

std::vector<CameraCommand> CameraResponder::commands() const
{
    std::lock_guard lock(m_mutex);
    return m_commands;
}

std::optional<CameraRawPosition> CameraResponder::position(CameraProtocol protocol, std::uint8_t camera) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_positions.find({protocol, camera});
    if (found == m_positions.end())
        return std::nullopt;
    return found->second;
}

} // namespace unitsim
