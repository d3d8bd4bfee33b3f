// The camera control's members, their order of messages and their refusals, seen through a
// recording send function and a recording notifier.

#include "camera_test_support.h"
#include "platform/notifier.h"
#include "transport/camera_command_encoder.h"
#include "transport/camera_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace transport {
namespace {

using testing::Bytes;
using testing::Hex;

class RecordingNotifier : public Notifier
{
public:
    void notify(std::string_view text, NoticeKind) override
    {
        std::lock_guard lock(m_mutex);
        m_texts.emplace_back(text);
    }
    std::vector<std::string> texts() const
    {
        std::lock_guard lock(m_mutex);
        return m_texts;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_texts;
};

class ACameraControl : public ::testing::Test
{
protected:
    ACameraControl()
        : m_control([this](const ByteArray &bytes) { record("send " + Hex(bytes)); },
                    [this](std::chrono::milliseconds pause) { record("pause " + std::to_string(pause.count())); })
    {
        m_previousNotifier = SetNotifier(m_notifier);
    }
    ~ACameraControl() override { SetNotifier(m_previousNotifier); }

    void record(std::string line)
    {
        std::lock_guard lock(m_mutex);
        m_log.push_back(std::move(line));
    }
    std::vector<std::string> log()
    {
        std::lock_guard lock(m_mutex);
        return m_log;
    }
    std::vector<std::string> takeLog()
    {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_log, {});
    }
    static std::string sent(const char *hex) { return "send " + Hex(Bytes(hex)); }

    void select(std::int32_t camera, std::int32_t code)
    {
        std::string result;
        ASSERT_EQ(m_control.SelectCamera(camera, code, &result), S_OK);
        EXPECT_EQ(result, "");
    }

    std::shared_ptr<RecordingNotifier> m_notifier = std::make_shared<RecordingNotifier>();
    std::shared_ptr<Notifier> m_previousNotifier;
    std::mutex m_mutex;
    std::vector<std::string> m_log;
    CameraControl m_control;
};

using Member = std::function<HRESULT(ICameraControl &)>;

struct Call
{
    const char *name;
    Member call;
};

// Every member but SelectCamera, with arguments.
const std::vector<Call> &steeringMembers()
{
    static const std::vector<Call> members = {
        {"MoveUp", [](ICameraControl &c) { return c.MoveUp(20); }},
        {"MoveDown", [](ICameraControl &c) { return c.MoveDown(20); }},
        {"MoveLeft", [](ICameraControl &c) { return c.MoveLeft(20); }},
        {"MoveRight", [](ICameraControl &c) { return c.MoveRight(20); }},
        {"MoveUpLeft", [](ICameraControl &c) { return c.MoveUpLeft(20); }},
        {"MoveUpRight", [](ICameraControl &c) { return c.MoveUpRight(20); }},
        {"MoveDownLeft", [](ICameraControl &c) { return c.MoveDownLeft(20); }},
        {"MoveDownRight", [](ICameraControl &c) { return c.MoveDownRight(20); }},
        {"ZoomIn", [](ICameraControl &c) { return c.ZoomIn(3); }},
        {"ZoomOut", [](ICameraControl &c) { return c.ZoomOut(3); }},
        {"FocusNear", [](ICameraControl &c) { return c.FocusNear(3); }},
        {"FocusFar", [](ICameraControl &c) { return c.FocusFar(3); }},
        {"OpenIris", [](ICameraControl &c) { return c.OpenIris(); }},
        {"CloseIris", [](ICameraControl &c) { return c.CloseIris(); }},
        {"SetPreset", [](ICameraControl &c) { return c.SetPreset(9); }},
        {"MoveToPreset", [](ICameraControl &c) { return c.MoveToPreset(9); }},
        {"ClearPreset", [](ICameraControl &c) { return c.ClearPreset(9); }},
        {"Stop", [](ICameraControl &c) { return c.Stop(); }},
        {"RequestCameraPTZCoords", [](ICameraControl &c) { return c.RequestCameraPTZCoords(); }},
        {"GoToPTZCoords", [](ICameraControl &c) { return c.GoToPTZCoords(12.34F, 5.0F, 1.0F); }},
        {"ToggleAutoPan", [](ICameraControl &c) { return c.ToggleAutoPan(); }},
        {"ToggleAutoIris", [](ICameraControl &c) { return c.ToggleAutoIris(); }},
        {"AccessMenu", [](ICameraControl &c) { return c.AccessMenu(); }},
    };
    return members;
}

TEST_F(ACameraControl, RefusesEveryMemberWhileNoCameraIsSelected)
{
    for (const Call &member : steeringMembers()) {
        EXPECT_EQ(member.call(m_control), E_FAIL) << member.name;
        ASSERT_FALSE(m_notifier->texts().empty()) << member.name;
        EXPECT_EQ(m_notifier->texts().back(), "Please Select a Camera") << member.name;
    }
    EXPECT_EQ(m_notifier->texts().size(), steeringMembers().size());
    EXPECT_TRUE(log().empty());
}

TEST_F(ACameraControl, SendsEachMemberAsItsOwnPelcoDCommand)
{
    select(1, kPelcoDCameraCode);
    const std::vector<std::vector<std::string>> expected = {
        {sent("01 FF 01 00 08 00 14 1D")},
        {sent("01 FF 01 00 10 00 14 25")},
        {sent("01 FF 01 00 04 14 00 19")},
        {sent("01 FF 01 00 02 14 00 17")},
        {sent("01 FF 01 00 0C 14 14 35")},
        {sent("01 FF 01 00 0A 14 14 33")},
        {sent("01 FF 01 00 14 14 14 3D")},
        {sent("01 FF 01 00 12 14 14 3B")},
        {sent("01 FF 01 00 25 00 03 29"), sent("01 FF 01 00 20 00 00 21")},
        {sent("01 FF 01 00 25 00 03 29"), sent("01 FF 01 00 40 00 00 41")},
        {sent("01 FF 01 00 27 00 03 2B"), sent("01 FF 01 01 00 00 00 02")},
        {sent("01 FF 01 00 27 00 03 2B"), sent("01 FF 01 00 80 00 00 81")},
        {sent("01 FF 01 02 00 00 00 03")},
        {sent("01 FF 01 04 00 00 00 05")},
        {sent("01 FF 01 00 03 00 09 0D")},
        {sent("01 FF 01 00 07 00 09 11")},
        {sent("01 FF 01 00 05 00 09 0F")},
        {sent("01 FF 01 00 00 00 00 01")},
        {sent("01 FF 01 00 51 00 00 52"), sent("01 FF 01 00 53 00 00 54"), sent("01 FF 01 00 61 00 00 62")},
        {sent("01 FF 01 00 4D 01 F4 43"), "pause 500", sent("01 FF 01 00 4B 04 D2 22"), "pause 500",
         sent("01 FF 01 00 5F 00 64 C4")},
        {sent("01 FF 01 00 00 00 00 01")},
        {sent("01 FF 01 00 2D 00 00 2E")},
        {sent("01 FF 01 00 03 00 5F 63")},
    };
    ASSERT_EQ(expected.size(), steeringMembers().size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(steeringMembers()[i].call(m_control), S_OK) << steeringMembers()[i].name;
        EXPECT_EQ(takeLog(), expected[i]) << steeringMembers()[i].name;
    }
    EXPECT_TRUE(m_notifier->texts().empty());
}

TEST_F(ACameraControl, AddressesTheSelectedCameraNumber)
{
    select(3, kPelcoDCameraCode);
    EXPECT_EQ(m_control.MoveUp(16), S_OK);
    EXPECT_EQ(log(), std::vector<std::string>{sent("01 FF 03 00 08 00 10 1B")});
}

TEST_F(ACameraControl, SendsTheZoomSpeedBeforeTheZoomInPelcoP)
{
    select(2, kPelcoPCameraCode);
    EXPECT_EQ(m_control.ZoomIn(2), S_OK);
    EXPECT_EQ(log(), (std::vector<std::string>{sent("01 A0 02 00 25 00 02 AF 2A"), sent("01 A0 02 00 20 00 00 AF 2D")}));
}

TEST_F(ACameraControl, SendsPositionsOfOtherCodesAsOneMessageWithoutPause)
{
    select(1, kA5FrameCameraCode);
    EXPECT_EQ(m_control.GoToPTZCoords(90.0F, 45.0F, 9.0F), S_OK);
    EXPECT_EQ(m_control.RequestCameraPTZCoords(), S_OK);
    EXPECT_EQ(log(), (std::vector<std::string>{sent("01 A5 01 41 09 60 04 B0 20 00 55 79"),
                                               sent("01 A5 01 40 80 88 55 43")}));
    takeLog();
    select(0x23, kNibbleAddressCameraCode);
    EXPECT_EQ(m_control.RequestCameraPTZCoords(), S_OK);
    EXPECT_EQ(log(), std::vector<std::string>{sent("01 82 53 00 00 00 00 13 04 00 00 82 03")});
}

TEST_F(ACameraControl, RefusesAnInvalidCodeAndForgetsThePreviousCamera)
{
    select(1, kPelcoDCameraCode);
    std::string result;
    EXPECT_EQ(m_control.SelectCamera(1, 0x41, &result), E_FAIL);
    EXPECT_EQ(result, "Invalid Camera Code");
    EXPECT_EQ(m_control.Stop(), E_FAIL);
    EXPECT_EQ(m_notifier->texts(), std::vector<std::string>{"Please Select a Camera"});
    EXPECT_TRUE(log().empty());
    // No result to fill is no reason to fail differently.
    EXPECT_EQ(m_control.SelectCamera(1, 0x5B, nullptr), E_FAIL);
    select(1, kA5FrameCameraCode);
    EXPECT_EQ(m_control.Stop(), S_OK);
}

// A camera number beyond the address byte would steer the camera its low byte names.
TEST_F(ACameraControl, SelectsNoCameraForANumberNoAddressHolds)
{
    for (const std::int32_t camera : {256, -1, 300}) {
        SCOPED_TRACE(camera);
        select(255, kPelcoDCameraCode);
        std::string result;
        EXPECT_EQ(m_control.SelectCamera(camera, kPelcoDCameraCode, &result), E_INVALIDARG);
        EXPECT_EQ(result, "Invalid Camera Number");
        EXPECT_EQ(m_control.Stop(), E_FAIL);
        EXPECT_EQ(m_notifier->texts().back(), "Please Select a Camera");
    }
    select(0, kPelcoDCameraCode);
    EXPECT_EQ(m_control.Stop(), S_OK);
    EXPECT_EQ(log(), std::vector<std::string>{sent("01 FF 00 00 00 00 00 00")});
}

struct BoundCase
{
    const char *legend;
    std::int32_t code;
    Member call;
    bool carried;
};

// Each command set at the edges of what its commands carry: inside, the command goes; one step
// beyond, nothing goes, as the camera would get another value.
const BoundCase kBoundCases[] = {
    {"PelcoP speed 255", kPelcoPCameraCode, [](ICameraControl &c) { return c.MoveUp(255); }, true},
    {"PelcoP speed 256", kPelcoPCameraCode, [](ICameraControl &c) { return c.MoveUp(256); }, false},
    {"PelcoP speed -1", kPelcoPCameraCode, [](ICameraControl &c) { return c.MoveDownLeft(-1); }, false},
    {"PelcoP zoom speed 255", kPelcoPCameraCode, [](ICameraControl &c) { return c.ZoomIn(255); }, true},
    {"PelcoP focus speed 256", kPelcoPCameraCode, [](ICameraControl &c) { return c.FocusFar(256); }, false},
    {"PelcoP preset 255", kPelcoPCameraCode, [](ICameraControl &c) { return c.SetPreset(255); }, true},
    {"PelcoP preset 256", kPelcoPCameraCode, [](ICameraControl &c) { return c.MoveToPreset(256); }, false},
    {"PelcoP no position to carry", kPelcoPCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(-900, 5000, 9000); }, true},
    {"PelcoD speed 255", kPelcoDCameraCode, [](ICameraControl &c) { return c.MoveRight(255); }, true},
    {"PelcoD speed 300", kPelcoDCameraCode, [](ICameraControl &c) { return c.MoveRight(300); }, false},
    {"PelcoD zoom speed -1", kPelcoDCameraCode, [](ICameraControl &c) { return c.ZoomOut(-1); }, false},
    {"PelcoD preset 0", kPelcoDCameraCode, [](ICameraControl &c) { return c.ClearPreset(0); }, true},
    {"PelcoD preset -14", kPelcoDCameraCode, [](ICameraControl &c) { return c.ClearPreset(-14); }, false},
    {"PelcoD top position", kPelcoDCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(655.35F, 655.35F, 655.35F); }, true},
    {"PelcoD pan 655.4", kPelcoDCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(655.4F, 0, 0); }, false},
    {"PelcoD pan -1.5", kPelcoDCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(-1.5F, 0, 0); }, false},
    {"PelcoD tilt 700", kPelcoDCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(0, 700, 0); }, false},
    {"PelcoD zoom -1", kPelcoDCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(0, 0, -1); }, false},
    {"Nibble speed 1023", kNibbleAddressCameraCode, [](ICameraControl &c) { return c.MoveLeft(1023); }, true},
    {"Nibble speed 1024", kNibbleAddressCameraCode, [](ICameraControl &c) { return c.MoveLeft(1024); }, false},
    {"Nibble zoom speed not sent", kNibbleAddressCameraCode, [](ICameraControl &c) { return c.ZoomIn(32767); }, true},
    {"Nibble preset 255", kNibbleAddressCameraCode, [](ICameraControl &c) { return c.MoveToPreset(255); }, true},
    {"Nibble preset 256", kNibbleAddressCameraCode, [](ICameraControl &c) { return c.SetPreset(256); }, false},
    {"Nibble lowest position", kNibbleAddressCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(-512, 0, 0); }, true},
    {"Nibble highest position", kNibbleAddressCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(511.5F, 127.5F, 511.5F); }, true},
    {"Nibble pan -512.5", kNibbleAddressCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(-512.5F, 0, 0); }, false},
    {"Nibble pan 512", kNibbleAddressCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(512, 0, 0); }, false},
    {"Nibble tilt -2", kNibbleAddressCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(10.5F, -2, 1); }, false},
    {"Nibble tilt 128", kNibbleAddressCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(0, 128, 0); }, false},
    {"Nibble zoom 512", kNibbleAddressCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(0, 0, 512); }, false},
    {"A5 speed 63", kA5FrameCameraCode, [](ICameraControl &c) { return c.MoveUpRight(63); }, true},
    {"A5 speed 64", kA5FrameCameraCode, [](ICameraControl &c) { return c.MoveUpRight(64); }, false},
    {"A5 focus speed not sent", kA5FrameCameraCode, [](ICameraControl &c) { return c.FocusNear(-32768); }, true},
    {"A5 preset 2047", kA5FrameCameraCode, [](ICameraControl &c) { return c.SetPreset(2047); }, true},
    {"A5 preset 2048", kA5FrameCameraCode, [](ICameraControl &c) { return c.SetPreset(2048); }, false},
    {"A5 preset -1", kA5FrameCameraCode, [](ICameraControl &c) { return c.MoveToPreset(-1); }, false},
    {"A5 highest position", kA5FrameCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(2457.5F, 2457.5F, 699.8F); }, true},
    {"A5 pan 2458", kA5FrameCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(2458, 0, 0); }, false},
    {"A5 tilt -0.1", kA5FrameCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(0, -0.1F, 0); }, false},
    {"A5 zoom 700", kA5FrameCameraCode, [](ICameraControl &c) { return c.GoToPTZCoords(0, 0, 700); }, false},
};

TEST_F(ACameraControl, SendsWhatItsCommandSetCarriesAndNothingBeyond)
{
    for (const BoundCase &row : kBoundCases) {
        SCOPED_TRACE(row.legend);
        select(1, row.code);
        takeLog();
        EXPECT_EQ(row.call(m_control), row.carried ? S_OK : E_INVALIDARG);
        EXPECT_EQ(log().empty(), !row.carried);
    }
    EXPECT_TRUE(m_notifier->texts().empty());
}

// A selection made while other threads steer: every message sent is a whole command of the
// camera that was selected when its call began, and no encoder is used after it is freed (the
// sanitizers watch that).
TEST_F(ACameraControl, KeepsEachCallOnItsOwnSelectionWhileAnotherThreadSelects)
{
    select(1, kPelcoDCameraCode);
    std::atomic<bool> done{false};
    std::thread selector([&] {
        for (int i = 0; i < 2000; ++i) {
            const std::int32_t code = i % 3 == 0 ? kPelcoDCameraCode : i % 3 == 1 ? kA5FrameCameraCode : 0x41;
            m_control.SelectCamera(1, code, nullptr);
        }
        m_control.SelectCamera(1, kPelcoDCameraCode, nullptr);
        done = true;
    });
    std::vector<std::thread> steerers;
    for (int t = 0; t < 2; ++t)
        steerers.emplace_back([&] {
            while (!done) {
                m_control.ZoomIn(3);
                m_control.MoveUp(16);
            }
        });
    selector.join();
    for (std::thread &s : steerers)
        s.join();

    const std::vector<std::string> allowed = {
        sent("01 FF 01 00 25 00 03 29"), sent("01 FF 01 00 20 00 00 21"), sent("01 FF 01 00 08 00 10 19"),
        sent("01 A5 01 10 0D 88 55 A0"), sent("01 A5 01 10 0E 88 55 A1"), sent("01 A5 01 10 0D 8A 55 A2")};
    const std::vector<std::string> lines = log();
    for (std::size_t i = 0; i < lines.size(); ++i)
        ASSERT_NE(std::find(allowed.begin(), allowed.end(), lines[i]), allowed.end()) << lines[i];
}

} // namespace
} // namespace transport
