// The service as clients in other processes see it: activation by the first call, one root for
// every client, every object at its path from the start, a failed construction answered on
// every call, clients that crash, the end of a plain server with its last client, and the trace
// of a failing port.
#include "bus_test_support.h"

#include "platform/hresult.h"
#include "support/tests/scoped_temp_folder.h"
#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_tables.h"
#include "transport/link_protocol_thread.h"

#include <atomic>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>

namespace {

using bustest::PrivateBus;
using bustest::waitUntil;

constexpr const char *kService = "org.orvex.OrvexServices";
constexpr const char *kRoot = "/org/orvex/Orvex";

std::tuple<int32_t, sdbus::ObjectPath> callGetter(sdbus::IConnection &connection, const std::string &path,
                                                  const std::string &iface, const std::string &method)
{
    auto proxy = sdbus::createProxy(connection, kService, path);
    std::tuple<int32_t, sdbus::ObjectPath> answer;
    proxy->callMethod(method).onInterface(iface).storeResultsTo(std::get<0>(answer), std::get<1>(answer));
    return answer;
}

std::tuple<int32_t, sdbus::ObjectPath> rootGetter(sdbus::IConnection &connection, const std::string &method)
{
    return callGetter(connection, kRoot, "org.orvex.IOrvex", method);
}

TEST(AServiceOnTheBus, IsStartedByTheFirstCallAndGivesEveryClientTheSameRoot)
{
    PrivateBus bus;
    auto first = bus.connect();
    auto second = bus.connect();
    EXPECT_EQ("", bus.ownerOf(*first, kService));

    const auto [hr1, comms1] = rootGetter(*first, "getOrvexComms");
    const auto [hr2, comms2] = rootGetter(*second, "getOrvexComms");
    EXPECT_EQ(S_OK, hr1);
    EXPECT_EQ(S_OK, hr2);
    EXPECT_EQ("/org/orvex/OrvexComms", comms1);
    EXPECT_EQ(comms1, comms2);
    const auto [hrData, data] = rootGetter(*second, "getOrvexConfigData");
    EXPECT_EQ(S_OK, hrData);
    EXPECT_EQ("/org/orvex/OrvexConfigData", data);
    const auto [hrBridge, bridge] = rootGetter(*first, "getRecorderBridge");
    EXPECT_EQ(S_OK, hrBridge);
    const auto [hrFuelling, fuelling] = callGetter(*first, bridge, "org.orvex.IOrvexInterface", "getFuellingInterface");
    EXPECT_EQ(S_OK, hrFuelling);
    EXPECT_EQ("/org/orvex/RecorderBridge/Fuelling", fuelling);
}

TEST(AServiceOnTheBus, AnswersEveryRootCallWithTheStoredFailureWhenTheBridgeHasNoRules)
{
    PrivateBus bus(false);
    auto client = bus.connect();
    for (const char *getter :
         {"getOrvexConfigData", "getOrvexComms", "getCameraCtrl", "getRecorderBridge", "getDVRTestInterface"}) {
        const auto [hr, path] = rootGetter(*client, getter);
        EXPECT_EQ(E_POINTER, hr) << getter;
        EXPECT_EQ("/", path) << getter;
    }
    // The name stays owned: a second client gets the same answer from the same process.
    auto other = bus.connect();
    const std::string owner = bus.ownerOf(*client, kService);
    EXPECT_EQ(E_POINTER, std::get<0>(rootGetter(*other, "getOrvexComms")));
    EXPECT_EQ(owner, bus.ownerOf(*other, kService));
    EXPECT_NE(std::string::npos, bus.serviceTrace().find("Error Registering Services Pointer with Recorder Bridge: "))
        << bus.serviceTrace();
}

TEST(AServiceOnTheBus, KeepsServingWhenAClientCrashesMidCall)
{
    PrivateBus bus;
    auto client = bus.connect();
    ASSERT_EQ(S_OK, std::get<0>(rootGetter(*client, "getOrvexComms")));
    const std::string owner = bus.ownerOf(*client, kService);

    const pid_t child = ::fork();
    if (child == 0) {
        // Sends calls and dies before any reply can reach it.
        auto doomed = sdbus::createSessionBusConnectionWithAddress(bus.address());
        auto proxy = sdbus::createProxy(*doomed, kService, kRoot);
        for (int i = 0; i < 20; ++i) {
            auto call = proxy->createMethodCall("org.orvex.IOrvex", "getRecorderBridge");
            proxy->callMethod(call, [](sdbus::MethodReply &, const sdbus::Error *) {}, std::chrono::seconds(5));
        }
        ::_exit(3);
    }
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));

    const auto [hr, path] = rootGetter(*client, "getCameraCtrl");
    EXPECT_EQ(S_OK, hr);
    EXPECT_EQ("/org/orvex/CameraCtrl", path);
    EXPECT_EQ(owner, bus.ownerOf(*client, kService));
}

// A plain server ends with its last client, but only once no other has come for a few seconds: a
// client that calls right after the last one has left is served by the same service, which ends
// that grace after this one has left too.
TEST(AServiceOnTheBus, EndsWhenItsLastClientHasBeenGoneForTheGrace)
{
    constexpr auto kGrace = std::chrono::seconds(5);
    PrivateBus bus;
    auto watcher = bus.connect();
    auto first = bus.connect();
    auto second = bus.connect();
    ASSERT_EQ(S_OK, std::get<0>(rootGetter(*first, "getOrvexComms")));
    ASSERT_EQ(S_OK, std::get<0>(rootGetter(*second, "getDVRTestInterface")));
    const std::string owner = bus.ownerOf(*watcher, kService);
    ASSERT_FALSE(owner.empty());

    first.reset();
    const std::string secondName = second->getUniqueName();
    second.reset();
    // The bus has seen the last client go, and has told the service.
    ASSERT_TRUE(waitUntil([&] { return bus.ownerOf(*watcher, secondName).empty(); }));
    auto third = bus.connect();
    EXPECT_EQ(S_OK, std::get<0>(rootGetter(*third, "getCameraCtrl")));
    EXPECT_EQ(owner, bus.ownerOf(*watcher, kService));

    const auto leaving = std::chrono::steady_clock::now();
    third.reset();
    ASSERT_TRUE(waitUntil([&] { return bus.ownerOf(*watcher, kService).empty(); }, scaled(kGrace * 4)));
    EXPECT_GE(std::chrono::steady_clock::now() - leaving, kGrace);
}

// A call that reaches the service while it ends is answered: by that service when the bus brought
// it there before the service gave up its name, else by the service the call starts anew.
TEST(AServiceOnTheBus, AnswersEveryCallThatComesWhileItEnds)
{
    PrivateBus bus;
    auto watcher = bus.connect();
    ASSERT_EQ(S_OK, std::get<0>(rootGetter(*watcher, "getOrvexComms")));
    const std::string owner = bus.ownerOf(*watcher, kService);
    const pid_t pid = PrivateBus::pidOf(*watcher, kService);
    ASSERT_GT(pid, 0);

    std::atomic<bool> stopCalling{false};
    std::atomic<int> answers{0};
    std::vector<std::string> failures; // the caller's thread only, until it is joined
    std::thread caller([&] {
        auto connection = bus.connect();
        while (!stopCalling) {
            try {
                const auto [hr, path] = rootGetter(*connection, "getCameraCtrl");
                if (hr != S_OK)
                    failures.push_back("getCameraCtrl answered " + std::to_string(hr));
            } catch (const sdbus::Error &error) {
                failures.push_back(error.getName() + ": " + error.getMessage());
            }
            ++answers;
        }
    });
    EXPECT_TRUE(waitUntil([&] { return answers > 20; }));
    ASSERT_EQ(0, ::kill(pid, SIGTERM));
    EXPECT_TRUE(waitUntil([&] { return bus.ownerOf(*watcher, kService) != owner; }));
    const int before = answers;
    // The calls go on to the service they started anew.
    EXPECT_TRUE(waitUntil([&] { return answers > before + 20; }, scaled(std::chrono::seconds(30))));
    stopCalling = true;
    caller.join();
    EXPECT_NE(owner, bus.ownerOf(*watcher, kService));
    EXPECT_TRUE(failures.empty()) << failures.size() << " calls failed, the first: " << failures.front();
}

// A service on the same install folder as one that is still running (started by the bus while
// that one ends, or by hand) waits for it to end before it builds anything, so that the two never
// hold the unit's port at once; then it takes the name.
TEST(AServiceOnTheBus, WaitsForTheServiceBeforeItToEnd)
{
    PrivateBus bus;
    auto client = bus.connect();
    ASSERT_EQ(S_OK, std::get<0>(rootGetter(*client, "getOrvexComms")));
    const pid_t before = PrivateBus::pidOf(*client, kService);
    ASSERT_GT(before, 0);

    bustest::Child next({ORVEX_SERVICES_PROGRAM}, bus.env(), false);
    // Long enough for it to have built its root and asked for the name in vain, had it not
    // waited; well within the 10 s it waits at most.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    ASSERT_EQ(0, ::kill(before, SIGTERM));
    EXPECT_TRUE(waitUntil([&] { return PrivateBus::pidOf(*client, kService) == next.pid(); }));
    EXPECT_EQ(S_OK, std::get<0>(rootGetter(*client, "getCameraCtrl")));
}

// A recorder listens at the path it knows, before any getter is called: the service's objects are
// all on the bus from the start, and a service started again puts them at the same paths.
TEST(AServiceOnTheBus, DeliversEventsToASubscriberByPathFromTheStartAndAfterARestart)
{
    PrivateBus bus;
    bustest::FuellingDeliveries deliveries(bus);

    auto tester = bus.connect();
    // The first call starts the service; it goes to the test generator's path, not to a getter.
    const auto fire = [&] {
        auto generator = sdbus::createProxy(*tester, kService, "/org/orvex/DVRTest");
        std::int32_t hr = E_FAIL;
        generator->callMethod("PumpDeliveryStart").onInterface("org.orvex.IDVRTest").storeResultsTo(hr);
        return hr;
    };
    ASSERT_EQ(S_OK, fire());
    ASSERT_TRUE(waitUntil([&] { return deliveries.count() == 1; }));

    const pid_t pid = PrivateBus::pidOf(*tester, kService);
    ASSERT_GT(pid, 0);
    ASSERT_EQ(0, ::kill(pid, SIGTERM));
    ASSERT_TRUE(waitUntil([&] { return bus.ownerOf(*tester, kService).empty(); }));

    ASSERT_EQ(S_OK, fire());
    EXPECT_TRUE(waitUntil([&] { return deliveries.count() == 2; }));
}

// Each failure of the serial port is one error line in the service's trace, with the system's
// text for its cause: a device that is not there, and a unit that goes away.
TEST(AServiceOnTheBus, TracesEveryPortFailureWithItsCause)
{
    struct Row
    {
        const char *legend;
        bool unitGoesAway;
        const char *cause;
    };
    for (const Row &row : {Row{"no device", false, "No such file or directory"},
                           Row{"unit gone", true, "Input/output error"}}) {
        SCOPED_TRACE(row.legend);
        unitsim::UnitTables tables;
        auto unit = std::make_unique<unitsim::UnitLink>();
        unit->SetHandler(tables.handler());
        unit->Start();
        // The service reaches the unit through a link of the test's own: once the unit has gone,
        // the number of its pseudo-terminal is free, and a test running alongside may take it
        // for a unit of its own, which the service must not open in its place.
        ScopedTempFolder folder("orvex-port");
        const std::filesystem::path device = folder / "unit";
        std::filesystem::create_symlink(unit->slavePath(), device);
        PrivateBus bus(true, row.unitGoesAway ? device.string() : std::string());
        auto client = bus.connect();
        const auto [hr, comms] = rootGetter(*client, "getOrvexComms");
        ASSERT_EQ(S_OK, hr);
        if (row.unitGoesAway) {
            ASSERT_TRUE(waitUntil([&] { return unit->stats().framesReceived > 0; })) << "the port never opened";
            std::filesystem::remove(device);
            unit.reset();
        }
        // Lines of port failures only: while the unit was there, a stall of its thread longer
        // than the link's four writes may have added a line for a frame given up.
        const auto lines = [&] {
            const std::string trace = bus.serviceTrace();
            const std::string line = "[ERROR]   Comms Error on Port 1: ";
            const std::string_view givenUp = transport::LinkProtocolThread::kNoAcknowledgementText;
            std::size_t count = 0;
            for (auto at = trace.find(line); at != std::string::npos; at = trace.find(line, at + 1))
                count += trace.compare(at + line.size(), givenUp.size(), givenUp) != 0;
            return count;
        };
        ASSERT_TRUE(waitUntil([&] { return lines() >= 1; })) << bus.serviceTrace();
        EXPECT_NE(std::string::npos, bus.serviceTrace().find(std::string("Comms Error on Port 1: ") + row.cause))
            << bus.serviceTrace();

        // Setting the port again fails again (the device is missing, or went with the unit).
        auto proxy = sdbus::createProxy(*client, kService, comms);
        std::int32_t again = E_FAIL;
        proxy->callMethod("SetSerialPort").onInterface("org.orvex.IOrvexComms").withArguments(std::int16_t{1})
            .storeResultsTo(again);
        ASSERT_EQ(S_OK, again);
        ASSERT_TRUE(waitUntil([&] { return lines() >= 2; })) << bus.serviceTrace();
        EXPECT_EQ(2u, lines()) << bus.serviceTrace();
    }
}

} // namespace

namespace {

// Receives what the service tells systemd, as systemd's notify socket would.
class NotifySocket
{
public:
    explicit NotifySocket(const std::string &path) : m_path(path)
    {
        m_fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
        ::unlink(path.c_str());
        EXPECT_EQ(0, ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address));
    }
    ~NotifySocket()
    {
        ::close(m_fd);
        ::unlink(m_path.c_str());
    }
    // The next state line, or empty after `timeoutMs`.
    std::string next(int timeoutMs = 20000)
    {
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) != 1)
            return {};
        char buffer[512];
        const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
        return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
    }

private:
    std::string m_path;
    int m_fd = -1;
};

TEST(AServiceOnTheBus, StartedByHandStopsOnSigterm)
{
    PrivateBus bus;
    bustest::Child service({ORVEX_SERVICES_PROGRAM}, bus.env(), true);
    auto watcher = bus.connect();
    ASSERT_TRUE(waitUntil([&] { return !bus.ownerOf(*watcher, kService).empty(); }));
    std::string line;
    ASSERT_TRUE(service.readLine(line));
    EXPECT_EQ("Service started", line);

    const int status = service.stop(SIGTERM);
    EXPECT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(0, WEXITSTATUS(status));
    EXPECT_EQ("", bus.ownerOf(*watcher, kService));
}

TEST(AServiceOnTheBus, UnderSystemdReportsReadyOutlivesItsClientsAndReportsStopping)
{
    PrivateBus bus;
    const std::string socketPath = (bus.installDir() / "notify").string();
    NotifySocket notify(socketPath);
    auto env = bus.env();
    env["NOTIFY_SOCKET"] = socketPath;
    bustest::Child service({ORVEX_SERVICES_PROGRAM}, env, false);
    EXPECT_EQ("READY=1", notify.next());

    {
        auto client = bus.connect();
        ASSERT_EQ(S_OK, std::get<0>(rootGetter(*client, "getOrvexComms")));
    }
    auto watcher = bus.connect();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(bus.ownerOf(*watcher, kService).empty());

    ::kill(service.pid(), SIGTERM);
    EXPECT_EQ("STOPPING=1", notify.next());
    const int status = service.wait();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

} // namespace
