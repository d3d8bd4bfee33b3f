// A site send or read on the real service, with the simulated unit at its port: the caller waits
// for its answer, while another client and the unit's reports are served meanwhile.
#include "bus_test_support.h"

#include "platform/hresult.h"
#include "support/tests/time_scale.h"
#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_tables.h"

#include <atomic>

#include <sys/wait.h>

namespace {

using bustest::PrivateBus;
using bustest::waitUntil;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char *kService = "org.orvex.OrvexServices";
constexpr const char *kRoot = "/org/orvex/Orvex";

// The simulated unit at a port of its own.
class Unit
{
public:
    Unit()
    {
        m_unit.SetHandler(m_tables.handler());
        m_unit.Start();
    }
    [[nodiscard]] const std::string &port() const { return m_unit.slavePath(); }
    [[nodiscard]] bool hasReceived(char type) const
    {
        return m_unit.receivedTypes().find(type) != std::string::npos;
    }
    void send(unitsim::Message message) { m_unit.Send(std::move(message)); }

private:
    unitsim::UnitTables m_tables;
    unitsim::UnitLink m_unit;
};

std::int32_t callHr(sdbus::IConnection &connection, const std::string &path, const char *iface,
                    const char *member)
{
    auto proxy = sdbus::createProxy(connection, kService, path);
    std::int32_t hr = E_FAIL;
    proxy->callMethod(member).onInterface(iface).storeResultsTo(hr);
    return hr;
}

sdbus::ObjectPath rootGetter(sdbus::IConnection &connection, const char *getter)
{
    auto proxy = sdbus::createProxy(connection, kService, kRoot);
    std::int32_t hr = E_FAIL;
    sdbus::ObjectPath path;
    proxy->callMethod(getter).onInterface("org.orvex.IOrvex").storeResultsTo(hr, path);
    EXPECT_EQ(S_OK, hr) << getter;
    return path;
}

TEST(AServiceOnTheBusDuringASiteExchange, AnswersOtherClientsAndPassesUnitEventsOnWhileItsCallerWaits)
{
    Unit unit;
    PrivateBus bus(true, unit.port());

    bustest::FuellingDeliveries deliveries(bus);

    auto caller = bus.connect();
    const sdbus::ObjectPath comms = rootGetter(*caller, "getOrvexComms");
    ASSERT_EQ(S_OK, callHr(*caller, rootGetter(*caller, "getOrvexConfigData"), "org.orvex.IOrvexConfigData",
                           "InitializeStorage"));
    auto callerComms = sdbus::createProxy(*caller, kService, comms);
    caller->enterEventLoopAsync();
    auto other = bus.connect();

    struct Row
    {
        const char *member;
        std::chrono::milliseconds wait; // between the command's first and last messages
        char firstMessage;              // the type the unit receives when the command begins
    };
    for (const Row &row :
         {Row{"SendCurrentSiteToOrvex", 10000ms, 'x'}, Row{"ReadDataFromOrvex", 6000ms, 'g'}}) {
        SCOPED_TRACE(row.member);
        std::atomic<bool> answered{false};
        std::atomic<std::int32_t> answer{E_FAIL};
        const auto called = Clock::now();
        callerComms->callMethodAsync(row.member)
            .onInterface("org.orvex.IOrvexComms")
            .uponReplyInvoke([&](const sdbus::Error *error, std::int32_t hr) {
                answer = error == nullptr ? hr : E_FAIL;
                answered = true;
            });
        ASSERT_TRUE(waitUntil([&] { return unit.hasReceived(row.firstMessage); }));

        const auto started = Clock::now();
        EXPECT_EQ(comms, rootGetter(*other, "getOrvexComms"));
        EXPECT_LT(Clock::now() - started, scaled(1s)) << "the getter waited for the exchange";
        EXPECT_FALSE(answered);

        const int before = deliveries.count();
        unit.send(unitsim::PumpEvent(4, 3, 1, 2));
        EXPECT_TRUE(waitUntil([&] { return deliveries.count() > before; }, scaled(1s)))
            << "the event waited for the exchange";
        EXPECT_FALSE(answered);

        ASSERT_TRUE(waitUntil([&] { return answered.load(); }, scaled(30s)));
        EXPECT_EQ(S_OK, answer);
        EXPECT_GE(Clock::now() - called, row.wait);
    }
    caller->leaveEventLoop();
}

// A service told to stop, or left by its last client, while a send and a command queued behind it
// wait: it ends at once and cleanly, and a caller still there gets an error in place of an answer.
TEST(AServiceOnTheBusDuringASiteExchange, EndsCleanlyWithCommandsStillWaiting)
{
    struct Row
    {
        const char *legend;
        bool callerLeaves;
    };
    for (const Row &row : {Row{"stopped", false}, Row{"last client gone", true}}) {
        SCOPED_TRACE(row.legend);
        Unit unit;
        PrivateBus bus(true, unit.port());
        bustest::Child service({ORVEX_SERVICES_PROGRAM}, bus.env(), true);
        auto watcher = bus.connect();
        ASSERT_TRUE(waitUntil([&] { return !bus.ownerOf(*watcher, kService).empty(); }));

        auto caller = bus.connect();
        ASSERT_EQ(S_OK, callHr(*caller, rootGetter(*caller, "getOrvexConfigData"), "org.orvex.IOrvexConfigData",
                               "InitializeStorage"));
        auto comms = sdbus::createProxy(*caller, kService, rootGetter(*caller, "getOrvexComms"));
        caller->enterEventLoopAsync();
        std::atomic<int> errors{0};
        for (const char *member : {"SendCurrentSiteToOrvex", "ClearOrvexMemory"}) {
            comms->callMethodAsync(member).onInterface("org.orvex.IOrvexComms").uponReplyInvoke(
                [&](const sdbus::Error *error, std::int32_t) { errors += error != nullptr ? 1 : 100; });
        }
        ASSERT_TRUE(waitUntil([&] { return unit.hasReceived('x'); }));

        const auto ending = Clock::now();
        if (row.callerLeaves) {
            caller->leaveEventLoop();
            comms.reset();
            caller.reset();
        } else {
            ::kill(service.pid(), SIGTERM);
            EXPECT_TRUE(waitUntil([&] { return errors == 2; }, scaled(5s))) << errors;
        }
        const int status = service.wait();
        EXPECT_LT(Clock::now() - ending, scaled(5s));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        if (caller)
            caller->leaveEventLoop();
    }
}

} // namespace
