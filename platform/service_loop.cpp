#include "service_loop.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <system_error>
#include <vector>

#include <pthread.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

class SteadyLoopClock final : public LoopClock
{
public:
    [[nodiscard]] std::uint64_t NowMs() const override
    {
        using namespace std::chrono;
        return static_cast<std::uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
};

int checked(int result, const char *what)
{
    if (result < 0)
        throw std::system_error(errno, std::generic_category(), what);
    return result;
}

} // namespace

// What a waiting Invoke and the loop share: the result, and whether the call has finished or
// was dropped.
struct ServiceLoop::InvokeState
{
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    HRESULT result = E_ABORT;

    void finish(HRESULT hr)
    {
        {
            std::lock_guard lock(mutex);
            if (finished)
                return;
            finished = true;
            result = hr;
        }
        done.notify_all();
    }
};

ServiceLoop::ServiceLoop(std::shared_ptr<LoopClock> clock)
    : m_clock(clock ? std::move(clock) : std::make_shared<SteadyLoopClock>())
{
    m_epoll = checked(epoll_create1(EPOLL_CLOEXEC), "epoll_create1");
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0) {
        const int err = errno;
        close(m_epoll);
        throw std::system_error(err, std::generic_category(), "eventfd");
    }
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = m_wakeFd;
    if (epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_wakeFd, &ev) < 0) {
        const int err = errno;
        close(m_wakeFd);
        close(m_epoll);
        throw std::system_error(err, std::generic_category(), "epoll_ctl");
    }
}

ServiceLoop::~ServiceLoop()
{
    Quit();
    Join();
    failPending();
    if (m_signalFd >= 0)
        close(m_signalFd);
    close(m_wakeFd);
    close(m_epoll);
}

bool ServiceLoop::Run()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_started || m_quit)
            return false;
        m_started = true;
        m_loopThreadId = std::this_thread::get_id();
    }
    runLoop();
    return true;
}

bool ServiceLoop::Start()
{
    std::lock_guard lock(m_mutex);
    if (m_started || m_quit)
        return false;
    m_started = true;
    m_thread = std::thread([this] {
        {
            std::lock_guard inner(m_mutex);
            m_loopThreadId = std::this_thread::get_id();
        }
        runLoop();
    });
    return true;
}

void ServiceLoop::Quit()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_quit)
            return;
    }
    // Calls still queued fail now, also when the loop never ran; the task running goes on.
    failPending();
    Wake();
}

void ServiceLoop::Join()
{
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
}

bool ServiceLoop::HasQuit() const
{
    std::lock_guard lock(m_mutex);
    return m_quit;
}

bool ServiceLoop::IsLoopThread() const
{
    std::lock_guard lock(m_mutex);
    return m_started && m_loopThreadId == std::this_thread::get_id();
}

bool ServiceLoop::Post(Task task)
{
    return enqueue(Entry{std::move(task), nullptr});
}

HRESULT ServiceLoop::Invoke(const Call &call)
{
    if (IsLoopThread()) {
        try {
            return call();
        } catch (...) {
            return E_FAIL;
        }
    }
    auto state = std::make_shared<InvokeState>();
    // The task refers to `call` only while this frame waits for it.
    Task task = [&call, state] {
        HRESULT hr = E_FAIL;
        try {
            hr = call();
        } catch (...) {
            hr = E_FAIL;
        }
        state->finish(hr);
    };
    if (!enqueue(Entry{std::move(task), state}))
        return E_ABORT;
    std::unique_lock lock(state->mutex);
    state->done.wait(lock, [&] { return state->finished; });
    return state->result;
}

std::uint32_t ServiceLoop::SetTimer(std::uint32_t periodMs, TimerProc proc)
{
    const std::uint32_t period = periodMs == 0 ? 1 : periodMs;
    const std::uint64_t now = m_clock->NowMs();
    std::uint32_t id = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_quit)
            return 0;
        id = m_nextTimerId++;
        if (m_nextTimerId == 0)
            m_nextTimerId = 1;
        m_timers[id] = Timer{period, now + period, std::make_shared<TimerProc>(std::move(proc))};
    }
    Wake();
    return id;
}

bool ServiceLoop::KillTimer(std::uint32_t id)
{
    std::lock_guard lock(m_mutex);
    return m_timers.erase(id) > 0;
}

std::size_t ServiceLoop::TimerCount() const
{
    std::lock_guard lock(m_mutex);
    return m_timers.size();
}

std::size_t ServiceLoop::QueuedCount() const
{
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

bool ServiceLoop::WatchFd(int fd, std::uint32_t events, FdHandler handler)
{
    std::lock_guard lock(m_mutex);
    if (m_quit || fd < 0 || m_fds.count(fd) > 0)
        return false;
    epoll_event ev{};
    ev.events = events;
    ev.data.fd = fd;
    if (epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &ev) < 0)
        return false;
    m_fds[fd] = std::make_shared<FdHandler>(std::move(handler));
    return true;
}

bool ServiceLoop::UnwatchFd(int fd)
{
    std::lock_guard lock(m_mutex);
    if (m_fds.erase(fd) == 0)
        return false;
    epoll_ctl(m_epoll, EPOLL_CTL_DEL, fd, nullptr);
    return true;
}

bool ServiceLoop::HandleSignals(std::initializer_list<int> signals, SignalHandler handler)
{
    sigset_t mask;
    sigemptyset(&mask);
    for (int signo : signals)
        sigaddset(&mask, signo);
    std::lock_guard lock(m_mutex);
    if (m_quit || m_signalFd >= 0)
        return false;
    if (pthread_sigmask(SIG_BLOCK, &mask, nullptr) != 0)
        return false;
    m_signalFd = signalfd(-1, &mask, SFD_CLOEXEC | SFD_NONBLOCK);
    if (m_signalFd < 0)
        return false;
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = m_signalFd;
    if (epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_signalFd, &ev) < 0) {
        close(m_signalFd);
        m_signalFd = -1;
        return false;
    }
    m_signalHandler = std::make_shared<SignalHandler>(std::move(handler));
    return true;
}

std::uint32_t ServiceLoop::TickCount() const
{
    return static_cast<std::uint32_t>(m_clock->NowMs());
}

void ServiceLoop::Wake()
{
    const std::uint64_t one = 1;
    // A full counter already means a wake is pending.
    [[maybe_unused]] const auto written = write(m_wakeFd, &one, sizeof one);
}

bool ServiceLoop::enqueue(Entry entry)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_quit)
            return false;
        m_queue.push_back(std::move(entry));
    }
    Wake();
    return true;
}

void ServiceLoop::runLoop()
{
    while (!HasQuit()) {
        runDueTimers();
        if (HasQuit())
            break;
        runQueuedTasks();
        if (HasQuit())
            break;
        dispatchEvents(waitTimeoutMs());
    }
    failPending();
}

void ServiceLoop::runDueTimers()
{
    const std::uint64_t now = m_clock->NowMs();
    std::vector<std::pair<std::uint32_t, std::shared_ptr<TimerProc>>> due;
    {
        std::lock_guard lock(m_mutex);
        for (auto &[id, timer] : m_timers) {
            if (timer.due <= now) {
                timer.due = now + timer.period;
                due.emplace_back(id, timer.proc);
            }
        }
    }
    const auto tick = static_cast<std::uint32_t>(now);
    for (const auto &[id, proc] : due) {
        {
            // An earlier procedure of this step may have killed this timer.
            std::lock_guard lock(m_mutex);
            if (m_quit || m_timers.count(id) == 0)
                continue;
        }
        try {
            (*proc)(tick);
        } catch (...) {
            std::fputs("ServiceLoop: a timer procedure threw\n", stderr);
        }
    }
}

void ServiceLoop::runQueuedTasks()
{
    std::size_t count = 0;
    {
        std::lock_guard lock(m_mutex);
        count = m_queue.size();
    }
    for (; count > 0; --count) {
        Entry entry;
        {
            std::lock_guard lock(m_mutex);
            if (m_quit || m_queue.empty())
                return;
            entry = std::move(m_queue.front());
            m_queue.pop_front();
        }
        try {
            entry.task();
        } catch (...) {
            std::fputs("ServiceLoop: a posted task threw\n", stderr);
        }
        if (entry.state)
            entry.state->finish(E_FAIL); // no effect when the call finished itself
    }
}

int ServiceLoop::waitTimeoutMs()
{
    const std::uint64_t now = m_clock->NowMs();
    std::lock_guard lock(m_mutex);
    if (!m_queue.empty())
        return 0;
    if (m_timers.empty())
        return -1;
    std::uint64_t next = UINT64_MAX;
    for (const auto &[id, timer] : m_timers)
        next = std::min(next, timer.due);
    if (next <= now)
        return 0;
    const std::uint64_t wait = next - now;
    return wait > 60000 ? 60000 : static_cast<int>(wait);
}

void ServiceLoop::dispatchEvents(int timeoutMs)
{
    epoll_event events[16];
    const int n = epoll_wait(m_epoll, events, 16, timeoutMs);
    for (int i = 0; i < n; ++i) {
        const int fd = events[i].data.fd;
        if (fd == m_wakeFd) {
            std::uint64_t value = 0;
            [[maybe_unused]] const auto got = read(m_wakeFd, &value, sizeof value);
            continue;
        }
        if (fd == m_signalFd) {
            readSignals();
            continue;
        }
        std::shared_ptr<FdHandler> handler;
        {
            std::lock_guard lock(m_mutex);
            if (m_quit)
                return;
            auto it = m_fds.find(fd);
            if (it == m_fds.end())
                continue; // unwatched by an earlier handler of this step
            handler = it->second;
        }
        try {
            (*handler)(events[i].events);
        } catch (...) {
            std::fputs("ServiceLoop: a descriptor handler threw\n", stderr);
        }
    }
}

void ServiceLoop::readSignals()
{
    signalfd_siginfo info{};
    while (read(m_signalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        std::shared_ptr<SignalHandler> handler;
        {
            std::lock_guard lock(m_mutex);
            handler = m_signalHandler;
        }
        if (handler && *handler)
            (*handler)(static_cast<int>(info.ssi_signo));
        else
            Quit();
    }
}

void ServiceLoop::failPending()
{
    std::deque<Entry> dropped;
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        dropped.swap(m_queue);
        m_timers.clear();
        m_fds.clear();
    }
    for (auto &entry : dropped) {
        if (entry.state)
            entry.state->finish(E_ABORT);
    }
}
