#include "trace_log.h"

#include "trace_entry.h"
#include "trace_log_impl.h"

#include <atomic>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>
#include <shared_mutex>

namespace support {

namespace {

using detail::TraceLog;

// The level of the open log, or kNoTrace: the whole cost of a line that is not written is one
// load of this and a compare.
constexpr int kNoTrace = INT_MIN;
constinit std::atomic<int> g_level{kNoTrace};

struct TraceState
{
    std::mutex lifecycle; // serialises OpenTrace and CloseTrace
    std::shared_mutex use; // callers hold it shared while they post; close takes it exclusive
    std::shared_ptr<TraceLog> log; // written under both locks
    std::mutex clockMutex;
    std::function<TraceTime()> clock;
};

// Never destroyed: threads may still log while the process exits, and the state is private to
// the module this file is linked into (hidden visibility), so every component keeps its own.
TraceState &State()
{
    static TraceState *state = new TraceState;
    return *state;
}

void PostFormatted(int level, const char *format, va_list args) noexcept
{
    try {
        if (format == nullptr)
            return;
        char message[detail::kMaxTraceMessageBytes + 1];
        const int n = std::vsnprintf(message, sizeof message, format, args);
        if (n < 0)
            return;
        const std::size_t length = std::min(static_cast<std::size_t>(n), detail::kMaxTraceMessageBytes);
        std::string text = detail::MakeTraceText(level, std::string_view(message, length));
        TraceState &state = State();
        std::shared_lock use(state.use);
        // Checked again under the lock: the log that passed the first test may have been
        // closed since.
        if (state.log && level <= state.log->GetTraceLevel())
            state.log->Post(detail::TraceEntry{state.log->Now(), std::move(text)});
    } catch (...) {
        // Logging never fails its caller.
    }
}

} // namespace

void OpenTrace(const char *directory, const char *settingsDirectory, const char *section)
{
    try {
        TraceState &state = State();
        std::lock_guard life(state.lifecycle);
        if (state.log)
            return;
        std::function<TraceTime()> clock;
        {
            std::lock_guard lock(state.clockMutex);
            clock = state.clock;
        }
        auto log = std::make_shared<TraceLog>(std::move(clock));
        log->Open(directory ? directory : "", settingsDirectory ? settingsDirectory : "",
                  section ? section : "");
        {
            std::unique_lock use(state.use);
            state.log = log;
        }
        g_level.store(log->GetTraceLevel(), std::memory_order_relaxed);
    } catch (...) {
        // Without a log the process runs on untraced.
    }
}

void CloseTrace()
{
    TraceState &state = State();
    std::lock_guard life(state.lifecycle);
    g_level.store(kNoTrace, std::memory_order_relaxed);
    std::shared_ptr<TraceLog> log;
    {
        std::unique_lock use(state.use);
        log.swap(state.log);
    }
    // Every line posted so far is in the queue now, and no more can come.
    if (log)
        log->Close();
}

void FlushTrace()
{
    std::shared_ptr<TraceLog> log;
    {
        TraceState &state = State();
        std::shared_lock use(state.use);
        log = state.log;
    }
    if (log)
        log->Flush();
}

bool TraceEnabled(int level)
{
    return level >= 0 && level <= 3 && level <= g_level.load(std::memory_order_relaxed);
}

#define ORVEX_TRACE_AT(level)                                                                  \
    do {                                                                                       \
        if (!TraceEnabled(level))                                                              \
            return;                                                                            \
        va_list args;                                                                          \
        va_start(args, format);                                                                \
        PostFormatted(level, format, args);                                                    \
        va_end(args);                                                                          \
    } while (false)

void TraceAt(int level, const char *format, ...)
{
    ORVEX_TRACE_AT(level);
}

void TraceError(const char *format, ...)
{
    ORVEX_TRACE_AT(0);
}

void TraceDebug(const char *format, ...)
{
    ORVEX_TRACE_AT(2);
}

void TraceInfo(const char *format, ...)
{
    ORVEX_TRACE_AT(3);
}

#undef ORVEX_TRACE_AT

void SetTraceClockForTesting(std::function<TraceTime()> clock)
{
    TraceState &state = State();
    std::lock_guard lock(state.clockMutex);
    state.clock = std::move(clock);
}

} // namespace support
