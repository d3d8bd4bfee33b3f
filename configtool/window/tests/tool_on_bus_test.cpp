// The configuration tool as a site engineer meets it: the real service, activated on a private
// bus, the simulated unit on its serial line, the OrvexConfig program and the tool's start.

#include "bus_test_support.h"

#include "configtool/window/frm_main.h"
#include "configtool/window/tool_program.h"

#include "configtool/model/bus_service_backend.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/testing/recording_host.h"
#include "configtool/testing/test_meta_data.h"
#include "window_test_support.h"

#include "serviceclient/service_bus.h"
#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_tables.h"

#include <QAction>
#include <QLocalSocket>
#include <QPushButton>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <fstream>

namespace configtool {
namespace {

constexpr std::chrono::seconds kSettle(30);

// The hub's GotMessage texts, as any client on the bus receives them.
class GotMessages : public QObject
{
    Q_OBJECT
public:
    QStringList texts;
public slots:
    void GotMessage(const QString &text) { texts << text; }
};

class ATool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        unit.SetHandler(unitTables.handler());
        unit.Start();
        bus = std::make_unique<bustest::PrivateBus>(true, unit.slavePath());
        installFolder = QString::fromStdString(bus->installDir().string());
        ASSERT_TRUE(QFile::copy(testing::shippedMetaDataPath(),
                                QDir(installFolder).filePath(QStringLiteral("OrvexMetaData.xml"))));
        earlierInstallDir = qgetenv("ORVEX_INSTALL_DIR");
        qputenv("ORVEX_INSTALL_DIR", installFolder.toUtf8());
    }
    void TearDown() override
    {
        tool.reset();
        toolBackend.reset();
        toolClient.reset();
        qputenv("ORVEX_INSTALL_DIR", earlierInstallDir);
        bus.reset();
        unit.Stop();
    }

    // Starts the tool as a person does, on the test's bus: its first call starts the service.
    void startTool()
    {
        toolClient
            = std::make_unique<serviceclient::ServiceBus>(QString::fromStdString(bus->address()));
        toolBackend = std::make_unique<BusServiceBackend>(*toolClient);
        tool = std::make_unique<ToolProgram>(prompter, chooser, runtime.path());
        ASSERT_EQ(tool->claim({}), ToolProgram::Outcome::Running);
        ASSERT_EQ(tool->start(*toolBackend), ToolProgram::Outcome::Running) << shown();
    }
    FrmMain &window() { return *tool->window(); }
    void trigger(const char *name)
    {
        window().findChild<QAction *>(QLatin1String(name))->trigger();
    }
    // The boxes the tool has shown.
    std::string shown() const { return prompter.shown.join(QLatin1Char('|')).toStdString(); }

    // The environment of an OrvexConfig started by the test.
    std::map<std::string, std::string> programEnvironment() const
    {
        auto env = bus->env();
        env["XDG_RUNTIME_DIR"] = runtime.path().toStdString();
        env["QT_QPA_PLATFORM"] = "offscreen";
        return env;
    }

    // Exit status of an OrvexConfig run to its end.
    int runProgram(const std::vector<std::string> &arguments)
    {
        std::vector<std::string> argv{ORVEX_CONFIG_PROGRAM};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        bustest::Child program(argv, programEnvironment(), false);
        const int status = program.wait();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    QString dataFile(const char *name) const
    {
        QDir().mkpath(QDir(installFolder).filePath(QStringLiteral("Data")));
        return QDir(installFolder).filePath(QStringLiteral("Data/") + QLatin1String(name));
    }

    unitsim::UnitTables unitTables;
    unitsim::UnitLink unit;
    std::unique_ptr<bustest::PrivateBus> bus;
    QString installFolder;
    QByteArray earlierInstallDir;
    QTemporaryDir runtime;
    testing::ScriptedPrompter prompter;
    testing::ScriptedFileChooser chooser;
    std::unique_ptr<serviceclient::ServiceBus> toolClient;
    std::unique_ptr<BusServiceBackend> toolBackend;
    std::unique_ptr<ToolProgram> tool;
};

TEST_F(ATool, SendsTheSiteEditedAndSavedToTheUnit)
{
    ASSERT_NO_FATAL_FAILURE(startTool());
    FrmMain &window = this->window();

    // A site of the service's own, saved where the service keeps site files.
    trigger("MenuNewSite");
    const QString path = dataFile("Forecourt.ovx");
    chooser.paths.push_back(path);
    trigger("MenuSaveSite");
    ASSERT_TRUE(QFileInfo::exists(path)) << shown();
    trigger("MenuCloseSite");
    ASSERT_FALSE(window.manager().IsSiteOpen());

    // A file manager's double click: a second OrvexConfig hands the file over and ends.
    EXPECT_EQ(runProgram({path.toStdString()}), 0);
    ASSERT_TRUE(testing::waitUntil([&] { return window.manager().IsSiteOpen(); }));
    EXPECT_EQ(window.panelText(StatusPanels::Site), QStringLiteral("Forecourt.ovx"));

    // The unit answers the heartbeat that the port setting started.
    ASSERT_TRUE(testing::waitUntil([&] { return window.manager().IsOnline(); }, scaled(kSettle)));
    EXPECT_TRUE(testing::waitUntil([&] {
        return window.panelText(StatusPanels::Unit).startsWith(QStringLiteral("Online "));
    }));

    window.findChild<QPushButton *>(QStringLiteral("BtnNextPOSes"))->click();
    auto *dwell = window.findChild<QSpinBox *>(QStringLiteral("SpinPriority1DwellTime"));
    ASSERT_TRUE(dwell->isEnabled());
    dwell->setValue(45);
    EXPECT_TRUE(window.manager().IsModified());
    const QByteArray before = testing::readAll(path);
    trigger("MenuSaveSite");
    EXPECT_FALSE(window.manager().IsModified());
    EXPECT_NE(testing::readAll(path), before);

    // The unit is cleared and waited for ten seconds before the tables go; editing stays
    // paused until the (shortened) busy time has passed and the service has returned.
    window.manager().setBusyTimes(std::chrono::milliseconds(500), std::chrono::milliseconds(500));
    trigger("MenuDownloadToOrvex");
    EXPECT_TRUE(window.manager().IsBusy());
    ASSERT_TRUE(testing::waitUntil([&] { return !window.manager().IsBusy(); },
                                   scaled(std::chrono::seconds(60))));
    ASSERT_TRUE(testing::waitUntil([&] { return unitTables.tables('G').size() == 1; },
                                   scaled(std::chrono::seconds(20))));
    const auto timings = unitTables.tables('G').front();
    ASSERT_GE(timings.size(), 11u);
    EXPECT_EQ(timings[1], 45) << "dwell time of priority 1";
    EXPECT_EQ(timings[2], 20) << "dwell time of priority 2, the default";
    EXPECT_TRUE(prompter.shown.isEmpty()) << shown();
}

// A site file whose intervisit time of priority 5 is 300, more than a byte holds: the Timings tab
// shows 255, the unit gets 255, and a retrieve brings back what the tab showed.
TEST_F(ATool, SendsAndRetrievesTimesAsTheTimingsTabShowsThem)
{
    QFile source(QStringLiteral(ORVEX_SOURCE_DIR "/configstore/tests/data/full_site.ovx"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QByteArray site = source.readAll();
    // The tool works on the site named "Default".
    site.replace("<SITE NAME=\"Forecourt\">", "<SITE NAME=\"Default\">");
    ASSERT_TRUE(site.contains("<INTERVISIT_TIME PRIORITY=\"5\">300</INTERVISIT_TIME>"));
    const QString path = dataFile("Forecourt.ovx");
    QFile target(path);
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.write(site);
    target.close();
    // Warnings into the service's trace, which the service reads when the tool's start starts it.
    std::ofstream(bus->installDir() / "OrvexSettings.ini", std::ios::app)
        << "[OrvexServices]\nTraceLevel=1\n";

    ASSERT_NO_FATAL_FAILURE(startTool());
    FrmMain &window = this->window();
    GotMessages messages;
    ASSERT_TRUE(toolClient->connection().connect(
        QStringLiteral("org.orvex.OrvexServices"), QStringLiteral("/org/orvex/OrvexComms"),
        QStringLiteral("org.orvex.IOrvexCommsEvents"), QStringLiteral("GotMessage"), &messages,
        SLOT(GotMessage(QString))));
    chooser.paths.push_back(path);
    trigger("MenuOpenSite");
    ASSERT_TRUE(window.manager().IsSiteOpen()) << shown();
    ASSERT_TRUE(testing::waitUntil([&] { return window.manager().IsOnline(); }, scaled(kSettle)));

    window.findChild<QPushButton *>(QStringLiteral("BtnNextPOSes"))->click();
    auto *intervisit = window.findChild<QSpinBox *>(QStringLiteral("SpinPriority5IntervisitTime"));
    ASSERT_TRUE(intervisit->isEnabled());
    EXPECT_EQ(intervisit->value(), 255);

    window.manager().setBusyTimes(std::chrono::milliseconds(500), std::chrono::milliseconds(500));
    trigger("MenuDownloadToOrvex");
    ASSERT_TRUE(testing::waitUntil([&] { return !window.manager().IsBusy(); },
                                   scaled(std::chrono::seconds(60))));
    ASSERT_TRUE(testing::waitUntil([&] { return unitTables.tables('C').size() == 2; },
                                   scaled(std::chrono::seconds(20))));
    ASSERT_EQ(unitTables.tables('G').size(), 1u);
    const auto timings = unitTables.tables('G').front();
    ASSERT_GE(timings.size(), 11u);
    EXPECT_EQ(timings[10], 255) << "intervisit time of priority 5";
    EXPECT_EQ(timings[9], 240) << "intervisit time of priority 4, as the file has it";
    EXPECT_TRUE(testing::waitUntil([&] {
        return messages.texts.contains(QStringLiteral(
            "Warning: Priority 5: intervisit time 300 is outside 1 to 255; sent as 255"));
    })) << messages.texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(testing::waitUntil([&] {
        return bus->serviceTrace().find(
                   "[WARNING] Priority 5: intervisit time 300 is outside 1 to 255; sent as 255")
               != std::string::npos;
    })) << bus->serviceTrace();

    trigger("MenuRetrieveFromOrvex");
    EXPECT_TRUE(window.manager().IsBusy());
    ASSERT_TRUE(testing::waitUntil([&] { return !window.manager().IsBusy(); },
                                   scaled(std::chrono::seconds(60))));
    // The replies come while the read waits between its groups; the tab shows them when it is
    // shown again.
    const auto retrieved = [&] {
        std::int16_t time = 0;
        window.manager().GetConfigData()->GetIntervisitTime(5, &time);
        return time;
    };
    EXPECT_TRUE(
        testing::waitUntil([&] { return retrieved() != 0; }, scaled(std::chrono::seconds(20))));
    EXPECT_EQ(retrieved(), 255);
    auto *previous = window.findChild<QPushButton *>(QStringLiteral("BtnPreviousTimings"));
    ASSERT_NE(previous, nullptr);
    previous->click();
    window.findChild<QPushButton *>(QStringLiteral("BtnNextPOSes"))->click();
    EXPECT_EQ(intervisit->value(), 255);
    testing::saveScreenshot(window, QStringLiteral("tool-timings-after-retrieve"));
    EXPECT_TRUE(prompter.shown.isEmpty()) << shown();
}

TEST_F(ATool, StartsWithAFileAndTakesTheFilesOfLaterStarts)
{
    // A site file to open: made on the bus by a first run of the tool's start.
    {
        serviceclient::ServiceBus client(QString::fromStdString(bus->address()));
        BusServiceBackend backend(client);
        testing::ScriptedPrompter prompter;
        testing::ScriptedFileChooser chooser;
        QTemporaryDir ownRuntime;
        ToolProgram program(prompter, chooser, ownRuntime.path());
        ASSERT_EQ(program.claim({}), ToolProgram::Outcome::Running);
        ASSERT_EQ(program.start(backend), ToolProgram::Outcome::Running);
        program.window()->findChild<QAction *>(QStringLiteral("MenuNewSite"))->trigger();
        chooser.paths.push_back(dataFile("First.ovx"));
        program.window()->findChild<QAction *>(QStringLiteral("MenuSaveSite"))->trigger();
        ASSERT_TRUE(program.window()->close());
    }

    std::vector<std::string> argv{ORVEX_CONFIG_PROGRAM, dataFile("First.ovx").toStdString()};
    bustest::Child first(argv, programEnvironment(), false);
    // It takes requests once its start, with the file, has finished; an error box in the start
    // would hold it before that.
    QLocalSocket probe;
    ASSERT_TRUE(testing::waitUntil(
        [&] {
            probe.connectToServer(runtime.filePath(QStringLiteral("ORVEXCONFIGMGR")));
            return probe.waitForConnected(100);
        },
        scaled(kSettle)));
    probe.disconnectFromServer();
    EXPECT_EQ(runProgram({}), 0);
    EXPECT_EQ(runProgram({dataFile("First.ovx").toStdString()}), 0);
    EXPECT_EQ(::waitpid(first.pid(), nullptr, WNOHANG), 0) << "the first instance still runs";
    first.stop(SIGTERM);
}

} // namespace
} // namespace configtool

#include "tool_on_bus_test.moc"
