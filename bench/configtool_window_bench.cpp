// The configuration tool's window on the real service, as a site engineer feels it: how long
// OrvexConfig takes from its start to its window with the large site open (the service's
// activation included) and what it then holds in memory, and what the Dispenser Events tab costs
// over the bus: coming to the tab (which reads the dispenser and preset lists once) and a row
// click. Runs OrvexServices and OrvexConfig on private buses of their own.
// Before any Qt header, which takes "slots" for a keyword.
#include "services/tests/bus_test_support.h"

#include "bench/bus_call_counter.h"
#include "bench/large_site_file.h"

#include "configtool/editors/mgrid.h"
#include "configtool/model/bus_service_backend.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/testing/recording_host.h"
#include "configtool/window/frm_main.h"
#include "configtool/window/tool_program.h"
#include "serviceclient/service_bus.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <fstream>
#include <map>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// The text of the large site's file with this many presets per camera, made once.
const std::string &largeSite(int presetsPerCamera)
{
    static std::map<int, std::string> made;
    std::string &text = made[presetsPerCamera];
    if (text.empty()) {
        QTemporaryDir folder;
        text = bustest::readFile(
            bench::largeSiteFile(folder.path().toStdString(), presetsPerCamera));
    }
    return text;
}

// A private bus whose install folder holds the shipped metadata and, in Data/, the large site;
// its service is not running yet.
struct Forecourt
{
    explicit Forecourt(int presetsPerCamera) : bus(std::make_unique<bustest::PrivateBus>(true))
    {
        const fs::path install = bus->installDir();
        fs::create_directories(install / "Data");
        fs::copy_file(ORVEX_SOURCE_DIR "/data/OrvexMetaData.xml", install / "OrvexMetaData.xml");
        siteFile = (install / "Data" / "Large.ovx").string();
        std::ofstream(siteFile) << largeSite(presetsPerCamera);
    }

    std::unique_ptr<bustest::PrivateBus> bus;
    std::string siteFile;
};

long statusKilobytes(pid_t pid, const std::string &key)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key + ":", 0) == 0)
            return std::stol(line.substr(key.size() + 1));
    return 0;
}

// From the program's start to the moment it takes open requests, which it does once its window
// is up with the site file open; the service is not running before it.
void BM_StartUpWithLargeSite(benchmark::State &state)
{
    std::vector<double> rss;
    for (auto _ : state) {
        // The tool's largest site, its cameras with 64 presets each.
        Forecourt forecourt(64);
        QTemporaryDir runtime;
        auto env = forecourt.bus->env();
        env["XDG_RUNTIME_DIR"] = runtime.path().toStdString();
        env["QT_QPA_PLATFORM"] = "offscreen";
        const auto start = Clock::now();
        bustest::Child program({ORVEX_CONFIG_PROGRAM, forecourt.siteFile}, env, false);
        QLocalSocket probe;
        bool up = false;
        while (!up && Clock::now() - start < std::chrono::seconds(60)) {
            probe.connectToServer(runtime.filePath(QStringLiteral("ORVEXCONFIGMGR")));
            up = probe.waitForConnected(2);
            if (!up)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (!up) {
            state.SkipWithError("the program never came up");
            break;
        }
        state.SetIterationTime(seconds);
        probe.disconnectFromServer();
        // Let it settle: the Messages window's first drains, the splash time.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        rss.push_back(double(statusKilobytes(program.pid(), "VmRSS")));
        state.counters["peak_rss_kB"] = double(statusKilobytes(program.pid(), "VmHWM"));
        program.stop(SIGTERM);
    }
    if (!rss.empty())
        state.counters["rss_kB"] = rss.back();
}
BENCHMARK(BM_StartUpWithLargeSite)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// The tool in this process, on the bus, with the large site open.
struct ToolOnBus
{
    ToolOnBus()
    {
        qputenv("ORVEX_INSTALL_DIR",
                QByteArray::fromStdString(forecourt.bus->installDir().string()));
        client = std::make_unique<serviceclient::ServiceBus>(
            QString::fromStdString(forecourt.bus->address()));
        backend = std::make_unique<configtool::BusServiceBackend>(*client);
        counter = std::make_unique<bench::CallCounter>(
            QString::fromStdString(forecourt.bus->address()), client->connection());
        program = std::make_unique<configtool::ToolProgram>(prompter, chooser, runtime.path());
        if (program->claim({QString::fromStdString(forecourt.siteFile)})
                != configtool::ToolProgram::Outcome::Running
            || program->start(*backend) != configtool::ToolProgram::Outcome::Running)
            throw std::runtime_error("the tool did not start: "
                                     + prompter.shown.join('|').toStdString());
    }
    ~ToolOnBus()
    {
        program.reset();
        counter.reset();
        backend.reset();
        client.reset();
    }

    configtool::FrmMain &window() { return *program->window(); }

    // 48 dispensers with a preset for each of 13 events, 10 cameras of 20 presets.
    Forecourt forecourt{20};
    QTemporaryDir runtime;
    configtool::testing::ScriptedPrompter prompter;
    configtool::testing::ScriptedFileChooser chooser;
    std::unique_ptr<serviceclient::ServiceBus> client;
    std::unique_ptr<configtool::BusServiceBackend> backend;
    std::unique_ptr<bench::CallCounter> counter;
    std::unique_ptr<configtool::ToolProgram> program;
};

// Made on first use; gone before the application, whose widgets it holds.
std::unique_ptr<ToolOnBus> &toolSlot()
{
    static std::unique_ptr<ToolOnBus> made;
    return made;
}

ToolOnBus &tool()
{
    if (!toolSlot())
        toolSlot() = std::make_unique<ToolOnBus>();
    return *toolSlot();
}

// "Next >>" from the Dispensers tab: the Dispenser Events tab comes up and reloads.
void BM_DispenserEventsTabComesUp(benchmark::State &state)
{
    configtool::FrmMain &window = tool().window();
    auto *toEvents = window.findChild<QPushButton *>(QStringLiteral("BtnNextDispensers"));
    auto *toDispensers = window.findChild<QPushButton *>(QStringLiteral("BtnPreviousEvents"));
    for (auto _ : state) {
        state.PauseTiming();
        toDispensers->click();
        state.ResumeTiming();
        toEvents->click();
    }
    toDispensers->click();
    state.counters["bus_calls"] = tool().counter->callsOf([&] { toEvents->click(); });
}
BENCHMARK(BM_DispenserEventsTabComesUp)
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A click on an event's row: its priorities, the dispenser and preset lists refilled, its
// preset on the chosen dispenser found.
void BM_DispenserEventsRowClick(benchmark::State &state)
{
    configtool::FrmMain &window = tool().window();
    window.findChild<QPushButton *>(QStringLiteral("BtnNextDispensers"))->click();
    auto *grid = window.pageControl()->currentWidget()->findChild<configtool::Mgrid *>(
        QStringLiteral("GridDispenserEvents"));
    const int rows = grid->gridRowCount() - 1;
    int row = 0;
    const auto click = [&] {
        row = row % rows + 1;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(0, row).center());
    };
    for (auto _ : state)
        click();
    state.counters["bus_calls_per_click"] = tool().counter->callsOf(click);
    state.counters["rows"] = rows;
}
BENCHMARK(BM_DispenserEventsRowClick)
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    toolSlot().reset();
    return 0;
}
