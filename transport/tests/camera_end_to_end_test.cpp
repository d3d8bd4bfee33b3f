// Cameras steered and asked for their position through the transport object, over the serial
// link, to the simulated unit, whose camera side records each command and answers each
// position query; the answer comes back as a CameraPosition event.

#include "camera_test_support.h"
#include "unit_fixture.h"

#include "tools/unit-sim/camera_responder.h"
#include "transport/camera_command_encoder.h"

#include <gmock/gmock.h>

namespace {

using namespace transport;
using ::testing::ElementsAre;
using transport::testing::Hex;

class CamerasOnTheLine : public AUnitOnTheLine
{
protected:
    void SetUp() override
    {
        AUnitOnTheLine::SetUp();
        connect();
    }

    ICameraControl &camera() { return *transport; }

    std::vector<std::string> commandsSeen() const
    {
        std::vector<std::string> out;
        for (const unitsim::CameraCommand &c : cameras.commands())
            out.push_back(std::string(unitsim::cameraProtocolName(c.protocol)) + " " + std::to_string(c.camera) + ": "
                          + Hex(c.bytes));
        return out;
    }
};

TEST_F(CamerasOnTheLine, ReportsTheTwoPositionsOfAPelcoDCameraAfterThreeRepliesEach)
{
    ASSERT_EQ(camera().SelectCamera(1, kPelcoDCameraCode, nullptr), S_OK);
    EXPECT_EQ(camera().GoToPTZCoords(12.34F, 5.0F, 1.0F), S_OK);
    EXPECT_EQ(camera().RequestCameraPTZCoords(), S_OK);
    ASSERT_TRUE(sink->waitForCount(1));
    EXPECT_EQ(camera().GoToPTZCoords(300.5F, 30.25F, 2.5F), S_OK);
    EXPECT_EQ(camera().RequestCameraPTZCoords(), S_OK);
    ASSERT_TRUE(sink->waitForCount(2));
    EXPECT_THAT(sink->lines(), ElementsAre("CameraPosition(1,12.34,5,1)", "CameraPosition(1,300.5,30.25,2.5)"));
}

TEST_F(CamerasOnTheLine, ReportsTheNibbleAddressCameraPositionInHalfDegrees)
{
    ASSERT_EQ(camera().SelectCamera(0x23, kNibbleAddressCameraCode, nullptr), S_OK);
    EXPECT_EQ(camera().GoToPTZCoords(100.5F, 45.5F, 200.0F), S_OK);
    EXPECT_EQ(camera().RequestCameraPTZCoords(), S_OK);
    ASSERT_TRUE(sink->waitForCount(1));
    EXPECT_EQ(camera().GoToPTZCoords(-10.0F, 0.0F, 0.5F), S_OK);
    EXPECT_EQ(camera().RequestCameraPTZCoords(), S_OK);
    ASSERT_TRUE(sink->waitForCount(2));
    EXPECT_THAT(sink->lines(), ElementsAre("CameraPosition(35,100.5,45.5,200)", "CameraPosition(35,-10,0,0.5)"));
}

TEST_F(CamerasOnTheLine, ReportsTheA5CameraPositionInBothZoomRanges)
{
    ASSERT_EQ(camera().SelectCamera(1, kA5FrameCameraCode, nullptr), S_OK);
    EXPECT_EQ(camera().GoToPTZCoords(90.0F, 45.0F, 9.0F), S_OK);
    EXPECT_EQ(camera().RequestCameraPTZCoords(), S_OK);
    ASSERT_TRUE(sink->waitForCount(1));
    // Zoom 20 is 16528 steps: (16528 - 0x4000) * 0.013873318 + 18 = 19.99776.
    EXPECT_EQ(camera().GoToPTZCoords(0.0375F, 0.0F, 20.0F), S_OK);
    EXPECT_EQ(camera().RequestCameraPTZCoords(), S_OK);
    ASSERT_TRUE(sink->waitForCount(2));
    EXPECT_THAT(sink->lines(), ElementsAre("CameraPosition(1,90,45,9)", "CameraPosition(1,0.0375,0,19.9978)"));
}

TEST_F(CamerasOnTheLine, KeepsEachCameraOwnPosition)
{
    ASSERT_EQ(camera().SelectCamera(1, kA5FrameCameraCode, nullptr), S_OK);
    EXPECT_EQ(camera().GoToPTZCoords(90.0F, 45.0F, 9.0F), S_OK);
    ASSERT_EQ(camera().SelectCamera(2, kA5FrameCameraCode, nullptr), S_OK);
    EXPECT_EQ(camera().GoToPTZCoords(30.0F, 15.0F, 4.5F), S_OK);
    EXPECT_EQ(camera().RequestCameraPTZCoords(), S_OK);
    ASSERT_EQ(camera().SelectCamera(1, kA5FrameCameraCode, nullptr), S_OK);
    EXPECT_EQ(camera().RequestCameraPTZCoords(), S_OK);
    ASSERT_TRUE(sink->waitForCount(2));
    EXPECT_THAT(sink->lines(), ElementsAre("CameraPosition(2,30,15,4.5)", "CameraPosition(1,90,45,9)"));
}

TEST_F(CamerasOnTheLine, PassesEverySteeringCommandToTheCameraInOrder)
{
    ASSERT_EQ(camera().SelectCamera(2, kPelcoPCameraCode, nullptr), S_OK);
    EXPECT_EQ(camera().ZoomIn(2), S_OK);
    EXPECT_EQ(camera().MoveUp(32), S_OK);
    EXPECT_EQ(camera().RequestCameraPTZCoords(), S_OK);
    ASSERT_EQ(camera().SelectCamera(3, kPelcoDCameraCode, nullptr), S_OK);
    EXPECT_EQ(camera().MoveUp(16), S_OK);
    ASSERT_TRUE(waitUntil([&] { return cameras.commands().size() >= 5; }));
    EXPECT_THAT(commandsSeen(), ElementsAre("PelcoP 2: A0 02 00 25 00 02 AF 2A", "PelcoP 2: A0 02 00 20 00 00 AF 2D",
                                            "PelcoP 2: A0 02 00 08 00 20 AF 25", "PelcoP 2: A0 02 00 00 00 00 AF 0D",
                                            "PelcoD 3: FF 03 00 08 00 10 1B"));
    // A Pelco P camera cannot answer a position query.
    EXPECT_EQ(sink->count(), 0U);
}

} // namespace
