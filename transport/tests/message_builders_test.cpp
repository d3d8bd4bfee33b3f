#include "recording_notifier.h"

#include "transport/camera_presets.h"
#include "transport/config_data.h"
#include "transport/default.h"
#include "transport/events.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

using namespace transport;
using testing::ElementsAre;
using testing::ElementsAreArray;

namespace {

const std::string kSizeNotice = "Maximum Message size exceeded.Please break message into parts";
const std::string kPriorityNotice = "Priority must be in the range 1-5.";

ByteArray bufferOf(IOrvexMsg &msg)
{
    ByteArray bytes;
    EXPECT_EQ(msg.getBuffer(&bytes), S_OK);
    return bytes;
}

std::int32_t typeOf(Default &msg)
{
    std::int32_t type = -1;
    EXPECT_EQ(msg.getMessageType(&type), S_OK);
    return type;
}

} // namespace

TEST(AConfigData, LaysOutCountTimesAndCameraIds)
{
    ConfigData msg;
    ASSERT_EQ(msg.setNumberOfCameras(4), S_OK);
    for (std::int16_t priority = 1; priority <= 5; ++priority) {
        ASSERT_EQ(msg.InsertDwellTime(static_cast<std::int16_t>(10 + priority), priority), S_OK);
        ASSERT_EQ(msg.InsertIntervisitTime(static_cast<std::int16_t>(20 + priority), priority), S_OK);
    }
    for (std::int16_t index = 0; index < 4; ++index)
        ASSERT_EQ(msg.setCameraID(index, static_cast<std::int16_t>(7 + index)), S_OK);

    EXPECT_THAT(bufferOf(msg), ElementsAre(4, 11, 12, 13, 14, 15, 21, 22, 23, 24, 25, 7, 8, 9, 10));
}

TEST(AConfigData, IgnoresAPriorityOutsideOneToFiveWithANotice)
{
    RecordingNotifier notices;
    ConfigData msg;
    msg.setNumberOfCameras(0);
    EXPECT_EQ(msg.InsertDwellTime(10, 6), S_OK);
    EXPECT_EQ(msg.InsertIntervisitTime(10, 0), S_OK);
    EXPECT_THAT(bufferOf(msg), ElementsAreArray(ByteArray(11, 0)));
    EXPECT_THAT(notices.texts(), ElementsAre(kPriorityNotice, kPriorityNotice));
}

TEST(AConfigData, RefusesCountsOneByteCannotHoldAndIndexesThatPassTheLastByte)
{
    ConfigData msg;
    EXPECT_EQ(msg.setNumberOfCameras(256), E_INVALIDARG);
    EXPECT_EQ(msg.setNumberOfCameras(-1), E_INVALIDARG);
    EXPECT_EQ(msg.setCameraID(989, 1), E_INVALIDARG);
    EXPECT_EQ(msg.setCameraID(-1, 1), E_INVALIDARG);
    EXPECT_TRUE(bufferOf(msg).empty());

    EXPECT_EQ(msg.setNumberOfCameras(255), S_OK);
    EXPECT_EQ(msg.setCameraID(254, 5), S_OK);
    EXPECT_EQ(msg.setCameraID(988, 6), S_OK);
    const ByteArray bytes = bufferOf(msg);
    ASSERT_EQ(bytes.size(), 266u);
    EXPECT_EQ(bytes[0], 255);
    EXPECT_EQ(bytes[265], 5);
}

TEST(ACameraPresets, KeepsByteZeroForTheDispenserWhenATupleComesFirst)
{
    CameraPresets msg;
    msg.AppendPreset(4, 2, 9);
    EXPECT_THAT(bufferOf(msg), ElementsAre(0, 4, 2, 9));
    msg.AppendLogicalDispenser(3);
    msg.AppendPreset(-1, 1, 0xFF);
    EXPECT_THAT(bufferOf(msg), ElementsAre(3, 4, 2, 9, 0xFF, 1, 0xFF));
}

TEST(AnEvents, RefusesATupleBeyondTheLastByteAndKeepsWhatItHas)
{
    Events msg;
    msg.AppendTotalEvents(2);
    for (int i = 0; i < 333; ++i)
        ASSERT_EQ(msg.AppendEvent(1, 2, 3), S_OK);
    std::int16_t length = 0;
    msg.getLength(&length);
    ASSERT_EQ(length, 1000);
    EXPECT_EQ(msg.AppendEvent(1, 2, 3), E_INVALIDARG);
    msg.getLength(&length);
    EXPECT_EQ(length, 1000);
}

TEST(AMessage, SetBufferCopiesToAnAbsoluteOffsetAndCountsTheOffsetAgainstTheLimit)
{
    RecordingNotifier notices;
    Default msg;
    ASSERT_EQ(msg.PassThrough(1, ByteArray(300, 0xAA)), S_OK);
    std::int16_t length = 0;
    msg.getLength(&length);
    EXPECT_EQ(length, 301);

    Default full;
    EXPECT_EQ(full.PassThrough(1, ByteArray(998, 1)), S_OK);
    Default over;
    EXPECT_EQ(over.PassThrough(1, ByteArray(999, 1)), E_INVALIDARG);
    EXPECT_TRUE(bufferOf(over).empty());
    EXPECT_EQ(typeOf(over), 0);
    EXPECT_THAT(notices.texts(), ElementsAre(kSizeNotice));
}

TEST(AMessage, RefusesANegativeOffsetWithoutWriting)
{
    RecordingNotifier notices;
    ConfigData msg;
    EXPECT_EQ(msg.setBuffer(ByteArray{1, 2, 3}, -2), E_INVALIDARG);
    EXPECT_TRUE(bufferOf(msg).empty());
    EXPECT_EQ(msg.setBuffer(ByteArray{1, 2, 3}, 0), S_OK);
    EXPECT_THAT(bufferOf(msg), ElementsAre(1, 2, 3));
}

TEST(AMessage, ChecksItsOutputPointers)
{
    Default msg;
    EXPECT_EQ(msg.getBuffer(nullptr), E_POINTER);
    EXPECT_EQ(msg.getLength(nullptr), E_POINTER);
    EXPECT_EQ(msg.getMessageType(nullptr), E_POINTER);
}

struct DefaultCase
{
    const char *name;
    HRESULT (*build)(Default &);
    char type;
    ByteArray payload;
};

class ADefaultBuilder : public testing::TestWithParam<DefaultCase>
{
};

TEST_P(ADefaultBuilder, SetsItsTypeAndPayload)
{
    Default msg;
    ASSERT_EQ(GetParam().build(msg), S_OK);
    EXPECT_EQ(typeOf(msg), GetParam().type);
    EXPECT_EQ(bufferOf(msg), GetParam().payload);
}

const DefaultCase kDefaultCases[] = {
    {"InterestZone", [](Default &m) { return m.CreateInterestZoneTable(1, 2, 3, ByteArray{'A', 'B'}); }, 'I',
     {1, 2, 3, 'A', 'B'}},
    {"DispenserMap", [](Default &m) { return m.CreateDispenserMap(1, 2, 3, 4); }, 'M', {1, 2, 3, 4}},
    {"TaskConfig", [](Default &m) { return m.CreateTaskConfig(5, 6, 7, -1); }, 'T', {5, 6, 7, 0xFF}},
    {"VehicleRegistration", [](Default &m) { return m.CreateVehicleRegistration(2, ByteArray{'X', '1'}); }, 'V',
     {2, 'X', '1'}},
    {"BootLoadData", [](Default &m) { return m.CreateBootLoadData(0x1234, 0x0210, ByteArray{9}); }, 'l',
     {0x12, 0x34, 0x02, 0x10, 9}},
    // Address and count are 16-bit values, two bytes each.
    {"BootLoadDataAtTheTop", [](Default &m) { return m.CreateBootLoadData(-1, 0x7FFF, ByteArray{}); }, 'l',
     {0xFF, 0xFF, 0x7F, 0xFF}},
    {"PassThrough", [](Default &m) { return m.PassThrough(1, ByteArray{0xFF, 0x03}); }, 'p', {1, 0xFF, 0x03}},
    {"ToggleDebug", [](Default &m) { return m.ToggleDebug(30); }, 'y', {30}},
    {"POSEventConfig", [](Default &m) { return m.CreatePOSEventConfig(1, 2, -1, 4, 5); }, 'P', {1, 2, 1, 4, 5}},
    {"POSEventConfigFixed", [](Default &m) { return m.CreatePOSEventConfig(1, 2, 0, 4, 5); }, 'P', {1, 2, 0, 4, 5}},
    {"RequestPOSEventConfig", [](Default &m) { return m.RequestPOSEventConfig(7); }, 'o', {7}},
    {"RequestTaskDiagnostics", [](Default &m) { return m.RequestTaskDiagnostics(); }, 's', {}},
    {"RequestBootLoad", [](Default &m) { return m.RequestBootLoad(); }, 'b', {}},
    {"RequestCameraPresets", [](Default &m) { return m.RequestCameraPresets(); }, 'c', {}},
    {"RequestEvents", [](Default &m) { return m.RequestEvents(); }, 'e', {}},
    {"RequestDispenserMap", [](Default &m) { return m.RequestDispenserMap(); }, 'm', {}},
    {"RequestConfigData", [](Default &m) { return m.RequestConfigData(); }, 'g', {}},
    {"RequestHeartbeat", [](Default &m) { return m.RequestHeartbeat(); }, 'h', {}},
    {"RequestInterestZone", [](Default &m) { return m.RequestInterestZone(); }, 'i', {}},
    {"RequestTaskConfig", [](Default &m) { return m.RequestTaskConfig(); }, 't', {}},
    {"ClearMemory", [](Default &m) { return m.ClearMemory(); }, 'x', {}},
    {"RequestResetCount", [](Default &m) { return m.RequestResetCount(); }, 'r', {}},
    {"ClearResetCount", [](Default &m) { return m.ClearResetCount(); }, 'z', {}},
};

INSTANTIATE_TEST_SUITE_P(EveryMember, ADefaultBuilder, testing::ValuesIn(kDefaultCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ADefault, ARequestDiscardsTheTableItHeld)
{
    Default msg;
    msg.CreateDispenserMap(1, 2, 3, 4);
    msg.RequestHeartbeat();
    EXPECT_TRUE(bufferOf(msg).empty());
    EXPECT_EQ(typeOf(msg), 'h');
}

TEST(ADefault, RefusesTheAttendantTagTable)
{
    RecordingNotifier notices;
    Default msg;
    EXPECT_EQ(msg.AttendantTagTable(), E_FAIL);
    EXPECT_EQ(typeOf(msg), 0);
    EXPECT_THAT(notices.texts(), ElementsAre("Attendant Tag Table has not been implemented in Orvex"));
}

namespace {

// One byte field of one builder: the message is made and given its other bytes by `make`, then
// `set` writes the value under test, which lands at `index`.
struct FieldCase
{
    const char *name;
    std::function<std::shared_ptr<IOrvexMsg>()> make;
    std::function<HRESULT(IOrvexMsg &, std::int16_t)> set;
    int index;
    int min = -128; // what one byte gives back read signed ...
    int max = 255;  // ... or unsigned
};

void PrintTo(const FieldCase &field, std::ostream *out)
{
    *out << field.name;
}

template <typename Message>
std::function<std::shared_ptr<IOrvexMsg>()> made(std::function<void(Message &)> prepare = {})
{
    return [prepare] {
        auto msg = std::make_shared<Message>();
        if (prepare)
            prepare(*msg);
        return msg;
    };
}

template <typename Message>
std::function<HRESULT(IOrvexMsg &, std::int16_t)> setting(HRESULT (*set)(Message &, std::int16_t))
{
    return [set](IOrvexMsg &msg, std::int16_t value) { return set(dynamic_cast<Message &>(msg), value); };
}

void withCameras(ConfigData &m)
{
    m.setNumberOfCameras(1);
}

const FieldCase kFieldCases[] = {
    {"DwellTime1", made<ConfigData>(withCameras), setting<ConfigData>([](auto &m, auto v) { return m.InsertDwellTime(v, 1); }), 1},
    {"DwellTime5", made<ConfigData>(withCameras), setting<ConfigData>([](auto &m, auto v) { return m.InsertDwellTime(v, 5); }), 5},
    {"IntervisitTime1", made<ConfigData>(withCameras), setting<ConfigData>([](auto &m, auto v) { return m.InsertIntervisitTime(v, 1); }), 6},
    {"IntervisitTime5", made<ConfigData>(withCameras), setting<ConfigData>([](auto &m, auto v) { return m.InsertIntervisitTime(v, 5); }), 10},
    {"CameraId", made<ConfigData>(withCameras), setting<ConfigData>([](auto &m, auto v) { return m.setCameraID(0, v); }), 11},
    {"NumberOfCameras", made<ConfigData>(), setting<ConfigData>([](auto &m, auto v) { return m.setNumberOfCameras(v); }), 0, 0, 255},
    {"LogicalDispenser", made<CameraPresets>(), setting<CameraPresets>([](auto &m, auto v) { return m.AppendLogicalDispenser(v); }), 0},
    {"PresetEvent", made<CameraPresets>(), setting<CameraPresets>([](auto &m, auto v) { return m.AppendPreset(v, 0, 0); }), 1},
    {"PresetCamera", made<CameraPresets>(), setting<CameraPresets>([](auto &m, auto v) { return m.AppendPreset(0, v, 0); }), 2},
    {"PresetNumber", made<CameraPresets>(), setting<CameraPresets>([](auto &m, auto v) { return m.AppendPreset(0, 0, v); }), 3},
    {"TotalEvents", made<Events>(), setting<Events>([](auto &m, auto v) { return m.AppendTotalEvents(v); }), 0},
    {"EventNumber", made<Events>(), setting<Events>([](auto &m, auto v) { return m.AppendEvent(v, 0, 0); }), 1},
    {"EventPriority", made<Events>(), setting<Events>([](auto &m, auto v) { return m.AppendEvent(0, v, 0); }), 2},
    {"EventTransition", made<Events>(), setting<Events>([](auto &m, auto v) { return m.AppendEvent(0, 0, v); }), 3},
    {"ZoneNumber", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreateInterestZoneTable(v, 0, 0, {}); }), 0},
    {"ZoneCamera", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreateInterestZoneTable(0, v, 0, {}); }), 1},
    {"ZonePreset", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreateInterestZoneTable(0, 0, v, {}); }), 2},
    {"MapLogical", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreateDispenserMap(v, 0, 0, 0); }), 0},
    {"MapLoop", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreateDispenserMap(0, v, 0, 0); }), 1},
    {"MapAddress", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreateDispenserMap(0, 0, v, 0); }), 2},
    {"MapCardAddress", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreateDispenserMap(0, 0, 0, v); }), 3},
    {"TaskType", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreateTaskConfig(v, 0, 0, 0); }), 0},
    {"TaskInport", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreateTaskConfig(0, v, 0, 0); }), 1},
    {"TaskOutport", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreateTaskConfig(0, 0, v, 0); }), 2},
    {"TaskInterface", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreateTaskConfig(0, 0, 0, v); }), 3},
    {"VehicleLogical", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreateVehicleRegistration(v, {'A'}); }), 0},
    {"PassThroughPort", made<Default>(), setting<Default>([](auto &m, auto v) { return m.PassThrough(v, {1}); }), 0},
    {"DebugTime", made<Default>(), setting<Default>([](auto &m, auto v) { return m.ToggleDebug(v); }), 0},
    {"POSNumber", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreatePOSEventConfig(v, 0, 0, 0, 0); }), 0},
    {"POSCamera", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreatePOSEventConfig(0, v, 0, 0, 0); }), 1},
    {"POSPreset", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreatePOSEventConfig(0, 0, 0, v, 0); }), 3},
    {"POSPriority", made<Default>(), setting<Default>([](auto &m, auto v) { return m.CreatePOSEventConfig(0, 0, 0, 0, v); }), 4},
    {"RequestedPOS", made<Default>(), setting<Default>([](auto &m, auto v) { return m.RequestPOSEventConfig(v); }), 0},
};

std::int32_t typeOfAny(IOrvexMsg &msg)
{
    std::int32_t type = 0;
    if (auto *fixed = dynamic_cast<Default *>(&msg))
        fixed->getMessageType(&type);
    return type;
}

class ABuilderField : public testing::TestWithParam<FieldCase>
{
};

} // namespace

// The unit reads each of these fields as one byte: a value the byte cannot give back would reach
// it as another, so the builder refuses it and the message stays as it was.
TEST_P(ABuilderField, CarriesWhatOneByteGivesBackAndRefusesTheRest)
{
    const FieldCase &field = GetParam();
    for (const int value : {field.min, field.max}) {
        SCOPED_TRACE(value);
        const auto msg = field.make();
        ASSERT_EQ(field.set(*msg, static_cast<std::int16_t>(value)), S_OK);
        const ByteArray bytes = bufferOf(*msg);
        ASSERT_GT(bytes.size(), static_cast<std::size_t>(field.index));
        EXPECT_EQ(bytes[static_cast<std::size_t>(field.index)], static_cast<std::uint8_t>(value));
    }
    for (const int value : {field.min - 1, field.max + 1, -32768, 32767}) {
        SCOPED_TRACE(value);
        const auto msg = field.make();
        const ByteArray before = bufferOf(*msg);
        const std::int32_t typeBefore = typeOfAny(*msg);
        EXPECT_EQ(field.set(*msg, static_cast<std::int16_t>(value)), E_INVALIDARG);
        EXPECT_EQ(bufferOf(*msg), before);
        EXPECT_EQ(typeOfAny(*msg), typeBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryByteField, ABuilderField, testing::ValuesIn(kFieldCases),
                         [](const auto &info) { return std::string(info.param.name); });
