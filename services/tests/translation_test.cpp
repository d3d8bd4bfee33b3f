// Every transport event, fired as the transport's dispatcher would, through the service loop
// into the hub, and what the hub makes of it.

#include "fakes.h"
#include "services/orvex_comms.h"

#include <gtest/gtest.h>

#include <atomic>

using fakes::Call;
using transport::IOrvexTransportEvents;

namespace {

using i16 = std::int16_t;

class NullPresetsReader final : public transport::ICameraPresetsOutput
{
public:
    HRESULT Begin() override { return S_OK; }
    HRESULT isDone(i16 *) override { return S_OK; }
    HRESULT getDispenserNumber(i16 *) override { return S_OK; }
    HRESULT getTuple(i16 *, i16 *, i16 *) override { return S_OK; }
};

class NullConfigReader final : public transport::IConfigDataOutput
{
public:
    HRESULT Begin() override { return S_OK; }
    HRESULT isDone(i16 *) override { return S_OK; }
    HRESULT getTotalCameras(i16 *) override { return S_OK; }
    HRESULT getTuple(i16 *, i16 *, i16 *) override { return S_OK; }
    HRESULT getCameraID(i16, i16 *) override { return S_OK; }
};

class NullEventsReader final : public transport::IEventsOutput
{
public:
    HRESULT Begin() override { return S_OK; }
    HRESULT isDone(i16 *) override { return S_OK; }
    HRESULT getTotalEvents(i16 *) override { return S_OK; }
    HRESULT getTuple(i16 *, i16 *, i16 *) override { return S_OK; }
};

class AHubTranslation : public ::testing::Test
{
protected:
    AHubTranslation()
    {
        hub->AttachConfigData(&site);
        EXPECT_EQ(hub->AdviseTransportEvents(), S_OK);
        std::uint32_t cookie = 0;
        hub->AdviseCommsEvents(status, &cookie);
        hub->AdviseDVREvents(recorder, &cookie);
        loop.Start();
        loop.Invoke([this] {
            serviceThread = std::this_thread::get_id();
            return S_OK;
        });
    }
    ~AHubTranslation() override
    {
        loop.Quit();
        loop.Join();
    }

    void clearLogs()
    {
        status->log.clear();
        recorder->log.clear();
        site.log.clear();
    }

    ServiceLoop loop;
    std::thread::id serviceThread;
    std::shared_ptr<fakes::RecordingTransport> transport = std::make_shared<fakes::RecordingTransport>();
    std::shared_ptr<services::OrvexComms> hub = std::make_shared<services::OrvexComms>(loop, transport);
    std::shared_ptr<fakes::RecordingCommsSink> status = std::make_shared<fakes::RecordingCommsSink>();
    std::shared_ptr<fakes::RecordingDVRSink> recorder = std::make_shared<fakes::RecordingDVRSink>();
    fakes::RecordingSite site;
};

struct TranslationRow
{
    const char *name;
    std::function<void(IOrvexTransportEvents &)> event;
    std::vector<std::string> recorder;
    std::vector<std::string> status;
    std::vector<std::string> site;
};

std::vector<TranslationRow> translationRows()
{
    const std::string noText;
    return {
        {"HeartBeat", [](auto &e) { e.HeartBeat("V1.0"); }, {}, {}, {}},
        {"Debug", [](auto &e) { e.Debug("dbg text"); }, {}, {Call("Debug", "dbg text")}, {}},
        {"BootLoadReadyRequest", [](auto &e) { e.BootLoadReadyRequest(0, 128, -1); }, {},
         {Call("GotMessage", "Boot Load Ready Request")}, {}},
        {"DispenserMap", [](auto &e) { e.DispenserMap(1, 2, 3, -4); }, {}, {Call("GotMessage", "Dispenser Map")},
         {Call("OnDispenserMapReply", i16{1}, i16{2}, i16{3}, i16{-4})}},
        {"SystemDiagnostics", [](auto &e) { e.SystemDiagnostics(10, 20, -30, 40); }, {},
         {Call("SystemDiagnostics", i16{10}, i16{20}, i16{-30}, i16{40})}, {}},
        {"TaskConfig", [](auto &e) { e.TaskConfig(7, 1, 2, 3); }, {}, {Call("GotMessage", "Task")},
         {Call("OnTaskConfigReply", i16{7}, i16{1}, i16{2}, i16{3})}},
        {"VehicleReg", [](auto &e) { e.VehicleReg(2, "AB1234"); }, {}, {Call("GotMessage", "Vehicle Reg")}, {}},
        {"OnError", [](auto &e) { e.OnError("Port gone"); }, {}, {Call("CommsError", "Port gone")}, {}},
        {"OnCameraPreset", [](auto &e) { e.OnCameraPreset(std::make_shared<NullPresetsReader>()); }, {},
         {Call("GotMessage", "Camera Preset")}, {Call("OnCameraPresetReply")}},
        {"InterestZone", [](auto &e) { e.InterestZone(1, 2, 3, "zone"); }, {}, {Call("GotMessage", "Interest Zone")},
         {}},
        {"OnConfigData", [](auto &e) { e.OnConfigData(std::make_shared<NullConfigReader>()); }, {},
         {Call("GotMessage", "Config Data")}, {Call("OnConfigDataReply")}},
        {"OnEvents", [](auto &e) { e.OnEvents(std::make_shared<NullEventsReader>()); }, {},
         {Call("GotMessage", "Events")}, {Call("OnEventsReply")}},
        {"TaskDiagnostics", [](auto &e) { e.TaskDiagnostics(5, 6, -7); }, {},
         {Call("TaskDiagnostics", i16{5}, i16{6}, i16{-7})}, {}},
        {"ResetCount", [](auto &e) { e.ResetCount(9); }, {}, {Call("ResetCount", i16{9})}, {}},
        {"CameraPosition", [](auto &e) { e.CameraPosition(2, 10.5f, -3.25f, 1.5f); }, {},
         {Call("CameraPosition", i16{2}, 10.5f, -3.25f, 1.5f)}, {}},
        {"OnCameraEvent roam", [](auto &e) { e.OnCameraEvent(0, 3, 2, 5, -1); },
         {Call("OnCameraRoam", i16{2}, "Pump 3", i16{-1}, i16{5}, i16{0}, 0.0, 0.0, 0.0)}, {}, {}},
        {"OnCameraEvent workstation", [](auto &e) { e.OnCameraEvent(37, 3, 2, 5, -1); },
         {Call("OnCameraVisitWorkstation", "3", i16{2}, "POS 3", i16{-1}, i16{5}, i16{0}, 0.0, 0.0, 0.0, 0.0)}, {},
         {}},
        {"OnCameraEvent fuelling position", [](auto &e) { e.OnCameraEvent(5, 3, 2, 5, -1); },
         {Call("OnCameraVisitFuellingPosition", i16{3}, i16{2}, "Pump 3", i16{-1}, i16{5}, i16{0}, 0.0, 0.0, 0.0,
               0.0, i16{5}, i16{-1})},
         {}, {}},
        {"OnCameraEvent negative target", [](auto &e) { e.OnCameraEvent(5, -2, 2, 5, 0); },
         {Call("OnCameraVisitFuellingPosition", i16{-2}, i16{2}, "Pump -2", i16{-1}, i16{5}, i16{0}, 0.0, 0.0, 0.0,
               0.0, i16{5}, i16{0})},
         {}, {}},
        {"OnPOSMessage without preset", [](auto &e) { e.OnPOSMessage(1, 2, 0, "SALE 1.00"); },
         {Call("OnPosMessage", i16{1}, i16{2}, "SALE 1.00"),
          Call("OnCameraVisitWorkstation", "1", i16{2}, "POS", i16{0}, i16{0}, i16{0}, 0.0, 0.0, 0.0, 0.0)},
         {}, {}},
        {"OnPOSMessage camera 0", [](auto &e) { e.OnPOSMessage(1, 0, 0, ""); },
         {Call("OnPosMessage", i16{1}, i16{0}, noText)}, {}, {}},
        {"OnPOSMessage with preset", [](auto &e) { e.OnPOSMessage(1, 2, 3, "x"); },
         {Call("OnPosMessage", i16{1}, i16{2}, "x")}, {}, {}},
        {"OnPumpEvent delivery start", [](auto &e) { e.OnPumpEvent(4, 1, 2, 3); },
         {Call("OnPumpDeliveryStart", i16{1}, i16{3})}, {}, {}},
        {"OnPumpEvent other", [](auto &e) { e.OnPumpEvent(6, 1, 2, 3); }, {Call("OnPumpEvent", i16{1}, i16{6}, i16{3})},
         {}, {}},
        {"OnPumpEventWithDeliveryTotals",
         [](auto &e) { e.OnPumpEventWithDeliveryTotals(8, 1, 2, Currency{123456}, Currency{9876543}, 12.345, 3); },
         {Call("OnPumpDeliveryEnd", i16{1}, i16{2}, Currency{9876543}, Currency{123456}, 12.345, i16{3})}, {}, {}},
        {"OnPOSEventData camera 0", [](auto &e) { e.OnPOSEventData(1, 0, -1, 9, 2); }, {}, {}, {}},
        {"OnPOSEventData", [](auto &e) { e.OnPOSEventData(1, 4, -1, 9, 2); }, {}, {Call("GotMessage", "POS")},
         {Call("OnPOSEventDataReply", i16{1}, i16{4}, i16{-1}, i16{9}, i16{2})}},
    };
}

TEST_F(AHubTranslation, TurnsEveryTransportEventIntoItsEventsWithExactArguments)
{
    for (const auto &row : translationRows()) {
        SCOPED_TRACE(row.name);
        clearLogs();
        transport->fire(row.event);
        EXPECT_EQ(recorder->log.lines(), row.recorder);
        EXPECT_EQ(status->log.lines(), row.status);
        EXPECT_EQ(site.log.lines(), row.site);
        for (const auto &id : recorder->log.threads())
            EXPECT_EQ(id, serviceThread);
        for (const auto &id : status->log.threads())
            EXPECT_EQ(id, serviceThread);
    }
}

TEST_F(AHubTranslation, StillReportsRepliesWhenNoSiteIsAttached)
{
    hub->AttachConfigData(nullptr);
    transport->fire([](IOrvexTransportEvents &e) { e.TaskConfig(1, 2, 3, 4); });
    EXPECT_EQ(status->log.lines(), std::vector<std::string>{Call("GotMessage", "Task")});
    EXPECT_EQ(site.log.size(), 0u);
}

TEST_F(AHubTranslation, ReportsAHeartbeatOnlyAtTheNextDecision)
{
    hub->AttachConfigData(&site);
    loop.Invoke([this] {
        hub->HeartbeatTimerProc(1000);
        hub->HeartbeatTimerProc(2000);
        return S_OK;
    });
    transport->fire([](IOrvexTransportEvents &e) { e.HeartBeat("V3"); });
    EXPECT_EQ(status->log.size(), 0u);
    loop.Invoke([this] {
        hub->HeartbeatTimerProc(4001);
        return S_OK;
    });
    EXPECT_EQ(status->log.lines(), std::vector<std::string>{Call("OrvexOnline", "V3")});
}

TEST_F(AHubTranslation, HandlesEventsOnTheServiceThreadInTheOrderTheyWereFired)
{
    constexpr int kEvents = 300;
    std::thread dispatcher([this] {
        for (int i = 0; i < kEvents; ++i)
            transport->fire([i](IOrvexTransportEvents &e) { e.OnPumpEvent(6, static_cast<i16>(i), 0, 1); });
    });
    // The service thread keeps doing its own work in between.
    for (int i = 0; i < 50; ++i)
        loop.Invoke([] { return S_OK; });
    dispatcher.join();
    const auto lines = recorder->log.lines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kEvents));
    for (int i = 0; i < kEvents; ++i)
        EXPECT_EQ(lines[i], Call("OnPumpEvent", static_cast<i16>(i), i16{6}, i16{1}));
    for (const auto &id : recorder->log.threads())
        EXPECT_EQ(id, serviceThread);
}

TEST_F(AHubTranslation, KeepsTheDispatcherWaitingWhileTheServiceThreadIsBusy)
{
    std::atomic<bool> release{false};
    std::atomic<bool> commandDone{false};
    loop.Post([&] {
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        commandDone = true;
    });
    std::atomic<bool> fired{false};
    std::thread dispatcher([&] {
        transport->fire([](IOrvexTransportEvents &e) { e.OnPumpEvent(4, 1, 0, 1); });
        fired = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(fired);
    EXPECT_EQ(recorder->log.size(), 0u);
    release = true;
    dispatcher.join();
    EXPECT_TRUE(commandDone);
    EXPECT_EQ(recorder->log.lines(), std::vector<std::string>{Call("OnPumpDeliveryStart", i16{1}, i16{1})});
}

TEST_F(AHubTranslation, DropsEventsOnceTheLoopHasQuitWithoutKeepingTheDispatcherWaiting)
{
    loop.Quit();
    loop.Join();
    transport->fire([](IOrvexTransportEvents &e) { e.OnPumpEvent(4, 1, 0, 1); });
    EXPECT_EQ(recorder->log.size(), 0u);
}

// ---- the two event sources ----

TEST_F(AHubTranslation, LetsASubscriberLeaveInsideItsOwnHandler)
{
    auto leaver = std::make_shared<fakes::RecordingDVRSink>();
    auto after = std::make_shared<fakes::RecordingDVRSink>();
    std::uint32_t leaverCookie = 0, afterCookie = 0;
    ASSERT_EQ(hub->AdviseDVREvents(leaver, &leaverCookie), S_OK);
    ASSERT_EQ(hub->AdviseDVREvents(after, &afterCookie), S_OK);
    leaver->onCall = [&] { EXPECT_EQ(hub->UnadviseDVREvents(leaverCookie), S_OK); };
    transport->fire([](IOrvexTransportEvents &e) { e.OnPumpEvent(4, 1, 0, 1); });
    transport->fire([](IOrvexTransportEvents &e) { e.OnPumpEvent(4, 2, 0, 1); });
    EXPECT_EQ(leaver->log.size(), 1u);
    EXPECT_EQ(after->log.size(), 2u);
    EXPECT_EQ(recorder->log.size(), 2u);
    leaver->onCall = nullptr;
}

TEST_F(AHubTranslation, SkipsASubscriberUnsubscribedByAnEarlierOneDuringTheFiring)
{
    auto second = std::make_shared<fakes::RecordingCommsSink>();
    std::uint32_t secondCookie = 0;
    ASSERT_EQ(hub->AdviseCommsEvents(second, &secondCookie), S_OK);
    status->onCall = [&] { hub->UnadviseCommsEvents(secondCookie); };
    transport->fire([](IOrvexTransportEvents &e) { e.ResetCount(1); });
    status->onCall = nullptr;
    EXPECT_EQ(status->log.size(), 1u);
    EXPECT_EQ(second->log.size(), 0u);
}

TEST_F(AHubTranslation, GivesANewSubscriberTheFirstEmptySlot)
{
    auto a = std::make_shared<fakes::RecordingCommsSink>();
    auto b = std::make_shared<fakes::RecordingCommsSink>();
    std::uint32_t ca = 0, cb = 0, cc = 0;
    ASSERT_EQ(hub->AdviseCommsEvents(a, &ca), S_OK);
    ASSERT_EQ(hub->AdviseCommsEvents(b, &cb), S_OK);
    EXPECT_NE(ca, 0u);
    EXPECT_NE(ca, cb);
    ASSERT_EQ(hub->UnadviseCommsEvents(ca), S_OK);
    EXPECT_EQ(hub->UnadviseCommsEvents(ca), CONNECT_E_NOCONNECTION);
    ASSERT_EQ(hub->AdviseCommsEvents(a, &cc), S_OK);
    EXPECT_EQ(cc, ca);
    EXPECT_EQ(hub->AdviseCommsEvents(nullptr, &cc), E_POINTER);
    EXPECT_EQ(hub->AdviseCommsEvents(a, nullptr), E_POINTER);
    EXPECT_EQ(hub->UnadviseDVREvents(999), CONNECT_E_NOCONNECTION);
}

TEST_F(AHubTranslation, TakesEveryEventWithoutSiteDataAndFiresToNobodyOnceItsSinksHaveLeft)
{
    // A hub of its own, with no site data attached.
    auto ownTransport = std::make_shared<fakes::RecordingTransport>();
    services::OrvexComms bare(loop, ownTransport);
    ASSERT_EQ(bare.AdviseTransportEvents(), S_OK);
    auto heard = std::make_shared<fakes::RecordingCommsSink>();
    auto recorded = std::make_shared<fakes::RecordingDVRSink>();
    std::uint32_t commsCookie = 0, dvrCookie = 0;
    ASSERT_EQ(bare.AdviseCommsEvents(heard, &commsCookie), S_OK);
    ASSERT_EQ(bare.AdviseDVREvents(recorded, &dvrCookie), S_OK);
    std::vector<std::string> status, dvr;
    for (const auto &row : translationRows()) {
        ownTransport->fire(row.event);
        status.insert(status.end(), row.status.begin(), row.status.end());
        dvr.insert(dvr.end(), row.recorder.begin(), row.recorder.end());
    }
    EXPECT_EQ(heard->log.lines(), status);
    EXPECT_EQ(recorded->log.lines(), dvr);

    ASSERT_EQ(bare.UnadviseCommsEvents(commsCookie), S_OK);
    ASSERT_EQ(bare.UnadviseDVREvents(dvrCookie), S_OK);
    for (const auto &row : translationRows())
        ownTransport->fire(row.event);
    EXPECT_EQ(heard->log.lines(), status);
    EXPECT_EQ(recorded->log.lines(), dvr);
}

TEST_F(AHubTranslation, PassesLicencePlateResultsOnUnchanged)
{
    loop.Invoke([this] {
        hub->RecognizeLicencePlateNumber(1, 2, 6, "AB1234", "[90]", "2024-01-01T00:00:00");
        hub->CapturedFuellingPositionImage(3, 4, "t1", "f.bmp", 5, "t0", 6);
        hub->CapturedPaymentTerminalImage(7, 8, "t2", "g.bmp", 9, "t3", 10);
        hub->CapturedWorkstationImage("WS", 11, "t4", "h.bmp", 12, "t5", 13);
        EXPECT_EQ(hub->ImageAvailable(1, "x.bmp"), S_OK);
        EXPECT_EQ(hub->ImageCaptureError(1, "none"), S_OK);
        return S_OK;
    });
    const std::vector<std::string> expected{
        Call("OnRecognizeRegistrationNumber", i16{1}, i16{2}, i16{6}, "AB1234", "[90]", "2024-01-01T00:00:00"),
        Call("OnCapturedFuellingPositionImage", i16{3}, i16{4}, "t1", "f.bmp", i16{5}, "t0", i16{6}),
        Call("OnCapturedPaymentTerminalImage", i16{7}, i16{8}, "t2", "g.bmp", i16{9}, "t3", i16{10}),
        Call("OnCapturedWorkstationImage", "WS", i16{11}, "t4", "h.bmp", i16{12}, "t5", i16{13}),
    };
    EXPECT_EQ(recorder->log.lines(), expected);
}

} // namespace
