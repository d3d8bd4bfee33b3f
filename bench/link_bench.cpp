// Link figures over a pseudo-terminal with the simulated unit:
//  - latency from the unit writing a frame's last byte to the link's OnFrameReceived (p50, p99);
//  - frames per second on a quiet line, PC to unit (one frame per silent read, as the link is
//    designed) and unit to PC (the unit sending back to back).
// Run: build/default/bench/link_bench

#include "bench_support.h"

#include "tools/unit-sim/unit_link.h"
#include "transport/link_protocol_thread.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <vector>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A link that stamps each received frame and counts them.
class StampingLink final : public transport::LinkProtocolThread
{
public:
    explicit StampingLink(transport::LinkTiming timing = {}) : LinkProtocolThread(1, timing)
    {
        SetPriority(-1);
        Start();
    }
    ~StampingLink() override { Stop(); }

    std::size_t waitFor(std::size_t frames, std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        m_cv.wait_for(lock, timeout, [&] { return m_stamps.size() >= frames; });
        return m_stamps.size();
    }
    std::vector<Clock::time_point> stamps()
    {
        std::lock_guard lock(m_mutex);
        return m_stamps;
    }

protected:
    void OnLinkError(const std::exception &) override {}
    void OnFrameReceived(const std::uint8_t *, std::int32_t, std::uint8_t) override
    {
        const auto now = Clock::now();
        {
            std::lock_guard lock(m_mutex);
            m_stamps.push_back(now);
        }
        m_cv.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<Clock::time_point> m_stamps;
};

void BM_FrameLatency(benchmark::State &state)
{
    unitsim::UnitLink unit;
    std::mutex mutex;
    std::vector<Clock::time_point> written;
    unit.SetLogObserver([&](const unitsim::LogEntry &e) {
        if (e.kind == unitsim::LogKind::FrameSent) {
            std::lock_guard lock(mutex);
            written.push_back(e.at);
        }
    });
    unit.Start();
    bench::PortSetting setting(unit.slavePath());
    StampingLink link;

    std::size_t sent = 0;
    for (auto _ : state) {
        unit.Send({'B', {0x01, 0x04, 0x10, 0x20}});
        ++sent;
        if (link.waitFor(sent, 2s) < sent) {
            state.SkipWithError("frame not delivered");
            break;
        }
        // Let the acknowledgement reach the unit, so that each frame meets a quiet link.
        while (!unit.idle())
            std::this_thread::sleep_for(100us);
        std::this_thread::sleep_for(std::chrono::microseconds(std::rand() % 3000));
    }
    const auto stamps = link.stamps();
    std::vector<double> latencies;
    {
        std::lock_guard lock(mutex);
        for (std::size_t i = 0; i < std::min(stamps.size(), written.size()); ++i)
            latencies.push_back(std::chrono::duration<double, std::micro>(stamps[i] - written[i]).count());
    }
    state.counters["p50_us"] = bench::percentile(latencies, 0.50);
    state.counters["p99_us"] = bench::percentile(latencies, 0.99);
    state.counters["max_us"] = bench::percentile(latencies, 1.0);
}
BENCHMARK(BM_FrameLatency)->Iterations(2000)->Unit(benchmark::kMicrosecond);

void BM_QuietLinePcToUnit(benchmark::State &state)
{
    const auto frames = static_cast<std::size_t>(state.range(0));
    unitsim::UnitLink unit;
    std::atomic<std::size_t> received{0};
    unit.SetHandler([&](const unitsim::Message &) {
        ++received;
        return std::vector<unitsim::Message>{};
    });
    unit.Start();
    bench::PortSetting setting(unit.slavePath());
    StampingLink link;
    for (auto _ : state) {
        received = 0;
        const auto start = Clock::now();
        for (std::size_t i = 0; i < frames; ++i)
            link.Send('h', {});
        while (received < frames)
            std::this_thread::sleep_for(200us);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.counters["frames_per_s"] = static_cast<double>(frames) / seconds;
    }
}
BENCHMARK(BM_QuietLinePcToUnit)->Arg(50)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_QuietLineUnitToPc(benchmark::State &state)
{
    const auto frames = static_cast<std::size_t>(state.range(0));
    unitsim::UnitLink unit;
    unit.Start();
    bench::PortSetting setting(unit.slavePath());
    StampingLink link;
    std::size_t total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        for (std::size_t i = 0; i < frames; ++i)
            unit.Send({'B', {0x01, 0x04}});
        total += frames;
        if (link.waitFor(total, 60s) < total) {
            state.SkipWithError("frames not delivered");
            break;
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.counters["frames_per_s"] = static_cast<double>(frames) / seconds;
    }
}
BENCHMARK(BM_QuietLineUnitToPc)->Arg(2000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
