#include "trace_log_impl.h"

#include "platform/install_folder.h"
#include "platform/profile_file.h"
#include "platform/unique_fd.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <limits>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace support::detail {

namespace {

constexpr std::uint32_t kDefaultWriteInterval = 500;
// An interval of 0 would reopen and sync the file without pause; one millisecond keeps the
// writer from spinning while still writing as soon as it can.
constexpr std::uint32_t kMinWriteInterval = 1;
// Lines are handed to the kernel in pieces of about this size, so that a burst of queued lines
// does not build one huge buffer.
constexpr std::size_t kWriteChunkBytes = 64 * 1024;

// Callers stamp every line; converting the clock to local time once per second per thread
// keeps that off the cost of a call.
TraceTime SystemLocalTime()
{
    thread_local std::time_t cachedSecond = -1;
    thread_local TraceTime cached;
    const std::time_t now = std::time(nullptr);
    if (now != cachedSecond) {
        std::tm tm{};
        if (::localtime_r(&now, &tm) == nullptr)
            return cached;
        cached = TraceTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                           tm.tm_hour,        tm.tm_min,     tm.tm_sec};
        cachedSecond = now;
    }
    return cached;
}

UniqueFd OpenForAppend(const std::string &path)
{
    return UniqueFd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
}

template <typename T>
T ClampSetting(long value, T fallback)
{
    if (value < static_cast<long>(std::numeric_limits<T>::min())
        || value > static_cast<long>(std::numeric_limits<T>::max()))
        return fallback;
    return static_cast<T>(value);
}

} // namespace

TraceLog::TraceLog(std::function<TraceTime()> clock) : m_clock(std::move(clock)) {}

TraceLog::~TraceLog()
{
    Stop();
}

TraceTime TraceLog::Now() const
{
    return m_clock ? m_clock() : SystemLocalTime();
}

std::string TraceLog::PathFor(const TraceTime &today) const
{
    return JoinPath(m_directory, m_section + (today.day % 2 != 0 ? "_1.txt" : "_0.txt"));
}

void TraceLog::Open(const std::string &directory, const std::string &settingsDirectory,
                    const std::string &section)
{
    if (m_opened)
        return;
    m_opened = true;
    if (directory.empty()) {
        std::error_code ec;
        m_directory = std::filesystem::current_path(ec).string();
    } else {
        m_directory = directory;
    }
    m_section = section.empty() ? std::string("Trace") : section;
    m_settingsPath = JoinPath(settingsDirectory.empty() ? m_directory : settingsDirectory,
                              kSettingsFileName);
    m_fileDate = Now();

    // Written back at once, so that the file always shows the values in force; a file that
    // cannot be read is left as it is and said so once, at the error level that is always
    // written, since the values in force are then the defaults, whatever the file says.
    ProfileFile settings(m_settingsPath);
    const std::string unreadable = settings.unreadableReason();
    m_writeInterval = ClampSetting<std::uint32_t>(
        settings.readInt(m_section, "TraceWriteInterval", kDefaultWriteInterval),
        kDefaultWriteInterval);
    m_level = ClampSetting<int>(settings.readInt(m_section, "TraceLevel", 0), 0);
    settings.writeInt(m_section, "TraceWriteInterval", static_cast<long>(m_writeInterval));
    settings.writeInt(m_section, "TraceLevel", m_level);

    // Everything the writer reads is in place before it starts.
    SetPriority(-1);
    Start();
    if (m_level >= 2)
        Post(TraceEntry{Now(), MakeTraceText(2, "=== Trace File Opened ===")});
    if (!unreadable.empty()) {
        Post(TraceEntry{Now(),
                        MakeTraceText(0, "Settings file " + m_settingsPath + " cannot be read ("
                                             + unreadable
                                             + "): using defaults, the file is left as it is")});
    }
}

void TraceLog::Close()
{
    if (!m_opened || m_closed)
        return;
    m_closed = true;
    // Ends the writer's sleep at once; its last cycle writes every line queued so far.
    Stop();
    try {
        if (m_level >= 2) {
            const TraceTime now = Now();
            if (m_currentPath.empty())
                m_currentPath = PathFor(now);
            std::string line;
            AppendTraceLine(line, now, MakeTraceText(2, "=== Trace File Closed ==="));
            if (UniqueFd fd = OpenForAppend(m_currentPath); fd.valid()) {
                (void)WriteAll(fd.get(), line);
                ::fdatasync(fd.get());
            }
        }
    } catch (...) {
        // Logging never fails its caller.
    }
    std::deque<TraceEntry> unwritten;
    {
        std::lock_guard lock(m_queueMutex);
        unwritten.swap(m_queue);
    }
    SettleTaken(unwritten.size());
}

void TraceLog::Post(TraceEntry entry)
{
    std::lock_guard lock(m_queueMutex);
    m_queue.push_back(std::move(entry));
    ++m_posted;
}

std::optional<TraceEntry> TraceLog::Pop()
{
    std::lock_guard lock(m_queueMutex);
    if (m_queue.empty())
        return std::nullopt;
    TraceEntry entry = std::move(m_queue.front());
    m_queue.pop_front();
    return entry;
}

bool TraceLog::IsEmpty() const
{
    std::lock_guard lock(m_queueMutex);
    return m_queue.empty();
}

void TraceLog::Flush()
{
    if (!m_opened)
        return;
    std::uint64_t target;
    {
        std::lock_guard lock(m_queueMutex);
        target = m_posted;
    }
    std::unique_lock lock(m_progressMutex);
    const std::uint64_t failedAtStart = m_failedCycles;
    // The writer's end is polled: it is marked by the thread itself, outside this lock.
    while (m_settled < target && m_failedCycles == failedAtStart && !Exited())
        m_progress.wait_for(lock, std::chrono::milliseconds(1));
}

void TraceLog::SettleTaken(std::uint64_t count)
{
    {
        std::lock_guard lock(m_progressMutex);
        m_settled += count;
    }
    m_progress.notify_all();
}

void TraceLog::Run()
{
    while (!StopRequested()) {
        SleepFor(std::max(m_writeInterval, kMinWriteInterval));
        RunCycle();
    }
    // A line queued while the last cycle was finishing is still written.
    if (!IsEmpty())
        RunCycle();
}

std::deque<TraceEntry> TraceLog::TakeQueued()
{
    std::deque<TraceEntry> taken;
    std::lock_guard lock(m_queueMutex);
    taken.swap(m_queue);
    return taken;
}

void TraceLog::Requeue(std::deque<TraceEntry> &entries, std::size_t from)
{
    if (from >= entries.size())
        return;
    // They are older than anything queued meanwhile, so they go back to the front.
    std::lock_guard lock(m_queueMutex);
    m_queue.insert(m_queue.begin(),
                   std::make_move_iterator(entries.begin() + static_cast<std::ptrdiff_t>(from)),
                   std::make_move_iterator(entries.end()));
}

void TraceLog::RunCycle()
{
    // Lines are taken before the clock is read, so that no line is younger than the day that
    // picks its file; a line of a new day is never written to a file that is about to be
    // emptied for that day.
    std::deque<TraceEntry> batch = TakeQueued();
    std::size_t written = 0; // entries at the front of `batch` that went to the file
    std::uint64_t settled = 0;
    try {
        const TraceTime today = Now();
        m_currentPath = PathFor(today);
        if (!SameDate(today, m_fileDate)) {
            // A new day: the file of this parity holds the day before yesterday. Replace it; on
            // failure keep the old date so that the next cycle tries again.
            UniqueFd fresh(::open(m_currentPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
            if (fresh.valid())
                m_fileDate = today;
        }
        UniqueFd fd = OpenForAppend(m_currentPath);
        if (!fd.valid()) {
            // The folder may be gone or not writable: this cycle's lines are lost, and the next
            // cycle tries again.
            settled = batch.size() + TakeQueued().size();
            batch.clear();
            SettleTaken(settled);
            return;
        }
        std::string buffer;
        while (!batch.empty()) {
            for (std::size_t i = 0; i < batch.size(); ++i) {
                AppendTraceLine(buffer, batch[i].created, batch[i].text);
                if (buffer.size() >= kWriteChunkBytes) {
                    (void)WriteAll(fd.get(), buffer); // a failed write is dropped
                    buffer.clear();
                    written = i + 1;
                }
            }
            (void)WriteAll(fd.get(), buffer);
            buffer.clear();
            settled += batch.size();
            batch.clear();
            written = 0;
            // Lines queued meanwhile are written in this cycle too, unless the day has changed
            // since the cycle began: then they wait for the next cycle and the new day's file.
            batch = TakeQueued();
            if (!batch.empty() && !SameDate(Now(), today)) {
                Requeue(batch, 0);
                batch.clear();
            }
        }
        if (settled > 0)
            ::fdatasync(fd.get());
        fd.close();
        SettleTaken(settled);
    } catch (...) {
        // What was not written goes back to the queue for the next cycle; the writer goes on.
        try {
            Requeue(batch, written);
        } catch (...) {
        }
        {
            std::lock_guard lock(m_progressMutex);
            m_settled += settled + written;
            ++m_failedCycles;
        }
        m_progress.notify_all();
    }
}

} // namespace support::detail
