#include "recording_notifier.h"

#include "transport/camera_presets.h"
#include "transport/config_data.h"
#include "transport/default.h"
#include "transport/events.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
        ASSERT_EQ(msg.setCameraID(index, static_cast<std::int16_t>(0x100 + 7 + index)), S_OK);

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

TEST(AConfigData, RefusesCountsAndIndexesThatPassTheLastByte)
{
    ConfigData msg;
    EXPECT_EQ(msg.setNumberOfCameras(990), E_INVALIDARG);
    EXPECT_EQ(msg.setNumberOfCameras(-1), E_INVALIDARG);
    EXPECT_EQ(msg.setCameraID(989, 1), E_INVALIDARG);
    EXPECT_EQ(msg.setCameraID(-1, 1), E_INVALIDARG);
    EXPECT_TRUE(bufferOf(msg).empty());

    EXPECT_EQ(msg.setNumberOfCameras(989), S_OK);
    EXPECT_EQ(msg.setCameraID(988, 5), S_OK);
    const ByteArray bytes = bufferOf(msg);
    ASSERT_EQ(bytes.size(), 1000u);
    EXPECT_EQ(bytes[999], 5);
}

TEST(ACameraPresets, KeepsByteZeroForTheDispenserWhenATupleComesFirst)
{
    CameraPresets msg;
    msg.AppendPreset(4, 2, 9);
    EXPECT_THAT(bufferOf(msg), ElementsAre(0, 4, 2, 9));
    msg.AppendLogicalDispenser(3);
    msg.AppendPreset(-1, 1, 0x1FF);
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
    {"DispenserMap", [](Default &m) { return m.CreateDispenserMap(1, 2, 3, 0x104); }, 'M', {1, 2, 3, 4}},
    {"TaskConfig", [](Default &m) { return m.CreateTaskConfig(5, 6, 7, -1); }, 'T', {5, 6, 7, 0xFF}},
    {"VehicleRegistration", [](Default &m) { return m.CreateVehicleRegistration(2, ByteArray{'X', '1'}); }, 'V',
     {2, 'X', '1'}},
    {"BootLoadData", [](Default &m) { return m.CreateBootLoadData(0x1234, 0x0210, ByteArray{9}); }, 'l',
     {0x12, 0x34, 0x02, 0x10, 9}},
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
