#include "bridge_test_support.h"
#include "recording_sinks.h"
#include "recorder_bridge/licence_plate_recognizer.h"
#include "platform/install_folder.h"
#include "platform/profile_file.h"

#include <gtest/gtest.h>

using namespace recorder_bridge;
using namespace bridge_test;

namespace {

class ARecognizer : public testing::Test
{
protected:
    ProfileFile settings() const { return ProfileFile(JoinPath(folder.path(), kSettingsFileName)); }

    std::shared_ptr<LicencePlateRecognizer> Make(std::shared_ptr<PlateClock> clock = nullptr)
    {
        auto recognizer = std::make_shared<LicencePlateRecognizer>(folder.path(), std::move(clock));
        std::uint32_t cookie = 0;
        recognizer->Advise(sink, &cookie);
        return recognizer;
    }

    static std::string Request(std::int16_t camera)
    {
        return "OnRequestImageCapture(" + std::to_string(camera) + ")";
    }

    static std::unique_ptr<MessageItem> Plate(std::int16_t camera)
    {
        auto item = std::make_unique<MessageItem>(ItemType::PlateImageCapture);
        item->CameraID = camera;
        return item;
    }

    TempFolder folder;
    EventLog log;
    std::shared_ptr<RecordingSink> sink = std::make_shared<RecordingSink>(log);
};

TEST_F(ARecognizer, WritesEveryDefaultBackToTheSettingsFile)
{
    auto recognizer = Make();
    const ProfileFile file = settings();
    EXPECT_EQ(file.readString("ImageCapture", "ImageCaptureEnabled", ""), "Yes");
    EXPECT_EQ(file.readString("ImageCapture", "POSCameraNumber", ""), "2");
    EXPECT_EQ(file.readString("ImageCapture", "ImageCaptureDelay", ""), "3000");
    EXPECT_EQ(file.readString("LPR", "LPREnabled", ""), "Yes");
    EXPECT_EQ(file.readString("LPR", "TriggerEvent", ""), "2");
    EXPECT_EQ(file.readString("LPR", "PlateCaptureDelay", ""), "5000");
    EXPECT_EQ(recognizer->settings().plateCaptureDelayMs, 5000u);
}

TEST_F(ARecognizer, CountsYesInAnyCase)
{
    settings().writeString("ImageCapture", "ImageCaptureEnabled", "yes");
    settings().writeString("LPR", "LPREnabled", "No");
    auto recognizer = Make();
    EXPECT_TRUE(recognizer->settings().imageCaptureEnabled);
    EXPECT_FALSE(recognizer->settings().plateRecognitionEnabled);
}

struct DelayCase
{
    const char *stored; // nullptr: no such key
    std::uint32_t used;
    const char *inFile; // the key's line afterwards
    bool warned;
};

class APlateCaptureDelay : public ARecognizer, public testing::WithParamInterface<DelayCase>
{
};

TEST_P(APlateCaptureDelay, IsUsedAsWrittenOrKeptInTheFileWhenItIsNoDelay)
{
    const DelayCase &c = GetParam();
    const std::string legend = c.stored ? c.stored : "(absent)";
    if (c.stored)
        folder.write(std::string(kSettingsFileName),
                     std::string("[LPR]\nPlateCaptureDelay=") + c.stored + "\n");
    TraceCapture trace(folder.path());
    auto recognizer = Make();
    recognizer->ReportSettings();
    EXPECT_EQ(recognizer->settings().plateCaptureDelayMs, c.used) << legend;
    EXPECT_NE(folder.read(std::string(kSettingsFileName))
                  .find(std::string("\nPlateCaptureDelay=") + c.inFile + "\n"),
              std::string::npos)
        << legend << ":\n"
        << folder.read(std::string(kSettingsFileName));
    recognizer.reset();
    if (trace.active()) {
        EXPECT_EQ(
            HasLine(trace.lines(), "[WARNING] PlateCaptureDelay \"" + legend
                                       + "\" is not a delay of 0 to 4294967295 ms; using 5000 ms"),
            c.warned)
            << legend;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, APlateCaptureDelay,
    testing::Values(DelayCase{nullptr, 5000, "5000", false}, DelayCase{"0", 0, "0", false},
                    DelayCase{"5000", 5000, "5000", false},
                    DelayCase{"60001", 60001, "60001", false},
                    DelayCase{"4294967295", 4294967295u, "4294967295", false},
                    DelayCase{" 7000", 7000, "7000", false},
                    DelayCase{"4294967296", 5000, "4294967296", true},
                    DelayCase{"99999999999999999999", 5000, "99999999999999999999", true},
                    DelayCase{"-1", 5000, "-1", true}, DelayCase{"abc", 5000, "abc", true}));

TEST_F(ARecognizer, EndsTheLongestPlateWaitAtShutdown)
{
    settings().writeString("LPR", "PlateCaptureDelay", "4294967295");
    TraceCapture trace(folder.path());
    auto recognizer = Make();
    ASSERT_TRUE(recognizer->Post(Plate(3)));
    if (trace.active()) {
        ASSERT_TRUE(WaitUntil([&] {
            return HasLine(ReadTraceLines(folder.path()),
                           "[DEBUG]   Sleeping for a while before requesting plate image capture");
        }));
    }
    recognizer->Shutdown(); // would wait out the 49 days if the wait did not end at a stop
    EXPECT_EQ(log.size(), 0u);
}

TEST_F(ARecognizer, SettlesTheOldestRequestWithEachAnswerWhateverItsCamera)
{
    settings().writeInt("LPR", "PlateCaptureDelay", 0);
    auto recognizer = Make();
    EXPECT_EQ(recognizer->ImageCaptureError(1, "nothing open"), S_OK);
    ASSERT_TRUE(recognizer->Post(Plate(3)));
    ASSERT_TRUE(recognizer->Post(Plate(4)));
    ASSERT_TRUE(WaitUntil([&] { return log.size() == 2; }));
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"OnRequestImageCapture(3)", "OnRequestImageCapture(4)"}));
    EXPECT_EQ(recognizer->OpenRequests(), (std::vector<std::int16_t>{3, 4}));
    EXPECT_EQ(recognizer->ImageAvailable(4, "/img/4.jpg"), S_OK);
    EXPECT_EQ(recognizer->OpenRequests(), (std::vector<std::int16_t>{4}));
    EXPECT_EQ(recognizer->ImageCaptureError(7, "lens"), S_OK);
    EXPECT_TRUE(recognizer->OpenRequests().empty());
    EXPECT_EQ(recognizer->ImageAvailable(4, "/img/late.jpg"), S_OK);
    EXPECT_TRUE(recognizer->OpenRequests().empty());
}

TEST_F(ARecognizer, FiresARegistrationPostedDuringAPlateWaitAfterThatRequest)
{
    settings().writeInt("LPR", "PlateCaptureDelay", 50);
    auto recognizer = Make();
    ASSERT_TRUE(recognizer->Post(Plate(3)));
    auto rego = std::make_unique<MessageItem>(ItemType::RecognizeRegistrationNumber);
    rego->FuellingPositionID = 2;
    rego->CameraID = 3;
    rego->NumberOfCharactersRecognized = 7;
    rego->VehicleRegistrationNumber = "AB12CDE";
    rego->ConfidenceLevel = "90";
    rego->ImageTimestamp = "img";
    const std::int16_t seq = rego->EventSequenceNumber;
    ASSERT_TRUE(recognizer->Post(std::move(rego)));
    ASSERT_TRUE(WaitUntil([&] { return log.size() == 2; }));
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"OnRequestImageCapture(3)",
                                                     "OnRecognizeRegistrationNumber(TS," + std::to_string(seq) +
                                                         ",2,3,7,AB12CDE,90,img)"}));
}

// A camera that moves every second under the shipped 5 s delay: each request goes out 5 s after
// its own posting, in order, and a registration posted among them stays behind the request
// posted before it.
TEST_F(ARecognizer, SendsEachPlateRequestTheDelayAfterItsOwnPosting)
{
    using namespace std::chrono_literals;
    auto clock = std::make_shared<ManualPlateClock>();
    auto recognizer = Make(clock);
    ASSERT_EQ(recognizer->settings().plateCaptureDelayMs, 5000u);
    const PlateClock::TimePoint start = clock->Now();
    constexpr std::int16_t kMoves = 6;
    constexpr std::int16_t kRegoAfter = 3;
    std::vector<std::string> expected;
    for (std::int16_t camera = 1; camera <= kMoves; ++camera) {
        if (camera > 1)
            clock->Advance(1s);
        ASSERT_TRUE(recognizer->Post(Plate(camera)));
        expected.push_back(Request(camera));
        if (camera == kRegoAfter) {
            auto rego = std::make_unique<MessageItem>(ItemType::RecognizeRegistrationNumber);
            rego->VehicleRegistrationNumber = "AB12CDE";
            expected.push_back("OnRecognizeRegistrationNumber(TS,"
                               + std::to_string(rego->EventSequenceNumber) + ",0,0,0,AB12CDE,,)");
            ASSERT_TRUE(recognizer->Post(std::move(rego)));
        }
    }
    // The clock reads 5 s past the first posting: each step lets exactly one request fall due,
    // and the recognizer must then be waiting for the next one, having fired nothing early.
    for (std::int16_t fired = 1; fired <= kMoves; ++fired) {
        clock->Advance(fired == 1 ? 0s : 1s);
        const std::size_t lines = static_cast<std::size_t>(fired) + (fired >= kRegoAfter ? 1 : 0);
        const std::optional<PlateClock::TimePoint> next =
            fired < kMoves ? std::optional(start + std::chrono::seconds(5 + fired)) : std::nullopt;
        ASSERT_TRUE(WaitUntil([&] { return log.size() >= lines && clock->Waiting() == next; }))
            << "after request " << fired << ": " << log.size() << " events";
        EXPECT_EQ(log.lines(), std::vector<std::string>(expected.begin(), expected.begin() + lines));
    }
}

TEST_F(ARecognizer, DiscardsImageRequestsAndUnknownItemsAndGoesOn)
{
    settings().writeInt("LPR", "PlateCaptureDelay", 0);
    auto recognizer = Make();
    ASSERT_TRUE(recognizer->Post(std::make_unique<MessageItem>(ItemType::RequestImageCapture)));
    ASSERT_TRUE(recognizer->Post(std::make_unique<MessageItem>(ItemType::PumpEvent)));
    ASSERT_TRUE(recognizer->Post(Plate(5)));
    ASSERT_TRUE(WaitUntil([&] { return log.size() == 1; }));
    EXPECT_EQ(log.lines(), std::vector<std::string>{"OnRequestImageCapture(5)"});
}

TEST_F(ARecognizer, RefusesItemsAndFiresNothingOnceShutDown)
{
    settings().writeInt("LPR", "PlateCaptureDelay", 0);
    auto recognizer = Make();
    recognizer->Shutdown();
    EXPECT_FALSE(recognizer->Post(Plate(1)));
    recognizer->Shutdown();
    EXPECT_EQ(log.size(), 0u);
}

} // namespace
