// A stop (SIGTERM) of OrvexServices right after a site send has cleared the simulated unit's
// memory, on a private bus of its own: how long the stop took and what the unit was left with.
//
// Sites: typical (8 devices, 10 events, 2 points of sale, 8 dispensers of 4 presets: 28 messages
// after the clear) and large (40 devices, 40 events, 8 points of sale, 48 dispensers of 12
// presets: 146 messages); the unit answers, or is silent from the clear on (every frame written
// 4 times, then given up). Counters: stop_s (SIGTERM to the end of the process), clear_to_end_s
// (the unit's receipt of the clear to the end of the process, about the whole download when the
// stop waits for it), tables (the frames of the site that the unit took), tables_sent (what the
// site sends after the clear), end_status (the exit status).
//
// BM_StopBehindCameraCommands: two clients send the typical site at once, a third then queues
// 1,000 camera position commands (about 100 ms each on the line), and SIGTERM comes once the
// first send has answered, the second being under way. Counters: stop_s, tables (the site's
// frames the unit took after its last clear), tables_sent, clear_to_first_table_s (from the
// unit's last clear to the first table after it; 0 when none came), camera_frames (the camera
// commands the unit took), end_status.
#include "services/tests/bus_test_support.h"
#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_tables.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <string>
#include <string_view>

#include <sys/wait.h>

namespace {

using bustest::PrivateBus;
using Clock = std::chrono::steady_clock;

constexpr const char *kService = "org.orvex.OrvexServices";

struct SiteSize
{
    int devices, events, pos, dispensers, presetsPerDispenser;
    [[nodiscard]] int messages() const { return devices + 2 + pos + 2 * dispensers; }
};
constexpr SiteSize kTypical{8, 10, 2, 8, 4};
constexpr SiteSize kLarge{40, 40, 8, 48, 12};

sdbus::ObjectPath getPath(sdbus::IProxy &proxy, const char *iface, const char *method)
{
    std::int32_t hr = 0;
    sdbus::ObjectPath path;
    proxy.callMethod(method).onInterface(iface).storeResultsTo(hr, path);
    return path;
}

// A proxy of the object that the root's `getter` hands out.
std::unique_ptr<sdbus::IProxy> rootObject(sdbus::IConnection &client, const char *getter)
{
    return sdbus::createProxy(client, kService,
                              getPath(*sdbus::createProxy(client, kService, "/org/orvex/Orvex"), "org.orvex.IOrvex",
                                      getter));
}

// Makes and loads the site through the bus.
void buildSite(sdbus::IConnection &client, const SiteSize &size)
{
    const auto proxy = [&](const std::string &path) { return sdbus::createProxy(client, kService, path); };
    auto data = proxy(getPath(*proxy("/org/orvex/Orvex"), "org.orvex.IOrvex", "getOrvexConfigData"));
    const char *D = "org.orvex.IOrvexConfigData";
    std::int32_t hr = 0;
    std::int16_t index = 0;
    data->callMethod("InitializeStorage").onInterface(D).storeResultsTo(hr);
    for (const char *member : {"NewSite", "LoadSite"})
        data->callMethod(member).onInterface(D).withArguments(std::string("Forecourt")).storeResultsTo(hr);
    auto devices = proxy(getPath(*data, D, "RetrieveDevice"));
    for (int i = 0; i < size.devices; ++i)
        devices->callMethod("Append").onInterface("org.orvex.IDeviceData").storeResultsTo(hr, index);
    auto events = proxy(getPath(*data, D, "RetrieveEvent"));
    for (int i = 1; i <= size.events; ++i)
        events->callMethod("NewEvent").onInterface("org.orvex.IEventData").withArguments(static_cast<std::int16_t>(i))
            .storeResultsTo(hr, index);
    auto pos = proxy(getPath(*data, D, "RetrievePOS"));
    for (int i = 1; i <= size.pos; ++i)
        pos->callMethod("NewPOS").onInterface("org.orvex.IPOSData").withArguments(static_cast<std::int16_t>(i))
            .storeResultsTo(hr, index);
    auto dispensers = proxy(getPath(*data, D, "RetrieveDispenser"));
    for (int i = 1; i <= size.dispensers; ++i) {
        dispensers->callMethod("NewDispenser").onInterface("org.orvex.IDispenserData")
            .withArguments(static_cast<std::int16_t>(i)).storeResultsTo(hr, index);
        std::int16_t preset = 0;
        for (int p = 1; p <= size.presetsPerDispenser; ++p)
            dispensers->callMethod("NewPreset").onInterface("org.orvex.IDispenserData")
                .withArguments(index, static_cast<std::int16_t>(p)).storeResultsTo(hr, preset);
    }
}

// The simulated unit, a private bus, and the service run on it with the unit at its port.
struct ServiceOnAUnit
{
    ServiceOnAUnit()
    {
        unit.SetHandler(tables.handler());
        unit.Start();
    }
    // A client of the service once it owns its name (before, a call would start another one
    // through the bus); null when it never does.
    std::unique_ptr<sdbus::IConnection> connect()
    {
        auto client = bus.connect();
        if (!bustest::waitUntil([&] { return !bus.ownerOf(*client, kService).empty(); }, std::chrono::seconds(30)))
            return nullptr;
        return client;
    }
    // Whether the unit has received a clear of its memory within 30 s.
    bool clearReached()
    {
        return bustest::waitUntil([&] { return unit.receivedTypes().find('x') != std::string::npos; },
                                  std::chrono::seconds(30));
    }

    unitsim::UnitTables tables;
    unitsim::UnitLink unit;
    PrivateBus bus{true, unit.slavePath()};
    bustest::Child service{{ORVEX_SERVICES_PROGRAM}, bus.env(), true};
};

// range(0): 0 typical, 1 large; range(1): 1 when the unit is silent from the clear on.
void BM_StopDuringASiteSend(benchmark::State &state)
{
    const SiteSize size = state.range(0) == 0 ? kTypical : kLarge;
    const bool silent = state.range(1) != 0;
    for (auto _ : state) {
        ServiceOnAUnit run;
        unitsim::UnitLink &unit = run.unit;
        auto client = run.connect();
        if (!client) {
            state.SkipWithError("the service never owned its name");
            return;
        }
        buildSite(*client, size);
        auto comms = rootObject(*client, "getOrvexComms");
        client->enterEventLoopAsync();
        comms->callMethodAsync("SendCurrentSiteToOrvex").onInterface("org.orvex.IOrvexComms")
            .uponReplyInvoke([](const sdbus::Error *, std::int32_t) {});
        if (!run.clearReached()) {
            state.SkipWithError("the clear never reached the unit");
            return;
        }
        if (silent)
            unit.InjectFault(unitsim::Fault::Silence, 100000);
        Clock::time_point cleared;
        for (const auto &entry : unit.log())
            if (entry.kind == unitsim::LogKind::FrameReceived && entry.type == 'x')
                cleared = entry.at;
        const auto stopped = Clock::now();
        ::kill(run.service.pid(), SIGTERM);
        const int status = run.service.wait();
        const auto ended = Clock::now();
        client->leaveEventLoop();
        const std::string types = unit.receivedTypes();
        state.counters["stop_s"] = std::chrono::duration<double>(ended - stopped).count();
        state.counters["clear_to_end_s"] = std::chrono::duration<double>(ended - cleared).count();
        state.counters["tables"] = static_cast<double>(types.size() - types.rfind('x') - 1);
        state.counters["tables_sent"] = size.messages();
        state.counters["end_status"] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
}
BENCHMARK(BM_StopDuringASiteSend)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"large", "silent"})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

// The frames of a site among the types the unit received after its last clear.
int tablesAfterTheClear(const std::string &types)
{
    const std::size_t clear = types.rfind('x');
    if (clear == std::string::npos)
        return 0;
    int tables = 0;
    for (const char type : types.substr(clear + 1))
        tables += std::string_view("TGEPMC").find(type) != std::string_view::npos ? 1 : 0;
    return tables;
}

void BM_StopBehindCameraCommands(benchmark::State &state)
{
    constexpr int kCameraCommands = 1000;
    for (auto _ : state) {
        ServiceOnAUnit run;
        unitsim::UnitLink &unit = run.unit;
        PrivateBus &bus = run.bus;
        auto first = run.connect();
        if (!first) {
            state.SkipWithError("the service never owned its name");
            return;
        }
        buildSite(*first, kTypical);
        auto second = bus.connect();
        auto steering = bus.connect();
        auto firstComms = rootObject(*first, "getOrvexComms");
        auto secondComms = rootObject(*second, "getOrvexComms");
        auto camera = rootObject(*steering, "getCameraCtrl");
        first->enterEventLoopAsync();
        second->enterEventLoopAsync();
        std::atomic<bool> firstAnswered{false};
        firstComms->callMethodAsync("SendCurrentSiteToOrvex").onInterface("org.orvex.IOrvexComms")
            .uponReplyInvoke([&](const sdbus::Error *, std::int32_t) { firstAnswered = true; });
        secondComms->callMethodAsync("SendCurrentSiteToOrvex").onInterface("org.orvex.IOrvexComms")
            .uponReplyInvoke([](const sdbus::Error *, std::int32_t) {});
        if (!run.clearReached()) {
            state.SkipWithError("the clear never reached the unit");
            return;
        }
        for (int i = 0; i < kCameraCommands; ++i) {
            std::int32_t hr = 0;
            camera->callMethod("GoToPTZCoords").onInterface("org.orvex.ICameraCtrl").withArguments(10.0, 20.0, 1.0)
                .storeResultsTo(hr);
        }
        if (!bustest::waitUntil([&] { return firstAnswered.load(); }, std::chrono::seconds(120))) {
            state.SkipWithError("the first send never answered");
            return;
        }
        const auto stopped = Clock::now();
        ::kill(run.service.pid(), SIGTERM);
        const int status = run.service.wait();
        const auto ended = Clock::now();
        first->leaveEventLoop();
        second->leaveEventLoop();
        const std::string types = unit.receivedTypes();
        const auto receipts = unitsim::lastReceiptThenNext(unit.log(), 'x', "TGEPMC");
        state.counters["stop_s"] = std::chrono::duration<double>(ended - stopped).count();
        state.counters["tables"] = tablesAfterTheClear(types);
        state.counters["tables_sent"] = kTypical.messages();
        state.counters["clear_to_first_table_s"]
            = receipts && receipts->next ? std::chrono::duration<double>(*receipts->next - receipts->first).count() : 0.0;
        state.counters["camera_frames"] = static_cast<double>(std::count(types.begin(), types.end(), 'p'));
        state.counters["end_status"] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
}
BENCHMARK(BM_StopBehindCameraCommands)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
