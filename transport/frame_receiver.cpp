#include "frame_receiver.h"

namespace transport {

const char *describe(ReceiveEvent event)
{
    switch (event) {
    case ReceiveEvent::None: return "none";
    case ReceiveEvent::Acknowledged: return "ack";
    case ReceiveEvent::AcknowledgedInFrame: return "ack-in-frame";
    case ReceiveEvent::RetransmitRequested: return "retransmit-requested";
    case ReceiveEvent::FrameAccepted: return "frame-accepted";
    case ReceiveEvent::FrameDuplicate: return "frame-duplicate";
    case ReceiveEvent::BadChecksum: return "bad-checksum";
    case ReceiveEvent::BadEscape: return "bad-escape";
    case ReceiveEvent::CutShort: return "cut-short";
    case ReceiveEvent::Overlong: return "overlong";
    case ReceiveEvent::TooShort: return "too-short";
    }
    return "unknown";
}

std::optional<std::uint8_t> replyFor(ReceiveEvent event)
{
    switch (event) {
    case ReceiveEvent::FrameAccepted:
    case ReceiveEvent::FrameDuplicate:
        return control::ACK;
    case ReceiveEvent::BadChecksum:
    case ReceiveEvent::BadEscape:
        return control::NAK;
    default:
        return std::nullopt;
    }
}

void FrameReceiver::reset()
{
    m_state = State::Idle;
    m_count = 0;
    m_checksum = 0;
    m_overflow = false;
    m_lastReceived = kNoSequence;
}

void FrameReceiver::startFrame()
{
    m_state = State::Body;
    m_count = 0;
    m_checksum = 0;
    m_overflow = false;
}

void FrameReceiver::store(std::uint8_t byte)
{
    m_checksum ^= byte;
    // An over-long frame is read to its end, so that its payload is not taken for commands,
    // and then abandoned.
    if (m_count == m_buffer.size()) {
        m_overflow = true;
        return;
    }
    m_buffer[m_count++] = byte;
}

ReceiveEvent FrameReceiver::feed(std::uint8_t byte)
{
    switch (m_state) {
    case State::Idle:
        if (byte == control::STX) {
            startFrame();
            return ReceiveEvent::None;
        }
        if (byte == control::ACK)
            return ReceiveEvent::Acknowledged;
        if (byte == control::NAK)
            return ReceiveEvent::RetransmitRequested;
        return ReceiveEvent::None; // CAN and noise outside a frame mean nothing
    case State::Body:
        return inBody(byte);
    case State::Escaped:
        if (!isControlByte(byte)) {
            m_state = State::Idle;
            return ReceiveEvent::BadEscape;
        }
        store(byte);
        m_state = State::Body;
        return ReceiveEvent::None;
    case State::Checksum:
        m_state = State::Idle;
        return finish(byte);
    }
    return ReceiveEvent::None;
}

ReceiveEvent FrameReceiver::inBody(std::uint8_t byte)
{
    switch (byte) {
    case control::STX:
        startFrame();
        return ReceiveEvent::None;
    case control::ETX:
        m_state = State::Checksum;
        return ReceiveEvent::None;
    case control::ACK:
        return ReceiveEvent::AcknowledgedInFrame;
    case control::DLE:
        m_state = State::Escaped;
        return ReceiveEvent::None;
    case control::NAK:
    case control::CAN:
        return ReceiveEvent::RetransmitRequested;
    default:
        store(byte);
        return ReceiveEvent::None;
    }
}

ReceiveEvent FrameReceiver::finish(std::uint8_t checksum)
{
    if (m_overflow)
        return ReceiveEvent::Overlong;
    if (checksum != m_checksum)
        return ReceiveEvent::BadChecksum;
    if (m_count < 4)
        return ReceiveEvent::TooShort;
    if (sequence() == m_lastReceived)
        return ReceiveEvent::FrameDuplicate;
    m_lastReceived = sequence();
    return ReceiveEvent::FrameAccepted;
}

ReceiveEvent FrameReceiver::silence()
{
    if (m_state == State::Idle)
        return ReceiveEvent::None;
    m_state = State::Idle;
    return ReceiveEvent::CutShort;
}

} // namespace transport
