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
// InjectFault, SetRandomFaults, stats and log may be called from any thread. The handler and
// the log observer run on the unit's thread; set them before Start().

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

using Clock = std::chrono::steady_clock;

struct Message
{
    std::uint8_t type = 0;
    std::vector<std::uint8_t> payload;
};

// Called with each new frame the PC sends (type and payload); returns the messages to send back.
// This is where the unit's request/reply tables plug in.
using MessageHandler = std::function<std::vector<Message>(const Message &received)>;

enum class LogKind : std::uint8_t {
    FrameSent,      // first write of a frame
    FrameRewritten, // a later write of the same frame
    FrameGivenUp,   // dropped after the last write
    FrameAcked,     // the PC acknowledged our frame
    FrameNaked,     // the PC refused our frame (NAK, or CAN inside its frame)
    FrameReceived,  // a new frame from the PC, acknowledged
    FrameDuplicate, // a repeated frame from the PC, acknowledged again
    FrameRefused,   // a bad frame from the PC, NAK sent
    FrameAbandoned, // a frame from the PC cut short, over-long or too short
    FaultInjected,
    MessageDropped, // a message whose frame would be over-long
};

[[nodiscard]] const char *logKindName(LogKind kind);

struct LogEntry
{
    Clock::time_point at;   // for sent frames: just before the write that carries the last byte
    LogKind kind;
    std::uint8_t sequence = 0;
    std::uint8_t type = 0;
    std::size_t length = 0; // payload bytes
    std::string note;
};

struct UnitTiming
{
    std::chrono::milliseconds retransmitAfter{150};
    // Silence inside a frame from the PC after which the frame is abandoned.
    std::chrono::milliseconds frameSilence{100};
    // Least time between the starts of two new frames of the unit; leaves the PC silent reads
    // in which to send its own frames when the unit has much to say.
    std::chrono::milliseconds sendInterval{0};
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

    void SetHandler(MessageHandler handler);
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
    [[nodiscard]] bool idle() const; // nothing queued and nothing awaiting acknowledgement

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    PseudoTerminal m_pty;
};

} // namespace unitsim
