// The hub's inbound interfaces on the bus: a plate reader in another process reaches the
// recorder side through the hub's own path.
#include "bus_test_support.h"

#include "services/bus_context.h"
#include "services/orvex_comms.h"

namespace {

using namespace services;
using bustest::PrivateBus;
using bustest::waitUntil;

TEST(AHubOnTheBus, PassesPlateAndImageAnswersOnAsRecorderEvents)
{
    PrivateBus bus;
    ServiceLoop loop;
    ASSERT_TRUE(loop.Start());
    auto connection = sdbus::createSessionBusConnectionWithAddress(bus.address());
    const std::string serviceName = connection->getUniqueName();
    std::shared_ptr<OrvexComms> hub;
    auto recorder = std::make_shared<fakes::RecordingDVRSink>();
    std::shared_ptr<BusContext> context;
    std::string path;
    ASSERT_EQ(S_OK, loop.Invoke([&] {
        hub = std::make_shared<OrvexComms>(loop, nullptr);
        std::uint32_t cookie = 0;
        EXPECT_EQ(S_OK, hub->AdviseDVREvents(recorder, &cookie));
        context = std::make_shared<BusContext>(loop, *connection);
        context->attach();
        path = context->pathOf(std::shared_ptr<IOrvexComms>(hub));
        return S_OK;
    }));

    auto client = bus.connect();
    auto proxy = sdbus::createProxy(*client, serviceName, path);
    // A member the bus does not know is a test failure, not an exception that ends the run.
    const auto call = [&](const char *interfaceName, const char *member, const auto &...args) {
        std::int32_t hr = E_FAIL;
        try {
            proxy->callMethod(member).onInterface(interfaceName).withArguments(args...).storeResultsTo(hr);
        } catch (const sdbus::Error &error) {
            ADD_FAILURE() << member << ": " << error.getName();
        }
        return hr;
    };
    EXPECT_EQ(S_OK, call("org.orvex.ILicencePlate", "RecognizeLicencePlateNumber", std::int16_t{2}, std::int16_t{3},
                         std::int16_t{6}, std::string("AB1234"), std::string("[80,80]"),
                         std::string("2026-01-02T03:04:05")));
    EXPECT_EQ(S_OK, call("org.orvex.ILicencePlate", "CapturedWorkstationImage", std::string("One"), std::int16_t{4},
                         std::string("t1"), std::string("a.jpg"), std::int16_t{5}, std::string("t0"),
                         std::int16_t{-7}));
    EXPECT_EQ(S_OK, call("org.orvex.IDVRComms", "ImageAvailable", std::int16_t{4}, std::string("a.jpg")));

    EXPECT_TRUE(waitUntil([&] { return recorder->log.lines().size() == 2; }));
    EXPECT_EQ((std::vector<std::string>{
                  R"(OnRecognizeRegistrationNumber(2,3,6,"AB1234","[80,80]","2026-01-02T03:04:05"))",
                  R"(OnCapturedWorkstationImage("One",4,"t1","a.jpg",5,"t0",-7))"}),
              recorder->log.lines());

    (void)loop.Invoke([&] {
        context.reset();
        hub.reset();
        return S_OK;
    });
    loop.Quit();
    loop.Join();
}

} // namespace
