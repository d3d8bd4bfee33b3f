// The simulated unit's camera side: it recognises each command set, records what passes, and
// answers position queries in the layout the transport reads (type Q, camera code, camera).

#include "tools/unit-sim/camera_responder.h"
#include "transport/camera_command_encoder.h"
#include "transport/camera_command_wrap.h"
#include "transport/pelco_d_protocol.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace unitsim {
namespace {

using transport::ByteArray;

Message passThrough(std::int32_t code, const ByteArray &command)
{
    return Message{CameraResponder::kPassThroughType, transport::WrapCameraCommand(code, command)};
}

std::vector<Message> send(CameraResponder &responder, std::int32_t code,
                          const std::function<ByteArray(const transport::CameraCommandEncoder &)> &encode)
{
    const auto encoder = transport::MakeCameraCommandEncoder(code);
    return responder.Handle(passThrough(code, encode(*encoder)));
}

// A Pelco D position command or query is three complete commands, each sent as its own
// message (spare byte first, check left for the wrapping).
std::vector<Message> sendPelcoDParts(CameraResponder &responder, const ByteArray &parts)
{
    std::vector<Message> replies;
    for (std::size_t at = 0; at + 7 <= parts.size(); at += 7) {
        ByteArray command(7, 0x00);
        std::copy_n(parts.begin() + static_cast<std::ptrdiff_t>(at), 6, command.begin() + 1);
        for (Message &reply : responder.Handle(passThrough(transport::kPelcoDCameraCode, command)))
            replies.push_back(std::move(reply));
    }
    return replies;
}

TEST(ACameraResponder, RecognisesAndRecordsEachCommandSet)
{
    CameraResponder responder;
    send(responder, transport::kPelcoPCameraCode, [](auto &e) { return e.MoveUp(2, 32); });
    send(responder, transport::kPelcoDCameraCode, [](auto &e) { return e.ZoomIn(3); });
    send(responder, transport::kNibbleAddressCameraCode, [](auto &e) { return e.Stop(0x23); });
    send(responder, transport::kA5FrameCameraCode, [](auto &e) { return e.MoveRight(4, 63); });
    responder.Handle(Message{CameraResponder::kPassThroughType, {0x01, 0x12, 0x34}});
    EXPECT_TRUE(responder.Handle(Message{0x68, {}}).empty());

    const std::vector<CameraCommand> commands = responder.commands();
    ASSERT_EQ(commands.size(), 5U);
    const std::vector<std::pair<CameraProtocol, std::uint8_t>> expected = {
        {CameraProtocol::PelcoP, 2}, {CameraProtocol::PelcoD, 3}, {CameraProtocol::NibbleAddress, 0x23},
        {CameraProtocol::A5Frame, 4}, {CameraProtocol::Unknown, 0}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(commands[i].protocol, expected[i].first) << i;
        EXPECT_EQ(commands[i].camera, expected[i].second) << i;
    }
    EXPECT_EQ(commands[0].bytes, (ByteArray{0xA0, 0x02, 0x00, 0x08, 0x00, 0x20, 0xAF, 0x25}));
}

TEST(ACameraResponder, RefusesACommandWithABadCheck)
{
    ByteArray payload = transport::WrapCameraCommand(transport::kPelcoDCameraCode,
                                                     transport::PelcoDProtocol().Stop(1));
    payload.back() ^= 0x01;
    CameraResponder responder;
    responder.Handle(Message{CameraResponder::kPassThroughType, payload});
    EXPECT_EQ(responder.commands().at(0).protocol, CameraProtocol::Unknown);
}

// Pelco D: one reply per query, FF, address, 00, kind, value, sum of address to value.
TEST(ACameraResponder, AnswersPelcoDQueriesWithTheValuesLastSet)
{
    CameraResponder responder;
    const transport::PelcoDProtocol encoder;
    EXPECT_TRUE(sendPelcoDParts(responder, encoder.GoToPTZCoords(1, 12.34F, 5.0F, 1.0F)).empty());
    const std::vector<Message> replies = sendPelcoDParts(responder, encoder.RequestCameraPTZCoords(1));
    ASSERT_EQ(replies.size(), 3U);
    for (const Message &reply : replies)
        EXPECT_EQ(reply.type, CameraResponder::kPositionReplyType);
    // 1234 = 04 D2: 01 + 59 + 04 + D2 = 0x130; 500 = 01 F4: 01 + 5B + 01 + F4 = 0x151;
    // 100 = 00 64: 01 + 63 + 64 = 0xC8.
    EXPECT_EQ(replies[0].payload, (ByteArray{0x5A, 0x01, 0xFF, 0x01, 0x00, 0x59, 0x04, 0xD2, 0x30}));
    EXPECT_EQ(replies[1].payload, (ByteArray{0x5A, 0x01, 0xFF, 0x01, 0x00, 0x5B, 0x01, 0xF4, 0x51}));
    EXPECT_EQ(replies[2].payload, (ByteArray{0x5A, 0x01, 0xFF, 0x01, 0x00, 0x63, 0x00, 0x64, 0xC8}));
    EXPECT_EQ(responder.position(CameraProtocol::PelcoD, 1), (CameraRawPosition{1234, 500, 100}));
}

// Half degrees 201, 91, 400 answered as 'P', camera, 'C', three spare bytes, then the four
// position bytes of the command: 19 15 5B 10.
TEST(ACameraResponder, AnswersNibbleAddressQueriesInHalfDegrees)
{
    CameraResponder responder;
    send(responder, transport::kNibbleAddressCameraCode,
         [](auto &e) { return e.GoToPTZCoords(0x23, 100.5F, 45.5F, 200.0F); });
    EXPECT_EQ(responder.position(CameraProtocol::NibbleAddress, 0x23), (CameraRawPosition{201, 91, 400}));
    const std::vector<Message> replies =
        send(responder, transport::kNibbleAddressCameraCode, [](auto &e) { return e.RequestCameraPTZCoords(0x23); });
    ASSERT_EQ(replies.size(), 1U);
    EXPECT_EQ(replies[0].payload, (ByteArray{0x50, 0x23, 0x43, 0x00, 0x00, 0x00, 0x19, 0x15, 0x5B, 0x10}));

    // A negative pan: -20 half degrees travel as FD and 4 in the high bits of the next byte.
    send(responder, transport::kNibbleAddressCameraCode, [](auto &e) { return e.GoToPTZCoords(0x23, -10.0F, 0, 0); });
    EXPECT_EQ(responder.position(CameraProtocol::NibbleAddress, 0x23), (CameraRawPosition{-20, 0, 0}));
}

TEST(ACameraResponder, AnswersA5QueriesInSteps)
{
    CameraResponder responder;
    send(responder, transport::kA5FrameCameraCode, [](auto &e) { return e.GoToPTZCoords(1, 90.0F, 45.0F, 9.0F); });
    const std::vector<Message> replies =
        send(responder, transport::kA5FrameCameraCode, [](auto &e) { return e.RequestCameraPTZCoords(1); });
    ASSERT_EQ(replies.size(), 1U);
    EXPECT_EQ(replies[0].payload, (ByteArray{0x5F, 0x01, 0x09, 0x60, 0x04, 0xB0, 0x20, 0x00}));
}

TEST(ACameraResponder, KeepsOnePositionPerCamera)
{
    CameraResponder responder;
    send(responder, transport::kA5FrameCameraCode, [](auto &e) { return e.GoToPTZCoords(1, 90.0F, 0, 0); });
    send(responder, transport::kA5FrameCameraCode, [](auto &e) { return e.GoToPTZCoords(2, 45.0F, 0, 0); });
    EXPECT_EQ(responder.position(CameraProtocol::A5Frame, 1)->pan, 2400);
    EXPECT_EQ(responder.position(CameraProtocol::A5Frame, 2)->pan, 1200);
    const std::vector<Message> replies =
        send(responder, transport::kA5FrameCameraCode, [](auto &e) { return e.RequestCameraPTZCoords(3); });
    ASSERT_EQ(replies.size(), 1U);
    EXPECT_EQ(replies[0].payload, (ByteArray{0x5F, 0x03, 0, 0, 0, 0, 0, 0}));
}

TEST(ACameraResponder, LeavesPelcoPQueriesUnanswered)
{
    CameraResponder responder;
    EXPECT_TRUE(send(responder, transport::kPelcoPCameraCode, [](auto &e) { return e.RequestCameraPTZCoords(1); })
                    .empty());
    EXPECT_EQ(responder.commands().size(), 1U);
}

} // namespace
} // namespace unitsim
