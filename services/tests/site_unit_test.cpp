// A site sent to the simulated unit over a pseudo-terminal and read back from it.

#include "reply_queue.h"
#include "site_test_support.h"

#include "platform/install_folder.h"
#include "platform/service_loop.h"
#include "platform/profile_file.h"
#include "support/tests/wait_until.h"
#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_tables.h"
#include "services/command_turns.h"
#include "services/orvex_comms.h"
#include "transport/orvex_transport.h"

#include <gmock/gmock.h>

#include <mutex>
#include <optional>
#include <thread>

namespace services::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

class ASiteOnTheSimulatedUnit : public ::testing::Test
{
protected:
    TemporaryInstallFolder folder;
    unitsim::UnitTables unitTables;
    unitsim::UnitLink unit;
    std::shared_ptr<transport::OrvexTransport> link = std::make_shared<transport::OrvexTransport>();
    std::shared_ptr<ReplyQueue> replies = std::make_shared<ReplyQueue>();
    // The waits would only give a real unit time to work; the simulated one keeps up.
    static void noWait(std::chrono::milliseconds, const std::function<void()> &then) { then(); }
    OrvexConfigData sent{link, noWait, [] { return std::make_shared<EmptyStore>(); }};
    OrvexConfigData received{link, noWait, [] { return std::make_shared<EmptyStore>(); }};

    void SetUp() override
    {
        unit.SetHandler(unitTables.handler());
        unit.Start();
        ProfileFile(JoinPath(InstallFolder(), kSettingsFileName)).writeString("Settings", "PortDevice1", unit.slavePath());
        std::uint32_t cookie = 0;
        ASSERT_EQ(link->Advise(replies, &cookie), S_OK);
        ASSERT_EQ(link->setSerialPort(1), S_OK);
        for (OrvexConfigData *site : {&sent, &received}) {
            ASSERT_EQ(site->InitializeStorage(), S_OK);
            site->markLoadedFromUnit();
        }
    }

    // Devices in ascending inports, type 7 first, so that the unit's order (by inport) is the
    // site's; every camera preset is one a dispenser or a movable point of sale calls up, the only
    // presets the unit can give back.
    void buildSite(OrvexConfigData &site)
    {
        Tables t = tablesOf(site);
        std::int16_t i = 0;
        const std::int16_t devices[][4] = {{7, 1, 11, 2}, {3, 2, 12, 1}, {1, 5, 0, 4}};
        for (const auto &d : devices) {
            t.devices->Append(&i);
            t.devices->SetDeviceType(i, d[0]);
            t.devices->SetInport(i, d[1]);
            t.devices->SetOutport(i, d[2]);
            t.devices->SetInterface(i, d[3]);
        }
        for (const std::int16_t number : {2, 5})
            t.cameras->NewCamera(number, &i);
        for (std::int16_t event = 1; event <= 3; ++event) {
            t.events->NewEvent(event, &i);
            t.events->SetPriority(i, event);
            t.events->SetTransitionPriority(i, static_cast<std::int16_t>(4 - event));
        }
        for (std::int16_t logical = 1; logical <= 2; ++logical) {
            std::int16_t d = 0;
            t.dispensers->NewDispenser(logical, &d);
            t.dispensers->SetDispenserLoop(d, 1);
            t.dispensers->SetDispenserAddress(d, static_cast<std::int16_t>(logical + 10));
            t.dispensers->SetCardTerminalAddress(d, static_cast<std::int16_t>(logical + 20));
            for (std::int16_t event : {1, 4}) {
                std::shared_ptr<ICameraPresetData> entry;
                t.dispensers->NewPreset(d, event, &i);
                t.dispensers->RetrieveCameraPreset(d, i, &entry);
                entry->SetCameraNumber(2);
                entry->SetPresetNumber(static_cast<std::int16_t>(logical * 10 + event));
            }
        }
        t.points->NewPOS(1, &i);
        t.points->SetCamera(i, 5);
        t.points->SetMovableFlag(i, -1);
        t.points->SetPreset(i, 7);
        t.points->SetPriority(i, 2);
        for (std::int16_t p = 1; p <= 5; ++p) {
            site.SetDwellTime(p, static_cast<std::int16_t>(p * 3));
            site.SetIntervisitTime(p, static_cast<std::int16_t>(p * 7));
        }
        // The presets in the order the replies add them: the configuration reply makes the
        // cameras, the point of sale's adds 7 to camera 5, the dispensers' add theirs to camera 2.
        for (std::int16_t number : {11, 14, 21, 24})
            t.cameras->NewPreset(1, number, &i);
        t.cameras->NewPreset(2, 7, &i);
    }
};

TEST_F(ASiteOnTheSimulatedUnit, IsKeptByTheUnitAndComesBackFieldByField)
{
    buildSite(sent);
    ASSERT_EQ(sent.SendCurrentSite(), S_OK);
    ASSERT_TRUE(waitUntil([&] { return unitTables.tables('M').size() == 2 && unitTables.tables('C').size() == 2
                                    && unit.idle(); }));
    EXPECT_EQ(unitTables.tables('T').size(), 3u);
    EXPECT_EQ(unitTables.tables('G').size(), 1u);
    EXPECT_EQ(unitTables.tables('E').size(), 1u);
    EXPECT_EQ(unitTables.tables('P').size(), 1u);

    ASSERT_EQ(received.RequestSiteFromUnit(), S_OK);
    // Configuration data, one point of sale, two maps, two preset tables, events, three tasks.
    ASSERT_TRUE(waitUntil([&] { return replies->size() == 10; }));
    replies->applyTo(received);

    // Cameras come back with type 0 and no comments (the unit keeps neither), which is what
    // this site has; everything else is the unit's copy.
    EXPECT_EQ(snapshot(received), snapshot(sent));
}

// The hub's status events, kept for the test thread: which replies have been applied.
class GotMessages final : public IOrvexCommsEvents
{
public:
    HRESULT GotMessage(const std::string &msgType) override
    {
        std::lock_guard lock(m_mutex);
        m_texts.push_back(msgType);
        return S_OK;
    }
    [[nodiscard]] std::vector<std::string> texts() const
    {
        std::lock_guard lock(m_mutex);
        return m_texts;
    }
    HRESULT Debug(const std::string &) override { return S_OK; }
    HRESULT OrvexOnline(const std::string &) override { return S_OK; }
    HRESULT OrvexOffline() override { return S_OK; }
    HRESULT CommsError(const std::string &) override { return S_OK; }
    HRESULT SystemDiagnostics(std::int16_t, std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT TaskDiagnostics(std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT ResetCount(std::int16_t) override { return S_OK; }
    HRESULT CameraPosition(std::int16_t, float, float, float) override { return S_OK; }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_texts;
};

// The hub on the service loop, as the service drives it: commands in their turns, the exchange's
// waits on the loop's timers (a clock that moves when the test says), the unit's replies carried
// into the loop by the hub's subscription while the waits run.
class ASiteExchangeThroughTheHub : public ASiteOnTheSimulatedUnit
{
protected:
    void SetUp() override
    {
        ASiteOnTheSimulatedUnit::SetUp();
        for (OrvexConfigData *site : {&hubSent, &hubReceived})
            ASSERT_EQ(site->InitializeStorage(), S_OK);
        hubSent.markLoadedFromUnit();
        buildSite(hubSent);
        hub->AttachConfigData(&hubSent);
        ASSERT_TRUE(loop.Start());
        std::uint32_t cookie = 0;
        ASSERT_EQ(loop.Invoke([&] { return hub->AdviseTransportEvents(); }), S_OK);
        ASSERT_EQ(loop.Invoke([&] { return hub->AdviseCommsEvents(messages, &cookie); }), S_OK);
    }
    void TearDown() override
    {
        loop.Quit();
        loop.Join();
    }

    // Queues a command as a client on the bus does; its answer is noted under `name`.
    void runInTurn(const CommandTurns::Command &command, const std::string &name)
    {
        loop.Invoke([&] {
            hub->RunInTurn(command, [this, name](std::optional<HRESULT> hr) {
                m_answers.push_back(name + (!hr ? " refused" : *hr == S_OK ? "" : "?"));
            });
            return S_OK;
        });
    }
    [[nodiscard]] std::vector<std::string> answers()
    {
        std::vector<std::string> copy;
        loop.Invoke([&] {
            copy = m_answers;
            return S_OK;
        });
        return copy;
    }
    void advance(std::chrono::milliseconds time)
    {
        loop.Invoke([&] {
            clock->Advance(static_cast<std::uint64_t>(time.count()));
            return S_OK;
        });
        loop.Invoke([] { return S_OK; }); // the due timers run before this call
    }
    [[nodiscard]] std::int32_t backlog()
    {
        std::int32_t messages = -1;
        link->getBacklog(&messages);
        return messages;
    }
    // The send's 10 s count once the unit has taken its clear, which the send sees at its next
    // look at the link.
    void letTheClearSettle()
    {
        EXPECT_TRUE(waitUntil([&] { return backlog() == 0; }));
        advance(UnitSiteExchange::kSettlePoll);
    }

    std::shared_ptr<ManualLoopClock> clock = std::make_shared<ManualLoopClock>(1000000);
    ServiceLoop loop{clock};
    static std::shared_ptr<configstore::IOrvexConfig> emptyStore() { return std::make_shared<EmptyStore>(); }
    OrvexConfigData hubSent{link, UnitSiteExchange::OnLoop(loop), emptyStore};
    // Not loaded: the read itself must make it take the replies.
    OrvexConfigData hubReceived{link, UnitSiteExchange::OnLoop(loop), emptyStore};
    std::shared_ptr<OrvexComms> hub = std::make_shared<OrvexComms>(loop, link);
    std::shared_ptr<GotMessages> messages = std::make_shared<GotMessages>();
    const CommandTurns::Command send = [](IOrvexComms &comms) { return comms.SendCurrentSiteToOrvex(); };
    const CommandTurns::Command read = [](IOrvexComms &comms) { return comms.ReadDataFromOrvex(); };

private:
    std::vector<std::string> m_answers; // on the loop thread
};

TEST_F(ASiteExchangeThroughTheHub, KeepsEveryReplyOfARead)
{
    runInTurn(send, "send");
    ASSERT_TRUE(waitUntil([&] { return unit.receivedTypes() == "x"; }));
    letTheClearSettle();
    advance(UnitSiteExchange::kClearMemoryWait);
    ASSERT_TRUE(waitUntil([&] { return unitTables.tables('C').size() == 2 && unit.idle(); }));
    loop.Invoke([&] {
        hub->AttachConfigData(&hubReceived);
        return S_OK;
    });

    // The replies to each group arrive while the read waits to send the next.
    runInTurn(read, "read");
    ASSERT_TRUE(waitUntil([&] { return messages->texts().size() == 4; }));
    advance(UnitSiteExchange::kRequestGroupWait);
    ASSERT_TRUE(waitUntil([&] { return messages->texts().size() == 6; }));
    EXPECT_THAT(answers(), ElementsAre("send"));
    advance(UnitSiteExchange::kRequestGroupWait);
    ASSERT_TRUE(waitUntil([&] { return messages->texts().size() == 10; }));
    EXPECT_THAT(answers(), ElementsAre("send", "read"));

    SiteSnapshot got, want;
    loop.Invoke([&] {
        got = snapshot(hubReceived);
        want = snapshot(hubSent);
        return S_OK;
    });
    EXPECT_EQ(got, want);
    EXPECT_THAT(messages->texts(),
                ElementsAre("Config Data", "POS", "Dispenser Map", "Dispenser Map", "Camera Preset", "Camera Preset",
                            "Events", "Task", "Task", "Task"));
}

TEST_F(ASiteExchangeThroughTheHub, SendsACommandThatArrivesDuringADownloadAfterItsLastTable)
{
    runInTurn(send, "send");
    runInTurn([](IOrvexComms &comms) { return comms.ClearOrvexMemory(); }, "clear");
    runInTurn(send, "send again");
    ASSERT_TRUE(waitUntil([&] { return unit.receivedTypes() == "x"; }));
    EXPECT_THAT(answers(), ElementsAre());

    // Tasks, configuration, events, the point of sale, and each dispenser's map and presets.
    const std::string tables = "TTTGEPMCMC";
    letTheClearSettle();
    advance(UnitSiteExchange::kClearMemoryWait);
    ASSERT_TRUE(waitUntil([&] { return unit.receivedTypes().size() == 1 + tables.size() + 2; })) << unit.receivedTypes();
    EXPECT_THAT(answers(), ElementsAre("send", "clear"));
    letTheClearSettle();
    advance(UnitSiteExchange::kClearMemoryWait);
    ASSERT_TRUE(waitUntil([&] { return answers().size() == 3; }));
    ASSERT_TRUE(waitUntil([&] { return unit.receivedTypes().size() == 3 + 2 * tables.size(); })) << unit.receivedTypes();
    EXPECT_EQ(unit.receivedTypes(), "x" + tables + "x" + "x" + tables);
}

// The hub's turns ended as the service ends them for a stop; the test counts the stops.
class AStopThroughTheHub : public ASiteExchangeThroughTheHub
{
protected:
    void endTurns()
    {
        loop.Invoke([&] {
            hub->EndTurns([this] { ++m_stops; });
            return S_OK;
        });
    }
    [[nodiscard]] int stops()
    {
        int stops = 0;
        loop.Invoke([&] {
            stops = m_stops;
            return S_OK;
        });
        return stops;
    }
    const std::string tables = "TTTGEPMCMC";
    const CommandTurns::Command clear = [](IOrvexComms &comms) { return comms.ClearOrvexMemory(); };

private:
    int m_stops = 0; // on the loop thread
};

// The link polls for its settling only as the loop's clock moves, so the stop cannot come
// between two steps of the test.
TEST_F(AStopThroughTheHub, WaitsForASendsWaitAndForTheUnitToTakeEveryTable)
{
    runInTurn(send, "send");
    runInTurn(clear, "clear");
    ASSERT_TRUE(waitUntil([&] { return unit.receivedTypes() == "x"; }));
    endTurns();
    runInTurn(clear, "clear again");
    EXPECT_THAT(answers(), ElementsAre("clear refused", "clear again refused"));
    letTheClearSettle();
    advance(UnitSiteExchange::kClearMemoryWait);
    EXPECT_THAT(answers(), ElementsAre("clear refused", "clear again refused", "send"));
    EXPECT_EQ(stops(), 0) << "the tables are still on the line";
    ASSERT_TRUE(waitUntil([&] { return unit.receivedTypes() == "x" + tables && backlog() == 0; }))
        << unit.receivedTypes();
    advance(100ms);
    EXPECT_EQ(stops(), 1);
    endTurns();
    advance(CommandTurns::kStopWaitLimit);
    EXPECT_EQ(stops(), 1) << "a stop runs once";
}

// A stop after the send was answered still waits for its tables, but only while the unit takes
// them: once it has acknowledged nothing for the silence limit, the stop goes (its ten tables
// take the link about 8 s to give up, far more than the test needs).
TEST_F(AStopThroughTheHub, GivesUpOnTablesStillOnTheLineOnceTheUnitHasBeenSilentForItsLimit)
{
    runInTurn(send, "send");
    ASSERT_TRUE(waitUntil([&] { return unit.receivedTypes() == "x"; }));
    letTheClearSettle();
    unit.InjectFault(unitsim::Fault::Silence, 1000);
    advance(UnitSiteExchange::kClearMemoryWait);
    ASSERT_THAT(answers(), ElementsAre("send"));
    endTurns();
    advance(CommandTurns::kStopSilenceLimit - 1s);
    EXPECT_EQ(stops(), 0);
    EXPECT_GT(backlog(), 0);
    advance(2s);
    EXPECT_EQ(stops(), 1);
}

// Nothing on the unit is lost when a read stops half-way.
TEST_F(AStopThroughTheHub, StopsAtOnceDuringARead)
{
    runInTurn(read, "read");
    runInTurn(clear, "clear");
    endTurns();
    EXPECT_EQ(stops(), 1);
    EXPECT_THAT(answers(), ElementsAre("clear refused"));
}

} // namespace
} // namespace services::testing
