#pragma once
// The receiving half of the link protocol as a state machine fed one byte (or one silence) at a
// time; it reads no port and writes none, and tells its caller what to do.
//
// Problem and conditions: bytes from the far end arrive one read at a time and may be anything:
// a frame, an acknowledgement of our own frame, line noise, or a frame cut short when the far
// end went quiet. A frame starts at STX and its unescaped bytes are stored from the sequence on;
// an STX inside a frame starts it again; DLE escapes the next byte, which must be a control
// byte; ACK, NAK and CAN inside a frame are not stored but passed on as decisions for our own
// pending frame; ETX is followed by the raw checksum. A good frame whose sequence equals the one
// delivered last is acknowledged again and not delivered twice. Frames whose stored bytes would
// not fit the 1000-byte buffer, and checksum-valid frames with fewer than the four header bytes,
// are abandoned without an answer: nothing is written past the buffer and no negative length is
// ever reported.
//
// Thread affinity: one thread at a time. Never throws.

#include "frame_codec.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace transport {

enum class ReceiveEvent : std::uint8_t {
    None,                // nothing to do: byte stored, or ignored outside a frame
    Acknowledged,        // ACK outside a frame: our pending frame is acknowledged
    AcknowledgedInFrame, // ACK inside a frame: acknowledged, and the next frame may go at once
    RetransmitRequested, // NAK outside a frame, NAK or CAN inside one
    FrameAccepted,       // a good new frame: answer ACK and deliver it
    FrameDuplicate,      // a good frame with the last delivered sequence: answer ACK only
    BadChecksum,         // answer NAK
    BadEscape,           // DLE before a byte that is not a control byte: answer NAK
    CutShort,            // silence inside a frame: abandoned, no answer
    Overlong,            // more stored bytes than the buffer holds: abandoned, no answer
    TooShort,            // checksum-valid with fewer than 4 stored bytes: abandoned, no answer
};

// A short name for traces ("frame-accepted", "bad-checksum"...).
[[nodiscard]] const char *describe(ReceiveEvent event);

// The raw byte to answer with: ACK, NAK, or nothing.
[[nodiscard]] std::optional<std::uint8_t> replyFor(ReceiveEvent event);

class FrameReceiver
{
public:
    FrameReceiver() = default;

    // Back to the state of a freshly opened link: outside a frame, last received sequence 33.
    void reset();

    [[nodiscard]] ReceiveEvent feed(std::uint8_t byte);
    // The read time-out ran out with nothing read.
    [[nodiscard]] ReceiveEvent silence();

    [[nodiscard]] bool insideFrame() const { return m_state != State::Idle; }
    [[nodiscard]] std::uint8_t lastReceivedSequence() const { return m_lastReceived; }
    // Lets the simulated unit pretend that a frame it took never arrived.
    void setLastReceivedSequence(std::uint8_t sequence) { m_lastReceived = sequence; }

    // The frame just reported as FrameAccepted or FrameDuplicate; valid until the next feed.
    [[nodiscard]] std::uint8_t sequence() const { return m_buffer[0]; }
    [[nodiscard]] std::uint8_t type() const { return m_buffer[1]; }
    // The stored bytes from the fifth on (the length bytes are not compared with them).
    [[nodiscard]] std::span<const std::uint8_t> payload() const
    {
        return m_count < 4 ? std::span<const std::uint8_t>() : std::span<const std::uint8_t>(m_buffer.data() + 4, m_count - 4);
    }

private:
    enum class State : std::uint8_t { Idle, Body, Escaped, Checksum };

    void startFrame();
    void store(std::uint8_t byte);
    ReceiveEvent inBody(std::uint8_t byte);
    ReceiveEvent finish(std::uint8_t checksum);

    State m_state = State::Idle;
    std::array<std::uint8_t, kReceiveBufferSize> m_buffer{};
    std::size_t m_count = 0;
    std::uint8_t m_checksum = 0;
    bool m_overflow = false;
    std::uint8_t m_lastReceived = kNoSequence;
};

} // namespace transport
