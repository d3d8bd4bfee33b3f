// Camera steering onto the transport's camera control, and the canned recorder events.

#include "fakes.h"
#include "services/camera_ctrl.h"
#include "services/dvr_test.h"
#include "services/orvex_comms.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

using fakes::Call;

namespace {

using i16 = std::int16_t;
using i32 = std::int32_t;

class ACameraCtrl : public ::testing::Test
{
protected:
    ACameraCtrl()
    {
        std::uint32_t cookie = 0;
        hub->AdviseDVREvents(recorder, &cookie);
    }

    ServiceLoop loop;
    std::shared_ptr<fakes::RecordingTransport> transport = std::make_shared<fakes::RecordingTransport>();
    std::shared_ptr<services::OrvexComms> hub = std::make_shared<services::OrvexComms>(loop, transport);
    std::shared_ptr<fakes::RecordingDVRSink> recorder = std::make_shared<fakes::RecordingDVRSink>();
    services::CameraCtrl camera{transport, hub};
};

TEST_F(ACameraCtrl, ForwardsEachMemberToItsCameraControlMember)
{
    std::string result;
    const std::vector<std::pair<std::function<HRESULT(services::ICameraCtrl &)>, std::string>> rows{
        {[](auto &c) { return c.MoveUp(1); }, Call("MoveUp", i16{1})},
        {[](auto &c) { return c.MoveDown(2); }, Call("MoveDown", i16{2})},
        {[](auto &c) { return c.MoveLeft(3); }, Call("MoveLeft", i16{3})},
        {[](auto &c) { return c.MoveRight(4); }, Call("MoveRight", i16{4})},
        {[](auto &c) { return c.MoveUpLeft(5); }, Call("MoveUpLeft", i16{5})},
        {[](auto &c) { return c.MoveUpRight(6); }, Call("MoveUpRight", i16{6})},
        {[](auto &c) { return c.MoveDownLeft(7); }, Call("MoveDownLeft", i16{7})},
        {[](auto &c) { return c.MoveDownRight(8); }, Call("MoveDownRight", i16{8})},
        {[](auto &c) { return c.StopMoving(); }, Call("Stop")},
        {[](auto &c) { return c.ZoomIn(9); }, Call("ZoomIn", i16{9})},
        {[](auto &c) { return c.ZoomOut(10); }, Call("ZoomOut", i16{10})},
        {[](auto &c) { return c.FocusNear(11); }, Call("FocusNear", i16{11})},
        {[](auto &c) { return c.FocusFar(12); }, Call("FocusFar", i16{12})},
        {[](auto &c) { return c.OpenIris(); }, Call("OpenIris")},
        {[](auto &c) { return c.CloseIris(); }, Call("CloseIris")},
        {[](auto &c) { return c.SetPreset(13); }, Call("SetPreset", i16{13})},
        {[](auto &c) { return c.MoveToPreset(-14); }, Call("MoveToPreset", i16{-14})},
        {[&](auto &c) { return c.SelectCamera(3, 80, &result); }, Call("SelectCamera", i32{3}, i32{80})},
        {[](auto &c) { return c.ClearPreset(15); }, Call("ClearPreset", i16{15})},
        {[](auto &c) { return c.RequestCameraPTZCoords(); }, Call("RequestCameraPTZCoords")},
        {[](auto &c) { return c.GoToPTZCoords(10.5f, 2.f, 1.f); }, Call("GoToPTZCoords", 10.5f, 2.f, 1.f)},
        {[](auto &c) { return c.ToggleAutoPan(); }, Call("ToggleAutoPan")},
        {[](auto &c) { return c.ToggleAutoIris(); }, Call("ToggleAutoIris")},
        {[](auto &c) { return c.AccessMenu(); }, Call("AccessMenu")},
    };
    ASSERT_EQ(rows.size(), 24u);
    for (const auto &[member, expected] : rows) {
        SCOPED_TRACE(expected);
        transport->log.clear();
        EXPECT_EQ(member(camera), S_OK);
        EXPECT_EQ(transport->log.lines(), std::vector<std::string>{expected});
    }
}

TEST_F(ACameraCtrl, AnnouncesAMoveToCoordinatesAsAPlateLocalisationOfTheSelectedCamera)
{
    std::string result;
    camera.SelectCamera(3, 80, &result);
    EXPECT_EQ(camera.GoToPTZCoords(10.5f, 2.f, 1.f), S_OK);
    EXPECT_EQ(recorder->log.lines(), std::vector<std::string>{Call("OnCameraLocalizeRegistrationPlate", i16{0},
                                                                   i16{3}, "Licence Plate", i16{0}, i16{0},
                                                                   i16{-1}, 10.5, 2.0, 1.0, 0.0)});
}

struct CameraBoundCase
{
    const char *legend;
    i16 cameraType;
    std::function<HRESULT(services::ICameraCtrl &)> call;
    HRESULT result;
    std::vector<std::string> forwarded;
    std::string warning; // the GotMessage text, empty for none
};

// Camera 3 of each command set, given values at and beyond what its commands carry: a speed or a
// position goes as the nearest value carried, a preset does not go at all, each with a warning
// naming the camera, the command and the field.
const CameraBoundCase kCameraBoundCases[] = {
    {"speed over a byte", 90, [](auto &c) { return c.MoveUp(300); }, S_OK, {Call("MoveUp", i16{255})},
     "Warning: Camera 3, MoveUp: speed 300 is outside 0 to 255; sent as 255"},
    {"speed at the byte's top", 90, [](auto &c) { return c.MoveDownRight(255); }, S_OK,
     {Call("MoveDownRight", i16{255})}, ""},
    {"negative speed", 95, [](auto &c) { return c.MoveLeft(-5); }, S_OK, {Call("MoveLeft", i16{0})},
     "Warning: Camera 3, MoveLeft: speed -5 is outside 0 to 63; sent as 0"},
    {"speed past the seven steps", 95, [](auto &c) { return c.MoveUpLeft(64); }, S_OK,
     {Call("MoveUpLeft", i16{63})}, "Warning: Camera 3, MoveUpLeft: speed 64 is outside 0 to 63; sent as 63"},
    {"lens speed a set does not send", 95, [](auto &c) { return c.ZoomIn(-5); }, S_OK, {Call("ZoomIn", i16{-5})},
     ""},
    {"lens speed over a byte", 40, [](auto &c) { return c.FocusFar(256); }, S_OK, {Call("FocusFar", i16{255})},
     "Warning: Camera 3, FocusFar: speed 256 is outside 0 to 255; sent as 255"},
    {"preset over a byte", 80, [](auto &c) { return c.MoveToPreset(300); }, E_INVALIDARG, {},
     "Warning: Camera 3, MoveToPreset: preset 300 is outside 0 to 255; not sent"},
    {"negative preset", 90, [](auto &c) { return c.ClearPreset(-14); }, E_INVALIDARG, {},
     "Warning: Camera 3, ClearPreset: preset -14 is outside 0 to 255; not sent"},
    {"preset at the top of the sixteens", 95, [](auto &c) { return c.SetPreset(2047); }, S_OK,
     {Call("SetPreset", i16{2047})}, ""},
    {"preset past the sixteens", 95, [](auto &c) { return c.SetPreset(2048); }, E_INVALIDARG, {},
     "Warning: Camera 3, SetPreset: preset 2048 is outside 0 to 2047; not sent"},
    {"tilt below the half degrees", 80, [](auto &c) { return c.GoToPTZCoords(10.5f, -2.f, 1.f); }, S_OK,
     {Call("GoToPTZCoords", 10.5f, 0.f, 1.f)},
     "Warning: Camera 3, GoToPTZCoords: tilt -2 is outside 0 to 127.5; sent as 0"},
    {"pan over the hundredths", 90, [](auto &c) { return c.GoToPTZCoords(700.f, 1.f, 2.f); }, S_OK,
     {Call("GoToPTZCoords", 655.35f, 1.f, 2.f)},
     "Warning: Camera 3, GoToPTZCoords: pan 700 is outside 0 to 655.35; sent as 655.35"},
    {"positions a set does not send", 40, [](auto &c) { return c.GoToPTZCoords(-900.f, 5000.f, 9000.f); }, S_OK,
     {Call("GoToPTZCoords", -900.f, 5000.f, 9000.f)}, ""},
};

TEST_F(ACameraCtrl, SendsNoValueItsCommandSetWouldTurnIntoAnother)
{
    auto messages = std::make_shared<fakes::RecordingCommsSink>();
    std::uint32_t cookie = 0;
    ASSERT_EQ(hub->AdviseCommsEvents(messages, &cookie), S_OK);
    for (const CameraBoundCase &row : kCameraBoundCases) {
        SCOPED_TRACE(row.legend);
        std::string result;
        camera.SelectCamera(3, row.cameraType, &result);
        transport->log.clear();
        messages->log.clear();
        EXPECT_EQ(row.call(camera), row.result);
        EXPECT_EQ(transport->log.lines(), row.forwarded);
        EXPECT_EQ(messages->log.lines(),
                  row.warning.empty() ? std::vector<std::string>{} : std::vector{Call("GotMessage", row.warning)});
    }
    // The move announced is the one sent.
    ASSERT_FALSE(recorder->log.lines().empty());
    EXPECT_EQ(recorder->log.lines()[1], Call("OnCameraLocalizeRegistrationPlate", i16{0}, i16{3}, "Licence Plate",
                                             i16{0}, i16{0}, i16{-1}, 655.35f * 1.0, 1.0, 2.0, 0.0));
    EXPECT_EQ(recorder->log.lines()[0], Call("OnCameraLocalizeRegistrationPlate", i16{0}, i16{3}, "Licence Plate",
                                             i16{0}, i16{0}, i16{-1}, 10.5, 0.0, 1.0, 0.0));
}

// Another number would steer the camera the address byte's low bits name.
TEST_F(ACameraCtrl, SelectsNoCameraForANumberNoAddressHoldsAndSaysSo)
{
    auto messages = std::make_shared<fakes::RecordingCommsSink>();
    std::uint32_t cookie = 0;
    ASSERT_EQ(hub->AdviseCommsEvents(messages, &cookie), S_OK);
    std::string result;
    EXPECT_EQ(camera.SelectCamera(300, 90, &result), S_OK);
    EXPECT_EQ(camera.selectedCamera(), 300);
    EXPECT_EQ(messages->log.lines(),
              std::vector{Call("GotMessage", std::string("Warning: Camera 300: number 300 is outside 0 to 255; "
                                                         "no camera selected"))});
    // The transport refuses the number too and keeps no camera; nothing is checked on its behalf.
    EXPECT_EQ(camera.MoveUp(2000), S_OK);
    EXPECT_EQ(transport->log.lines(),
              (std::vector{Call("SelectCamera", i32{300}, i32{90}), Call("MoveUp", i16{2000})}));
}

// A coordinate that is no number would reach the camera as garbage and the recorder side as a
// localisation nobody can place.
TEST_F(ACameraCtrl, RefusesCoordinatesThatAreNotFiniteWithoutMovingOrAnnouncing)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const auto &[pan, tilt, zoom] :
         std::vector<std::tuple<float, float, float>>{{nan, 0.f, 1.f},
                                                      {0.f, nan, 1.f},
                                                      {0.f, 0.f, nan},
                                                      {inf, 0.f, 1.f},
                                                      {0.f, -inf, 1.f},
                                                      {0.f, 0.f, inf}}) {
        SCOPED_TRACE(std::to_string(pan) + " " + std::to_string(tilt) + " " + std::to_string(zoom));
        transport->log.clear();
        EXPECT_EQ(camera.GoToPTZCoords(pan, tilt, zoom), E_INVALIDARG);
        EXPECT_EQ(transport->log.size(), 0u);
        EXPECT_EQ(recorder->log.size(), 0u);
    }
}

TEST_F(ACameraCtrl, ReturnsSuccessAndRemembersTheCameraWhenTheTransportRefuses)
{
    transport->cameraResult = E_FAIL;
    std::string result;
    EXPECT_EQ(camera.SelectCamera(5, 0x41, &result), S_OK);
    EXPECT_EQ(result, "Invalid Camera Code");
    EXPECT_EQ(camera.selectedCamera(), 5);
    EXPECT_EQ(camera.StopMoving(), S_OK);
    EXPECT_EQ(camera.GoToPTZCoords(1.f, 2.f, 3.f), S_OK);
    ASSERT_EQ(recorder->log.size(), 1u);
    EXPECT_NE(recorder->log.lines()[0].find("(0,5,"), std::string::npos);
}

TEST(ACameraCtrlWithoutControl, RefusesWithoutFiring)
{
    ServiceLoop loop;
    auto hub = std::make_shared<services::OrvexComms>(loop, nullptr);
    auto recorder = std::make_shared<fakes::RecordingDVRSink>();
    std::uint32_t cookie = 0;
    hub->AdviseDVREvents(recorder, &cookie);
    services::CameraCtrl camera(nullptr, hub);
    EXPECT_EQ(camera.MoveUp(1), E_POINTER);
    EXPECT_EQ(camera.GoToPTZCoords(1.f, 2.f, 3.f), E_POINTER);
    EXPECT_EQ(recorder->log.size(), 0u);
}

TEST(ADVRTest, FiresEachCannedEventWithItsFixedValues)
{
    ServiceLoop loop;
    auto hub = std::make_shared<services::OrvexComms>(loop, nullptr);
    auto recorder = std::make_shared<fakes::RecordingDVRSink>();
    std::uint32_t cookie = 0;
    hub->AdviseDVREvents(recorder, &cookie);
    services::DVRTest test(hub);

    const i16 t = -1, f = 0;
    const std::vector<std::pair<std::function<HRESULT(services::IDVRTest &)>, std::string>> rows{
        {[](auto &d) { return d.PumpDeliveryStart(); }, Call("OnPumpDeliveryStart", i16{1}, i16{1})},
        {[](auto &d) { return d.PumpDeliveryEnd(); },
         Call("OnPumpDeliveryEnd", i16{1}, i16{3}, Currency{12340056}, Currency{10235}, 1000.0, i16{1})},
        {[](auto &d) { return d.PumpEvent(7); }, Call("OnPumpEvent", i16{1}, i16{7}, i16{1})},
        {[](auto &d) { return d.CardRead(); }, Call("OnCardRead", i16{1}, i16{1}, "Card Data Here")},
        {[](auto &d) { return d.PaymentTransactionAuthorised(); },
         Call("OnPaymentTransactionAuthorized", i16{1}, i16{1}, "12345")},
        {[](auto &d) { return d.PaymentTransactionCancelled(); }, Call("OnPaymentTransactionCancelled", i16{1})},
        {[](auto &d) { return d.PrintReceipt(); }, Call("OnPrintReceipt", i16{1})},
        {[](auto &d) { return d.PaymentTerminalEvent(4); }, Call("OnPaymentTerminalEvent", i16{1}, i16{4})},
        {[](auto &d) { return d.CameraVisitPump(); },
         Call("OnCameraVisitFuellingPosition", i16{1}, i16{1}, "Pump 1", t, i16{1}, f, 0.0, 0.0, 0.0, 0.0, i16{2}, f)},
        {[](auto &d) { return d.CameraVisitCRIND(); },
         Call("OnCameraVisitPaymentTerminal", i16{1}, i16{1}, "CRIND 1", t, i16{2}, f, 0.0, 0.0, 0.0, 0.0, i16{6}, f)},
        {[](auto &d) { return d.CameraLeave(); },
         Call("OnCameraLeavePosition", i16{1}, "Pump 1", t, i16{1}, f, 0.0, 0.0, 0.0, 0.0)},
        {[](auto &d) { return d.CameraVisitPOS(); },
         Call("OnCameraVisitWorkstation", "1", i16{2}, "POS One", t, i16{1}, f, 0.0, 0.0, 0.0, 0.0)},
        {[](auto &d) { return d.CameraVisit(11); },
         Call("OnCameraVisit", i16{1}, "Forecourt", t, i16{1}, f, 0.0, 0.0, 0.0, 0.0, i16{11}, f)},
        {[](auto &d) { return d.CameraRoam(); }, Call("OnCameraRoam", i16{1}, "Pumps", t, i16{6}, f, 0.0, 0.0, 0.0)},
        {[](auto &d) { return d.CameraVisitRego(); },
         Call("OnCameraLocalizeRegistrationPlate", i16{1}, i16{1}, "Pump 1", t, i16{9}, f, 0.0, 0.0, 0.0, 0.0)},
        {[](auto &d) { return d.RecognizeRegoNumber(); },
         Call("OnRecognizeRegistrationNumber", i16{1}, i16{1}, i16{6}, "AB1234", "[80,80,80,80,80,80]",
              "2002-12-31T23:59:59")},
        {[](auto &d) { return d.POSInputText(""); }, Call("OnPosMessage", i16{1}, i16{1}, std::string())},
        {[](auto &d) { return d.RequestImageCapture(); }, Call("OnRequestImageCapture", i16{1})},
        {[](auto &d) { return d.CapturedFuellingPositionImage(); },
         Call("OnCapturedFuellingPositionImage", i16{1}, i16{1}, "2002-02-01T12:12:12", "hello.bmp", i16{2},
              "2002-02-01T12:12:11", i16{1})},
        {[](auto &d) { return d.CapturedPaymentTerminalImage(); },
         Call("OnCapturedPaymentTerminalImage", i16{1}, i16{1}, "2002-02-01T12:12:12", "hello.bmp", i16{2},
              "2002-02-01T12:12:11", i16{1})},
        {[](auto &d) { return d.CapturedWorkstationImage(); },
         Call("OnCapturedWorkstationImage", "One", i16{1}, "2002-02-01T12:12:12", "hello.bmp", i16{2},
              "2002-02-01T12:12:11", i16{1})},
    };
    ASSERT_EQ(rows.size(), 21u);
    for (const auto &[member, expected] : rows) {
        SCOPED_TRACE(expected);
        recorder->log.clear();
        EXPECT_EQ(member(test), S_OK);
        EXPECT_EQ(recorder->log.lines(), std::vector<std::string>{expected});
    }
}

} // namespace
