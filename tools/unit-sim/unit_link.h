#pragma once
// The link half of the simulated unit: the far end of the serial line, on the master side of a
// pseudo-terminal, speaking the PC's own protocol with sequence numbers of its own.
//
// Problem and conditions: tests, benchmarks and the demo need a unit that behaves like the real
// one on a good line and, on command, like one on a bad line. So the unit acknowledges and
// deduplicates the PC's frames, hands each new one to a MessageHandler whose replies it sends,
// sends messages on command one frame at a time, writes a frame again on NAK or after
// UnitTiming::retransmitAfter of silence (at most four writes), and injects the faults of
// unit_fault.h. Every frame and answer is logged with a monotonic timestamp.
//
// Threads: the unit runs its own thread from Start() to Stop() (or destruction). Send,
// InjectFault, SetRandomFaults, stats, log and idle may be called from any thread. What they show
// changes in whole steps, each made before the bytes the PC answers are written: once the PC has
// taken a frame of the unit, or the unit's acknowledgement, stats and log already count it. The
// handler and the log observer run on the unit's thread, outside the unit's lock; set them before
// Start().

#include "frame_log.h"
#include "pseudo_terminal.h"
#include "unit_fault.h"

#include "transport/frame_codec.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace unitsim {

struct Message
{
    std::uint8_t type = 0;
    std::vector<std::uint8_t> payload;
};

// Called with each new frame the PC sends (type and payload); returns the messages to send back,
// which go out after those already queued. This is where the unit's request/reply tables and its
// camera plug in: SetTypeHandler per message type, SetHandler for the rest.
using MessageHandler = std::function<std::vector<Message>(const Message &received)>;

struct UnitTiming
{
    std::chrono::milliseconds retransmitAfter{150};
    // Silence inside a frame from the PC after which the frame is abandoned.
    std::chrono::milliseconds frameSilence{100};
    // Least time between the starts of two new frames of the unit; leaves the PC silent reads
    // in which to send its own frames when the unit has much to say.
    std::chrono::milliseconds sendInterval{0};
    // Least silence after the last acknowledgement before a new frame. The PC acknowledges every
    // copy of a frame it gets, so after a retransmission the acknowledgements of the earlier
    // copies may still be on their way; acknowledgements carry no sequence, and one that came
    // after the next frame would pass for that frame's. The PC keeps such a pause too (it sends
    // only after a silent read).
    std::chrono::milliseconds quietAfterAck{0};
    // How long the unit waits, since the last answer, for the answers the PC still owes to earlier
    // writes of its last frame before it starts a new one (0: it does not wait). The PC answers
    // every whole write; a PC thread that was stalled while the unit wrote again answers the
    // backlog one copy at a time, further apart than quietAfterAck.
    std::chrono::milliseconds owedAnswerWait{0};
    int maxWrites = 4;
};

struct UnitStats
{
    std::uint64_t framesReceived = 0;
    std::uint64_t duplicatesReceived = 0;
    std::uint64_t framesRefused = 0;
    std::uint64_t framesAbandoned = 0;
    std::uint64_t framesSent = 0;   // first writes
    std::uint64_t framesAcked = 0;
    std::uint64_t rewrites = 0;
    std::uint64_t framesGivenUp = 0;
    std::uint64_t faultsInjected = 0;    // faults applied (a silence of 3 frames counts 3)
    std::uint64_t randomDraws = 0;       // frames considered for a random fault
    std::uint64_t randomFaultsArmed = 0; // frames given one
};

class UnitLink
{
public:
    explicit UnitLink(UnitTiming timing = {});
    UnitLink(const UnitLink &) = delete;
    UnitLink &operator=(const UnitLink &) = delete;
    ~UnitLink();

    // The path the PC opens as its serial port.
    [[nodiscard]] const std::string &slavePath() const { return m_pty.slavePath(); }

    // The handler of every type without one of its own.
    void SetHandler(MessageHandler handler);
    // The handler of one message type (a request letter); replaces an earlier one of that type.
    void SetTypeHandler(std::uint8_t type, MessageHandler handler);
    void SetLogObserver(std::function<void(const LogEntry &)> observer);

    void Start();
    void Stop();

    // Queues a message for the PC; it goes out after the ones queued before it.
    void Send(Message message);
    // Queues bytes to be written as they are, in turn with the frames, awaiting no answer.
    void SendRaw(std::vector<std::uint8_t> bytes);
    // Arms `fault` for the next `count` frames (see unit_fault.h).
    void InjectFault(Fault fault, int count = 1);
    // From now on, before each frame the unit sends or receives, with probability `rate` arms one
    // fault of `mix` (counts of silence and nak drawn from 1..4), then leaves the next four frames
    // alone so that faults do not pile onto each other. rate 0 switches it off.
    void SetRandomFaults(double rate, std::uint32_t seed, std::vector<Fault> mix);

    [[nodiscard]] UnitStats stats() const;
    [[nodiscard]] std::vector<LogEntry> log() const;
    // The type of every new frame received from the PC, in order (from the log).
    [[nodiscard]] std::string receivedTypes() const;
    // Nothing queued (messages, raw bytes, frames of armed faults) and nothing awaiting
    // acknowledgement.
    [[nodiscard]] bool idle() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    PseudoTerminal m_pty;
};

} // namespace unitsim
