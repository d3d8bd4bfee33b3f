// The console against the real service, activated on a private bus, with the simulated unit on
// a pseudo-terminal: the test generator's events and the unit's reports appear as their lines,
// the label follows the unit, Toggle Debug reaches the unit, a restarted service is followed,
// and a failing start ends with a notice that names the call.
#include "bus_test_support.h"

#include "monitor/watch_desk.h"

#include "serviceclient/bus_call.h"
#include "serviceclient/proxies/orvexservices_proxy.h"
#include "serviceclient/proxies/recorderbridge_proxy.h"
#include "serviceclient/service_bus.h"
#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_reports.h"
#include "tools/unit-sim/unit_tables.h"
#include "transport/tests/recording_notifier.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <mutex>

namespace {

using namespace serviceclient;
using namespace std::chrono_literals;
using bustest::PrivateBus;
using monitor::WatchDesk;

// Every notice the console gives, as one text.
QString joined(const std::vector<std::string> &texts)
{
    QStringList list;
    for (const auto &text : texts)
        list << QString::fromStdString(text);
    return list.join('\n');
}

// The lines of a transactions text, each without its timestamp and sequence number.
QStringList linesWithoutStamp(const QString &text)
{
    static const QRegularExpression stamp(
        QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[ -]\d+ : )"));
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString &line : lines)
        line.remove(stamp);
    return lines;
}

class AWatchDeskOnTheBus : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The unit answers Toggle Debug with debug text of its own.
        m_unit.SetTypeHandler('y', [this](const unitsim::Message &received) {
            std::lock_guard lock(m_togglesMutex);
            m_toggles.push_back(received.payload);
            return std::vector<unitsim::Message>{unitsim::DebugText("DEBUG ON\r\n")};
        });
        m_unit.SetHandler(m_tables.handler());
        m_unit.Start();
    }
    void TearDown() override
    {
        m_desk.reset();
        m_client.reset();
        m_bus.reset();
        m_unit.Stop();
    }

    void startBus(bool withRules = true)
    {
        m_bus = std::make_unique<PrivateBus>(withRules, m_unit.slavePath());
        // Plate images are asked for at once, so that the lines come in the order of the calls.
        std::ofstream(m_bus->installDir() / "OrvexSettings.ini", std::ios::app)
            << "[LPR]\nPlateCaptureDelay=0\n";
        m_client = std::make_unique<ServiceBus>(QString::fromStdString(m_bus->address()));
        m_desk = std::make_unique<WatchDesk>(*m_client);
    }

    template <typename Widget> Widget *control(const char *name)
    {
        return m_desk->window().findChild<Widget *>(QLatin1String(name));
    }
    QString labelText() { return control<QLabel>("Label1")->text(); }
    QColor labelColour()
    {
        return control<QLabel>("Label1")->palette().color(QPalette::WindowText);
    }

    std::unique_ptr<OrgOrvexIDVRTestInterface> testGenerator()
    {
        return m_client->proxy<OrgOrvexIDVRTestInterface>(
            CheckedPath(m_client->root()->getDVRTestInterface(), "getDVRTestInterface"));
    }
    std::unique_ptr<OrgOrvexIOrvexInterfaceInterface> bridge()
    {
        return m_client->proxy<OrgOrvexIOrvexInterfaceInterface>(
            CheckedPath(m_client->root()->getRecorderBridge(), "getRecorderBridge"));
    }
    bool waitForLines(int count)
    {
        return QTest::qWaitFor(
            [&] {
                return linesWithoutStamp(m_desk->window().transactions().text()).size() >= count;
            },
            scaled(10s).count());
    }

    unitsim::UnitLink m_unit;
    unitsim::UnitTables m_tables;
    std::mutex m_togglesMutex;
    std::vector<std::vector<std::uint8_t>>
        m_toggles; // the payloads of Toggle Debug, on the unit's thread
    RecordingNotifier m_notices;
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<ServiceBus> m_client;
    std::unique_ptr<WatchDesk> m_desk;
};

TEST_F(AWatchDeskOnTheBus, ShowsTheServicesEventsAndTheUnitsStateAsTheyCome)
{
    startBus();
    ASSERT_TRUE(m_desk->start()) << joined(m_notices.texts()).toStdString();
    EXPECT_TRUE(m_desk->window().isVisible());
    EXPECT_EQ(QStringLiteral("FWD Monitor"), m_desk->window().windowTitle());
    EXPECT_TRUE(QTest::qWaitFor([&] { return labelText() == QStringLiteral("Online"); },
                                scaled(15s).count()));
    EXPECT_EQ(QColor(0, 255, 0), labelColour());

    // Each call's lines are awaited before the next call, since the licence plate thread and
    // the output thread of the bridge would otherwise race for the order.
    const auto generator = testGenerator();
    int expected = 0;
    const auto fire = [&](const QDBusPendingCall &call, const char *name, int lines) {
        EXPECT_EQ(S_OK, CheckResult(call, name));
        expected += lines;
        EXPECT_TRUE(waitForLines(expected)) << name;
    };
    fire(generator->PumpDeliveryStart(), "PumpDeliveryStart", 1);
    fire(generator->CardRead(), "CardRead", 1);
    fire(generator->CameraVisitPump(), "CameraVisitPump", 1);
    // A move to a registration plate also asks the recorder for a plate image.
    fire(generator->CameraVisitRego(), "CameraVisitRego", 2);
    fire(generator->POSInputText("TXN START 0042 OP:JSMITH"), "POSInputText", 1);
    fire(generator->RecognizeRegoNumber(), "RecognizeRegoNumber", 1);
    // The bridge takes the generator's own capture request and fires nothing for it.
    fire(generator->RequestImageCapture(), "RequestImageCapture", 0);
    fire(bridge()->FireTestMessage(), "FireTestMessage", 1);
    m_unit.Send(unitsim::PumpEvent(4, 3, 1, 2));
    m_unit.Send(unitsim::POSMessage(
        1, 2, 4, "PUMP 03 UNLEADED 95 25.40L @ 1.459 37.06 PREPAY REG:AB12CDE ODO:45210"));
    ASSERT_TRUE(waitForLines(expected + 4)) << m_desk->window().transactions().text().toStdString();
    QTest::qWait(100); // nothing more comes
    const QStringList lines = linesWithoutStamp(m_desk->window().transactions().text());
    EXPECT_EQ(
        (QStringList{
            "Pump 1 Delivery Start - Camera 1",
            "CRIND 1 Card Read",
            "Camera 1 Move to Pump 1 - Nozzle lift",
            "Camera 1 Move to Registration Plate at Pump 1",
            "==> Image Capture Requested on Camera 1 <===",
            "Begin Retail Transaction on POS 1, Camera 1, With Operator ID JSMITH, Txn ID 0042",
            "Camera 1 Recognized 6 of Registration Number AB1234 at Pump 1 with Confidence Levels "
            "[80,80,80,80,80,80]",
            "Pump 1 Delivery Start - Camera 0",
            "Pump 3 Delivery Start - Camera 2",
            "Fuel Sale on POS 1, Camera 2 - Grade 0 (UNLEADED 95) On Pump 3,  25.4 @ $ 1.459 = $ "
            "37.06",
            "                              Reg Number: AB12CDE, Odo Reading: 45210",
            "KnowGrade Prepay ",
        }),
        lines);

    // Toggle Debug reaches the unit as ToggleDebug(0); its debug text comes back to the console.
    QTest::mouseClick(control<QPushButton>("Command4"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_desk->window().console().text().isEmpty(); },
                                scaled(10s).count()));
    EXPECT_EQ(QStringLiteral("DEBUG ON\r\n"), m_desk->window().console().text());
    EXPECT_EQ(QStringLiteral("DEBUG ON\n"), control<QPlainTextEdit>("Text2")->toPlainText());
    {
        std::lock_guard lock(m_togglesMutex);
        ASSERT_EQ(1u, m_toggles.size());
        EXPECT_EQ(std::vector<std::uint8_t>{0}, m_toggles.front()); // time 0
    }

    // The window for review, as a site engineer would see it.
    QDir().mkpath(QStringLiteral(ORVEX_SCREENSHOT_DIR));
    EXPECT_TRUE(
        m_desk->window().grab().save(QStringLiteral(ORVEX_SCREENSHOT_DIR "/watchdesk.png")));

    // A unit that stops answering the heartbeat turns the label red.
    m_unit.Stop();
    EXPECT_TRUE(QTest::qWaitFor([&] { return labelText() == QStringLiteral("Offline"); },
                                scaled(30s).count()));
    EXPECT_EQ(QColor(255, 0, 0), labelColour());
    EXPECT_TRUE(m_desk->window().grab().save(
        QStringLiteral(ORVEX_SCREENSHOT_DIR "/watchdesk-offline.png")));
    EXPECT_TRUE(m_notices.texts().empty()) << joined(m_notices.texts()).toStdString();
}

TEST_F(AWatchDeskOnTheBus, FollowsTheServiceThroughARestart)
{
    startBus();
    ASSERT_TRUE(m_desk->start());
    QSignalSpy restarts(&m_desk->subscriptions(), &monitor::BusSubscriptions::started);
    const uint pid
        = m_client->connection().interface()->servicePid(QString::fromLatin1(kServiceName));
    ASSERT_GT(pid, 0u);
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    EXPECT_TRUE(QTest::qWaitFor([&] { return labelText() == QStringLiteral("Offline"); },
                                scaled(10s).count()));
    EXPECT_EQ(QColor(255, 0, 0), labelColour());

    // Anything that calls the service activates it again; the console then subscribes anew.
    const auto again = bridge();
    ASSERT_TRUE(QTest::qWaitFor([&] { return restarts.count() == 1; }, scaled(10s).count()));
    EXPECT_EQ(S_OK, CheckResult(again->FireTestMessage(), "FireTestMessage"));
    ASSERT_TRUE(waitForLines(1));
    // One subscription per object: the line comes once.
    QTest::qWait(200);
    EXPECT_EQ(QStringList{"Pump 1 Delivery Start - Camera 0"},
              linesWithoutStamp(m_desk->window().transactions().text()));
    EXPECT_TRUE(m_notices.texts().empty()) << joined(m_notices.texts()).toStdString();
}

// The service stopped, then started again by a client that leaves at once, twenty times in a row:
// each time the console subscribes anew, which keeps the new service running after that client
// has gone, and shows the unit's state and events.
TEST_F(AWatchDeskOnTheBus, FollowsTheServiceThroughRestartsByShortLivedClients)
{
    constexpr int kRestarts = 20;
    startBus();
    ASSERT_TRUE(m_desk->start());
    QSignalSpy restarts(&m_desk->subscriptions(), &monitor::BusSubscriptions::started);
    QSignalSpy ended(m_desk.get(), &WatchDesk::ended);
    const auto watcher = m_bus->connect();
    for (int round = 1; round <= kRestarts; ++round) {
        SCOPED_TRACE(round);
        const pid_t pid = PrivateBus::pidOf(*watcher, kServiceName);
        ASSERT_GT(pid, 0);
        ::kill(pid, SIGTERM);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return labelText() == QStringLiteral("Offline")
                       && PrivateBus::ownerOf(*watcher, kServiceName).empty();
            },
            scaled(20s).count()));
        ASSERT_EQ(S_OK, bustest::callOnceAndLeave(*m_bus));
        ASSERT_TRUE(QTest::qWaitFor([&] { return restarts.count() == round; }, scaled(20s).count()))
            << joined(m_notices.texts()).toStdString();
        m_unit.Send(unitsim::PumpEvent(4, static_cast<std::uint8_t>(round), 1, 2));
        ASSERT_TRUE(waitForLines(round));
        EXPECT_EQ(QStringLiteral("Pump %1 Delivery Start - Camera 2").arg(round),
                  linesWithoutStamp(m_desk->window().transactions().text()).last());
    }
    // The console is the service's client: the service stays past its grace (5 s of the
    // service's clock, which no test time scale stretches), and the console shows the unit
    // online.
    const std::string owner = PrivateBus::ownerOf(*watcher, kServiceName);
    QTest::qWait(7000);
    EXPECT_EQ(owner, PrivateBus::ownerOf(*watcher, kServiceName));
    EXPECT_TRUE(QTest::qWaitFor([&] { return labelText() == QStringLiteral("Online"); },
                                scaled(20s).count()));
    EXPECT_EQ(0, ended.count());
    EXPECT_TRUE(m_notices.texts().empty()) << joined(m_notices.texts()).toStdString();
    EXPECT_TRUE(m_desk->window().grab().save(
        QStringLiteral(ORVEX_SCREENSHOT_DIR "/watchdesk-after-restarts.png")));
}

// A service that goes away while the console subscribes to it anew is taken for a service that
// is away: the label stays "Offline", no box is shown, and the next start is followed.
TEST_F(AWatchDeskOnTheBus, WaitsForTheNextStartWhenTheServiceGoesWhileItSubscribesAnew)
{
    startBus();
    ASSERT_TRUE(m_desk->start());
    QSignalSpy restarts(&m_desk->subscriptions(), &monitor::BusSubscriptions::started);
    QSignalSpy ended(m_desk.get(), &WatchDesk::ended);
    const auto watcher = m_bus->connect();
    const pid_t pid = PrivateBus::pidOf(*watcher, kServiceName);
    ASSERT_GT(pid, 0);
    ::kill(pid, SIGKILL);
    ASSERT_TRUE(QTest::qWaitFor([&] { return labelText() == QStringLiteral("Offline"); },
                                scaled(10s).count()));
    {
        bustest::VanishingService vanishing(*m_bus);
        // The console's call that made it go has had its answer by then: the console waits for
        // it on this thread.
        ASSERT_TRUE(QTest::qWaitFor([&] { return vanishing.gone(); }, scaled(10s).count()));
    }
    EXPECT_EQ(QStringLiteral("Offline"), labelText());
    EXPECT_EQ(QColor(255, 0, 0), labelColour());
    EXPECT_EQ(0, ended.count());
    EXPECT_TRUE(m_notices.texts().empty()) << joined(m_notices.texts()).toStdString();
    EXPECT_EQ(0, restarts.count());
    EXPECT_TRUE(m_desk->window().grab().save(
        QStringLiteral(ORVEX_SCREENSHOT_DIR "/watchdesk-waiting-for-the-service.png")));

    // A client that starts the service and leaves: the console subscribes to it.
    ASSERT_EQ(S_OK, bustest::callOnceAndLeave(*m_bus));
    ASSERT_TRUE(QTest::qWaitFor([&] { return restarts.count() == 1; }, scaled(10s).count()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return labelText() == QStringLiteral("Online"); },
                                scaled(20s).count()));
    m_unit.Send(unitsim::PumpEvent(4, 3, 1, 2));
    ASSERT_TRUE(waitForLines(1));
    EXPECT_EQ(QStringList{"Pump 3 Delivery Start - Camera 2"},
              linesWithoutStamp(m_desk->window().transactions().text()));
}

TEST_F(AWatchDeskOnTheBus, EndsWhenTheRestartedServiceCannotServe)
{
    startBus();
    ASSERT_TRUE(m_desk->start());
    QSignalSpy ended(m_desk.get(), &WatchDesk::ended);
    const uint pid
        = m_client->connection().interface()->servicePid(QString::fromLatin1(kServiceName));
    ASSERT_GT(pid, 0u);
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    ASSERT_TRUE(QTest::qWaitFor([&] { return labelText() == QStringLiteral("Offline"); },
                                scaled(10s).count()));

    // The next service finds no rules file: its root answers every call with that failure.
    std::filesystem::remove(m_bus->installDir() / "RecorderBridgeConfig.xml");
    (void)m_client->root()->getOrvexComms().waitForFinished(); // activates it
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, scaled(10s).count()));
    EXPECT_EQ(WatchDesk::kFailureStatus, ended.front().front().toInt());
    ASSERT_EQ(1u, m_notices.texts().size());
    EXPECT_EQ(0u, m_notices.texts().front().rfind("getRecorderBridge failed: ", 0))
        << m_notices.texts().front();
}

TEST_F(AWatchDeskOnTheBus, EndsWithANoticeNamingTheCallWhenTheServiceCannotServe)
{
    // Without its rules file the bridge, and with it the root, cannot be built: every call on
    // the root answers that failure.
    startBus(false);
    EXPECT_FALSE(m_desk->start());
    ASSERT_EQ(1u, m_notices.texts().size());
    EXPECT_EQ(0u, m_notices.texts().front().rfind("getRecorderBridge failed: ", 0))
        << m_notices.texts().front();
    EXPECT_FALSE(m_desk->window().isVisible());
}

TEST_F(AWatchDeskOnTheBus, EndsWithANoticeNamingTheCallWhenNoServiceIsThere)
{
    startBus();
    // The bus forgets how to start the service.
    for (const auto &entry :
         std::filesystem::recursive_directory_iterator(m_bus->env().at("ORVEX_REGISTRATION_ROOT")))
        if (entry.path().filename() == "org.orvex.OrvexServices.service")
            std::filesystem::remove(entry.path());
    m_client->connection().call(QDBusMessage::createMethodCall(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "ReloadConfig"));
    EXPECT_FALSE(m_desk->start());
    ASSERT_EQ(1u, m_notices.texts().size());
    EXPECT_EQ(0u, m_notices.texts().front().rfind("getRecorderBridge failed: ", 0))
        << m_notices.texts().front();
}

} // namespace
