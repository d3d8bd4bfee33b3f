// From the simulated unit's frame to the recorder client's printed event, across three
// processes' worth of machinery: the unit on a pseudo-terminal, the activated service with its
// bridge, and orvex-recorder on the bus.
#include "bus_test_support.h"

#include "tools/unit-sim/report_commands.h"
#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_tables.h"

namespace {

using bustest::Child;
using bustest::PrivateBus;

class ARecorderClient : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_unit.SetHandler(m_tables.handler());
        m_unit.Start();
        m_bus = std::make_unique<PrivateBus>(true, m_unit.slavePath());
        m_recorder = std::make_unique<Child>(std::vector<std::string>{ORVEX_RECORDER_PROGRAM}, m_bus->env(), true);
    }
    void TearDown() override
    {
        m_recorder.reset();
        m_bus.reset();
        m_unit.Stop();
    }

    void play(const std::string &command)
    {
        const unitsim::ReportCommand report = unitsim::ParseReportCommand(command);
        ASSERT_TRUE(report.known && report.error.empty()) << command;
        for (const auto &message : report.messages)
            m_unit.Send(message);
    }
    // Reads the recorder's lines up to the first that starts with `prefix`.
    std::string lineStartingWith(const std::string &prefix)
    {
        std::string line;
        while (m_recorder->readLine(line, scaled(std::chrono::seconds(30)))) {
            if (line.rfind(prefix, 0) == 0)
                return line;
        }
        return "(the recorder ended or said nothing more)";
    }

    unitsim::UnitLink m_unit;
    unitsim::UnitTables m_tables;
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<Child> m_recorder;
};

TEST_F(ARecorderClient, PrintsTheUnitsReportsAsBridgeEvents)
{
    EXPECT_EQ("recorder: ready", lineStartingWith("recorder:"));
    EXPECT_EQ("OrvexOnline ver=\"ORVEX SIM 1.0 BOOT 1.0\"", lineStartingWith("Orvex"));

    play("pump 4 1 1 2");
    const std::string start = lineStartingWith("OnStartFuelDelivery");
    EXPECT_NE(std::string::npos,
              start.find("FuellingPositionID=1 EventID=4 EventDescription=\"Delivery Start\" CameraID=2"))
        << start;

    play("delivery 5 3 2 1.459 37.06 25.40 1");
    const std::string end = lineStartingWith("OnFinishFuelDelivery");
    EXPECT_NE(std::string::npos, end.find("FuellingPositionID=3 EventID=5")) << end;
    EXPECT_NE(std::string::npos, end.find("TotalPrice=37.0600 UnitPrice=1.4590 Volume=25.4")) << end;

    play("pos 1 2 4 TXN START 0042 OP:JSMITH");
    const std::string begin = lineStartingWith("OnBeginRetailTransaction");
    EXPECT_NE(std::string::npos, begin.find("OperatorID=\"JSMITH\" ReceiptTransactionID=\"0042\" CameraID=2"))
        << begin;
}

// The service stopped, then started again by a client that leaves at once: the recorder says the
// service has gone, subscribes anew and says so, and prints the unit's reports again; being the
// new service's client, it keeps that service running. A new service that goes away while the
// recorder subscribes is taken for a service that is away.
TEST_F(ARecorderClient, SubscribesAnewWhenTheServiceStartsAgain)
{
    ASSERT_EQ("recorder: ready", lineStartingWith("recorder:"));
    const auto watcher = m_bus->connect();
    constexpr const char *kGone = "recorder: the service has gone; subscribing anew at its next start";
    for (const bool vanishesFirst : {false, true}) {
        SCOPED_TRACE(vanishesFirst ? "a new service goes away first" : "restarted");
        const pid_t service = PrivateBus::pidOf(*watcher, "org.orvex.OrvexServices");
        ASSERT_GT(service, 0);
        ASSERT_EQ(0, ::kill(service, SIGTERM));
        EXPECT_EQ(kGone, lineStartingWith("recorder:"));
        if (vanishesFirst) {
            bustest::VanishingService vanishing(*m_bus);
            const std::string line = lineStartingWith("recorder:");
            EXPECT_EQ(0u, line.rfind("recorder: the service went away while subscribing (", 0)) << line;
            EXPECT_EQ(kGone, lineStartingWith("recorder:"));
        }
        ASSERT_EQ(S_OK, bustest::callOnceAndLeave(*m_bus));
        EXPECT_EQ("recorder: subscribed anew", lineStartingWith("recorder:"));
        EXPECT_EQ("OrvexOnline ver=\"ORVEX SIM 1.0 BOOT 1.0\"", lineStartingWith("OrvexOnline"));
        play("pump 4 1 1 2");
        const std::string start = lineStartingWith("OnStartFuelDelivery");
        EXPECT_NE(std::string::npos, start.find("FuellingPositionID=1 EventID=4")) << start;
    }
    // The recorder is the service's client: the service stays past its grace (5 s of the
    // service's clock, which no test time scale stretches).
    std::this_thread::sleep_for(std::chrono::seconds(7));
    play("pump 4 2 1 2");
    const std::string later = lineStartingWith("OnStartFuelDelivery");
    EXPECT_NE(std::string::npos, later.find("FuellingPositionID=2 EventID=4")) << later;
}

TEST_F(ARecorderClient, EndsWithAnErrorWhenTheBusGoesAway)
{
    ASSERT_EQ("recorder: ready", lineStartingWith("recorder:"));
    m_bus.reset();
    const int status = m_recorder->wait();
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(1, WEXITSTATUS(status));
}

} // namespace
