#pragma once
// The framing of the serial link to the unit, as pure functions: bytes in, bytes out, no fd.
// Shared by the link thread, the simulated unit and the tests.
//
// Problem and conditions: the line carries frames in both directions, each
//   STX | sequence | type | length high | length low | payload... | ETX | checksum
// where every byte from the sequence to the end of the payload that equals a control byte is
// sent after a DLE, and the checksum is the XOR of those bytes as unescaped values, sent raw (so
// it may itself look like a control byte). A frame longer than 1000 bytes on the line is never
// sent. Sequence numbers run 0..31; the first frame after opening carries 1.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace transport {

namespace control {
inline constexpr std::uint8_t STX = 0x02;
inline constexpr std::uint8_t ETX = 0x03;
inline constexpr std::uint8_t ACK = 0x06;
inline constexpr std::uint8_t DLE = 0x10;
inline constexpr std::uint8_t NAK = 0x15;
inline constexpr std::uint8_t CAN = 0x18;
} // namespace control

// The most bytes a frame may take on the line, and the most unescaped bytes (sequence, type,
// length and payload) a receiver stores.
inline constexpr std::size_t kMaxFrameSize = 1000;
inline constexpr std::size_t kReceiveBufferSize = 1000;
inline constexpr std::uint8_t kSequenceModulus = 32;
// The last received sequence of a freshly opened link: a value no frame carries.
inline constexpr std::uint8_t kNoSequence = 33;

// True for the six bytes that are escaped inside a frame.
[[nodiscard]] constexpr bool isControlByte(std::uint8_t byte)
{
    return byte == control::STX || byte == control::ETX || byte == control::ACK || byte == control::DLE
        || byte == control::NAK || byte == control::CAN;
}

// The sequence number that follows `sequence` (31 is followed by 0).
[[nodiscard]] constexpr std::uint8_t nextSequence(std::uint8_t sequence)
{
    return static_cast<std::uint8_t>((sequence + 1) % kSequenceModulus);
}

// XOR of the sequence, the type, both length bytes and the payload.
[[nodiscard]] std::uint8_t frameChecksum(std::uint8_t sequence, std::uint8_t type,
                                         std::span<const std::uint8_t> payload);

// The size of the frame on the line, escapes included. The length field carries the low 16
// bits of the payload size.
[[nodiscard]] std::size_t encodedFrameSize(std::uint8_t sequence, std::uint8_t type,
                                           std::span<const std::uint8_t> payload);

// The frame as sent on the line, or nullopt when it would be longer than kMaxFrameSize.
[[nodiscard]] std::optional<std::vector<std::uint8_t>>
encodeFrame(std::uint8_t sequence, std::uint8_t type, std::span<const std::uint8_t> payload);

// As encodeFrame without the size limit; the simulated unit uses it to send over-long frames.
[[nodiscard]] std::vector<std::uint8_t> encodeFrameUnchecked(std::uint8_t sequence, std::uint8_t type,
                                                             std::span<const std::uint8_t> payload);

} // namespace transport
