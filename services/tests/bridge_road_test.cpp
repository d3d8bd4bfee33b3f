// The recorder bridge behind the hub: subscribed to the hub's recorder events through its
// IOrvexComponent, as the service host wires it, with the transport's events fired from a
// dispatcher thread as the transport would.

#include "bridge_fixture.h"
#include "services/dvr_test.h"
#include "services/orvex_comms.h"

#include <gtest/gtest.h>

#include <regex>

using fakes::Call;

namespace {

using i16 = std::int16_t;

class ABridgeBehindTheHub : public ::testing::Test
{
protected:
    ABridgeBehindTheHub()
    {
        loop.Start();
        EXPECT_EQ(recorder_bridge::CreateOrvexInterface(&bridge), S_OK);
        auto component = std::dynamic_pointer_cast<recorder_bridge::IOrvexComponent>(bridge);
        EXPECT_TRUE(component);
        loop.Invoke([&] {
            hub->AttachConfigData(nullptr);
            component->RegisterServices(hub);
            return hub->AdviseTransportEvents();
        });
        std::shared_ptr<recorder_bridge::IFuelling> fuelling;
        EXPECT_EQ(bridge->getFuellingInterface(&fuelling), S_OK);
        std::uint32_t cookie = 0;
        EXPECT_EQ(fuelling->Advise(recorder, &cookie), S_OK);
    }
    ~ABridgeBehindTheHub() override
    {
        loop.Quit();
        loop.Join();
        bridge.reset();
        hub.reset();
    }

    fakes::InstallFolderWithRules folder{"orvex-bridge-hub"};
    ServiceLoop loop;
    std::shared_ptr<fakes::RecordingTransport> transport = std::make_shared<fakes::RecordingTransport>();
    std::shared_ptr<services::OrvexComms> hub = std::make_shared<services::OrvexComms>(loop, transport);
    std::shared_ptr<recorder_bridge::IOrvexInterface> bridge;
    std::shared_ptr<fakes::RecordingFuelling> recorder = std::make_shared<fakes::RecordingFuelling>();
};

TEST_F(ABridgeBehindTheHub, TurnsAPumpDeliveryStartIntoOnStartFuelDelivery)
{
    std::thread dispatcher([this] {
        transport->fire([](transport::IOrvexTransportEvents &e) { e.OnPumpEvent(4, 3, 1, 2); });
    });
    dispatcher.join();
    ASSERT_TRUE(fakes::waitUntil([&] { return recorder->log.size() >= 1; }));
    EXPECT_EQ(recorder->log.lines(),
              std::vector<std::string>{Call("OnStartFuelDelivery", i16{3}, i16{4}, "Delivery Start", i16{2})});
    EXPECT_TRUE(std::regex_match(recorder->timestamp(), std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)")))
        << recorder->timestamp();
    EXPECT_GE(recorder->sequence(), 0);
}

TEST_F(ABridgeBehindTheHub, GetsTheTestGeneratorsDeliveryStartToo)
{
    loop.Invoke([this] {
        return services::DVRTest(hub).PumpDeliveryStart();
    });
    ASSERT_TRUE(fakes::waitUntil([&] { return recorder->log.size() >= 1; }));
    EXPECT_EQ(recorder->log.lines(),
              std::vector<std::string>{Call("OnStartFuelDelivery", i16{1}, i16{4}, "Delivery Start", i16{1})});
}

} // namespace
