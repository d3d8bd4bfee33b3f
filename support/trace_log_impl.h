#pragma once
// The trace log object behind the free functions of trace_log.h: a queue of stamped lines and a
// writer thread that appends them to the day's file every write interval.
//
// Open reads TraceWriteInterval and TraceLevel from the section of the settings file, writes
// them back, starts the writer below normal priority and queues the opening line. Post, IsEmpty
// and Flush may be called from any thread; the writer alone touches the file until Close, which
// ends the writer (without waiting out the interval: its last cycle writes everything queued so
// far) and then writes the closing line at level >= 2.
//
// A cycle that cannot open the file drops the lines it took (the folder may be gone; the next
// cycle tries again); a cycle that fails in any other way writes nothing, leaves its lines
// queued for the next cycle, and the writer goes on.

#include "trace_entry.h"
#include "trace_log.h"
#include "worker_thread.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace support::detail {

class TraceLog final : public WorkerThread
{
public:
    // `clock` gives the local time; empty means the system clock.
    explicit TraceLog(std::function<TraceTime()> clock);
    ~TraceLog() override;

    // Only the first call does anything. Empty `directory`: the current directory; empty
    // `settingsDirectory`: the trace directory; empty `section`: "Trace".
    void Open(const std::string &directory, const std::string &settingsDirectory,
              const std::string &section);
    void Close();

    void Post(TraceEntry entry);
    std::optional<TraceEntry> Pop();
    [[nodiscard]] bool IsEmpty() const;

    // Returns when every entry posted before the call is written (or was dropped with its
    // cycle), when a cycle failed after the call, or when the writer has ended.
    void Flush();

    [[nodiscard]] int GetTraceLevel() const { return m_level; }
    [[nodiscard]] std::uint32_t GetWriteInterval() const { return m_writeInterval; }
    [[nodiscard]] TraceTime Now() const;

protected:
    void Run() override;

private:
    void RunCycle();
    std::deque<TraceEntry> TakeQueued();
    void Requeue(std::deque<TraceEntry> &entries, std::size_t from);
    void SettleTaken(std::uint64_t count);
    [[nodiscard]] std::string PathFor(const TraceTime &today) const;

    const std::function<TraceTime()> m_clock;
    bool m_opened = false;
    bool m_closed = false;
    std::string m_directory;
    std::string m_section;
    std::string m_settingsPath;
    std::uint32_t m_writeInterval = 500;
    int m_level = 0;

    // Writer-side state; Close reads it only after the writer has ended.
    TraceTime m_fileDate;
    std::string m_currentPath;

    mutable std::mutex m_queueMutex;
    std::deque<TraceEntry> m_queue;
    std::uint64_t m_posted = 0; // entries ever posted, under m_queueMutex

    std::mutex m_progressMutex;
    std::condition_variable m_progress;
    std::uint64_t m_settled = 0;      // entries written or dropped, under m_progressMutex
    std::uint64_t m_failedCycles = 0; // under m_progressMutex
};

} // namespace support::detail
