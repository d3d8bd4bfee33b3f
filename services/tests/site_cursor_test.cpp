// The cursor protocol that every table of the in-memory site shares, run over all five tables,
// and the order of checks on the nested preset lists.

#include "services/camera_data.h"
#include "services/device_data.h"
#include "services/dispenser_data.h"
#include "services/event_data.h"
#include "services/pos_data.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace services {
namespace {

// One table seen through its own interface's cursor members; `add` creates a record carrying
// `number` (a device carries it as its type, having no number of its own).
struct TableUnderTest
{
    std::function<HRESULT(std::int16_t number, std::int16_t *index)> add;
    std::function<HRESULT(std::int16_t *)> first, last, count, next, previous, remove;
    std::function<HRESULT(std::int16_t index, std::int16_t *number)> numberAt;
    bool removeKeepsIndex = false;
};

struct TableKind
{
    std::string name;
    std::function<TableUnderTest()> make;
};

template <typename Table, typename Interface>
TableUnderTest wrap(std::shared_ptr<Table> table, HRESULT (Interface::*first)(std::int16_t *),
                    HRESULT (Interface::*last)(std::int16_t *), HRESULT (Interface::*count)(std::int16_t *),
                    HRESULT (Interface::*next)(std::int16_t *), HRESULT (Interface::*previous)(std::int16_t *),
                    HRESULT (Interface::*remove)(std::int16_t *))
{
    TableUnderTest t;
    t.first = [table, first](std::int16_t *i) { return (table.get()->*first)(i); };
    t.last = [table, last](std::int16_t *i) { return (table.get()->*last)(i); };
    t.count = [table, count](std::int16_t *i) { return (table.get()->*count)(i); };
    t.next = [table, next](std::int16_t *i) { return (table.get()->*next)(i); };
    t.previous = [table, previous](std::int16_t *i) { return (table.get()->*previous)(i); };
    t.remove = [table, remove](std::int16_t *i) { return (table.get()->*remove)(i); };
    return t;
}

TableUnderTest devices()
{
    auto table = std::make_shared<DeviceData>();
    auto t = wrap<DeviceData, IDeviceData>(table, &IDeviceData::First, &IDeviceData::Last, &IDeviceData::Count,
                                           &IDeviceData::Next, &IDeviceData::Previous, &IDeviceData::Delete);
    t.add = [table](std::int16_t number, std::int16_t *index) {
        const HRESULT hr = table->Append(index);
        if (SUCCEEDED(hr))
            table->SetDeviceType(*index, number);
        return hr;
    };
    t.numberAt = [table](std::int16_t i, std::int16_t *n) { return table->GetDeviceType(i, n); };
    return t;
}

TableUnderTest events()
{
    auto table = std::make_shared<EventData>();
    auto t = wrap<EventData, IEventData>(table, &IEventData::First, &IEventData::Last, &IEventData::Count,
                                         &IEventData::Next, &IEventData::Previous, &IEventData::Delete);
    t.add = [table](std::int16_t n, std::int16_t *i) { return table->NewEvent(n, i); };
    t.numberAt = [table](std::int16_t i, std::int16_t *n) { return table->GetEventNumber(i, n); };
    return t;
}

TableUnderTest pointsOfSale()
{
    auto table = std::make_shared<POSData>();
    auto t = wrap<POSData, IPOSData>(table, &IPOSData::First, &IPOSData::Last, &IPOSData::Count, &IPOSData::Next,
                                     &IPOSData::Previous, &IPOSData::Delete);
    t.add = [table](std::int16_t n, std::int16_t *i) { return table->NewPOS(n, i); };
    t.numberAt = [table](std::int16_t i, std::int16_t *n) { return table->GetPOSNumber(i, n); };
    return t;
}

TableUnderTest dispensers()
{
    auto table = std::make_shared<DispenserData>();
    auto t = wrap<DispenserData, IDispenserData>(
        table, &IDispenserData::FirstDispenser, &IDispenserData::LastDispenser, &IDispenserData::CountDispensers,
        &IDispenserData::NextDispenser, &IDispenserData::PreviousDispenser, &IDispenserData::DeleteDispenser);
    t.add = [table](std::int16_t n, std::int16_t *i) { return table->NewDispenser(n, i); };
    t.numberAt = [table](std::int16_t i, std::int16_t *n) { return table->GetDispenserLogicalNumber(i, n); };
    return t;
}

TableUnderTest cameras()
{
    auto table = std::make_shared<CameraData>();
    auto t = wrap<CameraData, ICameraData>(table, &ICameraData::FirstCamera, &ICameraData::LastCamera,
                                           &ICameraData::CountCameras, &ICameraData::NextCamera,
                                           &ICameraData::PreviousCamera, &ICameraData::DeleteCamera);
    t.add = [table](std::int16_t n, std::int16_t *i) { return table->NewCamera(n, i); };
    t.numberAt = [table](std::int16_t i, std::int16_t *n) { return table->GetCameraNumber(i, n); };
    t.removeKeepsIndex = true;
    return t;
}

class ATableCursor : public ::testing::TestWithParam<TableKind>
{
protected:
    TableUnderTest table = GetParam().make();

    void addThree()
    {
        for (std::int16_t number : {10, 20, 30}) {
            std::int16_t index = 0;
            ASSERT_EQ(table.add(number, &index), S_OK);
        }
    }
    std::int16_t apply(const std::function<HRESULT(std::int16_t *)> &member, std::int16_t index)
    {
        EXPECT_EQ(member(&index), S_OK);
        return index;
    }
};

TEST_P(ATableCursor, ReportsNoRecordOnAnEmptyTable)
{
    EXPECT_EQ(apply(table.first, 7), 0);
    EXPECT_EQ(apply(table.last, 7), 0);
    EXPECT_EQ(apply(table.count, 7), 0);
    EXPECT_EQ(apply(table.next, 0), 0);
    EXPECT_EQ(apply(table.previous, 0), 0);
    std::int16_t index = 1;
    EXPECT_EQ(table.remove(&index), E_INVALIDARG);
    std::int16_t number = 0;
    EXPECT_EQ(table.numberAt(1, &number), E_INVALIDARG);
}

TEST_P(ATableCursor, RefusesNullPointersBeforeAnythingElse)
{
    EXPECT_EQ(table.first(nullptr), E_POINTER);
    EXPECT_EQ(table.last(nullptr), E_POINTER);
    EXPECT_EQ(table.count(nullptr), E_POINTER);
    EXPECT_EQ(table.next(nullptr), E_POINTER);
    EXPECT_EQ(table.previous(nullptr), E_POINTER);
    EXPECT_EQ(table.remove(nullptr), E_POINTER);
    EXPECT_EQ(table.add(1, nullptr), E_POINTER);
    // The pointer is checked before the index.
    EXPECT_EQ(table.numberAt(0, nullptr), E_POINTER);
    EXPECT_EQ(table.numberAt(99, nullptr), E_POINTER);
}

TEST_P(ATableCursor, WalksThreeRecordsAndStopsAtEitherEnd)
{
    addThree();
    EXPECT_EQ(apply(table.first, 0), 1);
    EXPECT_EQ(apply(table.last, 0), 3);
    EXPECT_EQ(apply(table.count, 0), 3);
    EXPECT_EQ(apply(table.next, 1), 2);
    EXPECT_EQ(apply(table.next, 2), 3);
    EXPECT_EQ(apply(table.next, 3), 0);
    EXPECT_EQ(apply(table.previous, 1), 0);
    EXPECT_EQ(apply(table.previous, 3), 2);
    // Past the end there is no range check: the index just moves on.
    EXPECT_EQ(apply(table.next, 5), 6);
    EXPECT_EQ(apply(table.previous, 9), 8);
}

TEST_P(ATableCursor, RefusesIndexesOutsideTheTable)
{
    addThree();
    std::int16_t number = 0;
    for (std::int16_t index : {0, 4, -1})
        EXPECT_EQ(table.numberAt(index, &number), E_INVALIDARG) << index;
    std::int16_t index = 4;
    EXPECT_EQ(table.remove(&index), E_INVALIDARG);
    EXPECT_EQ(index, 4);
    index = 0;
    EXPECT_EQ(table.remove(&index), E_INVALIDARG);
}

TEST_P(ATableCursor, AppendsRecordsWithRepeatedNumbersAtTheEnd)
{
    addThree();
    std::int16_t first = 0, second = 0;
    ASSERT_EQ(table.add(5, &first), S_OK);
    ASSERT_EQ(table.add(5, &second), S_OK);
    EXPECT_EQ(first, 4);
    EXPECT_EQ(second, 5);
    std::int16_t number = 0;
    ASSERT_EQ(table.numberAt(5, &number), S_OK);
    EXPECT_EQ(number, 5);
}

TEST_P(ATableCursor, DeletingMovesTheFollowingRecordsUpAndAdjustsTheIndex)
{
    addThree();
    std::int16_t index = 1;
    ASSERT_EQ(table.remove(&index), S_OK);
    EXPECT_EQ(index, 1);
    std::int16_t number = 0;
    ASSERT_EQ(table.numberAt(1, &number), S_OK);
    EXPECT_EQ(number, 20);

    index = 2;
    ASSERT_EQ(table.remove(&index), S_OK);
    // The last record went: the index names nothing any more, except on the camera table, whose
    // clients rely on it staying.
    EXPECT_EQ(index, table.removeKeepsIndex ? 2 : 0);
    EXPECT_EQ(apply(table.count, 0), 1);

    index = 1;
    ASSERT_EQ(table.remove(&index), S_OK);
    EXPECT_EQ(index, table.removeKeepsIndex ? 1 : 0);
    EXPECT_EQ(apply(table.first, 9), 0);
}

INSTANTIATE_TEST_SUITE_P(AllTables, ATableCursor,
                         ::testing::Values(TableKind{"Devices", devices}, TableKind{"Events", events},
                                           TableKind{"PointsOfSale", pointsOfSale},
                                           TableKind{"Dispensers", dispensers}, TableKind{"Cameras", cameras}),
                         [](const auto &info) { return info.param.name; });

// The nested preset lists: which check comes first decides what a client with a stale owner
// index and a null pointer sees.
TEST(ANestedPresetList, ChecksTheOwnerBeforeThePointerForCursorsRetrieveAndDispenserDelete)
{
    DispenserData dispensers;
    CameraData cameras;
    std::shared_ptr<ICameraPresetData> entry;
    EXPECT_EQ(dispensers.FirstPreset(1, nullptr), E_INVALIDARG);
    EXPECT_EQ(dispensers.LastPreset(1, nullptr), E_INVALIDARG);
    EXPECT_EQ(dispensers.NextPreset(1, nullptr), E_INVALIDARG);
    EXPECT_EQ(dispensers.PreviousPreset(1, nullptr), E_INVALIDARG);
    EXPECT_EQ(dispensers.CountPresets(1, nullptr), E_INVALIDARG);
    EXPECT_EQ(dispensers.RetrieveCameraPreset(1, 1, nullptr), E_INVALIDARG);
    EXPECT_EQ(dispensers.DeletePreset(1, nullptr), E_INVALIDARG);
    EXPECT_EQ(cameras.FirstPreset(1, nullptr), E_INVALIDARG);
    EXPECT_EQ(cameras.LastPreset(1, nullptr), E_INVALIDARG);
    EXPECT_EQ(cameras.NextPreset(1, nullptr), E_INVALIDARG);
    EXPECT_EQ(cameras.PreviousPreset(1, nullptr), E_INVALIDARG);
    EXPECT_EQ(cameras.CountPresets(1, nullptr), E_INVALIDARG);
}

TEST(ANestedPresetList, ChecksThePointerBeforeTheOwnerEverywhereElse)
{
    DispenserData dispensers;
    CameraData cameras;
    EXPECT_EQ(dispensers.NewPreset(1, 4, nullptr), E_POINTER);
    EXPECT_EQ(cameras.NewPreset(1, 4, nullptr), E_POINTER);
    EXPECT_EQ(cameras.DeletePreset(1, nullptr), E_POINTER);
    EXPECT_EQ(cameras.GetComment(1, 1, nullptr), E_POINTER);
    EXPECT_EQ(cameras.SetComment(1, 1, nullptr), E_POINTER);
    EXPECT_EQ(cameras.GetPresetNumber(1, 1, nullptr), E_POINTER);
    EXPECT_EQ(dispensers.GetDispenserLoop(1, nullptr), E_POINTER);
}

TEST(ANestedPresetList, FollowsTheCursorRulesWithinItsOwner)
{
    CameraData cameras;
    std::int16_t camera = 0, preset = 0;
    ASSERT_EQ(cameras.NewCamera(3, &camera), S_OK);
    for (std::int16_t number : {11, 12, 13})
        ASSERT_EQ(cameras.NewPreset(camera, number, &preset), S_OK);
    EXPECT_EQ(preset, 3);
    preset = 3;
    ASSERT_EQ(cameras.NextPreset(camera, &preset), S_OK);
    EXPECT_EQ(preset, 0);
    preset = 3;
    ASSERT_EQ(cameras.DeletePreset(camera, &preset), S_OK);
    EXPECT_EQ(preset, 0);
    preset = 1;
    ASSERT_EQ(cameras.DeletePreset(camera, &preset), S_OK);
    EXPECT_EQ(preset, 1);
    std::int16_t number = 0;
    ASSERT_EQ(cameras.GetPresetNumber(camera, 1, &number), S_OK);
    EXPECT_EQ(number, 12);
    EXPECT_EQ(cameras.GetPresetNumber(camera, 2, &number), E_INVALIDARG);
}

TEST(ACameraPresetComment, IsStoredAndReturnedAsCopies)
{
    CameraData cameras;
    std::int16_t camera = 0, preset = 0;
    ASSERT_EQ(cameras.NewCamera(1, &camera), S_OK);
    ASSERT_EQ(cameras.NewPreset(camera, 4, &preset), S_OK);
    std::string comment = "unset";
    ASSERT_EQ(cameras.GetComment(camera, preset, &comment), S_OK);
    EXPECT_EQ(comment, "");
    std::string text = "Pump 4 nozzle";
    ASSERT_EQ(cameras.SetComment(camera, preset, &text), S_OK);
    text = "changed by the caller";
    ASSERT_EQ(cameras.GetComment(camera, preset, &comment), S_OK);
    EXPECT_EQ(comment, "Pump 4 nozzle");
    EXPECT_EQ(cameras.SetComment(camera, preset, nullptr), E_POINTER);
    ASSERT_EQ(cameras.GetComment(camera, preset, &comment), S_OK);
    EXPECT_EQ(comment, "Pump 4 nozzle");
}

TEST(ADispenserPresetEntry, IsTheDispensersOwnEntry)
{
    DispenserData dispensers;
    std::int16_t dispenser = 0, preset = 0;
    ASSERT_EQ(dispensers.NewDispenser(2, &dispenser), S_OK);
    ASSERT_EQ(dispensers.NewPreset(dispenser, 6, &preset), S_OK);
    std::shared_ptr<ICameraPresetData> entry;
    ASSERT_EQ(dispensers.RetrieveCameraPreset(dispenser, preset, &entry), S_OK);
    std::int16_t value = -1;
    ASSERT_EQ(entry->GetEventNumber(&value), S_OK);
    EXPECT_EQ(value, 6);
    ASSERT_EQ(entry->GetCameraNumber(&value), S_OK);
    EXPECT_EQ(value, 0);
    ASSERT_EQ(entry->SetPresetNumber(4), S_OK);
    entry.reset();

    ASSERT_EQ(dispensers.RetrieveCameraPreset(dispenser, preset, &entry), S_OK);
    ASSERT_EQ(entry->GetPresetNumber(&value), S_OK);
    EXPECT_EQ(value, 4);
    EXPECT_EQ(entry->GetPresetNumber(nullptr), E_POINTER);
    EXPECT_EQ(dispensers.RetrieveCameraPreset(dispenser, 2, &entry), E_INVALIDARG);
}

TEST(ADispenserPresetEntry, StaysUsableAfterItsDispenserIsDeleted)
{
    DispenserData dispensers;
    std::int16_t dispenser = 0, preset = 0;
    ASSERT_EQ(dispensers.NewDispenser(2, &dispenser), S_OK);
    ASSERT_EQ(dispensers.NewPreset(dispenser, 6, &preset), S_OK);
    std::shared_ptr<ICameraPresetData> entry;
    ASSERT_EQ(dispensers.RetrieveCameraPreset(dispenser, preset, &entry), S_OK);
    ASSERT_EQ(dispensers.DeleteDispenser(&dispenser), S_OK);
    EXPECT_EQ(dispenser, 0);
    EXPECT_EQ(entry->SetCameraNumber(3), S_OK);
    std::int16_t count = -1;
    ASSERT_EQ(dispensers.CountDispensers(&count), S_OK);
    EXPECT_EQ(count, 0);
}

TEST(ATable, RefusesToGrowPastTheLastIndex)
{
    EventData events;
    std::int16_t index = 0;
    for (int i = 0; i < 32767; ++i)
        ASSERT_EQ(events.NewEvent(1, &index), S_OK);
    EXPECT_EQ(index, 32767);
    EXPECT_EQ(events.NewEvent(1, &index), E_FAIL);
    EXPECT_EQ(index, 32767);
}

} // namespace
} // namespace services
