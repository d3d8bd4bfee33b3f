// The tool's logic on the real service, activated on a private bus, with the simulated unit on
// the serial line: what in-process tests cannot show (signatures, paths, events by path,
// time-outs, the service opening the tool's files).

#include "bus_test_support.h"

#include "configtool/model/bus_service_backend.h"
#include "configtool/model/camera_iterator.h"
#include "configtool/model/device_iterator.h"
#include "configtool/model/dispenser_iterator.h"
#include "configtool/model/event_iterator.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"
#include "configtool/model/threadsafe_string_queue.h"
#include "configtool/testing/recording_editor.h"
#include "configtool/testing/recording_host.h"
#include "configtool/testing/test_meta_data.h"

#include "serviceclient/service_bus.h"
#include "unit_link.h"
#include "unit_tables.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace configtool {
namespace {

using namespace std::chrono_literals;

// A tab editor that fills a new site with the metadata's defaults through the iterators, as
// the real tabs do.
class DefaultsEditor : public testing::RecordingEditor
{
public:
    using RecordingEditor::RecordingEditor;
    void LoadDefaults() override
    {
        DeviceIterator devices(manager());
        EventIterator events(manager());
        CameraIterator cameras(manager());
        DispenserIterator dispensers(manager());
        for (Iterator *iterator :
             std::initializer_list<Iterator *>{&devices, &events, &cameras, &dispensers}) {
            iterator->Reload();
            iterator->LoadDefaults();
        }
        dispensers.AddDispenser(3);
        dispensers.SetLoop(1);
        dispensers.SetAddress(2);
    }
};

// The site as the tool sees it: devices (type, protocol, port), events and dispensers.
struct SiteTables
{
    std::set<std::vector<int>> devices;
    std::set<std::vector<int>> events;
    std::set<std::vector<int>> dispensers;
    std::vector<int> cameras;
    bool operator==(const SiteTables &) const = default;
};

SiteTables readTables(OrvexConfigManager &manager)
{
    SiteTables tables;
    auto data = manager.GetConfigData();
    std::shared_ptr<services::IDeviceData> devices;
    std::shared_ptr<services::IEventData> events;
    std::shared_ptr<services::IDispenserData> dispensers;
    std::shared_ptr<services::ICameraData> cameras;
    EXPECT_EQ(data->RetrieveDevice(&devices), S_OK);
    EXPECT_EQ(data->RetrieveEvent(&events), S_OK);
    EXPECT_EQ(data->RetrieveDispenser(&dispensers), S_OK);
    EXPECT_EQ(data->RetrieveCamera(&cameras), S_OK);
    std::int16_t i = 0;
    for (devices->First(&i); i != 0; devices->Next(&i)) {
        std::int16_t type = 0, iface = 0, in = 0, out = 0;
        devices->GetDeviceType(i, &type);
        devices->GetInterface(i, &iface);
        devices->GetInport(i, &in);
        devices->GetOutport(i, &out);
        tables.devices.insert({type, iface, in, out});
    }
    for (events->First(&i); i != 0; events->Next(&i)) {
        std::int16_t number = 0, priority = 0, transition = 0;
        events->GetEventNumber(i, &number);
        events->GetPriority(i, &priority);
        events->GetTransitionPriority(i, &transition);
        tables.events.insert({number, priority, transition});
    }
    for (dispensers->FirstDispenser(&i); i != 0; dispensers->NextDispenser(&i)) {
        std::int16_t number = 0, loop = 0, address = 0;
        dispensers->GetDispenserLogicalNumber(i, &number);
        dispensers->GetDispenserLoop(i, &loop);
        dispensers->GetDispenserAddress(i, &address);
        tables.dispensers.insert({number, loop, address});
    }
    for (cameras->FirstCamera(&i); i != 0; cameras->NextCamera(&i)) {
        std::int16_t number = 0;
        cameras->GetCameraNumber(i, &number);
        tables.cameras.push_back(number);
    }
    return tables;
}

class AToolOnTheBus : public ::testing::Test
{
protected:
    void SetUp() override
    {
        unit.SetHandler(unitTables.handler());
        unit.Start();
        bus = std::make_unique<bustest::PrivateBus>(true, unit.slavePath());
        client
            = std::make_unique<serviceclient::ServiceBus>(QString::fromStdString(bus->address()));
        backend = std::make_unique<BusServiceBackend>(*client);
        manager = std::make_unique<OrvexConfigManager>(metaData, host);
        auto &editor
            = manager->RegisterEditor(std::make_unique<DefaultsEditor>(*manager, host, "tab", log));
        host.current = &editor;
    }
    void TearDown() override
    {
        manager.reset();
        backend.reset();
        client.reset();
        bus.reset();
        unit.Stop();
    }
    QString file(const char *name) const
    {
        return QString::fromStdString((bus->installDir() / name).string());
    }
    bool waitUntilIdle(std::chrono::milliseconds timeout)
    {
        return QTest::qWaitFor([&] { return !manager->IsBusy(); }, scaled(timeout).count());
    }

    unitsim::UnitTables unitTables;
    unitsim::UnitLink unit;
    std::unique_ptr<bustest::PrivateBus> bus;
    std::unique_ptr<serviceclient::ServiceBus> client;
    std::unique_ptr<BusServiceBackend> backend;
    testing::RecordingHost host;
    OrvexMetaData metaData = testing::testMetaData();
    ThreadsafeStringQueue queue;
    std::shared_ptr<QStringList> log = std::make_shared<QStringList>();
    std::unique_ptr<OrvexConfigManager> manager;
};

TEST_F(AToolOnTheBus, KeepsASiteThroughSaveCloseOpenSendAndRetrieve)
{
    ASSERT_TRUE(manager->Connect(*backend, queue, 1))
        << host.scriptedPrompter.shown.join('|').toStdString();
    // The unit answers the heartbeat the port setting started.
    ASSERT_TRUE(QTest::qWaitFor([&] { return manager->IsOnline(); }, scaled(30s).count()));
    std::vector<StringMsg> entries;
    while (auto entry = queue.Pop())
        entries.push_back(*entry);
    EXPECT_EQ(entries.front(), StringMsg::status(StatusPanels::Unit, "Offline"));
    EXPECT_TRUE(std::any_of(entries.begin(), entries.end(), [](const StringMsg &m) {
        return m.kind == StringMsg::Kind::Status && m.panel == StatusPanels::Unit
               && m.text.startsWith("Online ");
    }));

    // Camera steering goes out without waiting and reaches the unit's camera port.
    std::string selected;
    EXPECT_EQ(manager->GetCameraCtrl()->SelectCamera(1, 40, &selected), S_OK);
    EXPECT_EQ(manager->GetCameraCtrl()->MoveUp(20), S_OK);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return unitTables.passThroughCount() > 0; }, scaled(10s).count()));

    manager->NewSite(true);
    const SiteTables created = readTables(*manager);
    EXPECT_EQ(created.devices.size(), 3u);
    EXPECT_EQ(created.cameras, std::vector<int>{1});
    ASSERT_TRUE(manager->SaveSiteAs(file("bus.ovx")));
    manager->Close();
    manager->OpenSiteFile(file("bus.ovx"));
    ASSERT_TRUE(manager->IsSiteOpen()) << host.scriptedPrompter.shown.join('|').toStdString();
    EXPECT_EQ(readTables(*manager), created);
    EXPECT_EQ(host.panels.texts[StatusPanels::Site], "bus.ovx");

    // The send holds the service for its ten-second clearing wait; the busy time is shortened.
    manager->setBusyTimes(std::chrono::milliseconds(200), std::chrono::milliseconds(200));
    manager->Transfer(true);
    EXPECT_TRUE(manager->IsBusy());
    // Toggle Debug waits behind the download on the service; the window does not wait for it.
    QElapsedTimer toggle;
    toggle.start();
    manager->ToggleDebug();
    EXPECT_LT(toggle.elapsed(), 5000);
    ASSERT_TRUE(waitUntilIdle(60s));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            while (auto entry = queue.Pop()) {
                if (entry->kind == StringMsg::Kind::Line && entry->text.startsWith("Debug o"))
                    return true;
            }
            return false;
        },
        scaled(20s).count()));
    // The unit keeps a task per port, and the map and the presets of each dispenser.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return unitTables.tables('T').size() == created.devices.size()
                   && unitTables.tables('M').size() == created.dispensers.size()
                   && unitTables.tables('C').size() == created.dispensers.size();
        },
        scaled(20s).count()));

    manager->Transfer(false);
    ASSERT_TRUE(waitUntilIdle(60s));
    // The unit's answers come after the command; the tables fill as they arrive.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return readTables(*manager).devices.size() == created.devices.size(); },
        scaled(20s).count()));
    EXPECT_EQ(readTables(*manager), created);
    EXPECT_TRUE(manager->IsModified());
    EXPECT_TRUE(host.scriptedPrompter.shown.isEmpty())
        << host.scriptedPrompter.shown.join('|').toStdString();
}

// A file the service cannot import: the box names it, and on the line below gives the reason
// in the words of the service's trace line for it.
TEST_F(AToolOnTheBus, ShowsTheServicesReasonForAFileItCannotImport)
{
    ASSERT_TRUE(manager->Connect(*backend, queue, 1))
        << host.scriptedPrompter.shown.join('|').toStdString();
    struct Case
    {
        const char *name;
        const char *text;
        const char *reason; // null: whatever the trace says
    };
    const std::vector<Case> cases = {
        {"other.ovx", "<CONFIG><SITE NAME=\"Other\"/></CONFIG>\n",
         "the file holds no site of that name"},
        {"entity.ovx",
         "<!DOCTYPE CONFIG [<!ENTITY x \"y\">]>\n<CONFIG><SITE NAME=\"Default\">&x;</SITE></CONFIG>\n",
         nullptr},
    };
    for (const Case &c : cases) {
        std::ofstream(file(c.name).toStdString()) << c.text;
        host.scriptedPrompter.shown.clear();
        manager->OpenSiteFile(file(c.name));
        EXPECT_FALSE(manager->IsSiteOpen()) << c.name;
        ASSERT_EQ(host.scriptedPrompter.shown.size(), 1) << c.name;
        const QStringList lines = host.scriptedPrompter.shown[0].split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 2) << host.scriptedPrompter.shown[0].toStdString();
        EXPECT_EQ(lines[0], QStringLiteral("error: Error loading file ") + QLatin1String(c.name));

        // "Error Importing Site "Default" from <file>: 0x80030002 - <reason>", cut at 254 bytes,
        // each line ending in CR LF.
        const std::string traced = " from " + file(c.name).toStdString() + ": 0x";
        std::string reason;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                std::istringstream trace(bus->serviceTrace());
                for (std::string line; std::getline(trace, line);) {
                    if (!line.empty() && line.back() == '\r')
                        line.pop_back();
                    const auto at = line.find(traced);
                    const auto dash = line.find(" - ", at);
                    if (at != std::string::npos && dash != std::string::npos) {
                        reason = line.substr(dash + 3);
                        return true;
                    }
                }
                return false;
            },
            scaled(20s).count()))
            << c.name << " is not in the trace:\n" << bus->serviceTrace();
        EXPECT_FALSE(reason.empty());
        EXPECT_EQ(lines[1].toStdString().substr(0, reason.size()), reason);
        if (c.reason) {
            EXPECT_EQ(lines[1].toStdString(), c.reason);
        }
    }
}

TEST(AToolWithoutTheService, SaysItCannotConnect)
{
    // A bus that can start nothing.
    const ScopedTempFolder folder("orvex-empty-bus");
    const std::filesystem::path &dir = folder.path();
    std::ofstream(dir / "bus.conf")
        << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig><type>session</type><listen>unix:dir="
        << dir.string()
        << "</listen><policy context=\"default\"><allow send_destination=\"*\" "
           "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
           "</busconfig>\n";
    bustest::Child daemon({"/usr/bin/dbus-daemon", "--config-file=" + (dir / "bus.conf").string(),
                           "--nofork", "--print-address=1"},
                          {}, true);
    std::string address;
    ASSERT_TRUE(daemon.readLine(address));
    {
        serviceclient::ServiceBus client(QString::fromStdString(address));
        BusServiceBackend backend(client);
        testing::RecordingHost host;
        OrvexMetaData metaData;
        ThreadsafeStringQueue queue;
        OrvexConfigManager manager(metaData, host);
        EXPECT_FALSE(manager.Connect(backend, queue, 1));
        // The box's text, and the bus's reason on the line below it.
        ASSERT_EQ(host.scriptedPrompter.shown.size(), 1);
        const QStringList lines = host.scriptedPrompter.shown[0].split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 2) << host.scriptedPrompter.shown[0].toStdString();
        EXPECT_EQ(lines[0], "error: Unable to connect to OrvexServices.");
        EXPECT_TRUE(lines[1].contains("was not provided by any .service files"))
            << lines[1].toStdString();
    }
    daemon.stop();
}

} // namespace
} // namespace configtool
