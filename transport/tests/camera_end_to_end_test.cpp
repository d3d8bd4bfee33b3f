// Camera commands steered through the camera control, over the serial link, to the simulated
// unit and its camera responder; position queries come back as position replies.

#include "camera_test_support.h"
#include "link_fixture.h"
#include "tools/unit-sim/camera_responder.h"
#include "transport/camera_command_encoder.h"
#include "transport/camera_command_wrap.h"
#include "transport/camera_control.h"

#include <gtest/gtest.h>

namespace transport {
namespace {

using linktest::waitUntil;
using testing::Bytes;
using testing::Hex;

constexpr std::uint8_t kPositionReply = 0x51;

class ACameraThroughTheUnit : public linktest::LinkFixture
{
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        m_unit = std::make_unique<unitsim::UnitLink>(fastUnit());
        m_unit->SetHandler(m_responder.handler());
        m_unit->Start();
        pointPortAt(1, m_unit->slavePath());
        startLink();
    }

    std::vector<std::string> positionReplies() const
    {
        std::vector<std::string> out;
        for (const linktest::Received &r : m_sink.frames())
            if (r.type == kPositionReply)
                out.push_back(Hex(r.payload));
        return out;
    }

    bool waitForReplies(std::size_t count)
    {
        return waitUntil([&] { return positionReplies().size() >= count; });
    }

    unitsim::CameraResponder m_responder;
    CameraControl m_control{[this](const ByteArray &payload) { ASSERT_TRUE(m_link->Send(kPassThroughMessageType, payload)); },
                            [](std::chrono::milliseconds) {}};
};

TEST_F(ACameraThroughTheUnit, AnswersAPelcoDQueryWithThreeReplies)
{
    ASSERT_EQ(m_control.SelectCamera(1, kPelcoDCameraCode, nullptr), S_OK);
    EXPECT_EQ(m_control.GoToPTZCoords(12.34F, 5.0F, 1.0F), S_OK);
    EXPECT_EQ(m_control.RequestCameraPTZCoords(), S_OK);
    ASSERT_TRUE(waitForReplies(3));
    EXPECT_EQ(positionReplies(), (std::vector<std::string>{"5A 01 FF 01 00 59 04 D2 30", "5A 01 FF 01 00 5B 01 F4 51",
                                                           "5A 01 FF 01 00 63 00 64 C8"}));
}

TEST_F(ACameraThroughTheUnit, AnswersNibbleAddressAndA5QueriesWithOneReplyEach)
{
    ASSERT_EQ(m_control.SelectCamera(0x23, kNibbleAddressCameraCode, nullptr), S_OK);
    EXPECT_EQ(m_control.GoToPTZCoords(100.5F, 45.5F, 200.0F), S_OK);
    EXPECT_EQ(m_control.RequestCameraPTZCoords(), S_OK);
    ASSERT_EQ(m_control.SelectCamera(1, kA5FrameCameraCode, nullptr), S_OK);
    EXPECT_EQ(m_control.GoToPTZCoords(90.0F, 45.0F, 9.0F), S_OK);
    EXPECT_EQ(m_control.RequestCameraPTZCoords(), S_OK);
    ASSERT_TRUE(waitForReplies(2));
    EXPECT_EQ(positionReplies(),
              (std::vector<std::string>{"50 23 43 00 00 00 19 15 5B 10", "5F 01 09 60 04 B0 20 00"}));
}

TEST_F(ACameraThroughTheUnit, RecordsEveryCommandInTheOrderSteered)
{
    ASSERT_EQ(m_control.SelectCamera(2, kPelcoPCameraCode, nullptr), S_OK);
    EXPECT_EQ(m_control.ZoomIn(2), S_OK);
    EXPECT_EQ(m_control.MoveUp(32), S_OK);
    EXPECT_EQ(m_control.Stop(), S_OK);
    ASSERT_TRUE(waitUntil([&] { return m_responder.commands().size() >= 4; }));
    std::vector<std::string> commands;
    for (const unitsim::CameraCommand &c : m_responder.commands()) {
        EXPECT_EQ(c.protocol, unitsim::CameraProtocol::PelcoP);
        EXPECT_EQ(c.camera, 2);
        commands.push_back(Hex(c.bytes));
    }
    EXPECT_EQ(commands, (std::vector<std::string>{"A0 02 00 25 00 02 AF 2A", "A0 02 00 20 00 00 AF 2D",
                                                  "A0 02 00 08 00 20 AF 25", "A0 02 00 00 00 00 AF 0D"}));
    EXPECT_TRUE(positionReplies().empty());
}

} // namespace
} // namespace transport
