// Latency of one unit report: from the simulated unit's write of the report frame to the call
// of the transport's subscriber, over a pseudo-terminal with the link's own time-outs. One report
// is in flight at a time, so the figure is the path's own delay, not queueing. Reported as the
// median and the 99th percentile over the run (counters p50_ms and p99_ms).

#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_reports.h"
#include "transport/orvex_transport.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Counts pump events and notes when each arrived.
class ArrivalSink final : public transport::IOrvexTransportEvents
{
public:
    HRESULT OnPumpEvent(std::int16_t, std::int16_t, std::int16_t, std::int16_t) override
    {
        const auto now = Clock::now();
        {
            std::lock_guard lock(m_mutex);
            m_arrivals.push_back(now);
        }
        m_arrived.notify_all();
        return S_OK;
    }

    // The arrival time of report number `n` (0-based); throws when it does not come within 2 s.
    Clock::time_point waitFor(std::size_t n)
    {
        std::unique_lock lock(m_mutex);
        if (!m_arrived.wait_for(lock, std::chrono::seconds(2), [&] { return m_arrivals.size() > n; }))
            throw std::runtime_error("report did not arrive");
        return m_arrivals[n];
    }

    HRESULT HeartBeat(const std::string &) override { return S_OK; }
    HRESULT Debug(const std::string &) override { return S_OK; }
    HRESULT BootLoadReadyRequest(std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT DispenserMap(std::int16_t, std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT SystemDiagnostics(std::int16_t, std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT TaskConfig(std::int16_t, std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT VehicleReg(std::int16_t, const std::string &) override { return S_OK; }
    HRESULT OnError(const std::string &) override { return S_OK; }
    HRESULT OnCameraPreset(const std::shared_ptr<transport::ICameraPresetsOutput> &) override { return S_OK; }
    HRESULT InterestZone(std::int16_t, std::int16_t, std::int16_t, const std::string &) override { return S_OK; }
    HRESULT OnConfigData(const std::shared_ptr<transport::IConfigDataOutput> &) override { return S_OK; }
    HRESULT OnEvents(const std::shared_ptr<transport::IEventsOutput> &) override { return S_OK; }
    HRESULT TaskDiagnostics(std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT ResetCount(std::int16_t) override { return S_OK; }
    HRESULT CameraPosition(std::int16_t, float, float, float) override { return S_OK; }
    HRESULT OnCameraEvent(std::int16_t, std::int16_t, std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT OnPOSMessage(std::int16_t, std::int16_t, std::int16_t, const std::string &) override { return S_OK; }
    HRESULT OnPumpEventWithDeliveryTotals(std::int16_t, std::int16_t, std::int16_t, Currency, Currency, double,
                                          std::int16_t) override
    {
        return S_OK;
    }
    HRESULT OnPOSEventData(std::int16_t, std::int16_t, std::int16_t, std::int16_t, std::int16_t) override
    {
        return S_OK;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<Clock::time_point> m_arrivals;
};

void ReportToSubscriberLatency(benchmark::State &state)
{
    bench::FrameWrites writes;
    unitsim::UnitLink unit;
    unit.SetLogObserver([&](const unitsim::LogEntry &entry) { writes.note(entry); });
    unit.Start();
    bench::PortSetting setting(unit.slavePath());

    auto sink = std::make_shared<ArrivalSink>();
    transport::OrvexTransport transport;
    std::uint32_t cookie = 0;
    transport.Advise(sink, &cookie);
    transport.setSerialPort(1);

    std::vector<double> latencies;
    std::size_t n = 0;
    for (auto _ : state) {
        unit.Send(unitsim::PumpEvent(4, 1, 2, 3));
        const auto arrived = sink->waitFor(n);
        const double ms = std::chrono::duration<double, std::milli>(arrived - writes.at(n)).count();
        latencies.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
        ++n;
        // Every report starts on an idle line, at a random phase of the link's read loop.
        while (!unit.idle())
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        std::this_thread::sleep_for(std::chrono::microseconds(std::rand() % 3000));
    }
    state.counters["p50_ms"] = bench::percentile(latencies, 0.50);
    state.counters["p99_ms"] = bench::percentile(latencies, 0.99);
    state.counters["max_ms"] = bench::percentile(latencies, 1.0);
}
BENCHMARK(ReportToSubscriberLatency)->Iterations(1000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
