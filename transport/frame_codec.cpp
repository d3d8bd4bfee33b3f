#include "frame_codec.h"

namespace transport {

namespace {

// The unescaped body of a frame: sequence, type, length high, length low.
struct FrameHeader
{
    std::uint8_t bytes[4];
};

FrameHeader headerOf(std::uint8_t sequence, std::uint8_t type, std::size_t payloadSize)
{
    const auto length = static_cast<std::uint16_t>(payloadSize);
    return {{sequence, type, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length & 0xFF)}};
}

void appendEscaped(std::vector<std::uint8_t> &out, std::uint8_t byte)
{
    if (isControlByte(byte))
        out.push_back(control::DLE);
    out.push_back(byte);
}

} // namespace

std::uint8_t frameChecksum(std::uint8_t sequence, std::uint8_t type, std::span<const std::uint8_t> payload)
{
    const FrameHeader header = headerOf(sequence, type, payload.size());
    std::uint8_t sum = 0;
    for (std::uint8_t byte : header.bytes)
        sum ^= byte;
    for (std::uint8_t byte : payload)
        sum ^= byte;
    return sum;
}

std::size_t encodedFrameSize(std::uint8_t sequence, std::uint8_t type, std::span<const std::uint8_t> payload)
{
    const FrameHeader header = headerOf(sequence, type, payload.size());
    std::size_t size = payload.size() + 7;
    for (std::uint8_t byte : header.bytes)
        size += isControlByte(byte) ? 1 : 0;
    for (std::uint8_t byte : payload)
        size += isControlByte(byte) ? 1 : 0;
    return size;
}

std::vector<std::uint8_t> encodeFrameUnchecked(std::uint8_t sequence, std::uint8_t type,
                                               std::span<const std::uint8_t> payload)
{
    std::vector<std::uint8_t> out;
    out.reserve(encodedFrameSize(sequence, type, payload));
    out.push_back(control::STX);
    for (std::uint8_t byte : headerOf(sequence, type, payload.size()).bytes)
        appendEscaped(out, byte);
    for (std::uint8_t byte : payload)
        appendEscaped(out, byte);
    out.push_back(control::ETX);
    out.push_back(frameChecksum(sequence, type, payload));
    return out;
}

std::optional<std::vector<std::uint8_t>> encodeFrame(std::uint8_t sequence, std::uint8_t type,
                                                     std::span<const std::uint8_t> payload)
{
    if (encodedFrameSize(sequence, type, payload) > kMaxFrameSize)
        return std::nullopt;
    return encodeFrameUnchecked(sequence, type, payload);
}

} // namespace transport
