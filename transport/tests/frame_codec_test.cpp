#include "transport/frame_codec.h"

#include <gtest/gtest.h>

#include <vector>

using namespace transport;

namespace {

using Bytes = std::vector<std::uint8_t>;

} // namespace

TEST(AFrameCodec, EscapesEveryControlByteAndSendsTheChecksumRaw)
{
    const Bytes payload{0x02, 0x03, 0x06, 0x10, 0x15, 0x18};
    const auto frame = encodeFrame(1, 'p', payload);
    ASSERT_TRUE(frame);
    // The checksum of 1 ^ 'p' ^ 0 ^ 6 ^ (payload xor = 0x02^0x03^0x06^0x10^0x15^0x18) .
    const std::uint8_t sum = 1 ^ 'p' ^ 0 ^ 6 ^ 0x02 ^ 0x03 ^ 0x06 ^ 0x10 ^ 0x15 ^ 0x18;
    const Bytes expected{0x02, 0x01, 'p', 0x00, 0x10, 0x06, 0x10, 0x02, 0x10, 0x03, 0x10, 0x06,
                         0x10, 0x10, 0x10, 0x15, 0x10, 0x18, 0x03, sum};
    EXPECT_EQ(*frame, expected);
}
