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

    // What other threads see of the unit, under `mutex`. Each change of the queues, of the frame
    // awaiting acknowledgement, of the counts and of the log is made in one step (a Change), and
    // before the bytes that the PC will answer are written: whoever sees the PC take a frame, or
    // sees the unit idle, reads counts and log entries that already hold what led to it.
    // Only the unit's thread writes `awaiting`, so it reads it without the lock.
    mutable std::mutex mutex;
    std::deque<Message> queue;
    std::deque<std::vector<std::uint8_t>> rawQueue;
    UnitStats stats;
    bool awaiting = false;
    FrameLog frames;
    FaultPlan faults; // arms from any thread under its own lock; the unit takes under `mutex`

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
    // Whole writes of the current frame not yet answered (ACK or NAK), and when the last answer came.
    int answersOwed = 0;
    Clock::time_point lastAnswer;
    std::uint8_t transmitSequence = 0;

    // One step of what other threads observe: made under the lock; the log observer gets its
    // entries once the lock is released, so that it may call back into the unit.
    class Change
    {
    public:
        explicit Change(Impl &impl) : m_impl(impl), m_lock(impl.mutex) {}
        Change(const Change &) = delete;
        Change &operator=(const Change &) = delete;
        ~Change()
        {
            m_lock.unlock();
            for (const LogEntry &entry : m_entries)
                m_impl.frames.Notify(entry);
        }
        void record(LogEntry entry)
        {
            m_impl.frames.Append(entry);
            m_entries.push_back(std::move(entry));
        }
        void note(LogKind kind, std::string text, Clock::time_point at = Clock::now())
        {
            record({at, kind, 0, 0, 0, std::move(text)});
        }
        void bump(std::uint64_t UnitStats::*counter) { ++(m_impl.stats.*counter); }

    private:
        Impl &m_impl;
        std::unique_lock<std::mutex> m_lock;
        std::vector<LogEntry> m_entries;
    };

    // How a write of the pending frame counts: its first write, a retransmission, or the
    // repeat-sequence fault's copy of an acknowledged frame (logged as a rewrite, not counted).
    enum class WriteKind { First, Rewrite, Repeat };

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
    void deliver(const Message &received);
    void onAcknowledged();
    void retransmit(Change &change, std::vector<std::uint8_t> *bytes);
    // Under the lock: armed frames of the unit's own, or queued messages or bytes.
    bool hasWorkLocked() const
    {
        return faults.Armed(Fault::Overlong) || faults.Armed(Fault::TooShort) || faults.Armed(Fault::ControlPayload)
            || !queue.empty() || !rawQueue.empty();
    }
    bool hasWork() const
    {
        std::lock_guard lock(mutex);
        return hasWorkLocked();
    }
    Clock::time_point nextFrameDue() const
    {
        const auto due = std::max(lastNewFrame + timing.sendInterval, lastAcknowledgement + timing.quietAfterAck);
        return answersOwed > 0 ? std::max(due, lastAnswer + timing.owedAnswerWait) : due;
    }
    void sendNext();
    // The bytes of the next write of the pending frame, counted and logged in `change`; the
    // caller writes them once the change is made.
    std::vector<std::uint8_t> prepareWrite(Change &change, WriteKind kind);
    void writeAll(const std::vector<std::uint8_t> &bytes);
    void rollRandomFault(Change &change)
    {
        if (const std::string armed = faults.Draw(); !armed.empty())
            change.note(LogKind::FaultInjected, "armed " + armed);
    }
    void abandon(std::string why)
    {
        Change change(*this);
        change.note(LogKind::FrameAbandoned, std::move(why));
        change.bump(&UnitStats::framesAbandoned);
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
    std::lock_guard lock(d->mutex);
    UnitStats stats = d->stats;
    stats.faultsInjected = d->faults.applied();
    stats.randomDraws = d->faults.draws();
    stats.randomFaultsArmed = d->faults.drawn();
    return stats;
}

std::vector<LogEntry> UnitLink::log() const
{
    std::lock_guard lock(d->mutex);
    return d->frames.Entries();
}

std::string UnitLink::receivedTypes() const
{
    std::string types;
    for (const LogEntry &entry : log())
        if (entry.kind == LogKind::FrameReceived)
            types.push_back(static_cast<char>(entry.type));
    return types;
}

bool UnitLink::idle() const
{
    std::lock_guard lock(d->mutex);
    return !d->awaiting && !d->hasWorkLocked();
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
        abandon("cut short by silence");
    }
    if (awaiting && now - sendTime >= timing.retransmitAfter) {
        std::vector<std::uint8_t> bytes;
        {
            Change change(*this);
            retransmit(change, &bytes);
        }
        writeAll(bytes);
    }
    if (!awaiting && hasWork() && now >= nextFrameDue())
        sendNext();
}

void UnitLink::Impl::onByte(std::uint8_t byte)
{
    const std::uint8_t lastBefore = receiver.lastReceivedSequence();
    const ReceiveEvent event = receiver.feed(byte);
    if (event == ReceiveEvent::Acknowledged || event == ReceiveEvent::AcknowledgedInFrame
        || event == ReceiveEvent::RetransmitRequested) {
        answersOwed = std::max(answersOwed - 1, 0);
        lastAnswer = Clock::now();
    }
    switch (event) {
    case ReceiveEvent::None:
        return;
    case ReceiveEvent::Acknowledged:
    case ReceiveEvent::AcknowledgedInFrame:
        onAcknowledged();
        return;
    case ReceiveEvent::RetransmitRequested: {
        if (!awaiting)
            return;
        std::vector<std::uint8_t> bytes;
        {
            Change change(*this);
            change.record({Clock::now(), LogKind::FrameNaked, transmitSequence, pendingType, pendingLength, ""});
            retransmit(change, &bytes);
        }
        writeAll(bytes);
        return;
    }
    case ReceiveEvent::CutShort:
    case ReceiveEvent::Overlong:
    case ReceiveEvent::TooShort:
        abandon(transport::describe(event));
        return;
    default:
        onFrameEnd(event, lastBefore);
        return;
    }
}

void UnitLink::Impl::onFrameEnd(ReceiveEvent event, std::uint8_t lastBefore)
{
    const auto now = Clock::now();
    std::vector<std::uint8_t> answer;
    bool taken = false;
    {
        Change change(*this);
        rollRandomFault(change);
        const bool silenced = faults.Take(Fault::Silence);
        const bool refused = !silenced && faults.Take(Fault::Nak);
        if (silenced || refused) {
            // The frame counts as never taken, so its next write is new to us.
            receiver.setLastReceivedSequence(lastBefore);
            change.note(LogKind::FaultInjected,
                        silenced ? "silence: frame from the PC ignored" : "nak: frame from the PC refused", now);
            if (refused)
                answer.push_back(ctl::NAK);
        } else {
            if (const auto reply = transport::replyFor(event))
                answer.push_back(*reply);
            if (event == ReceiveEvent::FrameAccepted) {
                // Logged before the handler runs: whoever sees what the handler does finds the frame.
                change.record({now, LogKind::FrameReceived, receiver.sequence(), receiver.type(),
                               receiver.payload().size(), ""});
                taken = true;
            } else if (event == ReceiveEvent::FrameDuplicate) {
                change.record({now, LogKind::FrameDuplicate, receiver.sequence(), receiver.type(),
                               receiver.payload().size(), ""});
                change.bump(&UnitStats::duplicatesReceived);
            } else {
                change.note(LogKind::FrameRefused, transport::describe(event), now);
                change.bump(&UnitStats::framesRefused);
            }
        }
    }
    if (taken) {
        const auto payload = receiver.payload();
        deliver(Message{receiver.type(), {payload.begin(), payload.end()}});
    }
    writeAll(answer);
}

void UnitLink::Impl::deliver(const Message &received)
{
    // The handler runs outside the lock (it may queue messages of its own). The frame is counted
    // with its replies queued, once the handler is done and before the PC has its
    // acknowledgement: whoever sees the count sees all that the frame caused.
    const auto own = typeHandlers.find(received.type);
    const MessageHandler &chosen = own != typeHandlers.end() ? own->second : handler;
    std::vector<Message> replies;
    std::string failure;
    if (chosen) {
        try {
            replies = chosen(received);
        } catch (const std::exception &error) {
            failure = error.what();
        }
    }
    Change change(*this);
    if (!failure.empty())
        change.note(LogKind::HandlerFailed, failure);
    for (auto &reply : replies)
        queue.push_back(std::move(reply));
    change.bump(&UnitStats::framesReceived);
}

void UnitLink::Impl::onAcknowledged()
{
    lastAcknowledgement = Clock::now();
    if (!awaiting)
        return;
    std::vector<std::uint8_t> bytes;
    {
        Change change(*this);
        change.record({Clock::now(), LogKind::FrameAcked, transmitSequence, pendingType, pendingLength, ""});
        change.bump(&UnitStats::framesAcked);
        if (faults.Take(Fault::RepeatSequence)) {
            // Still awaiting: the copy goes out as one more frame to acknowledge.
            change.note(LogKind::FaultInjected, "repeat-sequence: frame sent again");
            writes = 0;
            bytes = prepareWrite(change, WriteKind::Repeat);
        } else {
            awaiting = false;
        }
    }
    writeAll(bytes);
}

void UnitLink::Impl::retransmit(Change &change, std::vector<std::uint8_t> *bytes)
{
    if (writes < timing.maxWrites) {
        *bytes = prepareWrite(change, WriteKind::Rewrite);
        return;
    }
    awaiting = false;
    change.record({Clock::now(), LogKind::FrameGivenUp, transmitSequence, pendingType, pendingLength, ""});
    change.bump(&UnitStats::framesGivenUp);
}

void UnitLink::Impl::sendNext()
{
    lastNewFrame = Clock::now();
    std::vector<std::uint8_t> bytes;
    {
        Change change(*this);
        if (!rawQueue.empty()) {
            bytes = std::move(rawQueue.front());
            rawQueue.pop_front();
            change.note(LogKind::FaultInjected, "raw bytes: " + std::to_string(bytes.size()));
        } else if (faults.Take(Fault::Overlong)) {
            const std::vector<std::uint8_t> filler(1100, 'O');
            change.note(LogKind::FaultInjected, "overlong: 1100-byte payload");
            bytes = transport::encodeFrameUnchecked(transport::nextSequence(transmitSequence), kFaultFrameType,
                                                    filler);
        } else if (faults.Take(Fault::TooShort)) {
            // One stored byte, with its own value as the (valid) checksum.
            change.note(LogKind::FaultInjected, "too-short: one stored byte");
            bytes = {ctl::STX, kFaultFrameType, ctl::ETX, kFaultFrameType};
        } else {
            Message message;
            if (faults.Take(Fault::ControlPayload)) {
                message = {kFaultFrameType, {ctl::STX, ctl::ETX, ctl::ACK, ctl::DLE, ctl::NAK, ctl::CAN,
                                             ctl::CAN, ctl::NAK, ctl::DLE, ctl::ACK, ctl::ETX, ctl::STX}};
                change.note(LogKind::FaultInjected, "control-payload: frame of control bytes only");
            } else {
                rollRandomFault(change);
                if (queue.empty())
                    return;
                message = std::move(queue.front());
                queue.pop_front();
            }
            transmitSequence = transport::nextSequence(transmitSequence);
            auto frame = transport::encodeFrame(transmitSequence, message.type, message.payload);
            if (!frame) {
                change.record({Clock::now(), LogKind::MessageDropped, transmitSequence, message.type,
                               message.payload.size(), "frame over 1000 bytes"});
                return;
            }
            pending = std::move(*frame);
            pendingType = message.type;
            pendingLength = message.payload.size();
            writes = 0;
            answersOwed = 0;
            awaiting = true;
            bytes = prepareWrite(change, WriteKind::First);
        }
    }
    writeAll(bytes);
}

std::vector<std::uint8_t> UnitLink::Impl::prepareWrite(Change &change, WriteKind kind)
{
    std::vector<std::uint8_t> bytes = pending;
    const std::string fault = faults.DamageWrite(bytes);
    ++writes;
    if (fault != faultName(Fault::CutFrame))
        ++answersOwed;
    // Judged from here: the bytes go out as soon as the change is made.
    sendTime = Clock::now();
    change.record({sendTime, kind == WriteKind::First ? LogKind::FrameSent : LogKind::FrameRewritten,
                   transmitSequence, pendingType, pendingLength, fault});
    if (kind == WriteKind::First)
        change.bump(&UnitStats::framesSent);
    else if (kind == WriteKind::Rewrite)
        change.bump(&UnitStats::rewrites);
    return bytes;
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
