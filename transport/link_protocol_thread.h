#pragma once
// The link thread: owns the serial port to the unit and runs the framed, acknowledged protocol.
//
// Problem and conditions: one frame is in flight at a time. The thread reads the port one byte
// at a time (a read returns after at most LinkTiming::readTimeout when nothing arrives), feeds
// a FrameReceiver, and acts on its decisions: it acknowledges good frames and hands new ones to
// OnFrameReceived, refuses bad ones with NAK, takes ACK as the end of its pending frame and NAK
// (or NAK/CAN inside a received frame) as a request to write it again. When a read finds the
// line silent it sends the next queued message if nothing is pending, or writes the pending frame
// again once LinkTiming::retransmitAfter has passed since its last write (judged on the monotonic
// clock). A frame is written at most four times; then it is dropped, the next message goes out,
// and OnLinkError reports "No acknowledgement from unit after 4 attempts". A message whose frame
// would exceed 1000 bytes is dropped without a word.
//
// Producers on any thread Post OutgoingMessage items (or call Send); everything else happens on
// the link thread, which alone touches the port and the protocol state. OnLinkError and
// OnFrameReceived run on the link thread and must not block for long.
//
// A port that cannot be opened, and a failed read or write, reach OnLinkError as a
// CSerialException, and the thread ends; messages posted later stay queued unsent until the link
// is deleted. The port is closed when the thread ends. Anything else thrown inside one step (by
// OnFrameReceived, say) reaches OnLinkError too, and the link goes on.
//
// Backlog tells any thread how many messages the link has still to settle: those queued and the
// frame awaiting its acknowledgement. A frame is settled once acknowledged, given up after its
// fourth write, or dropped as too long. A link whose thread has ended will never settle anything
// and counts 0. Settled tells whether one numbered message has settled (numbers rise in the order
// of posting, so the link settles them in order); a message DropQueued took from the queue counts
// once a later one has been taken, or nothing is left. Acknowledged counts the frames the unit
// has acknowledged.
//
// Lifetime: a concrete subclass calls SetPriority(-1) and Start() at the end of its constructor
// and Stop() first thing in its destructor; deleting the link deletes the messages still queued.

#include "frame_receiver.h"
#include "platform/serial_port.h"
#include "support/queued_worker_thread.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <span>
#include <vector>

namespace transport {

struct LinkTiming
{
    // How long a one-byte read waits on a silent line; silence this long also cuts a frame short.
    std::chrono::milliseconds readTimeout{100};
    // Silence after the last write of the pending frame after which it is written again.
    std::chrono::milliseconds retransmitAfter{150};
};

class LinkProtocolThread : public support::QueuedWorkerThread
{
public:
    static constexpr int kMaxWrites = 4;
    static constexpr const char *kNoAcknowledgementText = "No acknowledgement from unit after 4 attempts";

    // Retransmission is judged on this clock, which no change of the wall clock moves.
    using Clock = std::chrono::steady_clock;
    static_assert(Clock::is_steady);

    explicit LinkProtocolThread(std::int16_t portNumber, LinkTiming timing = {});
    ~LinkProtocolThread() override;

    [[nodiscard]] std::int16_t portNumber() const { return m_portNumber; }

    // Queues one message for the unit; false when it could not be queued. `number`: 0, or a
    // number above that of every message posted before (see Settled).
    bool Send(std::uint8_t type, std::span<const std::uint8_t> payload, std::uint64_t number = 0);

    // The messages queued and the frame awaiting acknowledgement; 0 once the thread has ended.
    // Any thread. A message posted before the call is counted until it is settled.
    [[nodiscard]] std::size_t Backlog();
    // Whether the message posted with `number` (not 0) has settled; true once the thread has
    // ended. Any thread.
    [[nodiscard]] bool Settled(std::uint64_t number);
    // The frames the unit has acknowledged so far. Any thread.
    [[nodiscard]] std::uint64_t Acknowledged() const { return m_acknowledged.load(); }
    // Deletes the queued messages of `type` that have not been written; the others keep their
    // order. Returns how many went. Any thread.
    std::size_t DropQueued(std::uint8_t type);

protected:
    // The link's own Run takes the queued items; nothing is handed here.
    void HandleItem(support::QueueItem & /*item*/) override {}
    void Run() override;

    virtual void OnLinkError(const std::exception &error) = 0;
    // `data` holds `length` payload bytes, valid only during the call.
    virtual void OnFrameReceived(const std::uint8_t *data, std::int32_t length, std::uint8_t type) = 0;

private:
    void resetState();
    void openPort();
    void pollStep();
    void onSilence();
    void onEvent(ReceiveEvent event);
    void acknowledge();
    void sendNext();
    void writePending();
    void retransmit();
    void writeControl(std::uint8_t byte);
    // OnLinkError, which must not end the thread by throwing.
    void report(const std::exception &error) noexcept;

    const std::int16_t m_portNumber;
    const LinkTiming m_timing;
    CSerialPort m_port;
    FrameReceiver m_receiver;

    std::vector<std::uint8_t> m_pending;
    bool m_awaiting = false;
    int m_writes = 0;
    Clock::time_point m_sendTime;
    std::uint8_t m_transmitSequence = 0;
    // A message taken from the queue and not yet settled; the one field Backlog reads off the
    // link thread.
    std::atomic<bool> m_unsettled{false};
    // What Settled reads off the link thread: the number of the last numbered message taken from
    // the queue, and that of the message in flight (0: none, or one without a number).
    std::atomic<std::uint64_t> m_lastTaken{0};
    std::atomic<std::uint64_t> m_inFlight{0};
    std::atomic<std::uint64_t> m_acknowledged{0};
};

} // namespace transport
