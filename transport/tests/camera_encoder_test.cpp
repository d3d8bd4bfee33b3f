// Golden vectors of the four camera command sets, worked out by hand from the command tables,
// compared as the payload the unit receives (encoded, then wrapped).

#include "camera_test_support.h"
#include "transport/a5_frame_protocol.h"
#include "transport/camera_command_encoder.h"
#include "transport/camera_command_wrap.h"
#include "transport/camera_position_reply_count.h"
#include "transport/nibble_address_protocol.h"
#include "transport/pelco_d_protocol.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <vector>

namespace transport {
namespace {

using testing::Bytes;
using testing::Hex;

using Encode = std::function<ByteArray(const CameraCommandEncoder &)>;

struct Vector
{
    const char *name;
    Encode encode;
    const char *wrapped;
};

void expectVectors(std::int32_t code, const std::vector<Vector> &vectors)
{
    const auto encoder = MakeCameraCommandEncoder(code);
    ASSERT_NE(encoder, nullptr);
    for (const Vector &v : vectors)
        EXPECT_EQ(Hex(WrapCameraCommand(code, v.encode(*encoder))), Hex(Bytes(v.wrapped))) << v.name;
}

// Pelco P on camera 2: 01, A0 02 d1 d2 d3 d4 AF, XOR of those seven.
TEST(APelcoPProtocol, EncodesEveryCommandOfItsTable)
{
    const std::vector<Vector> vectors = {
        {"Stop", [](auto &e) { return e.Stop(2); }, "01 A0 02 00 00 00 00 AF 0D"},
        {"ToggleAutoIris", [](auto &e) { return e.ToggleAutoIris(2); }, "01 A0 02 00 00 00 00 AF 0D"},
        {"ToggleAutoPan", [](auto &e) { return e.ToggleAutoPan(2); }, "01 A0 02 00 00 00 00 AF 0D"},
        {"RequestCameraPTZCoords", [](auto &e) { return e.RequestCameraPTZCoords(2); }, "01 A0 02 00 00 00 00 AF 0D"},
        {"GoToPTZCoords", [](auto &e) { return e.GoToPTZCoords(2, 10.0F, 20.0F, 3.0F); }, "01 A0 02 00 00 00 00 AF 0D"},
        {"MoveUp", [](auto &e) { return e.MoveUp(2, 32); }, "01 A0 02 00 08 00 20 AF 25"},
        {"MoveDown", [](auto &e) { return e.MoveDown(2, 0x11); }, "01 A0 02 00 10 00 11 AF 0C"},
        {"MoveLeft", [](auto &e) { return e.MoveLeft(2, 0x30); }, "01 A0 02 00 04 30 00 AF 39"},
        {"MoveRight", [](auto &e) { return e.MoveRight(2, 0x30); }, "01 A0 02 00 02 30 00 AF 3F"},
        {"MoveUpLeft", [](auto &e) { return e.MoveUpLeft(2, 5); }, "01 A0 02 00 0C 05 05 AF 01"},
        {"MoveUpRight", [](auto &e) { return e.MoveUpRight(2, 5); }, "01 A0 02 00 0A 05 05 AF 07"},
        {"MoveDownLeft", [](auto &e) { return e.MoveDownLeft(2, 5); }, "01 A0 02 00 14 05 05 AF 19"},
        {"MoveDownRight", [](auto &e) { return e.MoveDownRight(2, 5); }, "01 A0 02 00 12 05 05 AF 1F"},
        {"ZoomIn", [](auto &e) { return e.ZoomIn(2); }, "01 A0 02 00 20 00 00 AF 2D"},
        {"ZoomOut", [](auto &e) { return e.ZoomOut(2); }, "01 A0 02 00 40 00 00 AF 4D"},
        {"FocusNear", [](auto &e) { return e.FocusNear(2); }, "01 A0 02 02 00 00 00 AF 0F"},
        {"FocusFar", [](auto &e) { return e.FocusFar(2); }, "01 A0 02 01 00 00 00 AF 0C"},
        {"OpenIris", [](auto &e) { return e.OpenIris(2); }, "01 A0 02 04 00 00 00 AF 09"},
        {"CloseIris", [](auto &e) { return e.CloseIris(2); }, "01 A0 02 08 00 00 00 AF 05"},
        {"SetPreset", [](auto &e) { return e.SetPreset(2, 7); }, "01 A0 02 00 03 00 07 AF 09"},
        {"MoveToPreset", [](auto &e) { return e.MoveToPreset(2, 7); }, "01 A0 02 00 07 00 07 AF 0D"},
        {"ClearPreset", [](auto &e) { return e.ClearPreset(2, 7); }, "01 A0 02 00 05 00 07 AF 0F"},
        {"SetZoomSpeed", [](auto &e) { return e.SetZoomSpeed(2, 2); }, "01 A0 02 00 25 00 02 AF 2A"},
        {"SetFocusSpeed", [](auto &e) { return e.SetFocusSpeed(2, 2); }, "01 A0 02 00 27 00 02 AF 28"},
        {"AccessMenu", [](auto &e) { return e.AccessMenu(2); }, "01 A0 02 00 03 00 5F AF 51"},
        // Values keep their low byte: camera 0x0102 is address 02, speed 0x0120 is 20.
        {"LowBytes", [](auto &e) { return e.MoveUp(0x0102, 0x0120); }, "01 A0 02 00 08 00 20 AF 25"},
    };
    expectVectors(kPelcoPCameraCode, vectors);
}

// Pelco D on camera 1: 01 FF 01 c1 c2 d1 d2, then 01 + c1 + c2 + d1 + d2.
TEST(APelcoDProtocol, EncodesEveryCommandOfItsTable)
{
    const std::vector<Vector> vectors = {
        {"Stop", [](auto &e) { return e.Stop(1); }, "01 FF 01 00 00 00 00 01"},
        {"ToggleAutoPan", [](auto &e) { return e.ToggleAutoPan(1); }, "01 FF 01 00 00 00 00 01"},
        {"ToggleAutoIris", [](auto &e) { return e.ToggleAutoIris(1); }, "01 FF 01 00 2D 00 00 2E"},
        {"MoveUp", [](auto &e) { return e.MoveUp(1, 0x20); }, "01 FF 01 00 08 00 20 29"},
        {"MoveDown", [](auto &e) { return e.MoveDown(1, 0x20); }, "01 FF 01 00 10 00 20 31"},
        {"MoveLeft", [](auto &e) { return e.MoveLeft(1, 0x20); }, "01 FF 01 00 04 20 00 25"},
        {"MoveRight", [](auto &e) { return e.MoveRight(1, 0x20); }, "01 FF 01 00 02 20 00 23"},
        {"MoveUpLeft", [](auto &e) { return e.MoveUpLeft(1, 20); }, "01 FF 01 00 0C 14 14 35"},
        {"MoveUpRight", [](auto &e) { return e.MoveUpRight(1, 20); }, "01 FF 01 00 0A 14 14 33"},
        {"MoveDownLeft", [](auto &e) { return e.MoveDownLeft(1, 20); }, "01 FF 01 00 14 14 14 3D"},
        {"MoveDownRight", [](auto &e) { return e.MoveDownRight(1, 20); }, "01 FF 01 00 12 14 14 3B"},
        {"ZoomIn", [](auto &e) { return e.ZoomIn(1); }, "01 FF 01 00 20 00 00 21"},
        {"ZoomOut", [](auto &e) { return e.ZoomOut(1); }, "01 FF 01 00 40 00 00 41"},
        {"FocusNear", [](auto &e) { return e.FocusNear(1); }, "01 FF 01 01 00 00 00 02"},
        {"FocusFar", [](auto &e) { return e.FocusFar(1); }, "01 FF 01 00 80 00 00 81"},
        {"OpenIris", [](auto &e) { return e.OpenIris(1); }, "01 FF 01 02 00 00 00 03"},
        {"CloseIris", [](auto &e) { return e.CloseIris(1); }, "01 FF 01 04 00 00 00 05"},
        {"SetPreset", [](auto &e) { return e.SetPreset(1, 9); }, "01 FF 01 00 03 00 09 0D"},
        {"MoveToPreset", [](auto &e) { return e.MoveToPreset(1, 9); }, "01 FF 01 00 07 00 09 11"},
        {"ClearPreset", [](auto &e) { return e.ClearPreset(1, 9); }, "01 FF 01 00 05 00 09 0F"},
        {"SetZoomSpeed", [](auto &e) { return e.SetZoomSpeed(1, 3); }, "01 FF 01 00 25 00 03 29"},
        {"SetFocusSpeed", [](auto &e) { return e.SetFocusSpeed(1, 3); }, "01 FF 01 00 27 00 03 2B"},
        {"AccessMenu", [](auto &e) { return e.AccessMenu(1); }, "01 FF 01 00 03 00 5F 63"},
        {"OtherCamera", [](auto &e) { return e.MoveUp(3, 16); }, "01 FF 03 00 08 00 10 1B"},
        // The check wraps at 256: FE + 25 + FF = 0x222.
        {"CheckWraps", [](auto &e) { return e.SetZoomSpeed(0xFE, 0xFF); }, "01 FF FE 00 25 00 FF 22"},
    };
    expectVectors(kPelcoDCameraCode, vectors);
}

// Three complete commands, each FF 01 00 c2 d1 d2 with the sum of address to data 2.
TEST(APelcoDProtocol, EncodesPositionQueryAndCommandAsThreeCompleteCommands)
{
    const PelcoDProtocol encoder;
    EXPECT_EQ(Hex(encoder.RequestCameraPTZCoords(1)),
              Hex(Bytes("FF 01 00 51 00 00 52  FF 01 00 53 00 00 54  FF 01 00 61 00 00 62")));
    // 12.34 -> 1234 (04 D2), 5 -> 500 (01 F4), 1 -> 100 (00 64).
    EXPECT_EQ(Hex(encoder.GoToPTZCoords(1, 12.34F, 5.0F, 1.0F)),
              Hex(Bytes("FF 01 00 4B 04 D2 22  FF 01 00 4D 01 F4 43  FF 01 00 5F 00 64 C4")));
}

TEST(APelcoDProtocol, StartsTheReplyCountAgainWhenItMakesAPositionQuery)
{
    ResetCameraPositionReplyCount();
    EXPECT_FALSE(CountCameraPositionReply());
    ASSERT_EQ(CameraPositionReplyCount(), 1);
    PelcoDProtocol().RequestCameraPTZCoords(1);
    EXPECT_EQ(CameraPositionReplyCount(), 0);
    EXPECT_FALSE(CountCameraPositionReply());
    EXPECT_FALSE(CountCameraPositionReply());
    EXPECT_TRUE(CountCameraPositionReply());
    EXPECT_EQ(CameraPositionReplyCount(), 0);
}

// The hundredths are taken in single precision: 0.29F is 0.2899999917 but 0.29F * 100 rounds
// to 29.0F. Negative values truncate toward zero and keep 16 bits; NaN and huge values give a
// defined result instead of undefined behaviour.
TEST(APelcoDProtocol, TruncatesHundredthsInSinglePrecision)
{
    const PelcoDProtocol encoder;
    auto panBytes = [&](float pan) {
        const ByteArray out = encoder.GoToPTZCoords(1, pan, 0.0F, 0.0F);
        return Hex(ByteArray(out.begin() + 4, out.begin() + 6));
    };
    EXPECT_EQ(panBytes(0.29F), "00 1D");
    EXPECT_EQ(panBytes(2.01F), "00 C9");
    EXPECT_EQ(panBytes(0.999F), "00 63");
    EXPECT_EQ(panBytes(-1.5F), "FF 6A");
    EXPECT_EQ(panBytes(655.35F), "FF FE");
    EXPECT_EQ(panBytes(std::numeric_limits<float>::quiet_NaN()), "00 00");
    EXPECT_EQ(panBytes(1e30F), "FF FF");
}

// Camera 0x23: headers 82 53; then b2..b9.
TEST(ANibbleAddressProtocol, EncodesEveryCommandOfItsTable)
{
    const std::vector<Vector> vectors = {
        {"Stop", [](auto &e) { return e.Stop(0x23); }, "01 82 53 00 00 00 00 00 00 00 00"},
        {"ClearPreset", [](auto &e) { return e.ClearPreset(0x23, 5); }, "01 82 53 00 00 00 00 00 00 00 00"},
        {"SetZoomSpeed", [](auto &e) { return e.SetZoomSpeed(0x23, 5); }, "01 82 53 00 00 00 00 00 00 00 00"},
        {"SetFocusSpeed", [](auto &e) { return e.SetFocusSpeed(0x23, 5); }, "01 82 53 00 00 00 00 00 00 00 00"},
        {"ToggleAutoIris", [](auto &e) { return e.ToggleAutoIris(0x23); }, "01 82 53 02 00 00 00 00 00 00 00"},
        {"ToggleAutoPan", [](auto &e) { return e.ToggleAutoPan(0x23); }, "01 82 53 04 00 00 00 00 00 00 00"},
        {"MoveUp", [](auto &e) { return e.MoveUp(0x23, 12); }, "01 82 53 10 00 00 00 03 00 03 00"},
        {"MoveDown", [](auto &e) { return e.MoveDown(0x23, 12); }, "01 82 53 08 00 00 00 03 00 03 00"},
        {"MoveLeft", [](auto &e) { return e.MoveLeft(0x23, 12); }, "01 82 53 40 00 00 00 03 00 03 00"},
        {"MoveRight", [](auto &e) { return e.MoveRight(0x23, 12); }, "01 82 53 20 00 00 00 03 00 03 00"},
        {"MoveUpLeft", [](auto &e) { return e.MoveUpLeft(0x23, 12); }, "01 82 53 50 00 00 00 03 00 03 00"},
        {"MoveUpRight", [](auto &e) { return e.MoveUpRight(0x23, 12); }, "01 82 53 30 00 00 00 03 00 03 00"},
        {"MoveDownLeft", [](auto &e) { return e.MoveDownLeft(0x23, 12); }, "01 82 53 48 00 00 00 03 00 03 00"},
        {"MoveDownRight", [](auto &e) { return e.MoveDownRight(0x23, 12); }, "01 82 53 28 00 00 00 03 00 03 00"},
        {"ZoomIn", [](auto &e) { return e.ZoomIn(0x23); }, "01 82 53 00 20 00 00 00 00 00 00"},
        {"ZoomOut", [](auto &e) { return e.ZoomOut(0x23); }, "01 82 53 00 40 00 00 00 00 00 00"},
        {"FocusNear", [](auto &e) { return e.FocusNear(0x23); }, "01 82 53 00 08 00 00 00 00 00 00"},
        {"FocusFar", [](auto &e) { return e.FocusFar(0x23); }, "01 82 53 00 10 00 00 00 00 00 00"},
        {"OpenIris", [](auto &e) { return e.OpenIris(0x23); }, "01 82 53 00 04 00 00 00 00 00 00"},
        {"CloseIris", [](auto &e) { return e.CloseIris(0x23); }, "01 82 53 00 02 00 00 00 00 00 00"},
        {"SetPreset", [](auto &e) { return e.SetPreset(0x23, 9); }, "01 82 53 00 00 00 00 11 09 00 00"},
        {"MoveToPreset", [](auto &e) { return e.MoveToPreset(0x23, 9); }, "01 82 53 00 00 00 00 10 09 00 00"},
        {"AccessMenu", [](auto &e) { return e.AccessMenu(0x23); }, "01 82 53 00 00 00 00 11 5E 00 00"},
        {"RequestCameraPTZCoords", [](auto &e) { return e.RequestCameraPTZCoords(0x23); },
         "01 82 53 00 00 00 00 13 04 00 00 82 03"},
        // Half degrees 201, 91, 400: 201 >> 3 = 19h; (1 << 4) | 5 = 15h; (11 << 3) | 3 = 5Bh; 10h.
        {"GoToPTZCoords", [](auto &e) { return e.GoToPTZCoords(0x23, 100.5F, 45.5F, 200.0F); },
         "01 82 53 00 00 00 00 17 19 15 5B 10"},
        // -10 degrees is -20 half degrees: -20 >> 3 = -3 (FD), -20 & 7 = 4.
        {"NegativePan", [](auto &e) { return e.GoToPTZCoords(0x23, -10.0F, 0.0F, 0.0F); },
         "01 82 53 00 00 00 00 17 FD 40 00 00"},
        {"HighAddress", [](auto &e) { return e.Stop(0xFE); }, "01 8F 5E 00 00 00 00 00 00 00 00"},
    };
    expectVectors(kNibbleAddressCameraCode, vectors);
}

TEST(ANibbleAddressProtocol, DerivesTheMoveStepFromAQuarterOfTheSpeed)
{
    const std::vector<std::pair<std::int16_t, std::uint8_t>> steps = {
        {0, 1}, {3, 1}, {4, 2}, {7, 2}, {8, 2}, {12, 3}, {63, 15}, {255, 63}};
    for (const auto &[speed, step] : steps)
        EXPECT_EQ(NibbleAddressProtocol::moveStep(speed), step) << speed;
}

// Camera 1: A5 01 cmd d1 d2 55 sum, where sum = FB + cmd + d1 + d2.
TEST(AnA5FrameProtocol, EncodesEveryCommandOfItsTable)
{
    const std::vector<Vector> vectors = {
        {"Stop", [](auto &e) { return e.Stop(1); }, "01 A5 01 10 0D 88 55 A0"},
        {"ToggleAutoIris", [](auto &e) { return e.ToggleAutoIris(1); }, "01 A5 01 10 0D 88 55 A0"},
        {"ToggleAutoPan", [](auto &e) { return e.ToggleAutoPan(1); }, "01 A5 01 10 0D 88 55 A0"},
        {"SetZoomSpeed", [](auto &e) { return e.SetZoomSpeed(1, 9); }, "01 A5 01 10 0D 88 55 A0"},
        {"SetFocusSpeed", [](auto &e) { return e.SetFocusSpeed(1, 9); }, "01 A5 01 10 0D 88 55 A0"},
        {"MoveUp", [](auto &e) { return e.MoveUp(1, 63); }, "01 A5 01 10 0D 8F 55 A7"},
        {"MoveDown", [](auto &e) { return e.MoveDown(1, 63); }, "01 A5 01 10 0D 81 55 99"},
        {"MoveRight", [](auto &e) { return e.MoveRight(1, 63); }, "01 A5 01 10 0D F8 55 10"},
        {"MoveLeft", [](auto &e) { return e.MoveLeft(1, 63); }, "01 A5 01 10 0D 18 55 30"},
        // Speed 30: s = 180 / 63 + 1 = 3, so 17s = 33h and 15s = 2Dh.
        {"MoveUpRight", [](auto &e) { return e.MoveUpRight(1, 30); }, "01 A5 01 10 0D BB 55 D3"},
        {"MoveUpLeft", [](auto &e) { return e.MoveUpLeft(1, 30); }, "01 A5 01 10 0D 5B 55 73"},
        {"MoveDownRight", [](auto &e) { return e.MoveDownRight(1, 30); }, "01 A5 01 10 0D B5 55 CD"},
        {"MoveDownLeft", [](auto &e) { return e.MoveDownLeft(1, 30); }, "01 A5 01 10 0D 55 55 6D"},
        {"ZoomIn", [](auto &e) { return e.ZoomIn(1); }, "01 A5 01 10 0E 88 55 A1"},
        {"ZoomOut", [](auto &e) { return e.ZoomOut(1); }, "01 A5 01 10 0C 88 55 9F"},
        {"FocusNear", [](auto &e) { return e.FocusNear(1); }, "01 A5 01 10 03 88 55 96"},
        {"FocusFar", [](auto &e) { return e.FocusFar(1); }, "01 A5 01 10 04 88 55 97"},
        {"OpenIris", [](auto &e) { return e.OpenIris(1); }, "01 A5 01 10 06 88 55 99"},
        {"CloseIris", [](auto &e) { return e.CloseIris(1); }, "01 A5 01 10 05 88 55 98"},
        {"SetPreset", [](auto &e) { return e.SetPreset(1, 35); }, "01 A5 01 25 82 83 55 25"},
        {"MoveToPreset", [](auto &e) { return e.MoveToPreset(1, 35); }, "01 A5 01 11 82 83 55 11"},
        {"ClearPreset", [](auto &e) { return e.ClearPreset(1, 35); }, "01 A5 01 26 82 83 55 26"},
        // -3 / 16 = 0 and -3 % 16 = -3: d1 80, d2 7D.
        {"NegativePreset", [](auto &e) { return e.SetPreset(1, -3); }, "01 A5 01 25 80 7D 55 1D"},
        {"AccessMenu", [](auto &e) { return e.AccessMenu(1); }, "01 A5 01 19 80 80 55 14"},
        {"RequestCameraPTZCoords", [](auto &e) { return e.RequestCameraPTZCoords(1); }, "01 A5 01 40 80 88 55 43"},
        // 90 and 45 degrees at 26.67 steps a degree: 2400 (0960) and 1200 (04B0); zoom 9 at
        // 910.2222 steps: 8192 (2000).
        {"GoToPTZCoords", [](auto &e) { return e.GoToPTZCoords(1, 90.0F, 45.0F, 9.0F); },
         "01 A5 01 41 09 60 04 B0 20 00 55 79"},
    };
    expectVectors(kA5FrameCameraCode, vectors);
}

TEST(AnA5FrameProtocol, StepsSpeedsFromOneToSeven)
{
    const std::vector<std::pair<std::int16_t, int>> steps = {{0, 1}, {10, 1}, {11, 2}, {30, 3}, {62, 6}, {63, 7}};
    for (const auto &[speed, step] : steps)
        EXPECT_EQ(A5FrameProtocol::speedStep(speed), step) << speed;
}

// Without the clamp, speed 200 gives step 20 and MoveUp's d2 88 + 14h = 9C: a pan to the right
// where the caller asked for a tilt; speed -100 gives step -8 and MoveRight's d2 08: a pan left.
TEST(AnA5FrameProtocol, ClampsSpeedsOutsideTheRangeSoNoMoveTurnsAnotherWay)
{
    const A5FrameProtocol encoder;
    for (const std::int16_t speed : {std::int16_t{64}, std::int16_t{200}, std::int16_t{32767}})
        EXPECT_EQ(Hex(encoder.MoveUp(1, speed)), Hex(encoder.MoveUp(1, 63))) << speed;
    for (const std::int16_t speed : {std::int16_t{-1}, std::int16_t{-100}, std::int16_t{-32768}}) {
        EXPECT_EQ(Hex(encoder.MoveRight(1, speed)), Hex(encoder.MoveRight(1, 0))) << speed;
        EXPECT_EQ(Hex(encoder.MoveDownLeft(1, speed)), "A5 01 10 0D 77 55 8F") << speed;
    }
}

// Pan and tilt scale by the double 26.666666666666668, so 1.65F (1.6499999762) gives
// 43.99999936 and 43 (2B); the zoom scales are single precision, so 18.985F gives
// 0.985F * 72.08081F + 16384 = 16455.0F (4047) where double arithmetic would give 16454.
TEST(AnA5FrameProtocol, TruncatesPositionsWithTheirOwnPrecision)
{
    const A5FrameProtocol encoder;
    auto fields = [&](float pan, float tilt, float zoom) {
        const ByteArray out = encoder.GoToPTZCoords(1, pan, tilt, zoom);
        return Hex(ByteArray(out.begin() + 3, out.begin() + 9));
    };
    EXPECT_EQ(fields(1.65F, 3.3F, 0.0F), "00 2B 00 57 00 00");
    EXPECT_EQ(fields(0.0F, 0.0F, 18.985F), "00 00 00 00 40 47");
    // 18 is still optical: 18 * 910.2222F = 16384.0F; 20 is 2 * 72.08081F + 16384 = 16528.16.
    EXPECT_EQ(fields(0.0F, 0.0F, 18.0F), "00 00 00 00 40 00");
    EXPECT_EQ(fields(0.0F, 0.0F, 20.0F), "00 00 00 00 40 90");
    // Negative angles truncate toward zero: -0.03 * 26.67 = -0.8 gives 0; -1.5 gives -40 (FFD8).
    EXPECT_EQ(fields(-0.03F, -1.5F, 0.0F), "00 00 FF D8 00 00");
}

TEST(AWrappedCameraCommand, HasTheLengthOfItsCommandSet)
{
    struct Length
    {
        std::int32_t code;
        Encode encode;
        std::size_t wrapped;
    };
    const std::vector<Length> lengths = {
        {kPelcoPCameraCode, [](auto &e) { return e.Stop(1); }, 9},
        {kPelcoPCameraCode, [](auto &e) { return e.GoToPTZCoords(1, 1, 1, 1); }, 9},
        {kPelcoDCameraCode, [](auto &e) { return e.Stop(1); }, 8},
        {kNibbleAddressCameraCode, [](auto &e) { return e.Stop(1); }, 11},
        {kNibbleAddressCameraCode, [](auto &e) { return e.RequestCameraPTZCoords(1); }, 13},
        {kNibbleAddressCameraCode, [](auto &e) { return e.GoToPTZCoords(1, 1, 1, 1); }, 12},
        {kA5FrameCameraCode, [](auto &e) { return e.Stop(1); }, 8},
        {kA5FrameCameraCode, [](auto &e) { return e.GoToPTZCoords(1, 1, 1, 1); }, 12},
    };
    for (const Length &l : lengths)
        EXPECT_EQ(WrapCameraCommand(l.code, l.encode(*MakeCameraCommandEncoder(l.code))).size(), l.wrapped)
            << l.code;
}

TEST(AWrappedCameraCommand, IsEmptyForACodeWithoutACommandSet)
{
    EXPECT_EQ(MakeCameraCommandEncoder(0x41), nullptr);
    EXPECT_TRUE(WrapCameraCommand(0x41, Bytes("01 02 03")).empty());
}

} // namespace
} // namespace transport
