#include "transport/frame_codec.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

using namespace transport;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct EncodeCase
{
    std::string_view legend;
    std::uint8_t sequence;
    std::uint8_t type;
    Bytes payload;
    Bytes wire;
};

std::uint8_t xorOf(std::initializer_list<std::uint8_t> bytes)
{
    std::uint8_t sum = 0;
    for (auto b : bytes)
        sum ^= b;
    return sum;
}

class AFrameEncoder : public ::testing::TestWithParam<EncodeCase>
{
};

} // namespace

TEST_P(AFrameEncoder, LaysOutEscapesAndChecksums)
{
    const EncodeCase &c = GetParam();
    const auto frame = encodeFrame(c.sequence, c.type, c.payload);
    ASSERT_TRUE(frame) << c.legend;
    EXPECT_EQ(*frame, c.wire) << c.legend;
    EXPECT_EQ(encodedFrameSize(c.sequence, c.type, c.payload), c.wire.size()) << c.legend;
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, AFrameEncoder,
    ::testing::Values(
        EncodeCase{"empty request", 1, 'h', {}, {0x02, 0x01, 'h', 0x00, 0x00, 0x03, 0x01 ^ 'h'}},
        EncodeCase{"STX in payload", 5, 'p', {0x02}, {0x02, 0x05, 'p', 0x00, 0x01, 0x10, 0x02, 0x03, xorOf({5, 'p', 1, 2})}},
        EncodeCase{"ETX in payload", 5, 'p', {0x03}, {0x02, 0x05, 'p', 0x00, 0x01, 0x10, 0x03, 0x03, xorOf({5, 'p', 1, 3})}},
        EncodeCase{"ACK in payload", 5, 'p', {0x06}, {0x02, 0x05, 'p', 0x00, 0x01, 0x10, 0x06, 0x03, xorOf({5, 'p', 1, 6})}},
        EncodeCase{"DLE in payload", 5, 'p', {0x10}, {0x02, 0x05, 'p', 0x00, 0x01, 0x10, 0x10, 0x03, xorOf({5, 'p', 1, 0x10})}},
        EncodeCase{"NAK in payload", 5, 'p', {0x15}, {0x02, 0x05, 'p', 0x00, 0x01, 0x10, 0x15, 0x03, xorOf({5, 'p', 1, 0x15})}},
        EncodeCase{"CAN in payload", 5, 'p', {0x18}, {0x02, 0x05, 'p', 0x00, 0x01, 0x10, 0x18, 0x03, xorOf({5, 'p', 1, 0x18})}},
        EncodeCase{"escaped sequence and length", 0x10, 'E', {0, 0, 0, 0, 0, 0},
                   {0x02, 0x10, 0x10, 'E', 0x00, 0x10, 0x06, 0, 0, 0, 0, 0, 0, 0x03, xorOf({0x10, 'E', 6})}},
        // 0x01 ^ 'P' ^ 0 ^ 1 ^ 'S' = 0x03: the checksum equals ETX and still goes out raw.
        EncodeCase{"checksum equal to ETX", 1, 'P', {'S'}, {0x02, 0x01, 'P', 0x00, 0x01, 'S', 0x03, 0x03}},
        EncodeCase{"checksum equal to ACK", 1, 'P', {'V'}, {0x02, 0x01, 'P', 0x00, 0x01, 'V', 0x03, 0x06}},
        EncodeCase{"checksum equal to DLE", 2, 'A', {'R'}, {0x02, 0x10, 0x02, 'A', 0x00, 0x01, 'R', 0x03, 0x10}}),
    [](const auto &info) { return "Row" + std::to_string(info.index); });

TEST(AFrameEncoderLimits, EscapesBothLengthBytesOfA528BytePayload)
{
    const Bytes payload(528, 'x');
    const auto frame = encodeFrame(1, 'l', payload);
    ASSERT_TRUE(frame);
    EXPECT_EQ(Bytes(frame->begin() + 3, frame->begin() + 7), (Bytes{0x10, 0x02, 0x10, 0x10}));
    EXPECT_EQ(frame->size(), 528u + 7 + 2);
}

TEST(AFrameEncoderLimits, RefusesFramesOver1000BytesOnTheLine)
{
    // Lengths from 768 on have ETX as their high byte, which takes an escape.
    EXPECT_EQ(encodeFrame(1, 'p', Bytes(992, 'x'))->size(), 1000u);
    EXPECT_FALSE(encodeFrame(1, 'p', Bytes(993, 'x')));
    // Escapes in the payload count too: 990 bytes, three of them control bytes, make 1001.
    Bytes escaped(990, 'x');
    for (int i = 0; i < 3; ++i)
        escaped[static_cast<std::size_t>(i) * 100] = 0x10;
    EXPECT_EQ(encodedFrameSize(1, 'p', escaped), 1001u);
    EXPECT_FALSE(encodeFrame(1, 'p', escaped));
}

TEST(AFrameSequence, StartsAt1AfterOpeningAndWrapsTo0AtThe32ndFrame)
{
    std::uint8_t sequence = 0;
    std::vector<std::uint8_t> numbers;
    for (int i = 0; i < 33; ++i)
        numbers.push_back(sequence = nextSequence(sequence));
    EXPECT_EQ(numbers.front(), 1);
    EXPECT_EQ(numbers[30], 31);
    EXPECT_EQ(numbers[31], 0);
    EXPECT_EQ(numbers[32], 1);
}
