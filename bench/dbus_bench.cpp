// The service over the bus, as its clients feel it: one data-interface call's round trip, a
// whole large site read through the data interfaces (as the configuration tool reads it), the
// main road from the unit's frame to the recorder client's signal, the CPU time and wake-ups of
// the idle service with the unit online, the resident memory of the idle service holding that
// site, and a getter and the main road while another client's site send is under way. Runs
// OrvexServices on a private bus of its own.
#include "bench_support.h"
#include "services/tests/bus_test_support.h"
#include "tools/unit-sim/report_commands.h"
#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_tables.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace {

using bustest::PrivateBus;
using Clock = std::chrono::steady_clock;

constexpr const char *kService = "org.orvex.OrvexServices";

// The site's size: a large forecourt.
constexpr int kDevices = 40, kDispensers = 48, kPresetsPerDispenser = 12, kEvents = 40, kCameras = 16,
              kPresetsPerCamera = 64, kPOS = 8;

std::string getPath(sdbus::IProxy &proxy, const char *iface, const char *method)
{
    int32_t hr = 0;
    sdbus::ObjectPath path;
    proxy.callMethod(method).onInterface(iface).storeResultsTo(hr, path);
    return path;
}

struct Environment
{
    unitsim::UnitLink unit;
    unitsim::UnitTables tables;
    bench::FrameWrites pumpWrites{'W'};
    std::unique_ptr<PrivateBus> bus;
    std::unique_ptr<sdbus::IConnection> client;
    std::string hub, data, devices, dispensers, events, cameras, pos;

    Environment()
    {
        unit.SetHandler(tables.handler());
        unit.SetLogObserver([this](const unitsim::LogEntry &entry) { pumpWrites.note(entry); });
        unit.Start();
        bus = std::make_unique<PrivateBus>(true, unit.slavePath());
        client = bus->connect();
        // The first call starts the service and makes this connection its client, so that it
        // runs until the end, whoever else comes and goes.
        hub = getPath(*proxy("/org/orvex/Orvex"), "org.orvex.IOrvex", "getOrvexComms");
    }
    std::unique_ptr<sdbus::IProxy> proxy(const std::string &path) { return sdbus::createProxy(*client, kService, path); }
};

Environment &env()
{
    static Environment e;
    return e;
}

// Makes and loads the large site through the bus, once.
void buildLargeSite()
{
    Environment &e = env();
    if (!e.devices.empty())
        return;
    auto root = e.proxy("/org/orvex/Orvex");
    e.data = getPath(*root, "org.orvex.IOrvex", "getOrvexConfigData");
    auto data = e.proxy(e.data);
    const char *D = "org.orvex.IOrvexConfigData";
    int32_t hr = 0;
    data->callMethod("InitializeStorage").onInterface(D).storeResultsTo(hr);
    data->callMethod("NewSite").onInterface(D).withArguments(std::string("Large")).storeResultsTo(hr);
    data->callMethod("LoadSite").onInterface(D).withArguments(std::string("Large")).storeResultsTo(hr);
    e.devices = getPath(*data, D, "RetrieveDevice");
    e.dispensers = getPath(*data, D, "RetrieveDispenser");
    e.events = getPath(*data, D, "RetrieveEvent");
    e.cameras = getPath(*data, D, "RetrieveCamera");
    e.pos = getPath(*data, D, "RetrievePOS");
    int16_t index = 0;
    auto devices = e.proxy(e.devices);
    for (int i = 0; i < kDevices; ++i)
        devices->callMethod("Append").onInterface("org.orvex.IDeviceData").storeResultsTo(hr, index);
    auto dispensers = e.proxy(e.dispensers);
    for (int i = 1; i <= kDispensers; ++i) {
        dispensers->callMethod("NewDispenser").onInterface("org.orvex.IDispenserData")
            .withArguments(static_cast<int16_t>(i)).storeResultsTo(hr, index);
        int16_t preset = 0;
        for (int p = 0; p < kPresetsPerDispenser; ++p)
            dispensers->callMethod("NewPreset").onInterface("org.orvex.IDispenserData")
                .withArguments(index, static_cast<int16_t>(p)).storeResultsTo(hr, preset);
    }
    auto events = e.proxy(e.events);
    for (int i = 0; i < kEvents; ++i)
        events->callMethod("NewEvent").onInterface("org.orvex.IEventData").withArguments(static_cast<int16_t>(i))
            .storeResultsTo(hr, index);
    auto cameras = e.proxy(e.cameras);
    for (int i = 1; i <= kCameras; ++i) {
        cameras->callMethod("NewCamera").onInterface("org.orvex.ICameraData").withArguments(static_cast<int16_t>(i))
            .storeResultsTo(hr, index);
        int16_t preset = 0;
        for (int p = 1; p <= kPresetsPerCamera; ++p) {
            cameras->callMethod("NewPreset").onInterface("org.orvex.ICameraData")
                .withArguments(index, static_cast<int16_t>(p)).storeResultsTo(hr, preset);
            cameras->callMethod("SetComment").onInterface("org.orvex.ICameraData")
                .withArguments(index, preset, "Preset " + std::to_string(p) + " of camera " + std::to_string(i))
                .storeResultsTo(hr);
        }
    }
    auto pos = e.proxy(e.pos);
    for (int i = 1; i <= kPOS; ++i)
        pos->callMethod("NewPOS").onInterface("org.orvex.IPOSData").withArguments(static_cast<int16_t>(i))
            .storeResultsTo(hr, index);
    data->callMethod("Save").onInterface(D).storeResultsTo(hr);
}

void reportPercentiles(benchmark::State &state, std::vector<double> &samplesUs)
{
    if (samplesUs.empty())
        return;
    std::sort(samplesUs.begin(), samplesUs.end());
    state.counters["p50_us"] = samplesUs[samplesUs.size() / 2];
    state.counters["p99_us"] = samplesUs[std::min(samplesUs.size() - 1, samplesUs.size() * 99 / 100)];
}

void BM_DataCallRoundTrip(benchmark::State &state)
{
    buildLargeSite();
    auto devices = env().proxy(env().devices);
    std::vector<double> samples;
    for (auto _ : state) {
        const auto start = Clock::now();
        int32_t hr = 0;
        int16_t count = 0;
        devices->callMethod("Count").onInterface("org.orvex.IDeviceData").storeResultsTo(hr, count);
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        benchmark::DoNotOptimize(count);
    }
    reportPercentiles(state, samples);
}
BENCHMARK(BM_DataCallRoundTrip)->Iterations(5000)->UseRealTime();

// Every record and every field, walked with First/Next as the configuration tool's iterators do.
void BM_ReadWholeLargeSite(benchmark::State &state)
{
    buildLargeSite();
    Environment &e = env();
    std::uint64_t calls = 0;
    for (auto _ : state) {
        int32_t hr = 0;
        int16_t i = 0, v = 0;
        auto devices = e.proxy(e.devices);
        const char *DV = "org.orvex.IDeviceData";
        devices->callMethod("First").onInterface(DV).storeResultsTo(hr, i);
        ++calls;
        while (i != 0) {
            for (const char *getter : {"GetDeviceType", "GetInterface", "GetInport", "GetOutport"}) {
                devices->callMethod(getter).onInterface(DV).withArguments(i).storeResultsTo(hr, v);
                ++calls;
            }
            devices->callMethod("Next").onInterface(DV).withArguments(i).storeResultsTo(hr, i);
            ++calls;
        }
        auto dispensers = e.proxy(e.dispensers);
        const char *DI = "org.orvex.IDispenserData";
        dispensers->callMethod("FirstDispenser").onInterface(DI).storeResultsTo(hr, i);
        ++calls;
        while (i != 0) {
            for (const char *getter :
                 {"GetDispenserLogicalNumber", "GetDispenserLoop", "GetDispenserAddress", "GetCardTerminalAddress"}) {
                dispensers->callMethod(getter).onInterface(DI).withArguments(i).storeResultsTo(hr, v);
                ++calls;
            }
            int16_t p = 0;
            dispensers->callMethod("FirstPreset").onInterface(DI).withArguments(i).storeResultsTo(hr, p);
            ++calls;
            while (p != 0) {
                sdbus::ObjectPath entry;
                dispensers->callMethod("RetrieveCameraPreset").onInterface(DI).withArguments(i, p).storeResultsTo(hr, entry);
                auto preset = e.proxy(entry);
                for (const char *getter : {"GetEventNumber", "GetCameraNumber", "GetPresetNumber"}) {
                    preset->callMethod(getter).onInterface("org.orvex.ICameraPresetData").storeResultsTo(hr, v);
                    ++calls;
                }
                dispensers->callMethod("NextPreset").onInterface(DI).withArguments(i, p).storeResultsTo(hr, p);
                calls += 2;
            }
            dispensers->callMethod("NextDispenser").onInterface(DI).withArguments(i).storeResultsTo(hr, i);
            ++calls;
        }
        auto events = e.proxy(e.events);
        const char *EV = "org.orvex.IEventData";
        events->callMethod("First").onInterface(EV).storeResultsTo(hr, i);
        while (i != 0) {
            for (const char *getter : {"GetEventNumber", "GetPriority", "GetTransitionPriority"}) {
                events->callMethod(getter).onInterface(EV).withArguments(i).storeResultsTo(hr, v);
                ++calls;
            }
            events->callMethod("Next").onInterface(EV).withArguments(i).storeResultsTo(hr, i);
            ++calls;
        }
        auto cameras = e.proxy(e.cameras);
        const char *CA = "org.orvex.ICameraData";
        cameras->callMethod("FirstCamera").onInterface(CA).storeResultsTo(hr, i);
        while (i != 0) {
            cameras->callMethod("GetCameraNumber").onInterface(CA).withArguments(i).storeResultsTo(hr, v);
            cameras->callMethod("GetCameraType").onInterface(CA).withArguments(i).storeResultsTo(hr, v);
            int16_t p = 0;
            cameras->callMethod("FirstPreset").onInterface(CA).withArguments(i).storeResultsTo(hr, p);
            calls += 3;
            while (p != 0) {
                std::string comment;
                cameras->callMethod("GetPresetNumber").onInterface(CA).withArguments(i, p).storeResultsTo(hr, v);
                cameras->callMethod("GetComment").onInterface(CA).withArguments(i, p).storeResultsTo(hr, comment);
                cameras->callMethod("NextPreset").onInterface(CA).withArguments(i, p).storeResultsTo(hr, p);
                calls += 3;
            }
            cameras->callMethod("NextCamera").onInterface(CA).withArguments(i).storeResultsTo(hr, i);
            ++calls;
        }
        auto pos = e.proxy(e.pos);
        const char *PO = "org.orvex.IPOSData";
        pos->callMethod("First").onInterface(PO).storeResultsTo(hr, i);
        while (i != 0) {
            for (const char *getter : {"GetPOSNumber", "GetCamera", "GetMovableFlag", "GetPreset", "GetPriority"}) {
                pos->callMethod(getter).onInterface(PO).withArguments(i).storeResultsTo(hr, v);
                ++calls;
            }
            pos->callMethod("Next").onInterface(PO).withArguments(i).storeResultsTo(hr, i);
            ++calls;
        }
    }
    state.counters["calls_per_read"] = static_cast<double>(calls) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ReadWholeLargeSite)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// A recorder client of the bridge's fuelling events: when each OnStartFuelDelivery arrived.
class RecorderSignals
{
public:
    explicit RecorderSignals(Environment &e) : m_listener(e.bus->connect())
    {
        auto root = sdbus::createProxy(*m_listener, kService, "/org/orvex/Orvex");
        const std::string bridgePath = getPath(*root, "org.orvex.IOrvex", "getRecorderBridge");
        auto bridge = sdbus::createProxy(*m_listener, kService, bridgePath);
        const std::string fuellingPath = getPath(*bridge, "org.orvex.IOrvexInterface", "getFuellingInterface");
        m_fuelling = sdbus::createProxy(*m_listener, kService, fuellingPath);
        m_fuelling->uponSignal("OnStartFuelDelivery").onInterface("org.orvex.IFuellingEvents")
            .call([this](const std::string &, int16_t, int16_t, int16_t, const std::string &, int16_t) {
                std::lock_guard lock(m_mutex);
                m_signals.push_back(Clock::now());
                m_arrived.notify_all();
            });
        m_fuelling->finishRegistration();
        m_listener->enterEventLoopAsync();
    }
    ~RecorderSignals() { m_listener->leaveEventLoop(); }
    RecorderSignals(const RecorderSignals &) = delete;
    RecorderSignals &operator=(const RecorderSignals &) = delete;

    [[nodiscard]] std::size_t count()
    {
        std::lock_guard lock(m_mutex);
        return m_signals.size();
    }
    // When signal number `n` (0-based) arrived; empty when it has not within `timeout`.
    std::optional<Clock::time_point> arrival(std::size_t n, std::chrono::seconds timeout)
    {
        std::unique_lock lock(m_mutex);
        if (!m_arrived.wait_for(lock, timeout, [&] { return m_signals.size() > n; }))
            return std::nullopt;
        return m_signals[n];
    }

private:
    std::unique_ptr<sdbus::IConnection> m_listener;
    std::unique_ptr<sdbus::IProxy> m_fuelling;
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<Clock::time_point> m_signals;
};

// The unit's pump report, then its signal at the recorder client: the time from the unit's write
// of the report's frame to the signal's arrival, in ms; empty when no signal came within
// `timeout`. `meanwhile` runs once the report is queued at the unit.
std::optional<double> pumpReportToSignalMs(RecorderSignals &recorder, std::chrono::seconds timeout,
                                           const std::function<void()> &meanwhile = {})
{
    Environment &e = env();
    static const auto report = unitsim::ParseReportCommand("pump 4 1 1 0");
    const std::size_t n = recorder.count();
    const std::size_t write = e.pumpWrites.count();
    for (const auto &message : report.messages)
        e.unit.Send(message);
    if (meanwhile)
        meanwhile();
    const auto signalled = recorder.arrival(n, timeout);
    if (!signalled)
        return std::nullopt;
    return std::chrono::duration<double, std::milli>(*signalled - e.pumpWrites.at(write)).count();
}

// From the moment the unit's frame carrying a pump report is written to the moment the
// recorder client's OnStartFuelDelivery arrives.
void BM_UnitFrameToRecorderSignal(benchmark::State &state)
{
    RecorderSignals recorder(env());
    std::vector<double> samples;
    for (auto _ : state) {
        const auto ms = pumpReportToSignalMs(recorder, std::chrono::seconds(5));
        if (!ms) {
            state.SkipWithError("no signal");
            break;
        }
        samples.push_back(*ms * 1000.0);
        // Let the acknowledgement go by, as reports on a real line are spaced.
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    reportPercentiles(state, samples);
}
BENCHMARK(BM_UnitFrameToRecorderSignal)->Iterations(1000)->UseRealTime();

// The service's process id.
std::uint32_t servicePid()
{
    Environment &e = env();
    auto bus = sdbus::createProxy(*e.client, "org.freedesktop.DBus", "/org/freedesktop/DBus");
    uint32_t pid = 0;
    bus->callMethod("GetConnectionUnixProcessID").onInterface("org.freedesktop.DBus")
        .withArguments(std::string(kService)).storeResultsTo(pid);
    return pid;
}

// CPU time (ns) and times put to sleep or off the processor, summed over a process's threads.
struct ThreadTotals
{
    std::uint64_t cpuNs = 0;
    std::uint64_t switches = 0;
};

ThreadTotals threadTotals(std::uint32_t pid)
{
    ThreadTotals totals;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto &task : std::filesystem::directory_iterator(tasks)) {
        std::ifstream schedstat(task.path() / "schedstat");
        std::uint64_t ns = 0;
        if (schedstat >> ns)
            totals.cpuNs += ns;
        std::ifstream status(task.path() / "status");
        std::string line;
        while (std::getline(status, line))
            if (line.starts_with("voluntary_ctxt_switches:") || line.starts_with("nonvoluntary_ctxt_switches:"))
                totals.switches += std::stoull(line.substr(line.find(':') + 1));
    }
    return totals;
}

// The idle service with the unit online and its heartbeat running, no client calling: its
// threads' CPU time over 60 s as a share of one core, and their context switches per second
// (each one a wake-up or a preemption).
void BM_IdleServiceWithUnitOnline(benchmark::State &state)
{
    Environment &e = env();
    auto listener = e.bus->connect();
    auto hub = sdbus::createProxy(*listener, kService, e.hub);
    std::mutex mutex;
    std::condition_variable changed;
    bool online = false;
    hub->uponSignal("OrvexOnline").onInterface("org.orvex.IOrvexCommsEvents").call([&](const std::string &) {
        std::lock_guard lock(mutex);
        online = true;
        changed.notify_all();
    });
    hub->finishRegistration();
    listener->enterEventLoopAsync();
    {
        std::unique_lock lock(mutex);
        if (!changed.wait_for(lock, std::chrono::seconds(30), [&] { return online; })) {
            state.SkipWithError("the unit did not come online");
            listener->leaveEventLoop();
            return;
        }
    }
    const std::uint32_t pid = servicePid();
    constexpr auto kWindow = std::chrono::seconds(60);
    for (auto _ : state) {
        const ThreadTotals before = threadTotals(pid);
        const auto start = Clock::now();
        std::this_thread::sleep_for(kWindow);
        const ThreadTotals after = threadTotals(pid);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.counters["cpu_percent_of_core"] =
            100.0 * static_cast<double>(after.cpuNs - before.cpuNs) / (seconds * 1e9);
        state.counters["wakeups_per_s"] = static_cast<double>(after.switches - before.switches) / seconds;
    }
    listener->leaveEventLoop();
}
BENCHMARK(BM_IdleServiceWithUnitOnline)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_IdleServiceResidentMemory(benchmark::State &state)
{
    buildLargeSite();
    const std::uint32_t pid = servicePid();
    double rssKb = 0;
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("VmRSS:", 0) == 0)
                rssKb = std::stod(line.substr(6));
    }
    state.counters["rss_MB"] = rssKb / 1024.0;
}
BENCHMARK(BM_IdleServiceResidentMemory)->Iterations(1)->UseRealTime();

// One client sends the large site to the unit; from its call to its answer (the clear, the
// unit's ten seconds, the tables) the unit sends a pump report and meanwhile another client
// calls a getter of the root, every 50 ms. Over every sample of every send: the getter's
// round trip (getter_p50_ms, getter_p99_ms, getter_max_ms) and the report from the unit's frame
// to the recorder client's signal (event_*). answer_s: the send's answer, after its call.
void BM_ServedDuringASiteSend(benchmark::State &state)
{
    using Ms = std::chrono::duration<double, std::milli>;
    Environment &e = env();
    buildLargeSite();
    RecorderSignals recorder(e);
    auto sender = e.bus->connect();
    auto comms = sdbus::createProxy(*sender, kService, e.hub);
    sender->enterEventLoopAsync();
    auto other = e.bus->connect();
    auto root = sdbus::createProxy(*other, kService, "/org/orvex/Orvex");
    std::vector<double> getterMs, eventMs;
    double answerS = 0;
    for (auto _ : state) {
        std::atomic<bool> answered{false};
        const auto called = Clock::now();
        comms->callMethodAsync("SendCurrentSiteToOrvex").onInterface("org.orvex.IOrvexComms")
            .uponReplyInvoke([&](const sdbus::Error *, int32_t) { answered = true; });
        while (!answered) {
            // Long enough to see how late a report comes, whatever the service does.
            const auto ms = pumpReportToSignalMs(recorder, std::chrono::seconds(60), [&] {
                const auto start = Clock::now();
                getPath(*root, "org.orvex.IOrvex", "getOrvexComms");
                getterMs.push_back(Ms(Clock::now() - start).count());
            });
            if (!ms) {
                state.SkipWithError("no signal");
                return;
            }
            eventMs.push_back(*ms);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        answerS = std::chrono::duration<double>(Clock::now() - called).count();
    }
    sender->leaveEventLoop();
    for (const auto &[name, samples] : {std::pair{"getter", &getterMs}, std::pair{"event", &eventMs}}) {
        state.counters[std::string(name) + "_p50_ms"] = bench::percentile(*samples, 0.5);
        state.counters[std::string(name) + "_p99_ms"] = bench::percentile(*samples, 0.99);
        state.counters[std::string(name) + "_max_ms"] = bench::percentile(*samples, 1.0);
    }
    state.counters["samples"] = static_cast<double>(getterMs.size());
    state.counters["answer_s"] = answerS;
}
BENCHMARK(BM_ServedDuringASiteSend)->Iterations(5)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
