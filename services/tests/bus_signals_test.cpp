// Recorder events on the bus: the bridge's threads hand each event to the service thread and go
// on, so a busy service thread delays a signal but never the bridge.
#include "bus_test_support.h"

#include "services/bus_context.h"

#include <atomic>

namespace {

using namespace services;
using bustest::PrivateBus;
using bustest::waitUntil;

class FakeFuelling final : public recorder_bridge::IFuelling
{
public:
    std::shared_ptr<recorder_bridge::IFuellingEvents> sink;
    HRESULT Advise(std::shared_ptr<recorder_bridge::IFuellingEvents> s, std::uint32_t *cookie) override
    {
        sink = std::move(s);
        *cookie = 1;
        return S_OK;
    }
    HRESULT Unadvise(std::uint32_t) override
    {
        sink.reset();
        return S_OK;
    }
};

TEST(ABridgeEventOnTheBus, ReturnsToTheFiringThreadWhileTheServiceThreadIsBusy)
{
    PrivateBus bus;
    ServiceLoop loop;
    ASSERT_TRUE(loop.Start());
    auto connection = sdbus::createSessionBusConnectionWithAddress(bus.address());
    const std::string serviceName = connection->getUniqueName();
    auto fuelling = std::make_shared<FakeFuelling>();
    std::shared_ptr<BusContext> context;
    std::string path;
    ASSERT_EQ(S_OK, loop.Invoke([&] {
        context = std::make_shared<BusContext>(loop, *connection);
        context->attach();
        path = context->pathOf(std::shared_ptr<recorder_bridge::IFuelling>(fuelling));
        return S_OK;
    }));
    EXPECT_EQ("/org/orvex/RecorderBridge/Fuelling", path);
    ASSERT_NE(nullptr, fuelling->sink);

    auto listener = bus.connect();
    auto proxy = sdbus::createProxy(*listener, serviceName, path);
    std::atomic<int> received{0};
    std::string description;
    std::int16_t pump = 0;
    proxy->uponSignal("OnStartFuelDelivery").onInterface("org.orvex.IFuellingEvents")
        .call([&](const std::string &, std::int16_t, std::int16_t FuellingPositionID, std::int16_t,
                  const std::string &EventDescription, std::int16_t) {
            pump = FuellingPositionID;
            description = EventDescription;
            ++received;
        });
    proxy->finishRegistration();
    listener->enterEventLoopAsync();

    std::atomic<bool> release{false};
    std::atomic<bool> busy{false};
    loop.Post([&] {
        busy = true;
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        busy = false;
    });
    ASSERT_TRUE(waitUntil([&] { return busy.load(); }));

    EXPECT_EQ(S_OK, fuelling->sink->OnStartFuelDelivery("2026-01-02T03:04:05", 7, 3, 4, "Delivery Start", 1));
    EXPECT_TRUE(busy.load());
    EXPECT_EQ(0, received.load());

    release = true;
    EXPECT_TRUE(waitUntil([&] { return received.load() == 1; }));
    EXPECT_EQ(3, pump);
    EXPECT_EQ("Delivery Start", description);

    listener->leaveEventLoop();
    (void)loop.Invoke([&] {
        context.reset();
        return S_OK;
    });
    EXPECT_EQ(nullptr, fuelling->sink);
    loop.Quit();
    loop.Join();
}

} // namespace
