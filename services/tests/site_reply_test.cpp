// How each reply of the unit fills the in-memory site.

#include "site_test_support.h"

#include <gmock/gmock.h>

namespace services::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class AReply : public SiteOverRecordingTransport
{
protected:
    [[nodiscard]] std::vector<std::vector<std::int16_t>> dispenserEntries(std::int16_t dispenser) const
    {
        std::vector<std::vector<std::int16_t>> rows;
        std::int16_t preset = 0;
        for (dispensers->FirstPreset(dispenser, &preset); preset != 0; dispensers->NextPreset(dispenser, &preset)) {
            std::shared_ptr<ICameraPresetData> entry;
            dispensers->RetrieveCameraPreset(dispenser, preset, &entry);
            std::int16_t event = 0, camera = 0, number = 0;
            entry->GetEventNumber(&event);
            entry->GetCameraNumber(&camera);
            entry->GetPresetNumber(&number);
            rows.push_back({event, camera, number});
        }
        return rows;
    }
    [[nodiscard]] std::vector<std::int16_t> cameraNumbers() const
    {
        std::vector<std::int16_t> numbers;
        std::int16_t camera = 0;
        for (cameras->FirstCamera(&camera); camera != 0; cameras->NextCamera(&camera)) {
            std::int16_t number = 0;
            cameras->GetCameraNumber(camera, &number);
            numbers.push_back(number);
        }
        return numbers;
    }
};

TEST_F(AReply, OfADispenserMapAlwaysAddsADispenser)
{
    site.OnDispenserMapReply(3, 1, 2, 9);
    site.OnDispenserMapReply(3, 4, 5, 6);
    ASSERT_EQ(count([&](auto *n) { return dispensers->CountDispensers(n); }), 2);
    std::int16_t value = 0;
    dispensers->GetDispenserLogicalNumber(2, &value);
    EXPECT_EQ(value, 3);
    dispensers->GetDispenserLoop(2, &value);
    EXPECT_EQ(value, 4);
    dispensers->GetDispenserAddress(2, &value);
    EXPECT_EQ(value, 5);
    dispensers->GetCardTerminalAddress(2, &value);
    EXPECT_EQ(value, 6);
}

TEST_F(AReply, OfATaskConfigurationAppendsADevice)
{
    site.OnTaskConfigReply(7, 1, 2, 3);
    std::int16_t type = 0, in = 0, out = 0, iface = 0;
    devices->GetDeviceType(1, &type);
    devices->GetInport(1, &in);
    devices->GetOutport(1, &out);
    devices->GetInterface(1, &iface);
    EXPECT_THAT((std::vector<std::int16_t>{type, in, out, iface}), ElementsAre(7, 1, 2, 3));
}

TEST_F(AReply, OfEventsAddsEachTupleAndKeepsEarlierEvents)
{
    std::int16_t index = 0;
    events->NewEvent(9, &index);
    site.OnEventsReply(std::make_shared<FakeEventsReply>(std::vector<FakeEventsReply::Tuple>{{4, 2, 1}, {5, 3, 0}}));
    ASSERT_EQ(count([&](auto *n) { return events->Count(n); }), 3);
    std::int16_t number = 0, priority = 0, transition = 0;
    events->GetEventNumber(3, &number);
    events->GetPriority(3, &priority);
    events->GetTransitionPriority(3, &transition);
    EXPECT_THAT((std::vector<std::int16_t>{number, priority, transition}), ElementsAre(5, 3, 0));
}

TEST_F(AReply, OfConfigurationDataReplacesTheCamerasAndSetsTheTimesOfValidPriorities)
{
    addCamera(1, {4, 5});
    addCamera(2);
    site.OnConfigDataReply(std::make_shared<FakeConfigReply>(
        std::vector<std::int16_t>{6, 2, 6}, std::vector<FakeConfigReply::Tuple>{{1, 30, 60}, {0, 7, 7}, {5, 31, 61}, {6, 8, 8}}));
    EXPECT_THAT(cameraNumbers(), ElementsAre(6, 2, 6));
    // The presets went with the cameras they belonged to.
    EXPECT_THAT(cameraPresets(2), IsEmpty());
    std::int16_t time = 0;
    site.GetDwellTime(1, &time);
    EXPECT_EQ(time, 30);
    site.GetIntervisitTime(5, &time);
    EXPECT_EQ(time, 61);
    site.GetDwellTime(2, &time);
    EXPECT_EQ(time, 0);
}

TEST_F(AReply, OfCameraPresetsFillsTheFirstDispenserOfThatNumberAndAddsMissingCameraPresets)
{
    std::int16_t index = 0;
    dispensers->NewDispenser(1, &index);
    dispensers->NewDispenser(2, &index);
    dispensers->NewDispenser(2, &index);
    const std::int16_t camera = addCamera(5, {9});
    site.OnCameraPresetReply(std::make_shared<FakePresetsReply>(
        2, std::vector<FakePresetsReply::Tuple>{{4, 5, 9}, {6, 5, 12}, {7, 8, 3}}));
    EXPECT_THAT(dispenserEntries(1), IsEmpty());
    EXPECT_THAT(dispenserEntries(2), ElementsAre(ElementsAre(4, 5, 9), ElementsAre(6, 5, 12), ElementsAre(7, 8, 3)));
    EXPECT_THAT(dispenserEntries(3), IsEmpty());
    // Camera 5 already had preset 9; camera 8 does not exist.
    EXPECT_THAT(cameraPresets(camera), ElementsAre(9, 12));
    EXPECT_THAT(cameraNumbers(), ElementsAre(5));
}

TEST_F(AReply, OfCameraPresetsForAnUnknownDispenserChangesNothing)
{
    std::int16_t index = 0;
    dispensers->NewDispenser(1, &index);
    const std::int16_t camera = addCamera(5);
    site.OnCameraPresetReply(std::make_shared<FakePresetsReply>(4, std::vector<FakePresetsReply::Tuple>{{4, 5, 9}}));
    EXPECT_THAT(dispenserEntries(1), IsEmpty());
    EXPECT_THAT(cameraPresets(camera), IsEmpty());
}

TEST_F(AReply, OfPointOfSaleDataWithCamera0ChangesNothing)
{
    site.OnPOSEventDataReply(1, 0, -1, 4, 2);
    EXPECT_EQ(count([&](auto *n) { return points->Count(n); }), 0);
}

TEST_F(AReply, OfAMovablePointOfSaleAddsItsPresetToTheCameraOnce)
{
    const std::int16_t camera = addCamera(4, {9});
    site.OnPOSEventDataReply(1, 4, -1, 9, 2);
    site.OnPOSEventDataReply(2, 4, -1, 11, 3);
    site.OnPOSEventDataReply(3, 4, 0, 12, 3);
    site.OnPOSEventDataReply(4, 4, 1, 13, 3);
    site.OnPOSEventDataReply(5, 4, -1, 0, 3);
    EXPECT_EQ(count([&](auto *n) { return points->Count(n); }), 5);
    // Only a flag of exactly -1 with a preset other than 0 moves a camera.
    EXPECT_THAT(cameraPresets(camera), ElementsAre(9, 11));
    std::int16_t value = 0;
    points->GetPOSNumber(2, &value);
    EXPECT_EQ(value, 2);
    points->GetCamera(2, &value);
    EXPECT_EQ(value, 4);
    points->GetMovableFlag(2, &value);
    EXPECT_EQ(value, -1);
    points->GetPreset(2, &value);
    EXPECT_EQ(value, 11);
    points->GetPriority(2, &value);
    EXPECT_EQ(value, 3);
}

TEST_F(AReply, ThatArrivesTwiceIsAppliedTwice)
{
    site.OnTaskConfigReply(7, 1, 2, 3);
    site.OnTaskConfigReply(7, 1, 2, 3);
    EXPECT_EQ(count([&](auto *n) { return devices->Count(n); }), 2);
}

TEST(AReplyWithoutALoadedSite, IsDropped)
{
    OrvexConfigData site{nullptr, {}, [] { return std::make_shared<EmptyStore>(); }};
    // Without storage there are no tables at all.
    site.OnTaskConfigReply(7, 1, 2, 3);
    site.OnConfigDataReply(std::make_shared<FakeConfigReply>(std::vector<std::int16_t>{1},
                                                             std::vector<FakeConfigReply::Tuple>{{1, 2, 3}}));
    site.OnCameraPresetReply(nullptr);
    ASSERT_EQ(site.InitializeStorage(), S_OK);
    site.OnTaskConfigReply(7, 1, 2, 3);
    site.OnPOSEventDataReply(1, 4, -1, 9, 2);
    site.markLoadedFromUnit();
    std::shared_ptr<IDeviceData> devices;
    ASSERT_EQ(site.RetrieveDevice(&devices), S_OK);
    std::int16_t n = -1;
    devices->Count(&n);
    EXPECT_EQ(n, 0);
}

// A reader that never reports its end must not hold the service thread.
class EndlessEventsReply final : public transport::IEventsOutput
{
public:
    HRESULT Begin() override { return S_OK; }
    HRESULT isDone(std::int16_t *done) override
    {
        *done = 0;
        return S_OK;
    }
    HRESULT getTotalEvents(std::int16_t *value) override
    {
        *value = 1;
        return S_OK;
    }
    HRESULT getTuple(std::int16_t *a, std::int16_t *b, std::int16_t *c) override
    {
        *a = *b = *c = 1;
        return S_OK;
    }
};

TEST_F(AReply, FromABrokenReaderEndsAfterAsManyTuplesAsAMessageCanHold)
{
    site.OnEventsReply(std::make_shared<EndlessEventsReply>());
    EXPECT_EQ(count([&](auto *n) { return events->Count(n); }), transport::kMaxMessageSize);
}

} // namespace
} // namespace services::testing
