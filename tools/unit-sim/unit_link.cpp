#include "unit_link.h"

#include "fault_plan.h"

#include "transport/frame_receiver.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <map>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace unitsim {

namespace ctl = transport::control;
using transport::ReceiveEvent;
using namespace std::chrono_literals;

namespace {

constexpr std::uint8_t kFaultFrameType = 'D';

} // namespace

struct UnitLink::Impl
{
    UnitTiming timing;
    int fd = -1;
    int wakeFd = -1;
    MessageHandler handler;
    std::map<std::uint8_t, MessageHandler> typeHandlers;
    std::thread thread;
    std::atomic<bool> stopRequest{false};

    // Shared with other threads, under `mutex`.
    mutable std::mutex mutex;
    std::deque<Message> queue;
    std::deque<std::vector<std::uint8_t>> rawQueue;
    UnitStats stats;
    std::atomic<bool> awaiting{false};
    FaultPlan faults;
    FrameLog frames;

    // The unit's thread only.
    transport::FrameReceiver receiver;
    Clock::time_point lastByte;
    std::vector<std::uint8_t> pending;
    std::uint8_t pendingType = 0;
    std::size_t pendingLength = 0;
    int writes = 0;
    Clock::time_point sendTime;
    Clock::time_point lastNewFrame;
    Clock::time_point lastAcknowledgement;
    std::uint8_t transmitSequence = 0;

    void run();
    void wake() const
    {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(wakeFd, &one, sizeof one);
    }
    std::chrono::milliseconds pollTimeout() const;
    void onTimers();
    void onByte(std::uint8_t byte);
    void onFrameEnd(ReceiveEvent event, std::uint8_t lastBefore);
    void onAcknowledged();
    void retransmit();
    bool hasWork() const;
    Clock::time_point nextFrameDue() const
    {
        return std::max(lastNewFrame + timing.sendInterval, lastAcknowledgement + timing.quietAfterAck);
    }
    void sendNext();
    void writePending(bool first);
    void writeAll(const std::vector<std::uint8_t> &bytes);
    bool takeArmed(Fault fault) { return faults.Take(fault); }
    void rollRandomFault()
    {
        if (const std::string armed = faults.Draw(); !armed.empty())
            note(LogKind::FaultInjected, "armed " + armed);
    }
    void record(LogEntry entry) { frames.Record(std::move(entry)); }
    // Counted after the log entry is made: whoever sees a count sees the entries behind it.
    void bump(std::uint64_t UnitStats::*counter)
    {
        std::lock_guard lock(mutex);
        ++(stats.*counter);
    }
    void note(LogKind kind, std::string text, Clock::time_point at = Clock::now())
    {
        record({at, kind, 0, 0, 0, std::move(text)});
    }
};

UnitLink::UnitLink(UnitTiming timing) : d(std::make_unique<Impl>())
{
    d->timing = timing;
    d->fd = m_pty.masterFd();
    d->wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    d->receiver.reset();
}

UnitLink::~UnitLink()
{
    Stop();
    if (d->wakeFd >= 0)
        ::close(d->wakeFd);
}

void UnitLink::SetHandler(MessageHandler handler)
{
    d->handler = std::move(handler);
}

void UnitLink::SetTypeHandler(std::uint8_t type, MessageHandler handler)
{
    d->typeHandlers[type] = std::move(handler);
}

void UnitLink::SetLogObserver(std::function<void(const LogEntry &)> observer)
{
    d->frames.SetObserver(std::move(observer));
}

void UnitLink::Start()
{
    if (d->thread.joinable())
        return;
    d->stopRequest = false;
    d->thread = std::thread([impl = d.get()] { impl->run(); });
}

void UnitLink::Stop()
{
    d->stopRequest = true;
    d->wake();
    if (d->thread.joinable())
        d->thread.join();
}

void UnitLink::Send(Message message)
{
    {
        std::lock_guard lock(d->mutex);
        d->queue.push_back(std::move(message));
    }
    d->wake();
}

void UnitLink::SendRaw(std::vector<std::uint8_t> bytes)
{
    {
        std::lock_guard lock(d->mutex);
        d->rawQueue.push_back(std::move(bytes));
    }
    d->wake();
}

void UnitLink::InjectFault(Fault fault, int count)
{
    d->faults.Arm(fault, count);
    d->wake();
}

void UnitLink::SetRandomFaults(double rate, std::uint32_t seed, std::vector<Fault> mix)
{
    d->faults.SetRandom(rate, seed, std::move(mix));
}

UnitStats UnitLink::stats() const
{
    UnitStats stats;
    {
        std::lock_guard lock(d->mutex);
        stats = d->stats;
    }
    stats.faultsInjected = d->faults.applied();
    stats.randomDraws = d->faults.draws();
    stats.randomFaultsArmed = d->faults.drawn();
    return stats;
}

std::vector<LogEntry> UnitLink::log() const
{
    return d->frames.Entries();
}

std::string UnitLink::receivedTypes() const
{
    std::string types;
    for (const LogEntry &entry : d->frames.Entries())
        if (entry.kind == LogKind::FrameReceived)
            types.push_back(static_cast<char>(entry.type));
    return types;
}

bool UnitLink::idle() const
{
    std::lock_guard lock(d->mutex);
    return d->queue.empty() && d->rawQueue.empty() && !d->awaiting;
}

void UnitLink::Impl::run()
{
    lastNewFrame = Clock::now() - timing.sendInterval;
    lastAcknowledgement = Clock::now() - timing.quietAfterAck;
    std::array<std::uint8_t, 512> buffer{};
    while (!stopRequest) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        const int n = ::poll(fds, 2, static_cast<int>(pollTimeout().count()));
        if (n > 0 && (fds[1].revents & POLLIN)) {
            std::uint64_t value = 0;
            [[maybe_unused]] const auto r = ::read(wakeFd, &value, sizeof value);
        }
        if (n > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR))) {
            const ssize_t got = ::read(fd, buffer.data(), buffer.size());
            if (got > 0) {
                lastByte = Clock::now();
                for (ssize_t i = 0; i < got; ++i)
                    onByte(buffer[static_cast<std::size_t>(i)]);
            } else if (got < 0 && errno != EAGAIN && errno != EINTR) {
                std::this_thread::sleep_for(10ms); // the line is down; do not spin
            }
        }
        onTimers();
    }
}

std::chrono::milliseconds UnitLink::Impl::pollTimeout() const
{
    const auto now = Clock::now();
    auto until = now + 50ms;
    if (receiver.insideFrame())
        until = std::min(until, lastByte + timing.frameSilence);
    if (awaiting)
        until = std::min(until, sendTime + timing.retransmitAfter);
    else if (hasWork())
        until = std::min(until, nextFrameDue());
    return std::max(std::chrono::ceil<std::chrono::milliseconds>(until - now), 0ms);
}

void UnitLink::Impl::onTimers()
{
    const auto now = Clock::now();
    if (receiver.insideFrame() && now - lastByte >= timing.frameSilence) {
        (void)receiver.silence();
        note(LogKind::FrameAbandoned, "cut short by silence");
        bump(&UnitStats::framesAbandoned);
    }
    if (awaiting && now - sendTime >= timing.retransmitAfter)
        retransmit();
    if (!awaiting && hasWork() && now >= nextFrameDue())
        sendNext();
}

void UnitLink::Impl::onByte(std::uint8_t byte)
{
    const std::uint8_t lastBefore = receiver.lastReceivedSequence();
    const ReceiveEvent event = receiver.feed(byte);
    switch (event) {
    case ReceiveEvent::None:
        return;
    case ReceiveEvent::Acknowledged:
    case ReceiveEvent::AcknowledgedInFrame:
        onAcknowledged();
        return;
    case ReceiveEvent::RetransmitRequested:
        if (awaiting) {
            record({Clock::now(), LogKind::FrameNaked, transmitSequence, pendingType, pendingLength, ""});
            retransmit();
        }
        return;
    case ReceiveEvent::CutShort:
    case ReceiveEvent::Overlong:
    case ReceiveEvent::TooShort:
        note(LogKind::FrameAbandoned, transport::describe(event));
        bump(&UnitStats::framesAbandoned);
        return;
    default:
        onFrameEnd(event, lastBefore);
        return;
    }
}

void UnitLink::Impl::onFrameEnd(ReceiveEvent event, std::uint8_t lastBefore)
{
    const auto now = Clock::now();
    rollRandomFault();
    const bool silenced = takeArmed(Fault::Silence);
    const bool refused = !silenced && takeArmed(Fault::Nak);
    if (silenced || refused) {
        // The frame counts as never taken, so its next write is new to us.
        receiver.setLastReceivedSequence(lastBefore);
        if (refused)
            writeAll({ctl::NAK});
        note(LogKind::FaultInjected, silenced ? "silence: frame from the PC ignored"
                                              : "nak: frame from the PC refused", now);
        return;
    }
    if (const auto reply = transport::replyFor(event))
        writeAll({*reply});
    if (event != ReceiveEvent::FrameAccepted && event != ReceiveEvent::FrameDuplicate) {
        note(LogKind::FrameRefused, transport::describe(event), now);
        bump(&UnitStats::framesRefused);
        return;
    }
    const auto payload = receiver.payload();
    LogEntry entry{now, LogKind::FrameReceived, receiver.sequence(), receiver.type(), payload.size(), ""};
    if (event == ReceiveEvent::FrameDuplicate) {
        entry.kind = LogKind::FrameDuplicate;
        record(entry);
        bump(&UnitStats::duplicatesReceived);
        return;
    }
    record(entry);
    const auto own = typeHandlers.find(receiver.type());
    const MessageHandler &chosen = own != typeHandlers.end() ? own->second : handler;
    std::vector<Message> replies;
    if (chosen) {
        try {
            replies = chosen(Message{receiver.type(), {payload.begin(), payload.end()}});
        } catch (const std::exception &error) {
            note(LogKind::HandlerFailed, error.what());
        }
    }
    // Counted with the replies queued, once the handler is done: whoever sees the count sees
    // all that the frame caused.
    std::lock_guard lock(mutex);
    for (auto &reply : replies)
        queue.push_back(std::move(reply));
    ++stats.framesReceived;
}

void UnitLink::Impl::onAcknowledged()
{
    lastAcknowledgement = Clock::now();
    if (!awaiting)
        return;
    awaiting = false;
    record({Clock::now(), LogKind::FrameAcked, transmitSequence, pendingType, pendingLength, ""});
    bump(&UnitStats::framesAcked);
    if (takeArmed(Fault::RepeatSequence)) {
        note(LogKind::FaultInjected, "repeat-sequence: frame sent again");
        awaiting = true;
        writes = 0;
        writePending(false);
    }
}

void UnitLink::Impl::retransmit()
{
    if (!awaiting)
        return;
    if (writes < timing.maxWrites) {
        writePending(false);
        bump(&UnitStats::rewrites);
        return;
    }
    awaiting = false;
    record({Clock::now(), LogKind::FrameGivenUp, transmitSequence, pendingType, pendingLength, ""});
    bump(&UnitStats::framesGivenUp);
}

bool UnitLink::Impl::hasWork() const
{
    if (faults.Armed(Fault::Overlong) || faults.Armed(Fault::TooShort) || faults.Armed(Fault::ControlPayload))
        return true;
    std::lock_guard lock(mutex);
    return !queue.empty() || !rawQueue.empty();
}

void UnitLink::Impl::sendNext()
{
    lastNewFrame = Clock::now();
    std::vector<std::uint8_t> raw;
    {
        std::lock_guard lock(mutex);
        if (!rawQueue.empty()) {
            raw = std::move(rawQueue.front());
            rawQueue.pop_front();
        }
    }
    if (!raw.empty()) {
        note(LogKind::FaultInjected, "raw bytes: " + std::to_string(raw.size()));
        writeAll(raw);
        return;
    }
    if (takeArmed(Fault::Overlong)) {
        const std::vector<std::uint8_t> filler(1100, 'O');
        note(LogKind::FaultInjected, "overlong: 1100-byte payload");
        writeAll(transport::encodeFrameUnchecked(transport::nextSequence(transmitSequence), kFaultFrameType, filler));
        return;
    }
    if (takeArmed(Fault::TooShort)) {
        // One stored byte, with its own value as the (valid) checksum.
        note(LogKind::FaultInjected, "too-short: one stored byte");
        writeAll({ctl::STX, kFaultFrameType, ctl::ETX, kFaultFrameType});
        return;
    }
    Message message;
    if (takeArmed(Fault::ControlPayload)) {
        message = {kFaultFrameType, {ctl::STX, ctl::ETX, ctl::ACK, ctl::DLE, ctl::NAK, ctl::CAN,
                                     ctl::CAN, ctl::NAK, ctl::DLE, ctl::ACK, ctl::ETX, ctl::STX}};
        note(LogKind::FaultInjected, "control-payload: frame of control bytes only");
    } else {
        rollRandomFault();
        std::lock_guard lock(mutex);
        if (queue.empty())
            return;
        message = std::move(queue.front());
        queue.pop_front();
    }
    transmitSequence = transport::nextSequence(transmitSequence);
    auto frame = transport::encodeFrame(transmitSequence, message.type, message.payload);
    if (!frame) {
        record({Clock::now(), LogKind::MessageDropped, transmitSequence, message.type, message.payload.size(),
                "frame over 1000 bytes"});
        return;
    }
    pending = std::move(*frame);
    pendingType = message.type;
    pendingLength = message.payload.size();
    writes = 0;
    awaiting = true;
    writePending(true);
    bump(&UnitStats::framesSent);
}

void UnitLink::Impl::writePending(bool first)
{
    std::vector<std::uint8_t> bytes = pending;
    const std::string fault = faults.DamageWrite(bytes);
    const auto at = Clock::now();
    writeAll(bytes);
    ++writes;
    sendTime = Clock::now();
    record({at, first ? LogKind::FrameSent : LogKind::FrameRewritten, transmitSequence, pendingType, pendingLength,
            fault});
}

void UnitLink::Impl::writeAll(const std::vector<std::uint8_t> &bytes)
{
    const auto deadline = Clock::now() + 1s;
    std::size_t sent = 0;
    while (sent < bytes.size() && Clock::now() < deadline && !stopRequest) {
        const ssize_t n = ::write(fd, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return;
        pollfd pfd{fd, POLLOUT, 0};
        ::poll(&pfd, 1, 20);
    }
}

} // namespace unitsim
