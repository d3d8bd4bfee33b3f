// The iterators against the service's own site tables (in process, on a temporary install
// folder), so they meet the cursor rules the service really has: indexes that shift on delete,
// DeleteCamera keeping its index, duplicate numbers.

#include "configtool/model/camera_iterator.h"
#include "configtool/model/camera_type_state.h"
#include "configtool/model/device_iterator.h"
#include "configtool/model/dispenser_iterator.h"
#include "configtool/model/event_preset_iterator.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"
#include "configtool/model/pos_iterator.h"
#include "configtool/model/preset_iterator.h"
#include "configtool/model/threadsafe_string_queue.h"
#include "configtool/testing/in_process_site.h"
#include "configtool/testing/recording_host.h"
#include "configtool/testing/test_meta_data.h"

#include "platform/com_error.h"

#include <gtest/gtest.h>

#include <tuple>

namespace configtool {
namespace {

using Entry = std::tuple<int, int, int>; // event, camera, preset

class ASiteIterator : public ::testing::Test
{
protected:
    testing::InProcessSite site;
    testing::RecordingHost host;
    OrvexMetaData metaData = testing::testMetaData();
    ThreadsafeStringQueue queue;
    OrvexConfigManager manager{metaData, host};
    std::shared_ptr<services::IDeviceData> devices;
    std::shared_ptr<services::IDispenserData> dispensers;
    std::shared_ptr<services::ICameraData> cameras;
    std::shared_ptr<services::IPOSData> points;
    std::shared_ptr<services::IEventData> events;

    void SetUp() override
    {
        ASSERT_TRUE(manager.Connect(site.backend, queue, 1))
            << host.scriptedPrompter.shown.join('|').toStdString();
        manager.NewSite(false);
        ASSERT_TRUE(manager.IsSiteOpen());
        site.siteData->RetrieveDevice(&devices);
        site.siteData->RetrieveDispenser(&dispensers);
        site.siteData->RetrieveCamera(&cameras);
        site.siteData->RetrievePOS(&points);
        site.siteData->RetrieveEvent(&events);
    }

    void addDevice(std::int16_t type)
    {
        std::int16_t index = 0;
        devices->Append(&index);
        devices->SetDeviceType(index, type);
    }
    std::int16_t addDispenser(std::int16_t number, std::initializer_list<Entry> entries = {})
    {
        std::int16_t dispenser = 0;
        dispensers->NewDispenser(number, &dispenser);
        for (const auto &[event, camera, preset] : entries) {
            std::int16_t entry = 0;
            dispensers->NewPreset(dispenser, static_cast<std::int16_t>(event), &entry);
            std::shared_ptr<services::ICameraPresetData> data;
            dispensers->RetrieveCameraPreset(dispenser, entry, &data);
            data->SetCameraNumber(static_cast<std::int16_t>(camera));
            data->SetPresetNumber(static_cast<std::int16_t>(preset));
        }
        return dispenser;
    }
    void addCamera(std::int16_t number, std::initializer_list<std::int16_t> presets = {})
    {
        std::int16_t camera = 0;
        std::int16_t preset = 0;
        cameras->NewCamera(number, &camera);
        for (const std::int16_t presetNumber : presets)
            cameras->NewPreset(camera, presetNumber, &preset);
    }
    std::vector<Entry> entriesOf(std::int16_t dispenser) const
    {
        std::vector<Entry> out;
        std::int16_t p = 0;
        for (dispensers->FirstPreset(dispenser, &p); p != 0;
             dispensers->NextPreset(dispenser, &p)) {
            std::shared_ptr<services::ICameraPresetData> data;
            dispensers->RetrieveCameraPreset(dispenser, p, &data);
            std::int16_t e = 0, c = 0, n = 0;
            data->GetEventNumber(&e);
            data->GetCameraNumber(&c);
            data->GetPresetNumber(&n);
            out.emplace_back(e, c, n);
        }
        return out;
    }
    std::vector<int> deviceTypes() const
    {
        std::vector<int> out;
        std::int16_t i = 0;
        for (devices->First(&i); i != 0; devices->Next(&i)) {
            std::int16_t type = 0;
            devices->GetDeviceType(i, &type);
            out.push_back(type);
        }
        return out;
    }
    std::vector<int> cameraNumbers() const
    {
        std::vector<int> out;
        std::int16_t i = 0;
        for (cameras->FirstCamera(&i); i != 0; cameras->NextCamera(&i)) {
            std::int16_t number = 0;
            cameras->GetCameraNumber(i, &number);
            out.push_back(number);
        }
        return out;
    }
};

TEST_F(ASiteIterator, NeverListsCountsOrClearsTheHiddenDeviceTypes)
{
    for (const std::int16_t type : {0, 1, 20, 2, 6, 3})
        addDevice(type);
    DeviceIterator iterator(manager);
    iterator.Reload();
    EXPECT_EQ(iterator.Count(), 2);
    QStringList listed;
    for (iterator.First(); !iterator.Eof(); iterator.Next())
        listed << iterator.GetDeviceName();
    EXPECT_EQ(listed, (QStringList{"POS 1", "Camera"}));

    iterator.ClearAll();
    EXPECT_EQ(iterator.Count(), 0);
    EXPECT_EQ(deviceTypes(), (std::vector<int>{0, 1, 2, 6}));
    iterator.First();
    EXPECT_TRUE(iterator.Eof());
}

TEST_F(ASiteIterator, FillsDefaultDevicesWithTheFirstProtocolAndThePreferredPort)
{
    int cameraTypeChanges = 0;
    QObject::connect(&host.cameraTypeState, &CameraTypeState::changed,
                     [&](int) { ++cameraTypeChanges; });
    addDevice(30);
    DeviceIterator iterator(manager);
    iterator.Reload();
    iterator.LoadDefaults();
    EXPECT_EQ(iterator.Count(), 3);

    struct Expected
    {
        const char *name;
        const char *protocol;
        int interfaceId;
        int port;
    };
    const std::vector<Expected> expected = {
        {"Dispenser Loop 1", "Standard", 1, 5}, {"Camera", "Pelco P", 40, 1}, {"POS 1", "", 0, 2}};
    std::size_t row = 0;
    for (iterator.First(); !iterator.Eof(); iterator.Next(), ++row) {
        ASSERT_LT(row, expected.size());
        EXPECT_EQ(iterator.GetDeviceName(), expected[row].name);
        EXPECT_EQ(iterator.GetProtocolName(), expected[row].protocol);
        EXPECT_EQ(iterator.GetPort(), expected[row].port);
        std::int16_t outport = 0;
        std::int16_t iface = 0;
        devices->GetOutport(iterator.currentHandle(), &outport);
        devices->GetInterface(iterator.currentHandle(), &iface);
        EXPECT_EQ(outport, expected[row].port);
        EXPECT_EQ(iface, expected[row].interfaceId);
    }
    EXPECT_EQ(row, expected.size());
    // Setting and reading the camera device's protocol both set the camera type.
    EXPECT_EQ(host.cameraTypeState.value(), 40);
    EXPECT_EQ(cameraTypeChanges, 2);
    EXPECT_TRUE(manager.IsModified());
}

TEST_F(ASiteIterator, SetsTheCameraTypeOnlyThroughTheCameraDevice)
{
    std::vector<int> changes;
    QObject::connect(&host.cameraTypeState, &CameraTypeState::changed,
                     [&](int type) { changes.push_back(type); });
    DeviceIterator iterator(manager);
    iterator.Reload();
    iterator.AddDevice("Dispenser Loop 2");
    iterator.SetProtocol("Extended");
    iterator.AddDevice("Camera");
    iterator.SetProtocol("Nibble Address");
    iterator.SetPort(6);
    EXPECT_EQ(changes, std::vector<int>{80});

    iterator.SelectDevice("Dispenser Loop 2");
    EXPECT_EQ(iterator.GetProtocolName(), "Extended");
    EXPECT_EQ(changes, std::vector<int>{80});
    EXPECT_EQ(iterator.FindDevice("POS 3"), 0);
    iterator.DeleteDevice("Dispenser Loop 2");
    EXPECT_EQ(iterator.Count(), 1);
}

TEST_F(ASiteIterator, DeletesACamerasEntriesOnEveryDispenserFirst)
{
    // Two matching entries side by side: deleting the first moves the second under its index.
    const auto first = addDispenser(1, {{2, 2, 5}, {3, 2, 6}, {4, 3, 5}, {5, 2, 7}});
    const auto second = addDispenser(2, {{2, 2, 5}});
    addCamera(2, {5, 6, 7});
    addCamera(3, {5});
    CameraIterator iterator(manager);
    iterator.Reload();
    iterator.DeleteCamera(2);
    EXPECT_EQ(entriesOf(first), (std::vector<Entry>{{4, 3, 5}}));
    EXPECT_TRUE(entriesOf(second).empty());
    EXPECT_EQ(cameraNumbers(), std::vector<int>{3});
}

TEST_F(ASiteIterator, DeletesOnlyTheEntriesOfThePresetOrEventDeleted)
{
    const auto dispenser = addDispenser(1, {{2, 2, 5}, {2, 2, 6}, {3, 3, 5}, {4, 2, 5}});
    addCamera(2, {5, 6});
    addCamera(3, {5});
    PresetIterator presets(manager);
    presets.Reload();
    presets.SelectCamera(2);
    presets.DeletePreset(5);
    EXPECT_EQ(entriesOf(dispenser), (std::vector<Entry>{{2, 2, 6}, {3, 3, 5}}));
    presets.First();
    EXPECT_EQ(presets.GetPresetNumber(), 6);
    EXPECT_EQ(presets.Count(), 1);

    EventIterator eventIterator(manager);
    eventIterator.Reload();
    eventIterator.AddEvent("Nozzle Lift");
    eventIterator.AddEvent("Nozzle Hung Up");
    eventIterator.DeleteEvent("Nozzle Lift");
    EXPECT_EQ(entriesOf(dispenser), (std::vector<Entry>{{3, 3, 5}}));
    eventIterator.First();
    EXPECT_EQ(eventIterator.GetEventName(), "Nozzle Hung Up");
    EXPECT_EQ(eventIterator.Count(), 1);
}

TEST_F(ASiteIterator, KeepsTheBlankCommentAndTheInverseMovableFlag)
{
    addCamera(4, {9});
    PresetIterator presets(manager);
    presets.Reload();
    EXPECT_EQ(presets.GetCameraNumber(), 4);
    presets.SelectPreset(9);
    presets.SetComment("");
    std::string stored;
    cameras->GetComment(1, 1, &stored);
    EXPECT_EQ(stored, " ");
    EXPECT_EQ(presets.GetComment(), "");
    presets.SetComment("Pump 4");
    EXPECT_EQ(presets.GetComment(), "Pump 4");

    POSIterator pos(manager);
    pos.Reload();
    pos.AddPOS(2);
    pos.SetFixed(true);
    std::int16_t movable = 7;
    points->GetMovableFlag(1, &movable);
    EXPECT_EQ(movable, 0);
    EXPECT_TRUE(pos.IsFixed());
    pos.SetFixed(false);
    points->GetMovableFlag(1, &movable);
    EXPECT_EQ(movable, -1);
    EXPECT_FALSE(pos.IsFixed());
    pos.SetCamera(3);
    pos.ClearCamera(false);
    EXPECT_FALSE(pos.HasNoCamera());
    pos.ClearCamera(true);
    EXPECT_TRUE(pos.HasNoCamera());
}

TEST_F(ASiteIterator, LoadsTheDefaultsOfEachKindOfRecord)
{
    addCamera(5);
    addDispenser(3);
    std::int16_t index = 0;
    points->NewPOS(1, &index);

    CameraIterator cameraIterator(manager);
    DispenserIterator dispenserIterator(manager);
    POSIterator posIterator(manager);
    EventIterator eventIterator(manager);
    for (Iterator *iterator : std::initializer_list<Iterator *>{&cameraIterator, &dispenserIterator,
                                                                &posIterator, &eventIterator}) {
        iterator->Reload();
        iterator->LoadDefaults();
    }
    EXPECT_EQ(cameraNumbers(), std::vector<int>{1});
    EXPECT_EQ(dispenserIterator.Count(), 0);
    EXPECT_EQ(posIterator.Count(), 0);

    std::vector<std::tuple<QString, int, int>> loaded;
    for (eventIterator.First(); !eventIterator.Eof(); eventIterator.Next())
        loaded.emplace_back(eventIterator.GetEventName(), eventIterator.GetPriority(),
                            eventIterator.GetTransitionPriority());
    EXPECT_EQ(loaded, (std::vector<std::tuple<QString, int, int>>{
                          {"Idle", 5, 5}, {"Nozzle Lift", 1, 5}, {"Delivery Start", 2, 4}}));
}

TEST_F(ASiteIterator, CachesWhichLoopAndPOSDevicesTheSiteHas)
{
    addDevice(11);
    addDevice(22);
    DispenserIterator dispenserIterator(manager);
    POSIterator posIterator(manager);
    CameraIterator cameraIterator(manager);
    dispenserIterator.Reload();
    posIterator.Reload();
    cameraIterator.Reload();
    EXPECT_EQ(std::vector<bool>(
                  {dispenserIterator.LoopDeviceExists(1), dispenserIterator.LoopDeviceExists(2),
                   dispenserIterator.LoopDeviceExists(3), dispenserIterator.LoopDeviceExists(4)}),
              std::vector<bool>({false, true, false, false}));
    EXPECT_FALSE(dispenserIterator.NoLoopDevice());
    EXPECT_TRUE(posIterator.POSDeviceExists(3));
    EXPECT_FALSE(posIterator.POSDeviceExists(1));
    EXPECT_TRUE(cameraIterator.NoCameraDevice());

    dispenserIterator.AddDispenser(7);
    dispenserIterator.SetLoop(2);
    dispenserIterator.SetAddress(16);
    dispenserIterator.SetCardTerminalAddress(0);
    DeviceIterator deviceIterator(manager);
    deviceIterator.Reload();
    EXPECT_TRUE(deviceIterator.DispenserOnLoop(2));
    EXPECT_FALSE(deviceIterator.DispenserOnLoop(1));
    dispenserIterator.SelectDispenser(7);
    EXPECT_EQ(dispenserIterator.GetAddress(), 16);
}

TEST_F(ASiteIterator, WalksEventEntriesOfTheCurrentDispenser)
{
    EventPresetIterator iterator(manager);
    iterator.Reload();
    EXPECT_EQ(iterator.Count(), 0) << "no dispenser";

    EventIterator eventIterator(manager);
    eventIterator.Reload();
    eventIterator.AddEvent("Idle");
    eventIterator.AddEvent("Nozzle Lift");
    addDispenser(4);
    addDispenser(9, {{2, 1, 3}});
    addCamera(1, {3});
    const std::string comment = "Pump nine";
    cameras->SetComment(1, 1, &comment);

    iterator.Reload();
    EXPECT_EQ(iterator.GetDispenserNumber(), 4);
    EXPECT_EQ(iterator.Count(), 2);
    iterator.SelectDispenserEvent(9, "Nozzle Lift");
    EXPECT_FALSE(iterator.NoEntry());
    EXPECT_EQ(iterator.GetCameraNumber(), 1);
    EXPECT_EQ(iterator.GetPresetNumber(), 3);
    EXPECT_EQ(iterator.GetPresetComment(), "Pump nine");

    iterator.SelectDispenserEvent(9, "Idle");
    EXPECT_TRUE(iterator.NoEntry());
    EXPECT_EQ(iterator.GetCameraNumber(), 0);
    EXPECT_EQ(iterator.GetPresetComment(), "No Comment");
    EXPECT_THROW(iterator.SetPresetNumber(2), ComError);

    // Deleting no entry is no error and asks the service nothing.
    const auto before = entriesOf(2);
    iterator.DeleteEntry(9, "Idle");
    EXPECT_EQ(entriesOf(2), before);
    EXPECT_TRUE(host.scriptedPrompter.shown.isEmpty());

    iterator.AddEntry(9, "Idle", 8, 2);
    EXPECT_EQ(entriesOf(2), (std::vector<Entry>{{2, 1, 3}, {0, 2, 8}}));
    iterator.DeleteEntry(9, "Nozzle Lift");
    EXPECT_EQ(entriesOf(2), (std::vector<Entry>{{0, 2, 8}}));

    // The current dispenser gone, Reload falls back to the first one.
    DispenserIterator dispenserIterator(manager);
    dispenserIterator.Reload();
    dispenserIterator.DeleteDispenser(9);
    iterator.Reload();
    EXPECT_EQ(iterator.GetDispenserNumber(), 4);
    iterator.First();
    EXPECT_TRUE(iterator.NoEntry());
}

// An event table whose every read fails.
class FailingEvents : public services::IEventData
{
public:
    HRESULT First(std::int16_t *index) override { return *index = 1, S_OK; }
    HRESULT Last(std::int16_t *index) override { return *index = 1, S_OK; }
    HRESULT Next(std::int16_t *index) override { return *index = 0, S_OK; }
    HRESULT Previous(std::int16_t *index) override { return *index = 0, S_OK; }
    HRESULT Count(std::int16_t *count) override { return *count = 1, S_OK; }
    HRESULT GetEventNumber(std::int16_t, std::int16_t *) override { return E_FAIL; }
    HRESULT GetPriority(std::int16_t, std::int16_t *) override { return E_FAIL; }
    HRESULT GetTransitionPriority(std::int16_t, std::int16_t *) override { return E_FAIL; }
    HRESULT SetPriority(std::int16_t, std::int16_t) override { return E_FAIL; }
    HRESULT SetTransitionPriority(std::int16_t, std::int16_t) override { return E_FAIL; }
    HRESULT NewEvent(std::int16_t, std::int16_t *) override { return E_FAIL; }
    HRESULT Delete(std::int16_t *) override { return E_FAIL; }
};

TEST_F(ASiteIterator, FindsNoEventOnAFailingTableAndSaysWhy)
{
    site.configData->eventTable = std::make_shared<FailingEvents>();
    EventIterator iterator(manager);
    iterator.Reload();
    EXPECT_EQ(iterator.FindEvent(2), 0);
    EXPECT_EQ(host.scriptedPrompter.shown, QStringList{"error: exception=Unspecified error"});
    EXPECT_THROW(iterator.SetPriority(3), ComError);
}

} // namespace
} // namespace configtool
