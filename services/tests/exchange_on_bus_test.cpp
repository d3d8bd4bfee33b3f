// A site send or read on the real service, with the simulated unit at its port: the caller waits
// for its answer, while another client and the unit's reports are served meanwhile; a stop waits
// for a send under way.
#include "bus_test_support.h"

#include "platform/hresult.h"
#include "platform/install_folder.h"
#include "platform/profile_file.h"
#include "services/command_turns.h"
#include "services/unit_site_exchange.h"
#include "support/tests/time_scale.h"
#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_tables.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <string_view>

#include <sys/wait.h>

namespace {

using bustest::PrivateBus;
using services::CommandTurns;
using services::UnitSiteExchange;
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
    [[nodiscard]] std::string receivedTypes() const { return m_unit.receivedTypes(); }
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
    // When the unit took its last clear, and how long after it the first table.
    [[nodiscard]] std::optional<Clock::duration> clearToFirstTable() const
    {
        const auto receipts = unitsim::lastReceiptThenNext(m_unit.log(), 'x', kTableTypes);
        if (!receipts || !receipts->next)
            return std::nullopt;
        return *receipts->next - receipts->first;
    }
    // The frames of a site the unit received since its last clear, in order, and the camera
    // commands among them.
    [[nodiscard]] std::string tablesSinceTheClear() const
    {
        std::string tables;
        for (const char type : sinceTheClear())
            if (type == 'p' || std::string_view(kTableTypes).find(type) != std::string_view::npos)
                tables.push_back(type);
        return tables;
    }

    static constexpr const char *kTableTypes = "TGEPMC";

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

// Loads a site of four devices and four dispensers; returns the tables the unit receives after
// the clear: tasks, configuration, events, then each dispenser's map and presets.
std::string loadSiteOfFour(sdbus::IConnection &caller)
{
    const sdbus::ObjectPath data = rootGetter(caller, "getOrvexConfigData");
    EXPECT_EQ(S_OK, callHr(caller, data, "org.orvex.IOrvexConfigData", "InitializeStorage"));
    auto site = sdbus::createProxy(caller, kService, data);
    std::int32_t hr = E_FAIL;
    for (const char *member : {"NewSite", "LoadSite"}) {
        site->callMethod(member).onInterface("org.orvex.IOrvexConfigData").withArguments(std::string("Forecourt"))
            .storeResultsTo(hr);
        EXPECT_EQ(S_OK, hr) << member;
    }
    sdbus::ObjectPath devicesPath, dispensersPath;
    site->callMethod("RetrieveDevice").onInterface("org.orvex.IOrvexConfigData").storeResultsTo(hr, devicesPath);
    site->callMethod("RetrieveDispenser").onInterface("org.orvex.IOrvexConfigData").storeResultsTo(hr, dispensersPath);
    auto devices = sdbus::createProxy(caller, kService, devicesPath);
    auto dispensers = sdbus::createProxy(caller, kService, dispensersPath);
    for (std::int16_t i = 1; i <= 4; ++i) {
        std::int16_t index = 0;
        devices->callMethod("Append").onInterface("org.orvex.IDeviceData").storeResultsTo(hr, index);
        EXPECT_EQ(S_OK, hr);
        dispensers->callMethod("NewDispenser").onInterface("org.orvex.IDispenserData").withArguments(i)
            .storeResultsTo(hr, index);
        EXPECT_EQ(S_OK, hr);
    }
    return "TTTTGEMCMCMCMC";
}

// Sends `count` camera position commands, one call after the other; the result of the last.
std::int32_t steerCamera(sdbus::IConnection &client, int count)
{
    auto camera = sdbus::createProxy(client, kService, rootGetter(client, "getCameraCtrl"));
    std::int32_t hr = E_FAIL;
    for (int i = 0; i < count; ++i)
        camera->callMethod("GoToPTZCoords").onInterface("org.orvex.ICameraCtrl").withArguments(10.0, 20.0, 1.0)
            .storeResultsTo(hr);
    return hr;
}

// Calls SendCurrentSiteToOrvex on a connection whose event loop runs; `answered` is set with the
// answer.
void sendSite(sdbus::IProxy &comms, std::atomic<bool> &answered)
{
    comms.callMethodAsync("SendCurrentSiteToOrvex").onInterface("org.orvex.IOrvexComms").uponReplyInvoke(
        [&answered](const sdbus::Error *, std::int32_t) { answered = true; });
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

        // Served within the command's wait, which the caller's answer cannot come before: a
        // stalled machine may take its time, but one that held them back would take the whole wait.
        EXPECT_EQ(comms, rootGetter(*other, "getOrvexComms"));
        EXPECT_LT(Clock::now() - called, row.wait) << "the getter waited for the exchange";
        EXPECT_FALSE(answered);

        const int before = deliveries.count();
        unit.send(unitsim::PumpEvent(4, 3, 1, 2));
        EXPECT_TRUE(waitUntil([&] { return deliveries.count() > before; }, scaled(30s)));
        EXPECT_LT(Clock::now() - called, row.wait) << "the event waited for the exchange";
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
        const std::string tables = loadSiteOfFour(*caller);

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
            caller.reset();
        } else {
            ::kill(service.pid(), SIGTERM);
            // Refused before the send, which goes on for the rest of its wait, is answered.
            EXPECT_TRUE(waitUntil([&] { return clearRefused || sendAnswered; }, scaled(30s)));
            EXPECT_TRUE(clearRefused);
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

// The unit's time to clear its memory counts from when it has taken the clear, however many
// camera commands were queued before it (each about 100 ms on the line).
TEST(AServiceOnTheBusDuringASiteExchange, CountsTheWaitAfterTheClearFromWhenTheUnitHasTakenIt)
{
    constexpr int kCameraCommands = 40;
    Unit unit;
    PrivateBus bus(true, unit.port());
    auto steering = bus.connect();
    auto caller = bus.connect();
    const std::string tables = loadSiteOfFour(*caller);
    auto comms = sdbus::createProxy(*caller, kService, rootGetter(*caller, "getOrvexComms"));
    caller->enterEventLoopAsync();

    EXPECT_EQ(S_OK, steerCamera(*steering, kCameraCommands));
    std::atomic<bool> answered{false};
    sendSite(*comms, answered);
    ASSERT_TRUE(waitUntil([&] { return answered.load(); }, scaled(60s)));
    ASSERT_TRUE(waitUntil([&] { return unit.tablesSinceTheClear() == tables; }, scaled(30s))) << unit.sinceTheClear();
    caller->leaveEventLoop();

    const std::string types = unit.receivedTypes();
    EXPECT_EQ(std::count(types.begin(), types.begin() + static_cast<std::ptrdiff_t>(types.find('x')), 'p'),
              kCameraCommands)
        << "the commands went first";
    const auto gap = unit.clearToFirstTable();
    ASSERT_TRUE(gap);
    EXPECT_GE(*gap, UnitSiteExchange::kClearMemoryWait);
}

// A stop while a second send waits behind 1,000 camera commands (as when two clients send at
// once and a third steers): the commands not yet on the line are dropped and those that come
// during the stop refused, the second send runs to its end, and the unit holds the whole site.
// What the stop left unsent is in the trace at its default level.
TEST(AServiceOnTheBusDuringASiteExchange, EndsWithTheWholeSiteOnTheUnitWhenCameraCommandsWereQueued)
{
    constexpr int kCameraCommands = 1000;
    Unit unit;
    PrivateBus bus(true, unit.port());
    bustest::Child service({ORVEX_SERVICES_PROGRAM}, bus.env(), true);
    auto first = bus.connect();
    ASSERT_TRUE(waitUntil([&] { return !bus.ownerOf(*first, kService).empty(); }));
    const std::string tables = loadSiteOfFour(*first);
    auto second = bus.connect();
    auto steering = bus.connect();
    auto firstComms = sdbus::createProxy(*first, kService, rootGetter(*first, "getOrvexComms"));
    auto secondComms = sdbus::createProxy(*second, kService, rootGetter(*second, "getOrvexComms"));
    first->enterEventLoopAsync();
    second->enterEventLoopAsync();

    std::atomic<bool> firstAnswered{false}, secondAnswered{false};
    sendSite(*firstComms, firstAnswered);
    sendSite(*secondComms, secondAnswered);
    ASSERT_TRUE(waitUntil([&] { return unit.hasReceived('x'); }));
    EXPECT_EQ(S_OK, steerCamera(*steering, kCameraCommands));
    ASSERT_TRUE(waitUntil([&] { return firstAnswered.load(); }, scaled(60s)));
    ASSERT_FALSE(secondAnswered) << "the second send waits behind the commands";

    const auto stopped = Clock::now();
    ::kill(service.pid(), SIGTERM);
    // Refused once the service has taken the signal; a command before that is dropped with the
    // others. (Not longer: a call after the service has ended would start another.)
    EXPECT_TRUE(waitUntil([&] { return steerCamera(*steering, 1) == E_ABORT; }, scaled(5s)))
        << "a camera command during the stop";
    const int status = service.wait();
    const auto stopTook = Clock::now() - stopped;
    EXPECT_TRUE(waitUntil([&] { return secondAnswered.load(); }));
    first->leaveEventLoop();
    second->leaveEventLoop();

    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_LT(stopTook, CommandTurns::kStopWaitLimit);
    EXPECT_EQ(unit.tablesSinceTheClear(), tables) << unit.sinceTheClear();
    const auto gap = unit.clearToFirstTable();
    ASSERT_TRUE(gap);
    EXPECT_GE(*gap, UnitSiteExchange::kClearMemoryWait);
    const std::string trace = bus.serviceTrace();
    EXPECT_NE(trace.find("camera commands not yet sent to the unit dropped"), std::string::npos) << trace;
    EXPECT_NE(trace.find("camera commands that came during the stop not sent"), std::string::npos) << trace;
}

} // namespace
