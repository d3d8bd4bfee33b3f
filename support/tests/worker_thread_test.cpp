#include "support/worker_thread.h"

#include "wait_until.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <thread>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace std::chrono_literals;
using support::WorkerThread;

namespace {

// Runs until stopped; records that it started and at which nice value, or throws from Run.
class Probe : public WorkerThread
{
public:
    explicit Probe(std::uint8_t createSuspended = 0, bool throwInRun = false)
        : WorkerThread(createSuspended), m_throw(throwInRun)
    {
    }
    ~Probe() override { Stop(); }

    std::atomic<bool> started{false};
    std::atomic<int> nice{1000};

protected:
    void OnThreadStart() override
    {
        nice = ::getpriority(PRIO_PROCESS, 0);
        started = true;
    }
    void Run() override
    {
        if (m_throw)
            throw std::runtime_error("run failed");
        while (SleepFor(1)) {
        }
    }

private:
    const bool m_throw;
};

int processNice()
{
    return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::getpid()));
}

} // namespace

TEST(AWorkerThread, RunsNothingUntilStarted)
{
    Probe worker;
    EXPECT_FALSE(waitUntil([&] { return worker.started.load(); }, 50ms));
    worker.Start();
    EXPECT_TRUE(waitUntil([&] { return worker.started.load(); }));
}

TEST(AWorkerThread, CreatedWithByteTwoRunsAtOnce)
{
    Probe worker(2);
    EXPECT_EQ(worker.SuspendCount(), 0);
    worker.Start();
    EXPECT_TRUE(waitUntil([&] { return worker.started.load(); }));
}

TEST(AWorkerThread, CreatedSuspendedWaitsUntilResumed)
{
    Probe worker(1);
    worker.Start();
    EXPECT_FALSE(waitUntil([&] { return worker.started.load(); }, 50ms));
    EXPECT_EQ(worker.Resume(), 1u);
    EXPECT_TRUE(waitUntil([&] { return worker.started.load(); }));
    EXPECT_EQ(worker.SuspendCount(), 0);
}

TEST(AWorkerThread, CountsSuspensions)
{
    Probe worker;
    EXPECT_EQ(worker.Suspend(), 0u);
    EXPECT_EQ(worker.Suspend(), 1u);
    EXPECT_EQ(worker.Resume(), 2u);
    EXPECT_EQ(worker.Resume(), 1u);
    EXPECT_EQ(worker.SuspendCount(), 0);
}

TEST(AWorkerThread, ReportsStillActiveThenItsExitCode)
{
    Probe worker;
    worker.Start();
    EXPECT_EQ(worker.WaitForExit(0), WorkerThread::kStillActive);
    worker.RequestStop();
    EXPECT_EQ(worker.WaitForExit(WorkerThread::kInfinite), 0u);
    EXPECT_TRUE(worker.Exited());
    EXPECT_EQ(worker.WaitForExit(0), 0u);
}

TEST(AWorkerThread, WaitForExitResumesASuspendedWorkerOnce)
{
    Probe worker(1);
    worker.Start();
    EXPECT_EQ(worker.WaitForExit(0), WorkerThread::kStillActive);
    EXPECT_EQ(worker.SuspendCount(), 0);
    EXPECT_TRUE(waitUntil([&] { return worker.started.load(); }));
}

TEST(AWorkerThread, EndsQuietlyWhenItsBodyThrows)
{
    Probe worker(0, true);
    worker.Start();
    EXPECT_EQ(worker.WaitForExit(WorkerThread::kInfinite), 0u);
    EXPECT_TRUE(worker.Exited());
}

TEST(AWorkerThread, StopsASuspendedWorkerOnRequestAlone)
{
    // The request must reach a worker that is just going to wait: repeat to meet that moment.
    for (int i = 0; i < 200; ++i) {
        Probe worker(1);
        worker.Start();
        worker.RequestStop();
        ASSERT_TRUE(waitUntil([&] { return worker.Exited(); })) << "round " << i;
    }
}

TEST(AWorkerThread, RunsOneNiceStepBelowTheProcessWhoeverCreatesIt)
{
    const int base = processNice();
    if (base >= 18)
        GTEST_SKIP() << "process already at the lowest priority";
    // The creating thread runs lower still; the worker must not inherit that.
    int workerNice = 1000;
    std::thread creator([&] {
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), base + 1);
        Probe worker;
        EXPECT_TRUE(worker.SetPriority(-1));
        worker.Start();
        ASSERT_TRUE(waitUntil([&] { return worker.started.load(); }));
        workerNice = worker.nice;
    });
    creator.join();
    EXPECT_EQ(workerNice, base + 1);
}
