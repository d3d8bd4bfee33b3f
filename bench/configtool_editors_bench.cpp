// The configuration tool's four grid tabs on the real service, over a private bus, with a large
// site (7 device drivers, 48 dispensers with 12 entries each, 10 cameras of 64 presets): how
// long showing each tab takes (its reload, until the grid is filled) and a click on a row (the
// first column selects the row, the second opens its in-place field), and how many calls each
// makes on the bus (counter "bus_calls", read from the bus daemon's statistics of the tool's
// connection, as dbus-monitor sees them). Targets: a tab under 200 ms, a click under 50 ms.
#include "bus_test_support.h"
#include "bus_call_counter.h"

#include "configtool/editors/mgrid.h"
#include "configtool/editors/tests/grid_tabs.h"
#include "configtool/model/bus_service_backend.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"
#include "configtool/model/threadsafe_string_queue.h"

#include "serviceclient/service_bus.h"

#include <QApplication>
#include <QDBusConnection>
#include <QTest>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {

using namespace configtool;

constexpr int kDispensers = 48, kEntriesPerDispenser = 12, kCameras = 10, kPresetsPerCamera = 64;

// Device type IDs of the shipped catalogue.
constexpr std::int16_t kLoops[] = {10, 11, 12};
constexpr std::int16_t kCamera = 3;
constexpr std::int16_t kPoints[] = {20, 21, 22};

struct Tool
{
    Tool()
        : bus(true),
          client(QString::fromStdString(bus.address())),
          backend(client),
          counter(QString::fromStdString(bus.address()), client.connection())
    {
        metaData.ReadMetaData(QStringLiteral(ORVEX_SOURCE_DIR "/data/OrvexMetaData.xml"));
        if (!manager.Connect(backend, queue, 1))
            throw std::runtime_error("cannot connect: " + host.scriptedPrompter.shown.join('|').toStdString());
        tabs.createEditors(manager, host);
        manager.NewSite(false);
        buildLargeSite();
        host.cameraType().set(40);
    }

    void buildLargeSite()
    {
        auto data = manager.GetConfigData();
        std::shared_ptr<services::IDeviceData> deviceTable;
        std::shared_ptr<services::IDispenserData> dispenserTable;
        std::shared_ptr<services::ICameraData> cameraTable;
        data->RetrieveDevice(&deviceTable);
        data->RetrieveDispenser(&dispenserTable);
        data->RetrieveCamera(&cameraTable);
        std::int16_t port = 1;
        auto addDevice = [&](std::int16_t type, std::int16_t protocol) {
            std::int16_t index = 0;
            deviceTable->Append(&index);
            deviceTable->SetDeviceType(index, type);
            deviceTable->SetInterface(index, protocol);
            deviceTable->SetInport(index, port);
            deviceTable->SetOutport(index, port++);
        };
        addDevice(kCamera, 40);
        for (std::int16_t type : kPoints)
            addDevice(type, 1);
        for (std::int16_t type : kLoops)
            addDevice(type, 1);
        for (int n = 1; n <= kDispensers; ++n) {
            std::int16_t dispenser = 0;
            dispenserTable->NewDispenser(static_cast<std::int16_t>(n), &dispenser);
            dispenserTable->SetDispenserLoop(dispenser, static_cast<std::int16_t>((n - 1) / 16 + 1));
            dispenserTable->SetDispenserAddress(dispenser, static_cast<std::int16_t>((n - 1) % 16 + 1));
            for (int e = 0; e < kEntriesPerDispenser; ++e) {
                std::int16_t entry = 0;
                dispenserTable->NewPreset(dispenser, static_cast<std::int16_t>(e), &entry);
            }
        }
        for (int c = 1; c <= kCameras; ++c) {
            std::int16_t camera = 0;
            cameraTable->NewCamera(static_cast<std::int16_t>(c), &camera);
            for (int p = 1; p <= kPresetsPerCamera; ++p) {
                std::int16_t preset = 0;
                cameraTable->NewPreset(camera, static_cast<std::int16_t>(p), &preset);
                const std::string comment = "Pump " + std::to_string(p);
                cameraTable->SetComment(camera, preset, &comment);
            }
        }
    }

    void show(GridEditor &editor) { configtool::testing::GridTabs::show(editor, manager, host); }

    bustest::PrivateBus bus;
    serviceclient::ServiceBus client;
    BusServiceBackend backend;
    bench::CallCounter counter;
    configtool::testing::RecordingHost host;
    OrvexMetaData metaData;
    ThreadsafeStringQueue queue;
    configtool::testing::GridTabs tabs;
    OrvexConfigManager manager{metaData, host};
};

// Made on first use, gone before the application object.
std::unique_ptr<Tool> made;

Tool &tool()
{
    if (!made)
        made = std::make_unique<Tool>();
    return *made;
}

GridEditor &editorOf(int tab)
{
    Tool &t = tool();
    GridEditor *editors[] = {t.tabs.devices, t.tabs.dispensers, t.tabs.cameras, t.tabs.presets};
    return *editors[tab];
}

const char *kTabNames[] = {"DeviceDrivers", "Dispensers", "Cameras", "Presets"};

// Counts the bus calls of one `step`, then times it.
void measure(benchmark::State &state, const std::function<void()> &step)
{
    state.counters["bus_calls"] = tool().counter.callsOf(step);
    for (auto _ : state)
        step();
}

void BM_ShowTab(benchmark::State &state)
{
    GridEditor &editor = editorOf(static_cast<int>(state.range(0)));
    state.SetLabel(kTabNames[state.range(0)]);
    measure(state, [&] { tool().show(editor); });
    state.counters["rows"] = editor.dataRowCount();
}
BENCHMARK(BM_ShowTab)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// A mouse click on the middle row of the grid, in the given column.
void BM_ClickRow(benchmark::State &state)
{
    GridEditor &editor = editorOf(static_cast<int>(state.range(0)));
    const int col = static_cast<int>(state.range(1));
    state.SetLabel(std::string(kTabNames[state.range(0)]) + (col == 0 ? " select" : " edit in place"));
    tool().show(editor);
    Mgrid &grid = editor.grid();
    const int row = std::min(grid.topRow() + 3, grid.gridRowCount() - 1);
    const QPoint centre = grid.cellRect(col, row).center();
    measure(state, [&] { QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre); });
}
// The Cameras grid has no second column to click.
BENCHMARK(BM_ClickRow)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({2, 0})
    ->Args({3, 0})
    ->Args({3, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    made.reset();
    return 0;
}
