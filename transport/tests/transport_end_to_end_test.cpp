#include "unit_fixture.h"

#include "tools/unit-sim/unit_reports.h"
#include "transport/camera_command_encoder.h"
#include "transport/camera_position_reply_count.h"

#include <gmock/gmock.h>

using namespace transport;
using namespace std::chrono_literals;
using testing::ElementsAre;
using testing::ElementsAreArray;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Waits until the unit has taken `frames` frames from the PC.
bool unitReceived(const unitsim::UnitLink &unit, std::uint64_t frames)
{
    return waitUntil([&] { return unit.stats().framesReceived >= frames; });
}

template <typename Message>
Bytes bufferOf(const std::shared_ptr<Message> &msg)
{
    ByteArray bytes;
    msg->getBuffer(&bytes);
    return bytes;
}

} // namespace

TEST_F(AUnitOnTheLine, StoresEachDownloadedTableAndSendsItBackEqual)
{
    connect();
    std::shared_ptr<IConfigData> config;
    transport->getConfigData(&config);
    config->setNumberOfCameras(2);
    for (std::int16_t p = 1; p <= 5; ++p) {
        config->InsertDwellTime(static_cast<std::int16_t>(p * 10), p);
        config->InsertIntervisitTime(static_cast<std::int16_t>(p * 20), p);
    }
    config->setCameraID(0, 5);
    config->setCameraID(1, 6);
    std::shared_ptr<IEvents> events;
    transport->getEvents(&events);
    events->AppendTotalEvents(2);
    events->AppendEvent(4, 1, 0);
    events->AppendEvent(7, 5, 1);
    std::vector<std::shared_ptr<ICameraPresets>> presets(2);
    for (std::int16_t d = 0; d < 2; ++d) {
        transport->getCameraPresets(&presets[static_cast<std::size_t>(d)]);
        presets[static_cast<std::size_t>(d)]->AppendLogicalDispenser(static_cast<std::int16_t>(d + 1));
        presets[static_cast<std::size_t>(d)]->AppendPreset(4, 1, static_cast<std::int16_t>(10 + d));
    }
    ASSERT_EQ(transport->setConfigData(config), S_OK);
    ASSERT_EQ(transport->setEvents(events), S_OK);
    ASSERT_EQ(transport->setCameraPresets(presets[0]), S_OK);
    ASSERT_EQ(transport->setCameraPresets(presets[1]), S_OK);
    sendDefault([](IDefault &m) { m.CreateDispenserMap(1, 2, 3, 4); });
    sendDefault([](IDefault &m) { m.CreateDispenserMap(2, 2, 5, 6); });
    sendDefault([](IDefault &m) { m.CreateTaskConfig(1, 3, 4, 0); });
    sendDefault([](IDefault &m) { m.CreateInterestZoneTable(1, 2, 3, ByteArray{'D', 'o', 'o', 'r', 0xE9}); });
    sendDefault([](IDefault &m) { m.CreatePOSEventConfig(2, 1, -1, 7, 3); });
    ASSERT_TRUE(unitReceived(*unit, 9));

    EXPECT_THAT(tables.tables('G'), ElementsAre(bufferOf(config)));
    EXPECT_THAT(tables.tables('E'), ElementsAre(bufferOf(events)));
    EXPECT_THAT(tables.tables('C'), ElementsAre(bufferOf(presets[0]), bufferOf(presets[1])));
    EXPECT_THAT(tables.tables('M'), ElementsAre(Bytes{1, 2, 3, 4}, Bytes{2, 2, 5, 6}));

    sendDefault([](IDefault &m) { m.RequestConfigData(); });
    sendDefault([](IDefault &m) { m.RequestEvents(); });
    sendDefault([](IDefault &m) { m.RequestCameraPresets(); });
    sendDefault([](IDefault &m) { m.RequestDispenserMap(); });
    sendDefault([](IDefault &m) { m.RequestTaskConfig(); });
    sendDefault([](IDefault &m) { m.RequestInterestZone(); });
    sendDefault([](IDefault &m) { m.RequestPOSEventConfig(2); });
    ASSERT_TRUE(sink->waitForCount(9));
    EXPECT_THAT(sink->lines(), ElementsAre("OnConfigData(n=2;1,10,20;2,20,40;3,30,60;4,40,80;5,50,100;ids,5,6)",
                                           "OnEvents(n=2;4,1,0;7,5,1)", "OnCameraPreset(n=1;4,1,10)",
                                           "OnCameraPreset(n=2;4,1,11)", "DispenserMap(1,2,3,4)",
                                           "DispenserMap(2,2,5,6)", "TaskConfig(1,3,4,0)",
                                           "InterestZone(1,2,3,Door\xC3\xA9)", "OnPOSEventData(2,1,-1,7,3)"));
}

TEST_F(AUnitOnTheLine, AnswersEveryRequestWithItsReport)
{
    connect();
    tables.setVersions("SIM 2.1");
    tables.setResetCount(3);
    sendDefault([](IDefault &m) { m.RequestHeartbeat(); });
    sendDefault([](IDefault &m) { m.RequestResetCount(); });
    sendDefault([](IDefault &m) { m.ClearResetCount(); });
    sendDefault([](IDefault &m) { m.RequestResetCount(); });
    sendDefault([](IDefault &m) { m.CreateTaskConfig(1, 3, 4, 0); });
    sendDefault([](IDefault &m) { m.RequestTaskDiagnostics(); });
    sendDefault([](IDefault &m) { m.RequestBootLoad(); });
    sendDefault([](IDefault &m) { m.CreateBootLoadData(0x0100, 0x0080, ByteArray(128, 0x55)); });
    sendDefault([](IDefault &m) { m.ToggleDebug(5); });
    sendDefault([](IDefault &m) { m.ClearMemory(); });
    sendDefault([](IDefault &m) { m.RequestConfigData(); });
    sendDefault([](IDefault &m) { m.RequestEvents(); });
    sendDefault([](IDefault &m) { m.RequestCameraPresets(); });
    sendDefault([](IDefault &m) { m.RequestResetCount(); });
    ASSERT_TRUE(sink->waitForCount(11));
    EXPECT_THAT(sink->lines(),
                ElementsAre("HeartBeat(SIM 2.1)", "ResetCount(3)", "ResetCount(0)", "SystemDiagnostics(64,8,100,12)",
                            "TaskDiagnostics(0,0,0)", "BootLoadReadyRequest(0,128,0)",
                            "BootLoadReadyRequest(0,128,384)", "Debug(Debug on)",
                            "OnConfigData(n=0;1,0,0;2,0,0;3,0,0;4,0,0;5,0,0;ids)", "OnEvents(n=0)", "ResetCount(1)"));
    EXPECT_TRUE(tables.tables('T').empty());
}

TEST_F(AUnitOnTheLine, DeliversTheUnitsReportsAsEvents)
{
    connect();
    ResetCameraPositionReplyCount();
    unit->Send(unitsim::PumpEvent(4, 1, 2, 3));
    unit->Send(unitsim::DeliveryTotals(5, 1, 2, Currency{12590}, Currency{503600}, 40.0, 3));
    unit->Send(unitsim::POSMessage(1, 2, 3, "TOTAL \xE2\x82\xAC" "12.00"));
    unit->Send(unitsim::CameraEvent(1, 2, 3, 4, true));
    unit->Send(unitsim::VehicleReg(2, "AB12 CDE"));
    unit->Send(unitsim::SystemDiagnostics(1, 2, 3, 4));
    unit->Send(unitsim::HeartBeat("V1"));
    unit->Send(unitsim::DebugText("trace"));
    unit->Send(unitsim::BootLoadReady(1, 256, -1));
    for (auto &reply : unitsim::PositionReplies('Z', 3, 120.5, 45.25, 2.5))
        unit->Send(reply);
    for (auto &reply : unitsim::PositionReplies('_', 1, 112.5, 9.6, 18))
        unit->Send(reply);
    for (auto &reply : unitsim::PositionReplies('P', 2, -1.5, 83.5, 66.5))
        unit->Send(reply);
    ASSERT_TRUE(sink->waitForCount(12));
    EXPECT_THAT(sink->lines(),
                ElementsAre("OnPumpEvent(4,1,2,3)", "OnPumpEventWithDeliveryTotals(5,1,2,12590,503600,40,3)",
                            "OnPOSMessage(1,2,3,TOTAL \xE2\x82\xAC" "12.00)", "OnCameraEvent(1,2,3,4,-1)",
                            "VehicleReg(2,AB12 CDE)", "SystemDiagnostics(1,2,3,4)", "HeartBeat(V1)", "Debug(trace)",
                            "BootLoadReadyRequest(1,256,-1)", "CameraPosition(3,120.5,45.25,2.5)",
                            "CameraPosition(1,112.5,9.6,18)", "CameraPosition(2,-1.5,83.5,66.5)"));
    ResetCameraPositionReplyCount();
}

TEST_F(AUnitOnTheLine, WarnsOnceWithoutAPortAndStartsEachNewPortAtSequenceOne)
{
    sendDefault([](IDefault &m) { m.RequestHeartbeat(); });
    sendDefault([](IDefault &m) { m.RequestHeartbeat(); });
    EXPECT_THAT(notices.texts(), ElementsAre("No Serial Port Selected"));

    connect();
    sendDefault([](IDefault &m) { m.RequestResetCount(); });
    sendDefault([](IDefault &m) { m.RequestResetCount(); });
    ASSERT_TRUE(unitReceived(*unit, 2));
    connect();
    sendDefault([](IDefault &m) { m.RequestHeartbeat(); });
    ASSERT_TRUE(unitReceived(*unit, 3));
    std::vector<unsigned> sequences;
    for (const auto &entry : unit->log())
        if (entry.kind == unitsim::LogKind::FrameReceived)
            sequences.push_back(entry.sequence);
    EXPECT_THAT(sequences, ElementsAre(1u, 2u, 1u));
    EXPECT_THAT(notices.texts(), ElementsAre("No Serial Port Selected"));
}

// What a stopping service waits for: each message counts until the unit has acknowledged it or
// the link has given it up after its 4 writes; without a port, or with one the link could not
// open, nothing will ever go out, and nothing counts.
TEST_F(AUnitOnTheLine, CountsEachMessageInItsBacklogUntilItIsSettled)
{
    // A link that gives up after its 4 writes within a test's time.
    transport = std::make_unique<OrvexTransport>(linktest::fastLink(), [](std::chrono::milliseconds) {});
    const auto backlog = [&] {
        std::int32_t messages = -1;
        EXPECT_EQ(transport->getBacklog(&messages), S_OK);
        return messages;
    };
    const auto sendThree = [&] {
        for (int i = 0; i < 3; ++i)
            sendDefault([](IDefault &m) { m.RequestResetCount(); });
    };
    sendThree();
    EXPECT_EQ(backlog(), 0) << "no port";
    pointPortAt(2, (m_folder / "no-such-device").string());
    ASSERT_EQ(transport->setSerialPort(2), S_OK);
    sendThree();
    EXPECT_TRUE(waitUntil([&] { return backlog() == 0; })) << "a port that cannot be opened";

    connect();
    unit->InjectFault(unitsim::Fault::Silence, LinkProtocolThread::kMaxWrites);
    sendThree();
    ASSERT_TRUE(waitUntil([&] { return backlog() == 0; }));
    // A frame given up is still on the line: a stalled unit reads it later.
    EXPECT_TRUE(waitUntil([&] { return unit->stats().framesReceived == 2u; }));
    EXPECT_EQ(unit->stats().faultsInjected, 4u) << "the first message was given up after its 4th write";
    EXPECT_EQ(transport->getBacklog(nullptr), E_POINTER);
}

// What a site send and a stopping service ask of the link: whether a given message has gone (a
// clear behind camera commands), and camera commands dropped from the queue while the messages
// around them keep their order. The first frame waits for a NAK, since the unit ignores it and
// the link does not write it again on silence.
TEST_F(AUnitOnTheLine, TellsWhenEachNumberedMessageHasSettledAndDropsQueuedCameraCommands)
{
    transport = std::make_unique<OrvexTransport>(LinkTiming{scaled(20ms), 60s}, [](std::chrono::milliseconds) {});
    const auto last = [&] {
        std::uint64_t number = 0;
        EXPECT_EQ(transport->getLastMessageNumber(&number), S_OK);
        return number;
    };
    const auto settled = [&](std::uint64_t number) {
        bool done = false;
        EXPECT_EQ(transport->hasSettled(number, &done), S_OK) << number;
        return done;
    };
    std::string selected;
    ASSERT_EQ(transport->SelectCamera(1, 'P', &selected), S_OK);
    EXPECT_EQ(last(), 0u);
    sendDefault([](IDefault &m) { m.ClearResetCount(); });
    EXPECT_TRUE(settled(1)) << "no port: it never goes out";

    connect();
    unit->InjectFault(unitsim::Fault::Silence, 1);
    sendDefault([](IDefault &m) { m.RequestResetCount(); });
    ASSERT_TRUE(waitUntil([&] { return unit->stats().faultsInjected == 1; }));
    transport->MoveUp(1);
    transport->MoveDown(1);
    sendDefault([](IDefault &m) { m.ClearResetCount(); });
    transport->Stop();
    ASSERT_EQ(last(), 6u);
    for (std::uint64_t number = 2; number <= 6; ++number)
        EXPECT_FALSE(settled(number)) << number;

    std::int32_t dropped = -1;
    EXPECT_EQ(transport->dropQueuedCameraCommands(&dropped), S_OK);
    EXPECT_EQ(dropped, 3);
    std::int32_t backlog = -1;
    EXPECT_EQ(transport->getBacklog(&backlog), S_OK);
    EXPECT_EQ(backlog, 2);
    std::uint64_t acknowledged = 1;
    EXPECT_EQ(transport->getAcknowledgedCount(&acknowledged), S_OK);
    EXPECT_EQ(acknowledged, 0u);

    unit->SendRaw({control::NAK});
    ASSERT_TRUE(waitUntil([&] { return settled(6); }));
    for (std::uint64_t number = 2; number <= 6; ++number)
        EXPECT_TRUE(settled(number)) << number;
    EXPECT_EQ(unit->receivedTypes(), "rz");
    EXPECT_EQ(transport->getAcknowledgedCount(&acknowledged), S_OK);
    EXPECT_EQ(acknowledged, 2u);

    bool done = false;
    EXPECT_EQ(transport->hasSettled(0, &done), E_INVALIDARG);
    EXPECT_EQ(transport->hasSettled(7, &done), E_INVALIDARG);
    EXPECT_EQ(transport->hasSettled(6, nullptr), E_POINTER);
    EXPECT_EQ(transport->getLastMessageNumber(nullptr), E_POINTER);
    EXPECT_EQ(transport->getAcknowledgedCount(nullptr), E_POINTER);
}

TEST_F(AUnitOnTheLine, SteersACameraAndReportsItsPositionInEachCommandSet)
{
    connect();
    ResetCameraPositionReplyCount();
    struct Case
    {
        std::int32_t code;
        std::int32_t camera;
        const char *expected;
    };
    const Case cases[] = {
        {kPelcoDCameraCode, 3, "CameraPosition(3,120.5,45.25,2.5)"},
        {kA5FrameCameraCode, 1, "CameraPosition(1,112.5,9.6,18)"},
        {kNibbleAddressCameraCode, 2, "CameraPosition(2,120.5,45,2.5)"},
    };
    std::size_t events = 0;
    for (const auto &c : cases) {
        std::string result;
        ASSERT_EQ(transport->SelectCamera(c.camera, c.code, &result), S_OK);
        ASSERT_EQ(transport->MoveUp(16), S_OK);
        const float pan = c.code == kA5FrameCameraCode ? 112.5f : 120.5f;
        const float tilt = c.code == kA5FrameCameraCode ? 9.6f : (c.code == kPelcoDCameraCode ? 45.25f : 45.0f);
        const float zoom = c.code == kA5FrameCameraCode ? 18.0f : 2.5f;
        ASSERT_EQ(transport->GoToPTZCoords(pan, tilt, zoom), S_OK);
        ASSERT_EQ(transport->RequestCameraPTZCoords(), S_OK);
        ASSERT_TRUE(sink->waitForCount(++events)) << c.expected;
        EXPECT_EQ(sink->lines().back(), c.expected);
    }
    EXPECT_EQ(tables.passThroughCount(), 7u + 3u + 3u); // Pelco D positions go in three parts
    ResetCameraPositionReplyCount();
}
