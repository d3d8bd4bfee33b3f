#pragma once
// The service thread: one thread that runs, one at a time, the tasks other threads post to it,
// its timers, the handlers of the file descriptors it watches (the bus connection) and of the
// termination signals, until it is told to quit. Objects that live on that thread need no lock.
//
// A worker thread calls into the service thread with Invoke, which waits for the call's result
// (a marshalled call). Calls are run in the order they were made. While the thread is busy in
// one task (a command that sleeps), timers and calls wait. A loop that has quit refuses new
// calls (Post gives false, Invoke E_ABORT) and fails the calls still waiting with E_ABORT, so
// no thread waits on it forever; its destructor quits and joins the thread it started.
//
// Timers stand in for thread timers: a timer runs every `period` ms from when it was set; a
// late loop runs it once, not once per missed period; its procedure gets the 32-bit tick count
// (ms of the loop's clock, wrapping after about 49.7 days). Each step of the loop runs the due
// timers first, then the tasks that were queued when the step began.
//
// Every member may be called from any thread. Handlers run on the loop thread; they may set
// and kill timers, watch and unwatch descriptors, post, and quit.

#include "hresult.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

// Monotonic milliseconds; a test injects a clock that only moves when told to.
class LoopClock
{
public:
    virtual ~LoopClock() = default;
    [[nodiscard]] virtual std::uint64_t NowMs() const = 0;
};

// A clock for tests. Move it on the loop thread (Invoke) or wake the loop after moving it.
class ManualLoopClock final : public LoopClock
{
public:
    explicit ManualLoopClock(std::uint64_t startMs = 0) : m_now(startMs) {}
    [[nodiscard]] std::uint64_t NowMs() const override
    {
        std::lock_guard lock(m_mutex);
        return m_now;
    }
    void Advance(std::uint64_t ms)
    {
        std::lock_guard lock(m_mutex);
        m_now += ms;
    }

private:
    mutable std::mutex m_mutex;
    std::uint64_t m_now;
};

class ServiceLoop
{
public:
    using Task = std::function<void()>;
    using Call = std::function<HRESULT()>;
    using TimerProc = std::function<void(std::uint32_t tick)>;
    using FdHandler = std::function<void(std::uint32_t epollEvents)>;
    using SignalHandler = std::function<void(int signo)>;

    // Null clock: the monotonic system clock. Throws std::system_error when the kernel refuses
    // the loop's descriptors.
    explicit ServiceLoop(std::shared_ptr<LoopClock> clock = nullptr);
    ~ServiceLoop();

    ServiceLoop(const ServiceLoop &) = delete;
    ServiceLoop &operator=(const ServiceLoop &) = delete;

    // Runs the loop on the calling thread until Quit; false when the loop already ran or has quit.
    bool Run();
    // Runs the loop on a thread of its own; false when the loop already ran or has quit.
    bool Start();
    // Ends the loop after the task it is running; pending calls fail. Idempotent.
    void Quit();
    // Waits for the thread that Start made.
    void Join();

    [[nodiscard]] bool HasQuit() const;
    [[nodiscard]] bool IsLoopThread() const;

    // Queues `task`; false (and the task is dropped) once the loop has quit.
    bool Post(Task task);
    // Runs `call` on the loop thread and returns its result; on the loop thread itself it runs
    // at once. E_ABORT when the loop has quit or quits before the call ran; E_FAIL when the
    // call throws.
    HRESULT Invoke(const Call &call);

    // A non-zero id; 0 once the loop has quit. Setting a timer of a period 0 gives 1 ms.
    std::uint32_t SetTimer(std::uint32_t periodMs, TimerProc proc);
    bool KillTimer(std::uint32_t id);
    [[nodiscard]] std::size_t TimerCount() const;
    // The tasks and calls queued and not yet started (the one running is not counted).
    [[nodiscard]] std::size_t QueuedCount() const;

    // Watches `fd` for the epoll `events`; the loop does not own the descriptor.
    bool WatchFd(int fd, std::uint32_t events, FdHandler handler);
    bool UnwatchFd(int fd);

    // Blocks `signals` in the calling thread and takes them through a signalfd; a thread made
    // afterwards inherits the block, so call it before starting other threads. An empty
    // handler quits the loop.
    bool HandleSignals(std::initializer_list<int> signals, SignalHandler handler = {});

    // The tick count of the loop's clock.
    [[nodiscard]] std::uint32_t TickCount() const;

    // Wakes the loop so that it looks at its timers again (after a test clock moved).
    void Wake();

private:
    struct InvokeState;
    struct Entry
    {
        Task task;
        std::shared_ptr<InvokeState> state;
    };
    struct Timer
    {
        std::uint32_t period = 0;
        std::uint64_t due = 0;
        std::shared_ptr<TimerProc> proc;
    };

    bool enqueue(Entry entry);
    void runLoop();
    void runDueTimers();
    void runQueuedTasks();
    int waitTimeoutMs();
    void dispatchEvents(int timeoutMs);
    void readSignals();
    void failPending();

    std::shared_ptr<LoopClock> m_clock;
    int m_epoll = -1;
    int m_wakeFd = -1;
    int m_signalFd = -1;

    mutable std::mutex m_mutex;
    std::deque<Entry> m_queue;
    std::map<std::uint32_t, Timer> m_timers;
    std::map<int, std::shared_ptr<FdHandler>> m_fds;
    std::shared_ptr<SignalHandler> m_signalHandler;
    std::uint32_t m_nextTimerId = 1;
    bool m_started = false;
    bool m_quit = false;
    std::thread::id m_loopThreadId;
    std::thread m_thread;
};
