// The messages a download sends, in order, and the requests of an upload.

#include "site_test_support.h"

#include <gmock/gmock.h>

namespace services::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class ADownload : public SiteOverRecordingTransport
{
protected:
    // The fixed part of an empty site's download, after the clear and the wait. Its times of 0
    // go as 1, the least the configuration tool shows.
    static Log emptyTables()
    {
        Log log{"getConfigData", "setNumberOfCameras(0)"};
        for (int p = 1; p <= 5; ++p)
            log.push_back(call("InsertDwellTime", {1, p}));
        for (int p = 1; p <= 5; ++p)
            log.push_back(call("InsertIntervisitTime", {1, p}));
        log.insert(log.end(), {"setConfigData", "getEvents", "AppendTotalEvents(0)", "setEvents"});
        return log;
    }
};

TEST_F(ADownload, OfAnEmptySiteClearsWaitsAndSendsTheConfigurationAndAnEmptyEventTable)
{
    EXPECT_EQ(site.SendCurrentSite(), S_OK);
    Log expected{"getDefault", "ClearMemory()", "setDefault", "sleep(10000)"};
    const Log tables = emptyTables();
    expected.insert(expected.end(), tables.begin(), tables.end());
    EXPECT_THAT(*transport->log, ElementsAreArray(expected));
}

TEST_F(ADownload, SendsTasksOfType7FirstKeepingTableOrderWithinEachPass)
{
    addDevice(3, 1, 2, 30);
    addDevice(7, 3, 4, 70);
    addDevice(1, 5, 6, 10);
    addDevice(7, 7, 8, 71);
    site.SendCurrentSite();
    Log tasks;
    for (const auto &entry : transport->contents())
        if (entry.rfind("CreateTaskConfig", 0) == 0)
            tasks.push_back(entry);
    // Arguments go type, inport, outport, interface.
    EXPECT_THAT(tasks, ElementsAre("CreateTaskConfig(7,3,4,70)", "CreateTaskConfig(7,7,8,71)",
                                   "CreateTaskConfig(3,1,2,30)", "CreateTaskConfig(1,5,6,10)"));
}

TEST_F(ADownload, SendsCameraNumbersByPositionAndTheTenTimes)
{
    addCamera(4);
    addCamera(9);
    for (std::int16_t p = 1; p <= 5; ++p) {
        site.SetDwellTime(p, static_cast<std::int16_t>(10 * p));
        site.SetIntervisitTime(p, static_cast<std::int16_t>(100 + p));
    }
    site.SendCurrentSite();
    const Log sent = transport->contents();
    const auto config = std::find(sent.begin(), sent.end(), "setNumberOfCameras(2)");
    ASSERT_NE(config, sent.end());
    EXPECT_THAT(Log(config, config + 13),
                ElementsAre("setNumberOfCameras(2)", "setCameraID(0,4)", "setCameraID(1,9)", "InsertDwellTime(10,1)",
                            "InsertDwellTime(20,2)", "InsertDwellTime(30,3)", "InsertDwellTime(40,4)",
                            "InsertDwellTime(50,5)", "InsertIntervisitTime(101,1)", "InsertIntervisitTime(102,2)",
                            "InsertIntervisitTime(103,3)", "InsertIntervisitTime(104,4)",
                            "InsertIntervisitTime(105,5)"));
}

TEST_F(ADownload, SendsEventsThenPointsOfSaleThenEachDispenserWithItsPresets)
{
    std::int16_t index = 0;
    events->NewEvent(4, &index);
    events->SetPriority(index, 2);
    events->SetTransitionPriority(index, 3);
    points->NewPOS(1, &index);
    points->SetCamera(index, 5);
    points->SetMovableFlag(index, -1);
    points->SetPreset(index, 6);
    points->SetPriority(index, 1);
    std::int16_t dispenser = 0;
    dispensers->NewDispenser(1, &dispenser);
    dispensers->SetDispenserLoop(dispenser, 2);
    dispensers->SetDispenserAddress(dispenser, 3);
    dispensers->SetCardTerminalAddress(dispenser, 4);
    for (std::int16_t event : {4, 5}) {
        std::shared_ptr<ICameraPresetData> entry;
        dispensers->NewPreset(dispenser, event, &index);
        dispensers->RetrieveCameraPreset(dispenser, index, &entry);
        entry->SetCameraNumber(9);
        entry->SetPresetNumber(static_cast<std::int16_t>(event * 10));
    }
    dispensers->NewDispenser(2, &dispenser);

    site.SendCurrentSite();
    const Log &log = *transport->log;
    const auto events = std::find(log.begin(), log.end(), "getEvents");
    ASSERT_NE(events, log.end());
    EXPECT_THAT(Log(events, log.end()),
                ElementsAre("getEvents", "AppendEvent(4,2,3)", "AppendTotalEvents(1)", "setEvents",
                            "getDefault", "CreatePOSEventConfig(1,5,-1,6,1)", "setDefault",
                            "getDefault", "CreateDispenserMap(1,2,3,4)", "setDefault",
                            "getCameraPresets", "AppendLogicalDispenser(1)", "AppendPreset(4,9,40)",
                            "AppendPreset(5,9,50)", "setCameraPresets",
                            "getDefault", "CreateDispenserMap(2,0,0,0)", "setDefault",
                            "getCameraPresets", "AppendLogicalDispenser(2)", "setCameraPresets"));
}

TEST_F(ADownload, NeedsNoLoadedSite)
{
    ASSERT_EQ(site.UnloadSite(), S_OK);
    EXPECT_EQ(site.SendCurrentSite(), S_OK);
    EXPECT_EQ(transport->log->front(), "getDefault");
}

TEST(ADownloadWithoutStorage, SaysThereIsNothingToSendAndSendsNothing)
{
    auto transport = std::make_shared<RecordingTransport>();
    OrvexConfigData site{transport, transport->sleeper(), [] { return std::make_shared<EmptyStore>(); }};
    EXPECT_EQ(site.SendCurrentSite(), E_UNEXPECTED);
    EXPECT_TRUE(transport->log->empty());
}

TEST(ADownloadWithoutTransport, FailsWithoutTouchingTheSite)
{
    OrvexConfigData site{nullptr, {}, [] { return std::make_shared<EmptyStore>(); }};
    ASSERT_EQ(site.InitializeStorage(), S_OK);
    EXPECT_EQ(site.SendCurrentSite(), E_POINTER);
    EXPECT_EQ(site.RequestSiteFromUnit(), E_POINTER);
}

class AnUpload : public SiteOverRecordingTransport
{
};

TEST_F(AnUpload, SendsThreeGroupsOfRequestsThreeSecondsApart)
{
    EXPECT_EQ(site.RequestSiteFromUnit(), S_OK);
    EXPECT_THAT(*transport->log,
                ElementsAre("getDefault", "RequestConfigData()", "setDefault", "getDefault", "RequestPOSEventConfig(1)",
                            "setDefault", "getDefault", "RequestPOSEventConfig(2)", "setDefault", "getDefault",
                            "RequestPOSEventConfig(3)", "setDefault", "getDefault", "RequestDispenserMap()",
                            "setDefault", "sleep(3000)", "getDefault", "RequestCameraPresets()", "setDefault",
                            "sleep(3000)", "getDefault", "RequestEvents()", "setDefault", "getDefault",
                            "RequestTaskConfig()", "setDefault"));
}

TEST_F(AnUpload, EmptiesEverythingButTheCamerasAndTheirPresets)
{
    addDevice(7);
    addCamera(3, {8});
    std::int16_t index = 0;
    events->NewEvent(1, &index);
    points->NewPOS(1, &index);
    dispensers->NewDispenser(1, &index);
    site.SetDwellTime(2, 40);

    site.RequestSiteFromUnit();
    EXPECT_EQ(count([&](auto *n) { return devices->Count(n); }), 0);
    EXPECT_EQ(count([&](auto *n) { return events->Count(n); }), 0);
    EXPECT_EQ(count([&](auto *n) { return points->Count(n); }), 0);
    EXPECT_EQ(count([&](auto *n) { return dispensers->CountDispensers(n); }), 0);
    EXPECT_EQ(count([&](auto *n) { return cameras->CountCameras(n); }), 1);
    EXPECT_THAT(cameraPresets(1), ElementsAre(8));
    std::int16_t time = -1;
    ASSERT_EQ(site.GetDwellTime(2, &time), S_OK);
    EXPECT_EQ(time, 0);
}

TEST_F(AnUpload, LeavesTheSiteLoadedWithoutAStoredSite)
{
    ASSERT_EQ(site.UnloadSite(), S_OK);
    std::int16_t time = 0;
    ASSERT_EQ(site.GetDwellTime(1, &time), E_UNEXPECTED);
    site.RequestSiteFromUnit();
    EXPECT_EQ(site.GetDwellTime(1, &time), S_OK);
    // There is no stored site to save it into.
    EXPECT_EQ(site.Save(), E_UNEXPECTED);
}

TEST(AnUploadWithoutStorage, SendsItsRequestsButLeavesTheSiteUnloaded)
{
    auto transport = std::make_shared<RecordingTransport>();
    OrvexConfigData site{transport, transport->sleeper(), [] { return std::make_shared<EmptyStore>(); }};
    EXPECT_EQ(site.RequestSiteFromUnit(), S_OK);
    EXPECT_FALSE(transport->log->empty());
    EXPECT_FALSE(site.isSiteLoaded());
    // Storage made afterwards starts unloaded, so a reply finds no table to fill.
    ASSERT_EQ(site.InitializeStorage(), S_OK);
    std::shared_ptr<IDeviceData> devices;
    EXPECT_EQ(site.RetrieveDevice(&devices), E_UNEXPECTED);
}

} // namespace
} // namespace services::testing
