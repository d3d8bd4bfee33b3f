#include "platform/service_loop.h"
#include "support/tests/wait_until.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <pthread.h>
#include <unistd.h>
#include <vector>

namespace {

std::thread::id loopThreadOf(ServiceLoop &loop)
{
    std::thread::id id;
    loop.Invoke([&] {
        id = std::this_thread::get_id();
        return S_OK;
    });
    return id;
}

TEST(AServiceLoop, RunsCallsFromManyThreadsOnItsThreadInEachCallersOrder)
{
    ServiceLoop loop;
    ASSERT_TRUE(loop.Start());
    const auto loopThread = loopThreadOf(loop);
    constexpr int kThreads = 8, kCalls = 250;
    std::vector<std::vector<int>> seen(kThreads); // touched on the loop thread only
    int total = 0;
    std::atomic<int> wrongThread{0};
    std::vector<std::thread> callers;
    for (int t = 0; t < kThreads; ++t) {
        callers.emplace_back([&, t] {
            for (int i = 0; i < kCalls; ++i) {
                const HRESULT hr = loop.Invoke([&, t, i] {
                    if (std::this_thread::get_id() != loopThread)
                        ++wrongThread;
                    seen[t].push_back(i);
                    ++total;
                    return i % 2 ? S_FALSE : S_OK;
                });
                EXPECT_EQ(hr, i % 2 ? S_FALSE : S_OK);
            }
        });
    }
    for (auto &caller : callers)
        caller.join();
    EXPECT_EQ(total, kThreads * kCalls);
    EXPECT_EQ(wrongThread, 0);
    for (const auto &calls : seen) {
        ASSERT_EQ(calls.size(), static_cast<std::size_t>(kCalls));
        for (int i = 0; i < kCalls; ++i)
            EXPECT_EQ(calls[i], i);
    }
}

TEST(AServiceLoop, RunsAnInvokeFromItsOwnThreadAtOnce)
{
    ServiceLoop loop;
    loop.Start();
    HRESULT inner = E_FAIL;
    EXPECT_EQ(loop.Invoke([&] {
        inner = loop.Invoke([] { return S_FALSE; });
        return S_OK;
    }),
              S_OK);
    EXPECT_EQ(inner, S_FALSE);
    EXPECT_EQ(loop.Invoke([]() -> HRESULT { throw std::runtime_error("boom"); }), E_FAIL);
}

TEST(AServiceLoop, FailsWaitingCallsWhenItQuitsAndRefusesLaterOnes)
{
    ServiceLoop loop;
    loop.Start();
    std::atomic<bool> release{false};
    std::atomic<bool> busy{false};
    loop.Post([&] {
        busy = true;
        waitUntil([&] { return release.load(); });
    });
    ASSERT_TRUE(waitUntil([&] { return busy.load(); }));
    std::atomic<bool> ran{false};
    std::atomic<HRESULT> waited{S_OK};
    std::atomic<bool> returned{false};
    std::thread caller([&] {
        waited = loop.Invoke([&] {
            ran = true;
            return S_OK;
        });
        returned = true;
    });
    // The call waits behind the busy task when the loop quits.
    EXPECT_TRUE(waitUntil([&] { return loop.QueuedCount() == 1; }));
    loop.Quit();
    EXPECT_TRUE(waitUntil([&] { return returned.load(); }));
    release = true;
    caller.join();
    EXPECT_EQ(waited, E_ABORT);
    EXPECT_FALSE(ran);
    EXPECT_EQ(loop.Invoke([] { return S_OK; }), E_ABORT);
    EXPECT_FALSE(loop.Post([] {}));
    EXPECT_EQ(loop.SetTimer(10, [](std::uint32_t) {}), 0u);
    loop.Join();
}

TEST(AServiceLoop, FailsCallsMadeBeforeItEverRan)
{
    auto loop = std::make_unique<ServiceLoop>();
    std::atomic<HRESULT> waited{S_OK};
    std::thread caller([&] { waited = loop->Invoke([] { return S_OK; }); });
    EXPECT_TRUE(waitUntil([&] { return loop->QueuedCount() == 1; }));
    loop->Quit();
    caller.join();
    EXPECT_EQ(waited, E_ABORT);
    EXPECT_FALSE(loop->Run());
}

TEST(AServiceLoop, RunsATimerOncePerPeriodWithTheTickCount)
{
    // The tick count wraps: the clock starts just below 2^32 ms.
    auto clock = std::make_shared<ManualLoopClock>(0xFFFFFF00ull);
    ServiceLoop loop(clock);
    loop.Start();
    std::vector<std::uint32_t> ticks; // loop thread only
    const auto advance = [&](std::uint64_t ms) {
        loop.Invoke([&] {
            clock->Advance(ms);
            return S_OK;
        });
        loop.Invoke([] { return S_OK; });
    };
    const std::uint32_t id = loop.SetTimer(1000, [&](std::uint32_t tick) { ticks.push_back(tick); });
    ASSERT_NE(id, 0u);
    advance(999);
    advance(1);
    advance(1000);
    advance(5000); // a late loop runs the timer once
    const auto copy = [&] {
        std::vector<std::uint32_t> out;
        loop.Invoke([&] {
            out = ticks;
            return S_OK;
        });
        return out;
    };
    EXPECT_EQ(copy(), (std::vector<std::uint32_t>{0x000002E8u, 0x000006D0u, 0x00001A58u}));
    EXPECT_TRUE(loop.KillTimer(id));
    EXPECT_FALSE(loop.KillTimer(id));
    advance(5000);
    EXPECT_EQ(copy().size(), 3u);
}

TEST(AServiceLoop, RunsTimersOnTheSystemClock)
{
    ServiceLoop loop;
    loop.Start();
    const auto loopThread = loopThreadOf(loop);
    std::atomic<int> calls{0};
    std::atomic<bool> onLoopThread{true};
    std::atomic<std::uint32_t> id{0};
    id = loop.SetTimer(5, [&](std::uint32_t) {
        onLoopThread = onLoopThread && std::this_thread::get_id() == loopThread;
        if (++calls == 3)
            loop.KillTimer(id);
    });
    EXPECT_TRUE(waitUntil([&] { return calls >= 3; }));
    EXPECT_TRUE(onLoopThread);
    EXPECT_EQ(loop.TimerCount(), 0u);
}

TEST(AServiceLoop, CallsTheHandlerOfAWatchedDescriptor)
{
    ServiceLoop loop;
    loop.Start();
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::atomic<int> bytes{0};
    ASSERT_TRUE(loop.WatchFd(fds[0], 0x001 /* EPOLLIN */, [&](std::uint32_t) {
        char buffer[16];
        const auto n = read(fds[0], buffer, sizeof buffer);
        if (n > 0)
            bytes += static_cast<int>(n);
    }));
    EXPECT_FALSE(loop.WatchFd(fds[0], 0x001, [](std::uint32_t) {}));
    ASSERT_EQ(write(fds[1], "abc", 3), 3);
    EXPECT_TRUE(waitUntil([&] { return bytes == 3; }));
    EXPECT_TRUE(loop.UnwatchFd(fds[0]));
    loop.Quit();
    loop.Join();
    close(fds[0]);
    close(fds[1]);
}

TEST(AServiceLoop, TakesTerminationSignalsOnItsThread)
{
    ServiceLoop loop;
    std::atomic<int> got{0};
    std::thread runner([&] {
        ASSERT_TRUE(loop.HandleSignals({SIGUSR1}, [&](int signo) { got = signo; }));
        loop.Run();
    });
    loopThreadOf(loop); // the loop runs, so the signal is blocked on its thread
    ASSERT_EQ(pthread_kill(runner.native_handle(), SIGUSR1), 0);
    EXPECT_TRUE(waitUntil([&] { return got == SIGUSR1; }));
    loop.Quit();
    runner.join();
}

TEST(AServiceLoop, QuitsOnASignalWithoutHandler)
{
    ServiceLoop loop;
    std::thread runner([&] {
        ASSERT_TRUE(loop.HandleSignals({SIGUSR2}));
        loop.Run();
    });
    loopThreadOf(loop);
    ASSERT_EQ(pthread_kill(runner.native_handle(), SIGUSR2), 0);
    runner.join();
    EXPECT_TRUE(loop.HasQuit());
}

} // namespace
