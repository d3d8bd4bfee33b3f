// The service's main road over the simulated unit on a pseudo-terminal: the real transport, the
// service loop, the hub.
//
// ReportToRecorderLatency: from the unit's write of a pump event frame (type W) to the call of
// a recorder subscriber of the hub on the service thread; one report in flight at a time.
// ReportThroughBridgeLatency: the same frame to the call of OnStartFuelDelivery on a recorder
// subscriber of the bridge (input, parser and output stages included). Counters p50_ms,
// p99_ms, max_ms.
//
// IdleCpuWithUnitOnline: the CPU time the service side uses while idle with the unit online
// (heartbeat running, the transport's and the bridge's workers included), as a share of one
// core. The simulated unit runs in the same process, so its threads are told apart by when they
// were made and left out. Counter cpu_percent_of_core.

#include "bench_support.h"

#include "interfaces/recorder_bridge/event_objects.h"
#include "interfaces/recorder_bridge/orvex_component.h"
#include "interfaces/recorder_bridge/orvex_interface.h"
#include "interfaces/recorder_bridge/orvex_interface_factory.h"
#include "interfaces/services/idvr_events.h"
#include "interfaces/services/iorvex_comms_events.h"
#include "services/orvex_comms.h"
#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_reports.h"
#include "tools/unit-sim/unit_tables.h"
#include "transport/orvex_transport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using i16 = std::int16_t;

// When each delivery start arrived.
class Arrivals
{
public:
    void note()
    {
        const auto now = Clock::now();
        {
            std::lock_guard lock(m_mutex);
            m_arrivals.push_back(now);
        }
        m_arrived.notify_all();
    }

    Clock::time_point waitFor(std::size_t n)
    {
        std::unique_lock lock(m_mutex);
        if (!m_arrived.wait_for(lock, std::chrono::seconds(2), [&] { return m_arrivals.size() > n; }))
            throw std::runtime_error("report did not arrive");
        return m_arrivals[n];
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<Clock::time_point> m_arrivals;
};

// A recorder subscriber of the hub.
class ArrivalRecorder final : public services::IDVREvents, public Arrivals
{
public:
    HRESULT OnPumpDeliveryStart(i16, i16) override
    {
        note();
        return S_OK;
    }

    HRESULT OnPosMessage(i16, i16, const std::string &) override { return S_OK; }
    HRESULT OnPumpEvent(i16, i16, i16) override { return S_OK; }
    HRESULT OnPumpDeliveryEnd(i16, i16, Currency, Currency, double, i16) override { return S_OK; }
    HRESULT OnCardRead(i16, i16, const std::string &) override { return S_OK; }
    HRESULT OnPaymentTransactionAuthorized(i16, i16, const std::string &) override { return S_OK; }
    HRESULT OnPaymentTransactionCancelled(i16) override { return S_OK; }
    HRESULT OnPrintReceipt(i16) override { return S_OK; }
    HRESULT OnPaymentTerminalEvent(i16, i16) override { return S_OK; }
    HRESULT OnCameraVisitFuellingPosition(i16, i16, const std::string &, i16, i16, i16, double, double, double,
                                          double, i16, i16) override
    {
        return S_OK;
    }
    HRESULT OnCameraVisitPaymentTerminal(i16, i16, const std::string &, i16, i16, i16, double, double, double,
                                         double, i16, i16) override
    {
        return S_OK;
    }
    HRESULT OnCameraLeavePosition(i16, const std::string &, i16, i16, i16, double, double, double, double) override
    {
        return S_OK;
    }
    HRESULT OnCameraVisitWorkstation(const std::string &, i16, const std::string &, i16, i16, i16, double, double,
                                     double, double) override
    {
        return S_OK;
    }
    HRESULT OnCameraVisit(i16, const std::string &, i16, i16, i16, double, double, double, double, i16,
                          i16) override
    {
        return S_OK;
    }
    HRESULT OnCameraRoam(i16, const std::string &, i16, i16, i16, double, double, double) override { return S_OK; }
    HRESULT OnCameraLocalizeRegistrationPlate(i16, i16, const std::string &, i16, i16, i16, double, double, double,
                                              double) override
    {
        return S_OK;
    }
    HRESULT OnRecognizeRegistrationNumber(i16, i16, i16, const std::string &, const std::string &,
                                          const std::string &) override
    {
        return S_OK;
    }
    HRESULT OnRequestImageCapture(i16) override { return S_OK; }
    HRESULT OnCapturedFuellingPositionImage(i16, i16, const std::string &, const std::string &, i16,
                                            const std::string &, i16) override
    {
        return S_OK;
    }
    HRESULT OnCapturedPaymentTerminalImage(i16, i16, const std::string &, const std::string &, i16,
                                           const std::string &, i16) override
    {
        return S_OK;
    }
    HRESULT OnCapturedWorkstationImage(const std::string &, i16, const std::string &, const std::string &, i16,
                                       const std::string &, i16) override
    {
        return S_OK;
    }
};

// A recorder subscriber of the bridge's fuelling events.
class FuellingArrivals final : public recorder_bridge::IFuellingEvents, public Arrivals
{
public:
    HRESULT OnStartFuelDelivery(const std::string &, i16, i16, i16, const std::string &, i16) override
    {
        note();
        return S_OK;
    }
    HRESULT OnFinishFuelDelivery(const std::string &, i16, i16, i16, const std::string &, i16, Currency, Currency,
                                 double, const std::string &, i16, i16) override
    {
        return S_OK;
    }
    HRESULT OnFuellingEvent(const std::string &, i16, i16, i16, const std::string &, i16) override { return S_OK; }
};

// Waits for the first OrvexOnline.
class OnlineWatcher final : public services::IOrvexCommsEvents
{
public:
    bool waitOnline(std::chrono::seconds timeout)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_online; });
    }

    HRESULT OrvexOnline(const std::string &) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_online = true;
        }
        m_changed.notify_all();
        return S_OK;
    }
    HRESULT Debug(const std::string &) override { return S_OK; }
    HRESULT OrvexOffline() override { return S_OK; }
    HRESULT CommsError(const std::string &) override { return S_OK; }
    HRESULT SystemDiagnostics(i16, i16, i16, i16) override { return S_OK; }
    HRESULT TaskDiagnostics(i16, i16, i16) override { return S_OK; }
    HRESULT ResetCount(i16) override { return S_OK; }
    HRESULT GotMessage(const std::string &) override { return S_OK; }
    HRESULT CameraPosition(i16, float, float, float) override { return S_OK; }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_online = false;
};

std::set<int> threadIds()
{
    std::set<int> ids;
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/task"))
        ids.insert(std::stoi(entry.path().filename().string()));
    return ids;
}

// Nanoseconds a thread has run (first field of its schedstat); 0 once it has gone.
std::uint64_t threadCpuNs(int tid)
{
    std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/schedstat");
    std::uint64_t ns = 0;
    in >> ns;
    return ns;
}

// The shipped point-of-sale rules, which the bridge needs in its install folder.
const std::filesystem::path kRulesFile =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "RecorderBridgeConfig.xml";

// The unit, then the service side on port 1 with a running heartbeat.
class ServiceRig
{
public:
    explicit ServiceRig(bool withBridge = false)
    {
        unit = std::make_unique<unitsim::UnitLink>();
        m_port = std::make_unique<bench::PortSetting>(unit->slavePath());
        std::filesystem::copy_file(kRulesFile, std::filesystem::path(InstallFolder()) / "RecorderBridgeConfig.xml",
                                   std::filesystem::copy_options::overwrite_existing);
        const auto before = threadIds();
        unit->SetHandler(tables.handler());
        unit->SetLogObserver([this](const unitsim::LogEntry &entry) { writes.note(entry); });
        unit->Start();
        for (int id : threadIds())
            if (!before.count(id))
                unitThreads.insert(id);

        loop.Start();
        transport = std::make_shared<transport::OrvexTransport>();
        hub = std::make_shared<services::OrvexComms>(loop, transport);
        std::uint32_t cookie = 0;
        hub->AdviseDVREvents(recorder, &cookie);
        hub->AdviseCommsEvents(watcher, &cookie);
        if (withBridge) {
            if (FAILED(recorder_bridge::CreateOrvexInterface(&bridge)))
                throw std::runtime_error("no bridge");
            std::shared_ptr<recorder_bridge::IFuelling> fuelling;
            bridge->getFuellingInterface(&fuelling);
            fuelling->Advise(fuellingArrivals, &cookie);
        }
        loop.Invoke([this] {
            hub->AttachConfigData(nullptr);
            if (auto component = std::dynamic_pointer_cast<recorder_bridge::IOrvexComponent>(bridge))
                component->RegisterServices(hub);
            hub->AdviseTransportEvents();
            return hub->SetSerialPort(1);
        });
    }

    ~ServiceRig()
    {
        loop.Quit();
        loop.Join();
        bridge.reset();
        hub.reset();
        transport.reset();
        unit.reset();
    }

    // CPU time of every thread but the unit's.
    std::uint64_t serviceCpuNs() const
    {
        std::uint64_t total = 0;
        for (int id : threadIds())
            if (!unitThreads.count(id))
                total += threadCpuNs(id);
        return total;
    }

    unitsim::UnitTables tables;
    bench::FrameWrites writes{'W'};
    std::unique_ptr<unitsim::UnitLink> unit;
    std::set<int> unitThreads;
    ServiceLoop loop;
    std::shared_ptr<transport::OrvexTransport> transport;
    std::shared_ptr<services::OrvexComms> hub;
    std::shared_ptr<recorder_bridge::IOrvexInterface> bridge;
    std::shared_ptr<ArrivalRecorder> recorder = std::make_shared<ArrivalRecorder>();
    std::shared_ptr<FuellingArrivals> fuellingArrivals = std::make_shared<FuellingArrivals>();
    std::shared_ptr<OnlineWatcher> watcher = std::make_shared<OnlineWatcher>();

private:
    std::unique_ptr<bench::PortSetting> m_port;
};

void measureLatency(benchmark::State &state, ServiceRig &rig, Arrivals &arrivals)
{
    std::vector<double> latencies;
    std::size_t n = 0;
    for (auto _ : state) {
        rig.unit->Send(unitsim::PumpEvent(4, 1, 2, 3));
        const auto arrived = arrivals.waitFor(n);
        const double ms = std::chrono::duration<double, std::milli>(arrived - rig.writes.at(n)).count();
        latencies.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
        ++n;
        // Every report starts on an idle line, at a random phase of the link's read loop, as
        // reports from a real forecourt do (back to back they would all meet the link's pause).
        while (!rig.unit->idle())
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        std::this_thread::sleep_for(std::chrono::microseconds(std::rand() % 3000));
    }
    state.counters["p50_ms"] = bench::percentile(latencies, 0.50);
    state.counters["p99_ms"] = bench::percentile(latencies, 0.99);
    state.counters["max_ms"] = bench::percentile(latencies, 1.0);
}

void ReportToRecorderLatency(benchmark::State &state)
{
    ServiceRig rig;
    measureLatency(state, rig, *rig.recorder);
}
BENCHMARK(ReportToRecorderLatency)->Iterations(1000)->UseManualTime()->Unit(benchmark::kMillisecond);

void ReportThroughBridgeLatency(benchmark::State &state)
{
    ServiceRig rig(true);
    measureLatency(state, rig, *rig.fuellingArrivals);
}
BENCHMARK(ReportThroughBridgeLatency)->Iterations(1000)->UseManualTime()->Unit(benchmark::kMillisecond);

void IdleCpuWithUnitOnline(benchmark::State &state)
{
    ServiceRig rig(true);
    if (!rig.watcher->waitOnline(std::chrono::seconds(10))) {
        state.SkipWithError("the unit did not come online");
        return;
    }
    constexpr auto kWindow = std::chrono::seconds(5);
    double share = 0.0;
    for (auto _ : state) {
        const auto cpuBefore = rig.serviceCpuNs();
        const auto wallBefore = Clock::now();
        std::this_thread::sleep_for(kWindow);
        const double cpu = static_cast<double>(rig.serviceCpuNs() - cpuBefore);
        const double wall = static_cast<double>(
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - wallBefore).count());
        share = cpu / wall;
    }
    state.counters["cpu_percent_of_core"] = share * 100.0;
}
BENCHMARK(IdleCpuWithUnitOnline)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
