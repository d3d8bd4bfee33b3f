// The main road of a unit report: the simulated unit on a pseudo-terminal, the real transport,
// the service loop and the hub, then the recorder bridge subscribed through its
// IOrvexComponent.

#include "bridge_fixture.h"
#include "services/orvex_comms.h"

#include "platform/install_folder.h"
#include "platform/profile_file.h"
#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_reports.h"
#include "tools/unit-sim/unit_tables.h"
#include "transport/link_protocol_thread.h"
#include "transport/orvex_transport.h"

#include <gtest/gtest.h>

#include <regex>

using fakes::Call;

namespace {

using i16 = std::int16_t;

class AServiceOverTheSimulatedUnit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        unit = std::make_unique<unitsim::UnitLink>();
        unit->SetHandler(tables.handler());
        unit->Start();
        ProfileFile(JoinPath(folder.path().string(), kSettingsFileName))
            .writeString("Settings", "PortDevice1", unit->slavePath());

        loop.Start();
        loop.Invoke([this] {
            serviceThread = std::this_thread::get_id();
            return S_OK;
        });
        transport = std::make_shared<transport::OrvexTransport>();
        hub = std::make_shared<services::OrvexComms>(loop, transport);
        std::uint32_t cookie = 0;
        ASSERT_EQ(hub->AdviseDVREvents(recorder, &cookie), S_OK);
        ASSERT_EQ(hub->AdviseCommsEvents(status, &cookie), S_OK);
        ASSERT_EQ(recorder_bridge::CreateOrvexInterface(&bridge), S_OK);
        auto component = std::dynamic_pointer_cast<recorder_bridge::IOrvexComponent>(bridge);
        ASSERT_TRUE(component);
        std::shared_ptr<recorder_bridge::IFuelling> fuelling;
        ASSERT_EQ(bridge->getFuellingInterface(&fuelling), S_OK);
        ASSERT_EQ(fuelling->Advise(fuellingRecorder, &cookie), S_OK);
        ASSERT_EQ(loop.Invoke([&] {
            hub->AttachConfigData(nullptr);
            component->RegisterServices(hub);
            const HRESULT hr = hub->AdviseTransportEvents();
            return FAILED(hr) ? hr : hub->SetSerialPort(1);
        }),
                  S_OK);
    }

    void TearDown() override
    {
        // The loop ends first, which releases a dispatcher waiting on it; then the bridge goes,
        // the hub leaves the transport, and the transport stops its threads.
        loop.Quit();
        loop.Join();
        bridge.reset();
        hub.reset();
        transport.reset();
        unit.reset();
    }

    fakes::InstallFolderWithRules folder{"orvex-service-road"};
    unitsim::UnitTables tables;
    std::unique_ptr<unitsim::UnitLink> unit;
    // Heartbeat time moves only when a test says so.
    void advance(std::uint64_t ms)
    {
        loop.Invoke([&] {
            clock->Advance(ms);
            return S_OK;
        });
        loop.Invoke([] { return S_OK; }); // the due timers run before this call
    }

    std::shared_ptr<ManualLoopClock> clock = std::make_shared<ManualLoopClock>(1000000);
    ServiceLoop loop{clock};
    std::thread::id serviceThread;
    std::shared_ptr<transport::OrvexTransport> transport;
    std::shared_ptr<services::OrvexComms> hub;
    std::shared_ptr<recorder_bridge::IOrvexInterface> bridge;
    std::shared_ptr<fakes::RecordingDVRSink> recorder = std::make_shared<fakes::RecordingDVRSink>();
    std::shared_ptr<fakes::RecordingCommsSink> status = std::make_shared<fakes::RecordingCommsSink>();
    std::shared_ptr<fakes::RecordingFuelling> fuellingRecorder = std::make_shared<fakes::RecordingFuelling>();
};

TEST_F(AServiceOverTheSimulatedUnit, DeliversAPumpDeliveryStartToARecorderSubscriberOnTheServiceThread)
{
    unit->Send(unitsim::PumpEvent(4, 3, 1, 2));
    ASSERT_TRUE(fakes::waitUntil([&] { return recorder->log.size() >= 1; }));
    EXPECT_EQ(recorder->log.lines(), std::vector<std::string>{Call("OnPumpDeliveryStart", i16{3}, i16{2})});
    EXPECT_EQ(recorder->log.threads().at(0), serviceThread);
}

TEST_F(AServiceOverTheSimulatedUnit, DeliversAPumpDeliveryStartToTheBridgesFuellingSubscriber)
{
    unit->Send(unitsim::PumpEvent(4, 3, 1, 2));
    ASSERT_TRUE(fakes::waitUntil([&] { return fuellingRecorder->log.size() >= 1; }));
    EXPECT_EQ(fuellingRecorder->log.lines(),
              std::vector<std::string>{Call("OnStartFuelDelivery", i16{3}, i16{4}, "Delivery Start", i16{2})});
    EXPECT_TRUE(std::regex_match(fuellingRecorder->timestamp(), std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)")))
        << fuellingRecorder->timestamp();
    EXPECT_GE(fuellingRecorder->sequence(), 0);
}

TEST_F(AServiceOverTheSimulatedUnit, KeepsTheUnitsOrderAcrossEventKinds)
{
    unit->Send(unitsim::PumpEvent(6, 1, 1, 1));
    unit->Send(unitsim::POSMessage(2, 3, 0, "SALE"));
    unit->Send(unitsim::DeliveryTotals(8, 1, 1, Currency{12345}, Currency{246900}, 20.0, 1));
    ASSERT_TRUE(fakes::waitUntil([&] { return recorder->log.size() >= 4; }));
    const auto lines = recorder->log.lines();
    EXPECT_EQ(lines[0], Call("OnPumpEvent", i16{1}, i16{6}, i16{1}));
    EXPECT_EQ(lines[1], Call("OnPosMessage", i16{2}, i16{3}, "SALE"));
    EXPECT_EQ(lines[2], Call("OnCameraVisitWorkstation", "2", i16{3}, "POS", i16{0}, i16{0}, i16{0}, 0.0, 0.0, 0.0, 0.0));
    EXPECT_EQ(lines[3],
              Call("OnPumpDeliveryEnd", i16{1}, i16{1}, Currency{246900}, Currency{12345}, 20.0, i16{1}));
}

TEST_F(AServiceOverTheSimulatedUnit, ReportsTheUnitOnlineWithTheVersionsItAnswered)
{
    advance(1000);
    advance(1000); // the probe
    ASSERT_TRUE(fakes::waitUntil([&] { return unit->stats().framesSent >= 1; })); // the unit's answer
    // The transport keeps the unit's order, so once this marker is through, so is the answer.
    unit->Send(unitsim::DebugText("marker"));
    ASSERT_TRUE(fakes::waitUntil([&] { return status->log.size() >= 1; }));
    advance(3000); // the decision
    // The link runs on the line's own timings: a stall of the unit's thread longer than its four
    // writes has it give a frame up, which the unit has nonetheless read.
    auto lines = status->log.lines();
    std::erase(lines, Call("CommsError", transport::LinkProtocolThread::kNoAcknowledgementText));
    EXPECT_EQ(lines, (std::vector<std::string>{Call("Debug", "marker"), Call("OrvexOnline", "ORVEX SIM 1.0 BOOT 1.0")}));
}

} // namespace
