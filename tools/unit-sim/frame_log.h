#pragma once
// The simulated unit's record of the line: every frame sent, received, refused or abandoned, and
// every fault, each stamped on the monotonic clock. Holds the latest 200,000 entries.
//
// Append and Notify run on the unit's thread: the unit appends an entry in the step that makes
// the change it describes, and hands it to the observer once that step is over. Entries may be
// called from any thread. Set the observer before the unit starts.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace unitsim {

using Clock = std::chrono::steady_clock;

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
    HandlerFailed,  // a message handler threw; the frame stays acknowledged, nothing is sent back
};

[[nodiscard]] const char *logKindName(LogKind kind);

struct LogEntry
{
    Clock::time_point at;   // for sent frames: just before their bytes are written
    LogKind kind;
    std::uint8_t sequence = 0;
    std::uint8_t type = 0;
    std::size_t length = 0; // payload bytes
    std::string note;
};

// When the unit received the PC's last new frame of one type, and the first new frame after it
// of some other types (none when no such frame has come yet).
struct ReceiptPair
{
    Clock::time_point first;
    std::optional<Clock::time_point> next;
};

// From `log`: the last new frame of `type` received from the PC and the first new frame after it
// whose type is one of `nextTypes`; empty when no frame of `type` was received.
[[nodiscard]] std::optional<ReceiptPair> lastReceiptThenNext(const std::vector<LogEntry> &log, std::uint8_t type,
                                                             std::string_view nextTypes);

class FrameLog
{
public:
    void SetObserver(std::function<void(const LogEntry &)> observer) { m_observer = std::move(observer); }
    void Append(LogEntry entry);
    // Calls the observer, if any, with `entry`.
    void Notify(const LogEntry &entry) const;
    [[nodiscard]] std::vector<LogEntry> Entries() const;

private:
    mutable std::mutex m_mutex;
    std::deque<LogEntry> m_entries;
    std::function<void(const LogEntry &)> m_observer;
};

} // namespace unitsim
