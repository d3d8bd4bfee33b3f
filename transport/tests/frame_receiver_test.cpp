#include "transport/frame_receiver.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

using namespace transport;
namespace c = transport::control;

namespace {

using Bytes = std::vector<std::uint8_t>;
using E = ReceiveEvent;

Bytes frameOf(std::uint8_t sequence, std::uint8_t type, const Bytes &payload)
{
    return encodeFrameUnchecked(sequence, type, payload);
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto &p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

struct ReceiveCase
{
    std::string_view legend;
    Bytes wire;
    bool silenceAtEnd;
    std::vector<E> events;         // every event other than None, in order
    std::vector<Bytes> delivered;  // payloads of accepted frames
};

struct Outcome
{
    std::vector<E> events;
    std::vector<Bytes> delivered;
};

Outcome run(const ReceiveCase &c)
{
    FrameReceiver receiver;
    receiver.reset();
    Outcome out;
    auto take = [&](E event) {
        if (event == E::None)
            return;
        out.events.push_back(event);
        if (event == E::FrameAccepted)
            out.delivered.emplace_back(receiver.payload().begin(), receiver.payload().end());
    };
    for (std::uint8_t byte : c.wire)
        take(receiver.feed(byte));
    if (c.silenceAtEnd)
        take(receiver.silence());
    return out;
}

class AFrameReceiver : public ::testing::TestWithParam<ReceiveCase>
{
};

const Bytes kGood = frameOf(1, 'B', {0x01, 0x04});
const Bytes kControlPayload{c::STX, c::ETX, c::ACK, c::DLE, c::NAK, c::CAN};

Bytes withChecksum(Bytes frame, std::uint8_t checksum)
{
    frame.back() = checksum;
    return frame;
}

} // namespace

TEST_P(AFrameReceiver, FollowsTheReceiveTable)
{
    const ReceiveCase &c = GetParam();
    const Outcome out = run(c);
    EXPECT_EQ(out.events, c.events) << c.legend;
    EXPECT_EQ(out.delivered, c.delivered) << c.legend;
}

INSTANTIATE_TEST_SUITE_P(
    Table, AFrameReceiver,
    ::testing::Values(
        ReceiveCase{"good frame", kGood, false, {E::FrameAccepted}, {{0x01, 0x04}}},
        ReceiveCase{"leading garbage", concat({{'x', 0x03, 0x10}, kGood}), false, {E::FrameAccepted}, {{0x01, 0x04}}},
        ReceiveCase{"control-only payload", frameOf(3, 'D', kControlPayload), false, {E::FrameAccepted}, {kControlPayload}},
        ReceiveCase{"checksum off by one", withChecksum(kGood, kGood.back() ^ 1), false, {E::BadChecksum}, {}},
        ReceiveCase{"DLE before an ordinary byte", {c::STX, 1, 'B', c::DLE, 0x41}, false, {E::BadEscape}, {}},
        ReceiveCase{"cut short by silence", {c::STX, 1, 'B', 0x00}, true, {E::CutShort}, {}},
        ReceiveCase{"silence after DLE", {c::STX, 1, c::DLE}, true, {E::CutShort}, {}},
        ReceiveCase{"silence before checksum", {c::STX, 1, 'B', 0, 0, c::ETX}, true, {E::CutShort}, {}},
        ReceiveCase{"STX restarts a frame", concat({{c::STX, 9, 'Z', 7}, kGood}), false, {E::FrameAccepted}, {{0x01, 0x04}}},
        ReceiveCase{"ACK inside a frame", concat({Bytes(kGood.begin(), kGood.begin() + 3), {c::ACK},
                                                 Bytes(kGood.begin() + 3, kGood.end())}),
                    false, {E::AcknowledgedInFrame, E::FrameAccepted}, {{0x01, 0x04}}},
        ReceiveCase{"CAN inside a frame", concat({Bytes(kGood.begin(), kGood.begin() + 3), {c::CAN},
                                                 Bytes(kGood.begin() + 3, kGood.end())}),
                    false, {E::RetransmitRequested, E::FrameAccepted}, {{0x01, 0x04}}},
        ReceiveCase{"NAK inside a frame", concat({Bytes(kGood.begin(), kGood.begin() + 2), {c::NAK},
                                                 Bytes(kGood.begin() + 2, kGood.end())}),
                    false, {E::RetransmitRequested, E::FrameAccepted}, {{0x01, 0x04}}},
        ReceiveCase{"ACK, NAK and CAN outside frames", {c::ACK, c::NAK, c::CAN}, false,
                    {E::Acknowledged, E::RetransmitRequested}, {}},
        ReceiveCase{"duplicate sequence", concat({kGood, kGood}), false, {E::FrameAccepted, E::FrameDuplicate}, {{0x01, 0x04}}},
        ReceiveCase{"new sequence after duplicate", concat({kGood, kGood, frameOf(2, 'B', {})}), false,
                    {E::FrameAccepted, E::FrameDuplicate, E::FrameAccepted}, {{0x01, 0x04}, {}}},
        ReceiveCase{"checksum-valid frame of one byte", {c::STX, 'D', c::ETX, 'D'}, false, {E::TooShort}, {}},
        ReceiveCase{"checksum-valid empty frame", {c::STX, c::ETX, 0x00}, false, {E::TooShort}, {}},
        ReceiveCase{"1001 stored bytes", frameOf(1, 'D', Bytes(997, 'x')), false, {E::Overlong}, {}},
        ReceiveCase{"1000 stored bytes", frameOf(1, 'D', Bytes(996, 'x')), false, {E::FrameAccepted}, {Bytes(996, 'x')}}),
    [](const auto &info) { return "Row" + std::to_string(info.index); });

TEST(AFrameReceiverAfterAbandon, TakesTheNextFrame)
{
    FrameReceiver receiver;
    receiver.reset();
    for (std::uint8_t b : frameOf(1, 'D', Bytes(1200, 'x')))
        (void)receiver.feed(b);
    E last = E::None;
    for (std::uint8_t b : kGood)
        last = receiver.feed(b);
    EXPECT_EQ(last, E::FrameAccepted);
    EXPECT_EQ(receiver.payload().size(), 2u);
}

TEST(AFrameReceiverReply, AnswersGoodFramesWithAckAndBadOnesWithNak)
{
    EXPECT_EQ(replyFor(E::FrameAccepted), c::ACK);
    EXPECT_EQ(replyFor(E::FrameDuplicate), c::ACK);
    EXPECT_EQ(replyFor(E::BadChecksum), c::NAK);
    EXPECT_EQ(replyFor(E::BadEscape), c::NAK);
    for (E quiet : {E::CutShort, E::Overlong, E::TooShort, E::None, E::Acknowledged})
        EXPECT_FALSE(replyFor(quiet));
}
