#include "link_protocol_thread.h"

#include "protocol_exception.h"
#include "queued_message.h"
#include "support/trace_log.h"

#include <memory>

namespace transport {

LinkProtocolThread::LinkProtocolThread(std::int16_t portNumber, LinkTiming timing)
    : support::QueuedWorkerThread(false, false), m_portNumber(portNumber), m_timing(timing)
{
    m_pending.reserve(kMaxFrameSize);
}

LinkProtocolThread::~LinkProtocolThread()
{
    Stop();
}

bool LinkProtocolThread::Send(std::uint8_t type, std::span<const std::uint8_t> payload, std::uint64_t number)
{
    return Post(std::make_unique<OutgoingMessage>(type, payload, number));
}

std::size_t LinkProtocolThread::Backlog()
{
    if (Exited())
        return 0;
    // The queue first: sendNext marks a message unsettled before it pops it, so a message is
    // never seen neither queued nor unsettled.
    const std::size_t queued = QueuedCount();
    return queued + (m_unsettled.load() ? 1 : 0);
}

bool LinkProtocolThread::Settled(std::uint64_t number)
{
    // The last taken first: sendNext puts a message in flight before it counts it taken, so a
    // message counted taken and not seen in flight has settled. A message dropped from the queue
    // is passed once a later one is taken, or found with the rest when nothing is left.
    const std::uint64_t lastTaken = m_lastTaken.load();
    if (number <= lastTaken && m_inFlight.load() != number)
        return true;
    return Backlog() == 0;
}

std::size_t LinkProtocolThread::DropQueued(std::uint8_t type)
{
    return RemoveIf([type](const support::QueueItem &item) {
        const auto *message = dynamic_cast<const OutgoingMessage *>(&item);
        return message != nullptr && message->type() == type;
    });
}

void LinkProtocolThread::resetState()
{
    m_pending.clear();
    m_awaiting = false;
    m_writes = 0;
    m_transmitSequence = 0;
    m_receiver.reset();
}

void LinkProtocolThread::openPort()
{
    m_port.Open(m_portNumber, 4800, CSerialPort::NoParity, 8, CSerialPort::OneStopBit,
                CSerialPort::NoFlowControl, false);
    // Half the read time-out between bytes and half per byte plus half fixed: a one-byte read
    // gives up after the whole time-out (50 ms each, 100 ms in all, by default).
    const auto half = static_cast<std::uint32_t>(m_timing.readTimeout.count() / 2);
    const auto rest = static_cast<std::uint32_t>(m_timing.readTimeout.count()) - half;
    m_port.SetTimeouts({half, half, rest, half, rest});
}

void LinkProtocolThread::Run()
{
    resetState();
    try {
        openPort();
    } catch (const CSerialException &error) {
        support::TraceError("Link: cannot open port %d (%s): %s", m_portNumber, error.device().c_str(),
                            error.what());
        report(error);
        return;
    }
    support::TraceInfo("Link: port %d open on %s", m_portNumber, m_port.device().c_str());

    while (!StopRequested()) {
        try {
            pollStep();
        } catch (const CSerialException &error) {
            support::TraceError("Link: port %d failed: %s", m_portNumber, error.what());
            report(error);
            break;
        } catch (const std::exception &error) {
            // Anything else a step throws (a receiver out of memory, say) costs that step only.
            support::TraceError("Link: step failed: %s", error.what());
            report(error);
        }
        // The pause between steps is taken outside frames only, so that a frame being received
        // is read at line speed.
        if (!m_receiver.insideFrame() && !SleepFor(1))
            break;
    }
    m_port.Close();
}

void LinkProtocolThread::report(const std::exception &error) noexcept
{
    try {
        OnLinkError(error);
    } catch (...) {
        support::TraceError("Link: error handler failed while reporting: %s", error.what());
    }
}

void LinkProtocolThread::pollStep()
{
    std::uint8_t byte = 0;
    if (m_port.Read(&byte, 1) == 0) {
        onSilence();
        return;
    }
    onEvent(m_receiver.feed(byte));
}

void LinkProtocolThread::onSilence()
{
    const ReceiveEvent event = m_receiver.silence();
    if (event != ReceiveEvent::None) {
        support::TraceDebug("Link: received frame %s", describe(event));
        return;
    }
    if (!m_awaiting) {
        sendNext();
        return;
    }
    if (Clock::now() - m_sendTime > m_timing.retransmitAfter)
        retransmit();
}

void LinkProtocolThread::onEvent(ReceiveEvent event)
{
    switch (event) {
    case ReceiveEvent::None:
        return;
    case ReceiveEvent::Acknowledged:
        acknowledge();
        return;
    case ReceiveEvent::AcknowledgedInFrame:
        acknowledge();
        sendNext();
        return;
    case ReceiveEvent::RetransmitRequested:
        retransmit();
        return;
    case ReceiveEvent::FrameAccepted: {
        writeControl(control::ACK);
        const auto payload = m_receiver.payload();
        support::TraceDebug("Link: received frame %u type 0x%02X, %zu bytes", m_receiver.sequence(),
                            m_receiver.type(), payload.size());
        OnFrameReceived(payload.data(), static_cast<std::int32_t>(payload.size()), m_receiver.type());
        return;
    }
    case ReceiveEvent::FrameDuplicate:
        writeControl(control::ACK);
        support::TraceDebug("Link: received frame %u again, acknowledged", m_receiver.sequence());
        return;
    case ReceiveEvent::BadChecksum:
    case ReceiveEvent::BadEscape:
        writeControl(control::NAK);
        support::TraceDebug("Link: received frame %s, refused", describe(event));
        return;
    case ReceiveEvent::CutShort:
    case ReceiveEvent::Overlong:
    case ReceiveEvent::TooShort:
        support::TraceDebug("Link: received frame %s, abandoned", describe(event));
        return;
    }
}

void LinkProtocolThread::acknowledge()
{
    if (m_awaiting) {
        support::TraceDebug("Link: frame %u acknowledged", m_transmitSequence);
        m_acknowledged.fetch_add(1);
    }
    m_awaiting = false;
    m_pending.clear();
    m_writes = 0;
    m_inFlight.store(0);
    m_unsettled.store(false);
}

void LinkProtocolThread::sendNext()
{
    m_awaiting = false;
    m_pending.clear();
    m_writes = 0;
    m_inFlight.store(0);
    // Only this thread pops, so a queue found holding a message still holds it below, unless
    // DropQueued took it meanwhile (then nothing goes out this time); an idle poll leaves the
    // mark alone.
    if (IsEmpty()) {
        m_unsettled.store(false);
        return;
    }
    m_unsettled.store(true);
    const std::unique_ptr<support::QueueItem> item = Pop();
    const auto *message = dynamic_cast<const OutgoingMessage *>(item.get());
    if (!message) {
        m_unsettled.store(false);
        return;
    }
    if (message->number() != 0) {
        m_inFlight.store(message->number());
        m_lastTaken.store(message->number());
    }
    m_transmitSequence = nextSequence(m_transmitSequence);
    auto frame = encodeFrame(m_transmitSequence, message->type(), message->data());
    if (!frame) {
        support::TraceDebug("Link: message type 0x%02X of %zu bytes too long to frame, dropped",
                            message->type(), message->data().size());
        m_inFlight.store(0);
        m_unsettled.store(false);
        return;
    }
    m_pending = std::move(*frame);
    m_awaiting = true;
    writePending();
}

void LinkProtocolThread::writePending()
{
    m_port.Write(m_pending.data(), m_pending.size());
    ++m_writes;
    m_sendTime = Clock::now();
    support::TraceDebug("Link: frame %u written (%d of %d), %zu bytes", m_transmitSequence, m_writes,
                        kMaxWrites, m_pending.size());
}

void LinkProtocolThread::retransmit()
{
    if (!m_awaiting)
        return;
    if (m_writes < kMaxWrites) {
        writePending();
        return;
    }
    const std::uint8_t lost = m_transmitSequence;
    sendNext();
    support::TraceError("Link: frame %u dropped: %s", lost, kNoAcknowledgementText);
    // Reported directly rather than thrown, so that a frame being received when the rule fires
    // (a NAK or CAN inside it) is not cut off.
    report(CProtocolException(kNoAcknowledgementText));
}

void LinkProtocolThread::writeControl(std::uint8_t byte)
{
    m_port.Write(&byte, 1);
}

} // namespace transport
