#include "recording_sink.h"

#include "transport/bcd_number.h"
#include "transport/camera_position_reply_count.h"
#include "transport/event_decoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace transport;
using testing::ElementsAre;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The line the decoder's event writes on a RecordingSink, or "" when it makes none.
std::string decodeOne(EventDecoder &decoder, std::uint8_t type, const Bytes &payload)
{
    const EventCall call = decoder.decode(type, payload);
    if (!call)
        return "";
    RecordingSink sink;
    call(sink);
    return sink.lines().at(0);
}

Bytes withText(Bytes head, const std::string &text)
{
    head.insert(head.end(), text.begin(), text.end());
    return head;
}

struct DecodeCase
{
    const char *name;
    std::uint8_t type;
    Bytes payload;
    std::string expected;
};

class AnEventDecoder : public testing::TestWithParam<DecodeCase>
{
};

} // namespace

TEST_P(AnEventDecoder, FiresTheEventOfItsPayload)
{
    EventDecoder decoder;
    EXPECT_EQ(decodeOne(decoder, GetParam().type, GetParam().payload), GetParam().expected);
}

const DecodeCase kDecodeCases[] = {
    {"HeartBeat", 'H', withText({}, "V1.2 B3"), "HeartBeat(V1.2 B3)"},
    {"HeartBeatEndsAtZero", 'H', Bytes{'V', '1', 0, 'x'}, "HeartBeat(V1)"},
    {"DebugInWindows1252", 'D', Bytes{'a', 0xE9, 0x80}, "Debug(a\xC3\xA9\xE2\x82\xAC)"},
    {"BootLoadReady", 'L', Bytes{0x00, 0x01, 0x80, 0x00, 0xFF}, "BootLoadReadyRequest(0,128,-1)"},
    {"BootLoadReadyShort", 'L', Bytes{0x05, 0x01}, "BootLoadReadyRequest(5,256,0)"},
    {"DispenserMap", 'M', Bytes{1, 2, 0xFE, 4}, "DispenserMap(1,2,-2,4)"},
    {"SystemDiagnostics", 'S', Bytes{0x7F, 0x80, 3, 4}, "SystemDiagnostics(127,-128,3,4)"},
    {"TaskConfig", 'T', Bytes{1, 2, 3, 4}, "TaskConfig(1,2,3,4)"},
    {"TaskConfigEmpty", 'T', Bytes{}, "TaskConfig(0,0,0,0)"},
    {"VehicleReg", 'V', withText({3}, "AB12 CDE"), "VehicleReg(3,AB12 CDE)"},
    {"VehicleRegNoText", 'V', Bytes{3}, "VehicleReg(3,)"},
    {"LinkError", 0, withText({}, std::string("No such file or directory\n") + std::string(20, '\0')), "OnError(No such file or directory\n)"},
    {"CameraPresets", 'C', Bytes{2, 1, 3, 0xC8, 4, 5, 6}, "OnCameraPreset(n=2;1,3,-56;4,5,6)"},
    {"CameraPresetsEmpty", 'C', Bytes{}, "OnCameraPreset(n=0)"},
    {"InterestZone", 'I', withText({1, 2, 3}, "Shop door"), "InterestZone(1,2,3,Shop door)"},
    {"ConfigData", 'G', Bytes{2, 10, 20, 30, 40, 0xC8, 1, 2, 3, 4, 5, 7, 0x85},
     "OnConfigData(n=2;1,10,1;2,20,2;3,30,3;4,40,4;5,200,5;ids,7,-123)"},
    {"ConfigDataWithoutIds", 'G', Bytes{3, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2},
     "OnConfigData(n=3;1,1,2;2,1,2;3,1,2;4,1,2;5,1,2;ids,1,2,3)"},
    {"Events", 'E', Bytes{1, 4, 0xC8, 0}, "OnEvents(n=1;4,-56,0)"},
    {"EventsCutTuple", 'E', Bytes{1, 4, 2}, "OnEvents(n=1;4,2,0)"},
    {"TaskDiagnosticsIgnoresPayload", 'U', Bytes{9, 9, 9, 9}, "TaskDiagnostics(0,0,0)"},
    {"TaskDiagnosticsEmpty", 'U', Bytes{}, "TaskDiagnostics(0,0,0)"},
    {"ResetCount", 'R', Bytes{0xF0}, "ResetCount(-16)"},
    {"CameraEventRevisiting", 'B', Bytes{1, 2, 3, 4, 1}, "OnCameraEvent(1,2,3,4,-1)"},
    {"CameraEventNotRevisiting", 'B', Bytes{1, 2, 3, 4, 2}, "OnCameraEvent(1,2,3,4,0)"},
    {"POSMessage", 'O', withText({1, 2, 3}, "TOTAL 12.00"), "OnPOSMessage(1,2,3,TOTAL 12.00)"},
    {"POSMessageEmpty", 'O', Bytes{1, 2, 3}, "OnPOSMessage(1,2,3,)"},
    {"POSMessageCut", 'O', withText({1, 2, 3}, std::string(197, 'x')),
     "OnPOSMessage(1,2,3," + std::string(79, 'x') + ")"},
    {"PumpEvent", 'W', Bytes{4, 1, 2, 0x81}, "OnPumpEvent(4,1,2,-127)"},
    {"POSEventData", 'P', Bytes{1, 2, 5, 4, 3}, "OnPOSEventData(1,2,-1,4,3)"},
    {"POSEventDataFixed", 'P', Bytes{1, 2, 0, 4, 3}, "OnPOSEventData(1,2,0,4,3)"},
    {"DeliveryTotals", 'X',
     Bytes{4, 1, 2, 0x00, 0x00, 0x12, 0x34, 0x56, 6, 0x00, 0x04, 0x56, 0x70, 0x00, 6, 0x00, 0x00, 0x01, 0x23, 0x45, 7, 3},
     "OnPumpEventWithDeliveryTotals(4,1,2,123456,4567000,12.345,3)"},
    {"DeliveryTotalsShort", 'X', Bytes{4, 1}, "OnPumpEventWithDeliveryTotals(4,1,0,0,0,0,0)"},
    {"PositionNibbleAddressed", 'Q', Bytes{'P', 2, 'C', 0, 0, 0, 0xFF, 0x5A, 0xB9, 0x85},
     "CameraPosition(2,-1.5,83.5,66.5)"},
    {"PositionNibbleAddressedOtherReply", 'Q', Bytes{'P', 2, 'D', 0, 0, 0, 1, 2, 3, 4}, ""},
    {"PositionA5Frame", 'Q', Bytes{'_', 1, 0x0B, 0xB8, 0x01, 0x00, 0x40, 0x00}, "CameraPosition(1,112.5,9.6,18)"},
    {"PositionA5FrameTele", 'Q', Bytes{'_', 1, 0, 0, 0, 0, 0x40, 0x64}, "CameraPosition(1,0,0,19.3873)"},
    {"PositionUnknownProtocol", 'Q', Bytes{'(', 1, 2, 3}, ""},
    {"UnknownType", 'K', Bytes{1, 2, 3}, ""},
    {"RequestLetterFromUnit", 'h', Bytes{}, ""},
};

INSTANTIATE_TEST_SUITE_P(EveryType, AnEventDecoder, testing::ValuesIn(kDecodeCases),
                         [](const auto &info) { return std::string(info.param.name); });

namespace {

// A Pelco D style position answer: sync, address, reply kind, value high and low, checksum.
Bytes axisReply(std::uint8_t camera, std::uint8_t kind, unsigned value, int checksumError = 0)
{
    const auto high = static_cast<std::uint8_t>(value >> 8);
    const auto low = static_cast<std::uint8_t>(value & 0xFF);
    const auto sum = static_cast<std::uint8_t>(1 + 0 + kind + high + low + checksumError);
    return Bytes{'Z', camera, 0xFF, 1, 0, kind, high, low, sum};
}

class AnAxisReplyDecoder : public testing::Test
{
protected:
    void SetUp() override { ResetCameraPositionReplyCount(); }
    void TearDown() override { ResetCameraPositionReplyCount(); }
    EventDecoder decoder;
};

} // namespace

TEST_F(AnAxisReplyDecoder, FiresOnePositionAfterThreeReplies)
{
    EXPECT_EQ(decodeOne(decoder, 'Q', axisReply(3, 'Y', 12000)), "");
    EXPECT_EQ(decodeOne(decoder, 'Q', axisReply(3, '[', 4500)), "");
    EXPECT_EQ(decodeOne(decoder, 'Q', axisReply(3, 'c', 250)), "CameraPosition(3,120,45,2.5)");
}

TEST_F(AnAxisReplyDecoder, CountsRepliesNotAxesAndKeepsEarlierValues)
{
    decodeOne(decoder, 'Q', axisReply(3, 'Y', 100));
    decodeOne(decoder, 'Q', axisReply(3, '[', 200));
    decodeOne(decoder, 'Q', axisReply(3, 'c', 300));
    EXPECT_EQ(decodeOne(decoder, 'Q', axisReply(3, 'Y', 1000)), "");
    EXPECT_EQ(decodeOne(decoder, 'Q', axisReply(3, 'Y', 1100)), "");
    EXPECT_EQ(decodeOne(decoder, 'Q', axisReply(3, 'c', 400)), "CameraPosition(3,11,2,4)");
}

TEST_F(AnAxisReplyDecoder, SkipsBadChecksumsAndOtherReplyKinds)
{
    EXPECT_EQ(decodeOne(decoder, 'Q', axisReply(3, 'Y', 100, 1)), "");
    EXPECT_EQ(decodeOne(decoder, 'Q', axisReply(3, 'Q', 100)), "");
    decodeOne(decoder, 'Q', axisReply(3, 'Y', 100));
    decodeOne(decoder, 'Q', axisReply(3, '[', 200));
    EXPECT_EQ(decodeOne(decoder, 'Q', axisReply(3, 'c', 300)), "CameraPosition(3,1,2,3)");
}

TEST_F(AnAxisReplyDecoder, SharesTheReplyCountAcrossDecoders)
{
    EventDecoder other;
    decodeOne(decoder, 'Q', axisReply(1, 'Y', 100));
    decodeOne(other, 'Q', axisReply(1, '[', 200));
    EXPECT_EQ(decodeOne(decoder, 'Q', axisReply(1, 'c', 300)), "CameraPosition(1,1,0,3)");
}

TEST(AnEventDecoderReader, MakesAFreshReaderPerSubscriberThatOutlivesTheEvent)
{
    struct Keeper : RecordingSink
    {
        HRESULT OnEvents(const std::shared_ptr<IEventsOutput> &r) override
        {
            kept = r;
            return S_OK;
        }
        std::shared_ptr<IEventsOutput> kept;
    };
    EventDecoder decoder;
    const EventCall call = decoder.decode('E', Bytes{1, 7, 8, 9});
    Keeper first;
    RecordingSink second;
    call(first);
    call(second);
    EXPECT_THAT(second.lines(), ElementsAre("OnEvents(n=1;7,8,9)"));
    std::int16_t a = 0, b = 0, c = 0, done = 0;
    first.kept->getTuple(&a, &b, &c);
    EXPECT_EQ(c, 9);
    first.kept->isDone(&done);
    EXPECT_EQ(done, -1);
}

struct PriceCase
{
    Bytes field;
    std::int64_t scaled;
};

TEST(ABcdPrice, ReadsEachFractionDigitAtItsPlace)
{
    const PriceCase cases[] = {
        {{0x00, 0x00, 0x12, 0x34, 0x56, 6}, 123456},
        {{0x00, 0x00, 0x01, 0x23, 0x45, 8}, 1234500},      // 123.45
        {{0x12, 0x34, 0x56, 0x78, 0x90, 10}, 12345678900000},
        {{0x12, 0x34, 0x56, 0x78, 0x90, 0}, 1234},          // only four fraction digits count
        {{0x00, 0x00, 0x00, 0x00, 0x12, 8}, 1200},          // 0.12, not 0.0012
        {{0x00, 0x00, 0x00, 0x01, 0x23, 7}, 1230},          // 0.123
        {{0x99, 0x99, 0x99, 0x99, 0x99, 0x7F}, 99999999990000},
        {{0x10, 0x00, 0x00, 0x00, 0x00, 0xFF}, 1000},       // a negative k counts as 0
    };
    for (const auto &c : cases) {
        const auto field = std::span<const std::uint8_t, 6>(c.field.data(), 6);
        EXPECT_EQ(DecodeBcdPrice(field).scaled, c.scaled) << testing::PrintToString(c.field);
    }
}

TEST(ABcdNumber, RoundTripsThroughTheSimulatedUnitsEncoding)
{
    for (const std::int64_t scaled : {0LL, 1LL, 123456LL, 9999999999LL}) {
        const BcdField field = EncodeBcdPrice(Currency{scaled});
        EXPECT_EQ(DecodeBcdPrice(field).scaled, scaled);
    }
    for (const double volume : {0.0, 12.345, 40.5, 9999999.999}) {
        const BcdField field = EncodeBcdVolume(volume);
        EXPECT_DOUBLE_EQ(DecodeBcdVolume(field), volume);
    }
    EXPECT_EQ(EncodeBcdVolume(12.345), (BcdField{0x00, 0x00, 0x01, 0x23, 0x45, 7}));
}
