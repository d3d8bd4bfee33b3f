// The hub's commands and its heartbeat, driven tick by tick.

#include "fakes.h"
#include "services/orvex_comms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using fakes::Call;

namespace {

// The commands that keep the unit busy, each with the time it holds the heartbeat off.
struct BusyCommand
{
    const char *name;
    std::function<HRESULT(services::OrvexComms &)> command;
    std::uint32_t busyMs;
};

const std::vector<BusyCommand> &busyCommands()
{
    static const std::vector<BusyCommand> rows{
        {"ReadDataFromOrvex", [](auto &h) { return h.ReadDataFromOrvex(); }, 30000},
        {"ClearOrvexMemory", [](auto &h) { return h.ClearOrvexMemory(); }, 30000},
        {"SendCurrentSiteToOrvex", [](auto &h) { return h.SendCurrentSiteToOrvex(); }, 60000},
        {"RequestTaskDiagnostics", [](auto &h) { return h.RequestTaskDiagnostics(); }, 30000},
    };
    return rows;
}

class AHubHeartbeat : public ::testing::Test
{
protected:
    AHubHeartbeat()
    {
        hub->AttachConfigData(&site);
        std::uint32_t cookie = 0;
        hub->AdviseCommsEvents(status, &cookie);
    }

    // Runs one timer message at `tick` and returns what it caused: requests sent to the unit
    // and status events, in that order.
    std::vector<std::string> tickAt(std::uint32_t tick)
    {
        transport->log.clear();
        status->log.clear();
        hub->HeartbeatTimerProc(tick);
        auto seen = transport->log.lines();
        for (const auto &line : status->log.lines())
            seen.push_back(line);
        return seen;
    }

    // Timer messages every second from `from` to `to` inclusive; returns "tick:event" lines.
    std::vector<std::string> runSeconds(std::uint32_t from, std::uint32_t to, bool unitAnswers)
    {
        std::vector<std::string> timeline;
        for (std::uint32_t t = from; t <= to; t += 1000) {
            for (const auto &line : tickAt(t)) {
                timeline.push_back(std::to_string(t) + ":" + line);
                if (unitAnswers && line == "RequestHeartbeat()")
                    hub->OnTransportHeartBeat("V2.1");
            }
        }
        return timeline;
    }

    const std::vector<std::string> kProbe{Call("RequestHeartbeat"), Call("setDefault")};
    const std::vector<std::string> kNothing{};

    ServiceLoop loop;
    std::shared_ptr<fakes::RecordingTransport> transport = std::make_shared<fakes::RecordingTransport>();
    std::shared_ptr<services::OrvexComms> hub = std::make_shared<services::OrvexComms>(loop, transport);
    std::shared_ptr<fakes::RecordingCommsSink> status = std::make_shared<fakes::RecordingCommsSink>();
    fakes::RecordingSite site;
};

TEST_F(AHubHeartbeat, ProbesOnTheSecondTickAfterAttach)
{
    EXPECT_EQ(tickAt(50000), kNothing);
    EXPECT_EQ(tickAt(51000), kProbe);
}

TEST_F(AHubHeartbeat, ReportsAnAnsweringUnitOnlineOncePerCycleWithItsVersions)
{
    const std::vector<std::string> expected{
        "2000:RequestHeartbeat()", "2000:setDefault()", "5000:OrvexOnline(\"V2.1\")",
        "21000:RequestHeartbeat()", "21000:setDefault()", "24000:OrvexOnline(\"V2.1\")",
        "40000:RequestHeartbeat()", "40000:setDefault()", "43000:OrvexOnline(\"V2.1\")",
    };
    EXPECT_EQ(runSeconds(1000, 43000, true), expected);
}

TEST_F(AHubHeartbeat, ReportsASilentUnitOfflineAtEveryDecision)
{
    const std::vector<std::string> expected{
        "2000:RequestHeartbeat()", "2000:setDefault()", "5000:OrvexOffline()",
        "7000:RequestHeartbeat()", "7000:setDefault()", "10000:OrvexOffline()",
    };
    EXPECT_EQ(runSeconds(1000, 10000, false), expected);
}

TEST_F(AHubHeartbeat, ActsOnlyWhenStrictlyMoreThanTheIntervalHasPassed)
{
    tickAt(1000);
    ASSERT_EQ(tickAt(2000), kProbe);
    EXPECT_EQ(tickAt(4000), kNothing); // exactly the probe interval
    EXPECT_EQ(tickAt(4001), std::vector<std::string>{Call("OrvexOffline")});
    EXPECT_EQ(tickAt(5001), kNothing); // exactly the offline interval
    EXPECT_EQ(tickAt(5002), kProbe);
}

TEST_F(AHubHeartbeat, MeasuresElapsedTimeAcrossTheTickCountersWrap)
{
    tickAt(0xFFFFFC18u); // 1000 ms before the wrap
    ASSERT_EQ(tickAt(0u), kProbe);
    // A decision taken at tick 0 must not look like an unset last check.
    EXPECT_EQ(tickAt(1000u), kNothing);
    EXPECT_EQ(tickAt(2000u), kNothing);
    EXPECT_EQ(tickAt(2001u), std::vector<std::string>{Call("OrvexOffline")});

    hub->AttachConfigData(&site);
    tickAt(0xFFFFF800u);
    ASSERT_EQ(tickAt(0xFFFFFC00u), kProbe);
    EXPECT_EQ(tickAt(0xFFFFFC00u + 2000u), kNothing);
    EXPECT_EQ(tickAt(0xFFFFFC00u + 2001u), std::vector<std::string>{Call("OrvexOffline")});
}

TEST_F(AHubHeartbeat, AddsUpBusyDelaysAndLetsAReplyInThatTimeCount)
{
    tickAt(1000);
    ASSERT_EQ(tickAt(2000), kProbe);
    EXPECT_EQ(hub->ClearOrvexMemory(), S_OK);     // +30000
    EXPECT_EQ(hub->RequestTaskDiagnostics(), S_OK); // +30000
    EXPECT_EQ(tickAt(4001), kNothing);
    hub->OnTransportHeartBeat("late but in time");
    EXPECT_EQ(tickAt(2000 + 62000), kNothing);
    EXPECT_EQ(tickAt(2000 + 62001), std::vector<std::string>{Call("OrvexOnline", "late but in time")});
    // The delay is gone after the decision.
    EXPECT_EQ(tickAt(64001 + 15001), kProbe);
}

TEST_F(AHubHeartbeat, IgnoresAHeartbeatThatArrivesAfterTheDecision)
{
    tickAt(1000);
    ASSERT_EQ(tickAt(2000), kProbe);
    ASSERT_EQ(tickAt(5000), std::vector<std::string>{Call("OrvexOffline")});
    hub->OnTransportHeartBeat("too late");
    ASSERT_EQ(tickAt(7000), kProbe);
    EXPECT_EQ(tickAt(10000), std::vector<std::string>{Call("OrvexOffline")});
}

TEST_F(AHubHeartbeat, CountsARequestThatCouldNotBeSentAsUnanswered)
{
    transport->giveNoDefault = true;
    tickAt(1000);
    EXPECT_EQ(tickAt(2000), kNothing);
    EXPECT_EQ(tickAt(5000), std::vector<std::string>{Call("OrvexOffline")});
}

TEST_F(AHubHeartbeat, KeepsOneTimerWhenThePortIsSetTwice)
{
    EXPECT_EQ(hub->SetSerialPort(2), S_OK);
    EXPECT_EQ(hub->SetSerialPort(3), S_OK);
    EXPECT_EQ(loop.TimerCount(), 1u);
    EXPECT_EQ(transport->log.lines(), (std::vector<std::string>{Call("setSerialPort", std::int16_t{2}),
                                                                Call("setSerialPort", std::int16_t{3})}));
    // Attaching the site again restarts the heartbeat's phase but must not orphan the timer.
    hub->AttachConfigData(&site);
    EXPECT_EQ(hub->SetSerialPort(3), S_OK);
    EXPECT_EQ(loop.TimerCount(), 1u);
    hub->StopHeartbeatTimer();
    EXPECT_EQ(loop.TimerCount(), 0u);
}

TEST(AHubOnTheServiceLoop, ProbesOnTheSecondTimerMessage)
{
    auto clock = std::make_shared<ManualLoopClock>(100000);
    ServiceLoop loop(clock);
    auto transport = std::make_shared<fakes::RecordingTransport>();
    auto hub = std::make_shared<services::OrvexComms>(loop, transport);
    hub->AttachConfigData(nullptr);
    ASSERT_TRUE(loop.Start());
    const auto advance = [&](std::uint64_t ms) {
        loop.Invoke([&] {
            clock->Advance(ms);
            return S_OK;
        });
        loop.Invoke([] { return S_OK; }); // the due timers run before this call
    };
    loop.Invoke([&] { return hub->SetSerialPort(1); });
    advance(1000);
    EXPECT_EQ(transport->log.lines(), std::vector<std::string>{Call("setSerialPort", std::int16_t{1})});
    advance(1000);
    EXPECT_EQ(transport->log.lines(), (std::vector<std::string>{Call("setSerialPort", std::int16_t{1}),
                                                                Call("RequestHeartbeat"), Call("setDefault")}));
    loop.Quit();
    loop.Join();
}

// A command that keeps the unit busy holds the heartbeat off from its own start, also when it
// comes before the first timer message has placed the first check (a send right after the
// service started): no probe, so no OrvexOffline, while the unit is busy.
TEST(AHubOnTheServiceLoop, HoldsABusyDelayThatComesBeforeTheFirstTimerMessage)
{
    for (const BusyCommand &row : busyCommands()) {
        SCOPED_TRACE(row.name);
        auto clock = std::make_shared<ManualLoopClock>(100000);
        ServiceLoop loop(clock);
        auto transport = std::make_shared<fakes::RecordingTransport>();
        auto hub = std::make_shared<services::OrvexComms>(loop, transport);
        auto status = std::make_shared<fakes::RecordingCommsSink>();
        fakes::RecordingSite site;
        hub->AttachConfigData(&site);
        std::uint32_t cookie = 0;
        hub->AdviseCommsEvents(status, &cookie);
        ASSERT_TRUE(loop.Start());
        std::uint64_t elapsed = 0; // since the command
        const auto advance = [&](std::uint64_t ms) {
            loop.Invoke([&] {
                clock->Advance(ms);
                return S_OK;
            });
            loop.Invoke([] { return S_OK; }); // the due timers run before this call
            elapsed += ms;
        };
        const auto probes = [&] {
            const auto lines = transport->log.lines();
            return std::count(lines.begin(), lines.end(), Call("RequestHeartbeat"));
        };
        loop.Invoke([&] { return hub->SetSerialPort(1); });
        advance(500); // the first timer message is half a second away
        elapsed = 0;
        loop.Invoke([&] { return row.command(*hub); });
        advance(500);
        while (elapsed + 1000 <= row.busyMs) {
            advance(1000);
            ASSERT_EQ(probes(), 0) << elapsed << " ms after the command";
        }
        EXPECT_EQ(status->log.lines(), std::vector<std::string>{});
        advance(1000);
        EXPECT_EQ(probes(), 1) << elapsed << " ms after the command";
        loop.Quit();
        loop.Join();
    }
}

// ---- commands ----

struct CommandRow
{
    const char *name;
    std::function<HRESULT(services::OrvexComms &)> command;
    std::vector<std::string> sent;
    std::vector<std::string> site;
};

class AHubCommand : public AHubHeartbeat
{
};

TEST_F(AHubCommand, SendsEachCommandAsOneMessage)
{
    const std::vector<CommandRow> rows{
        {"ReadDataFromOrvex", [](auto &h) { return h.ReadDataFromOrvex(); }, {}, {Call("RequestSiteFromUnit")}},
        {"ClearOrvexMemory", [](auto &h) { return h.ClearOrvexMemory(); }, {Call("ClearMemory"), Call("setDefault")}, {}},
        {"ToggleDebug", [](auto &h) { return h.ToggleDebug(7); }, {Call("ToggleDebug", std::int16_t{7}), Call("setDefault")}, {}},
        {"ClearResetCount", [](auto &h) { return h.ClearResetCount(); }, {Call("ClearResetCount"), Call("setDefault")}, {}},
        {"SendCurrentSiteToOrvex", [](auto &h) { return h.SendCurrentSiteToOrvex(); }, {}, {Call("SendCurrentSite")}},
        {"RequestResetCount", [](auto &h) { return h.RequestResetCount(); }, {Call("RequestResetCount"), Call("setDefault")}, {}},
        {"RequestSystemDiagnostics", [](auto &h) { return h.RequestSystemDiagnostics(); }, {}, {}},
        {"RequestTaskDiagnostics", [](auto &h) { return h.RequestTaskDiagnostics(); }, {Call("RequestTaskDiagnostics"), Call("setDefault")}, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        transport->log.clear();
        site.log.clear();
        EXPECT_EQ(row.command(*hub), S_OK);
        EXPECT_EQ(transport->log.lines(), row.sent);
        EXPECT_EQ(site.log.lines(), row.site);
    }
}

// The message would otherwise go without its byte, or with another time.
TEST_F(AHubCommand, SendsNoDebugToggleWhoseTimeItsByteWouldNotGiveBack)
{
    for (const std::int16_t time : {256, -129}) {
        SCOPED_TRACE(time);
        transport->log.clear();
        status->log.clear();
        EXPECT_EQ(hub->ToggleDebug(time), E_INVALIDARG);
        EXPECT_EQ(transport->log.lines(), std::vector<std::string>{});
        EXPECT_EQ(status->log.lines(),
                  std::vector{Call("GotMessage", "Warning: Toggle debug: time " + std::to_string(time)
                                                     + " is outside -128 to 255; not sent")});
    }
    transport->log.clear();
    EXPECT_EQ(hub->ToggleDebug(255), S_OK);
    EXPECT_EQ(transport->log.lines(),
              (std::vector{Call("ToggleDebug", std::int16_t{255}), Call("setDefault")}));
}

TEST_F(AHubCommand, PostponesTheHeartbeatByEachCommandsBusyTime)
{
    for (const BusyCommand &row : busyCommands()) {
        SCOPED_TRACE(row.name);
        hub->AttachConfigData(&site);
        tickAt(1000); // last check 0, interval 1000
        row.command(*hub);
        EXPECT_EQ(tickAt(1000 + row.busyMs), kNothing);
        EXPECT_EQ(tickAt(1001 + row.busyMs), kProbe);
    }
}

TEST(AHubWithoutTransport, RefusesEveryCommandAndSendsNothing)
{
    ServiceLoop loop;
    services::OrvexComms hub(loop, nullptr);
    fakes::RecordingSite site;
    hub.AttachConfigData(&site);
    EXPECT_EQ(hub.SetSerialPort(1), E_POINTER);
    EXPECT_EQ(loop.TimerCount(), 0u);
    EXPECT_EQ(hub.ReadDataFromOrvex(), E_POINTER);
    EXPECT_EQ(hub.ClearOrvexMemory(), E_POINTER);
    EXPECT_EQ(hub.ToggleDebug(1), E_POINTER);
    EXPECT_EQ(hub.ClearResetCount(), E_POINTER);
    EXPECT_EQ(hub.SendCurrentSiteToOrvex(), E_POINTER);
    EXPECT_EQ(hub.RequestResetCount(), E_POINTER);
    EXPECT_EQ(hub.RequestSystemDiagnostics(), E_POINTER);
    EXPECT_EQ(hub.RequestTaskDiagnostics(), E_POINTER);
    EXPECT_EQ(site.log.size(), 0u);
    EXPECT_NE(hub.AdviseTransportEvents(), S_OK);
}

TEST_F(AHubCommand, FailsWhenTheTransportGivesNoMessage)
{
    transport->giveNoDefault = true;
    EXPECT_EQ(hub->ClearResetCount(), E_POINTER);
    EXPECT_EQ(transport->log.size(), 0u);
}

TEST_F(AHubCommand, SubscribesToTheTransportOnceAndLeavesWhenDestroyed)
{
    EXPECT_EQ(hub->AdviseTransportEvents(), S_OK);
    EXPECT_EQ(hub->AdviseTransportEvents(), S_OK);
    EXPECT_EQ(transport->subscriberCount(), 1u);
    hub.reset();
    EXPECT_EQ(transport->subscriberCount(), 0u);
}

TEST_F(AHubCommand, ReportsARefusedTransportSubscription)
{
    transport->adviseResult = CONNECT_E_CANNOTCONNECT;
    EXPECT_EQ(hub->AdviseTransportEvents(), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(transport->subscriberCount(), 0u);
}

} // namespace
