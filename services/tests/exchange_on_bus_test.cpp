// A site send or read on the real service, with the simulated unit at its port: the caller waits
// for its answer, while another client and the unit's reports are served meanwhile; a stop waits
// for a send under way.
#include "bus_test_support.h"

#include "platform/hresult.h"
#include "platform/install_folder.h"
#include "platform/profile_file.h"
#include "support/tests/time_scale.h"
#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_tables.h"

#include <atomic>
#include <string>

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
    // The type of every new frame from the PC since the last clear of the memory, that one first.
    [[nodiscard]] std::string sinceTheClear() const
    {
        const std::string types = m_unit.receivedTypes();
        const std::size_t clear = types.rfind('x');
        return clear == std::string::npos ? std::string() : types.substr(clear);
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
// wait: the send runs to its end first (the rest of its wait, then every table until the unit
// has taken it), the command behind it is refused at once, and the service then ends cleanly.
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
        ProfileFile(JoinPath(bus.installDir().string(), kSettingsFileName)).writeInt("OrvexServices", "TraceLevel", 3);
        bustest::Child service({ORVEX_SERVICES_PROGRAM}, bus.env(), true);
        auto watcher = bus.connect();
        ASSERT_TRUE(waitUntil([&] { return !bus.ownerOf(*watcher, kService).empty(); }));

        auto caller = bus.connect();
        const sdbus::ObjectPath data = rootGetter(*caller, "getOrvexConfigData");
        ASSERT_EQ(S_OK, callHr(*caller, data, "org.orvex.IOrvexConfigData", "InitializeStorage"));
        // Four devices and four dispensers: tasks, configuration, events, then each dispenser's
        // map and presets.
        const std::string tables = "TTTTGEMCMCMCMC";
        auto site = sdbus::createProxy(*caller, kService, data);
        std::int32_t hr = E_FAIL;
        for (const char *member : {"NewSite", "LoadSite"}) {
            site->callMethod(member).onInterface("org.orvex.IOrvexConfigData").withArguments(std::string("Forecourt"))
                .storeResultsTo(hr);
            ASSERT_EQ(S_OK, hr) << member;
        }
        sdbus::ObjectPath devicesPath, dispensersPath;
        site->callMethod("RetrieveDevice").onInterface("org.orvex.IOrvexConfigData").storeResultsTo(hr, devicesPath);
        site->callMethod("RetrieveDispenser").onInterface("org.orvex.IOrvexConfigData")
            .storeResultsTo(hr, dispensersPath);
        auto devices = sdbus::createProxy(*caller, kService, devicesPath);
        auto dispensers = sdbus::createProxy(*caller, kService, dispensersPath);
        for (std::int16_t i = 1; i <= 4; ++i) {
            std::int16_t index = 0;
            devices->callMethod("Append").onInterface("org.orvex.IDeviceData").storeResultsTo(hr, index);
            ASSERT_EQ(S_OK, hr);
            dispensers->callMethod("NewDispenser").onInterface("org.orvex.IDispenserData").withArguments(i)
                .storeResultsTo(hr, index);
            ASSERT_EQ(S_OK, hr);
        }

        auto comms = sdbus::createProxy(*caller, kService, rootGetter(*caller, "getOrvexComms"));
        caller->enterEventLoopAsync();
        std::atomic<std::int32_t> sent{E_FAIL};
        std::atomic<bool> sendAnswered{false}, clearRefused{false};
        comms->callMethodAsync("SendCurrentSiteToOrvex").onInterface("org.orvex.IOrvexComms").uponReplyInvoke(
            [&](const sdbus::Error *error, std::int32_t result) {
                sent = error == nullptr ? result : E_FAIL;
                sendAnswered = true;
            });
        comms->callMethodAsync("ClearOrvexMemory").onInterface("org.orvex.IOrvexComms").uponReplyInvoke(
            [&](const sdbus::Error *error, std::int32_t) {
                clearRefused = error != nullptr && error->getName() == "org.freedesktop.DBus.Error.NoReply";
            });
        ASSERT_TRUE(waitUntil([&] { return unit.hasReceived('x'); }));

        const auto ending = Clock::now();
        if (row.callerLeaves) {
            caller->leaveEventLoop();
            comms.reset();
            devices.reset();
            dispensers.reset();
            site.reset();
            caller.reset();
        } else {
            ::kill(service.pid(), SIGTERM);
            EXPECT_TRUE(waitUntil([&] { return clearRefused.load(); }, scaled(2s)));
            EXPECT_FALSE(sendAnswered) << "the command behind the send waited for it";
        }
        const int status = service.wait();
        const auto stopTook = Clock::now() - ending;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        // The stop took the rest of the send's 10 s wait and its tables' time on the line.
        EXPECT_GE(stopTook, 8s);
        EXPECT_LT(stopTook, scaled(30s));
        // The tables, each taken by the unit before the service ended (the unit logs a frame
        // before it acknowledges it).
        EXPECT_EQ(unit.sinceTheClear(), "x" + tables);
        if (!row.callerLeaves) {
            EXPECT_TRUE(sendAnswered);
            EXPECT_EQ(S_OK, sent);
            caller->leaveEventLoop();
        }
        const std::string trace = bus.serviceTrace();
        EXPECT_NE(trace.find("Stopping after the site download"), std::string::npos) << trace;
        EXPECT_NE(trace.find("Stopping: the site download has ended"), std::string::npos) << trace;
    }
}

} // namespace
