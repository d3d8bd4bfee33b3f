// Worker hand-off latency and trace log costs.
//
// Latency: one item at a time, posted at a random moment (0-1 ms after the previous one was
// handled, so that a waking worker is idle and a polling worker is anywhere in its sleep), timed
// from before Post to the start of HandleItem. Trace: the cost of one call on the calling thread
// with the level on (timed call by call, so the figures include two clock reads) and filtered
// out, and how many lines per second the writer puts on disk.

#include "support/queued_worker_thread.h"
#include "support/trace_log.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct TimedItem : support::QueueItem
{
    Clock::time_point posted = Clock::now();
};

class LatencyWorker : public support::QueuedWorkerThread
{
public:
    // Waking: woken by Post, idle when empty. Polling: its own Run sleeps 1 ms per empty cycle,
    // as the transport's threads do.
    explicit LatencyWorker(bool waking) : QueuedWorkerThread(waking, waking), m_polling(!waking)
    {
        SetPriority(-1);
        Start();
    }
    ~LatencyWorker() override { Stop(); }

    std::atomic<long> handledNs{-1};

protected:
    void Run() override
    {
        if (!m_polling)
            return QueuedWorkerThread::Run();
        while (!StopRequested()) {
            if (auto item = Pop())
                HandleItem(*item);
            else
                SleepFor(1);
        }
    }
    void HandleItem(support::QueueItem &item) override
    {
        const auto latency = Clock::now() - static_cast<TimedItem &>(item).posted;
        handledNs.store(std::chrono::duration_cast<std::chrono::nanoseconds>(latency).count(),
                        std::memory_order_release);
    }

private:
    const bool m_polling;
};

double percentile(std::vector<double> samples, double p)
{
    if (samples.empty())
        return 0;
    const auto index = static_cast<std::size_t>(p * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(index), samples.end());
    return samples[index];
}

void reportPercentiles(benchmark::State &state, const std::vector<double> &nanoseconds,
                       const char *unit, double divisor)
{
    // Averaged over the benchmark's threads, each of which reports its own percentiles.
    state.counters[std::string("p50_") + unit] =
        benchmark::Counter(percentile(nanoseconds, 0.50) / divisor, benchmark::Counter::kAvgThreads);
    state.counters[std::string("p99_") + unit] =
        benchmark::Counter(percentile(nanoseconds, 0.99) / divisor, benchmark::Counter::kAvgThreads);
}

void PostToHandleLatency(benchmark::State &state)
{
    LatencyWorker worker(state.range(0) != 0);
    std::mt19937 random(42);
    std::uniform_int_distribution<int> pauseUs(0, 1000);
    std::vector<double> samples;
    for (auto _ : state) {
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random)));
        worker.handledNs.store(-1, std::memory_order_relaxed);
        state.ResumeTiming();
        worker.Post(std::make_unique<TimedItem>());
        long ns;
        while ((ns = worker.handledNs.load(std::memory_order_acquire)) < 0) {
        }
        samples.push_back(static_cast<double>(ns));
    }
    reportPercentiles(state, samples, "us", 1000.0);
}
BENCHMARK(PostToHandleLatency)->ArgName("waking")->Arg(1)->Arg(0)->Iterations(2000)->UseRealTime();

class TraceFolder
{
public:
    TraceFolder(int level, int intervalMs)
        : m_dir(fs::temp_directory_path() / ("orvex_bench_" + std::to_string(::getpid())))
    {
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        std::ofstream(m_dir / "OrvexSettings.ini") << "[Bench]\nTraceLevel=" << level
                                                   << "\nTraceWriteInterval=" << intervalMs << "\n";
        support::OpenTrace(m_dir.c_str(), nullptr, "Bench");
    }
    ~TraceFolder()
    {
        support::CloseTrace();
        fs::remove_all(m_dir);
    }
    std::uintmax_t bytesWritten() const
    {
        std::uintmax_t total = 0;
        for (const auto &entry : fs::directory_iterator(m_dir)) {
            if (entry.path().extension() == ".txt")
                total += entry.file_size();
        }
        return total;
    }

private:
    fs::path m_dir;
};

// Level on: timed call by call for the median.
void TraceInfoWritten(benchmark::State &state)
{
    static TraceFolder *folder = nullptr;
    if (state.thread_index() == 0)
        folder = new TraceFolder(3, 50);
    std::vector<double> samples;
    samples.reserve(1 << 20);
    int i = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        support::TraceInfo("Input OnPumpEvent pump %d event %d name %s", i & 31, i, "Delivery Start");
        samples.push_back(static_cast<double>(
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count()));
        ++i;
    }
    reportPercentiles(state, samples, "ns", 1.0);
    if (state.thread_index() == 0) {
        delete folder;
        folder = nullptr;
    }
}
BENCHMARK(TraceInfoWritten)->Iterations(200000)->Threads(1)->Threads(4)->UseRealTime();

// Level off: the whole cost is the level test.
void TraceInfoFiltered(benchmark::State &state)
{
    TraceFolder folder(0, 500);
    int i = 0;
    for (auto _ : state) {
        support::TraceInfo("Input OnPumpEvent pump %d event %d name %s", i & 31, i, "Delivery Start");
        benchmark::ClobberMemory();
        ++i;
    }
}
BENCHMARK(TraceInfoFiltered);

// The writer alone: lines queued with a long interval, then timed while Close writes them all.
void TraceWriterThroughput(benchmark::State &state)
{
    const int lines = static_cast<int>(state.range(0));
    std::uintmax_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<TraceFolder>(3, 600000);
        for (int i = 0; i < lines; ++i)
            support::TraceInfo("Firing OnStartFuelDelivery 2026-12-08T20:30:00 seq %d pump %d", i, i & 31);
        state.ResumeTiming();
        support::CloseTrace();
        state.PauseTiming();
        bytes += folder->bytesWritten();
        folder.reset();
        state.ResumeTiming();
    }
    state.counters["lines_per_s"] =
        benchmark::Counter(static_cast<double>(lines) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["bytes_per_s"] =
        benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kIsRate);
}
BENCHMARK(TraceWriterThroughput)->Arg(200000)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
