#include "licence_plate_recognizer.h"

#include "platform/install_folder.h"
#include "platform/profile_file.h"
#include "support/queued_worker_thread.h"

#include <chrono>
#include <limits>

#include <strings.h>
#include <unistd.h>

namespace recorder_bridge {

// An item as the recognizer queues it: a plate request's delay counts from its posting.
struct LicencePlateRecognizer::PostedItem final : support::QueueItem
{
    PostedItem(std::unique_ptr<MessageItem> posted, PlateClock::TimePoint at)
        : item(std::move(posted)), postedAt(at)
    {
    }

    std::unique_ptr<MessageItem> item;
    PlateClock::TimePoint postedAt;
};

// The recognizer's thread: idle until an item is posted. A plate wait is on the recognizer's
// clock, which a shutdown interrupts before it stops this thread.
class LicencePlateRecognizer::Worker final : public support::QueuedWorkerThread
{
public:
    explicit Worker(LicencePlateRecognizer &owner) : QueuedWorkerThread(true, true), m_owner(owner)
    {
        SetPriority(-1);
        Start();
    }
    ~Worker() override { Stop(); }

protected:
    void Run() override
    {
        while (!StopRequested()) {
            try {
                if (std::unique_ptr<support::QueueItem> queued = Pop()) {
                    if (auto *posted = dynamic_cast<PostedItem *>(queued.get()))
                        m_owner.HandleItem(*posted);
                }
            } catch (...) {
                support::TraceError("LicencePlateRecognizer thread caught exception");
            }
            IdleWhileEmpty();
        }
    }
    void HandleItem(support::QueueItem &) override {}

private:
    LicencePlateRecognizer &m_owner;
};

namespace {

constexpr std::size_t kLongestText = 260;

bool IsYes(const std::string &text) { return strcasecmp(text.c_str(), "Yes") == 0; }

// Reads a text setting and writes it straight back, so a missing key appears with its default.
std::string KeepText(ProfileFile &file, const char *section, const char *key, const char *defaultValue)
{
    std::string value = file.readString(section, key, defaultValue).substr(0, kLongestText);
    file.writeString(section, key, value);
    return value;
}

long KeepNumber(ProfileFile &file, const char *section, const char *key, long defaultValue)
{
    const long value = file.readInt(section, key, defaultValue);
    file.writeInt(section, key, value);
    return value;
}

} // namespace

// Any 32-bit delay is a site engineer's choice and stays as written, however long. A text that
// gives none (a negative number, one past 32 bits, no number) is the engineer's too: it stays
// in the file for them to see, and this run waits the default.
std::uint32_t LicencePlateRecognizer::KeepPlateCaptureDelay(ProfileFile &file)
{
    constexpr std::uint32_t kDefault = CaptureSettings::kDefaultPlateCaptureDelayMs;
    const std::string text = file.readString("LPR", "PlateCaptureDelay", "");
    if (text.empty()) {
        file.writeInt("LPR", "PlateCaptureDelay", kDefault);
        return kDefault;
    }
    const long delay = file.readInt("LPR", "PlateCaptureDelay", -1);
    if (delay < 0
        || static_cast<unsigned long>(delay) > std::numeric_limits<std::uint32_t>::max()) {
        m_settingsWarnings.push_back("PlateCaptureDelay \"" + text + "\" is not a delay of 0 to "
                                     + std::to_string(std::numeric_limits<std::uint32_t>::max())
                                     + " ms; using " + std::to_string(kDefault) + " ms");
        return kDefault;
    }
    file.writeInt("LPR", "PlateCaptureDelay", delay);
    return static_cast<std::uint32_t>(delay);
}

LicencePlateRecognizer::LicencePlateRecognizer(const std::string &installFolder,
                                               std::shared_ptr<PlateClock> clock)
    : m_clock(clock ? std::move(clock) : std::make_shared<SteadyPlateClock>()),
      m_worker(std::make_unique<Worker>(*this))
{
    ReadCaptureSettings(installFolder);
}

LicencePlateRecognizer::~LicencePlateRecognizer() { Shutdown(); }

void LicencePlateRecognizer::Shutdown()
{
    m_shutDown.store(true);
    m_clock->Interrupt();
    m_worker->Stop();
    std::lock_guard lock(m_captureMutex);
    m_captureQueue.clear();
}

HRESULT LicencePlateRecognizer::ReadCaptureSettings(const std::string &installFolder)
{
    if (access(installFolder.c_str(), R_OK | X_OK) != 0)
        return E_ACCESSDENIED;
    ProfileFile file(JoinPath(installFolder, kSettingsFileName));
    m_settings.imageCaptureEnabled = IsYes(KeepText(file, "ImageCapture", "ImageCaptureEnabled", "Yes"));
    m_settings.posCameraNumber = static_cast<std::int32_t>(KeepNumber(file, "ImageCapture", "POSCameraNumber", 2));
    m_settings.imageCaptureDelayMs =
        static_cast<std::uint32_t>(KeepNumber(file, "ImageCapture", "ImageCaptureDelay", 3000));
    m_settings.plateRecognitionEnabled = IsYes(KeepText(file, "LPR", "LPREnabled", "Yes"));
    m_settings.triggerEvent = static_cast<std::int32_t>(KeepNumber(file, "LPR", "TriggerEvent", 2));

    m_settings.plateCaptureDelayMs = KeepPlateCaptureDelay(file);
    std::lock_guard lock(m_captureMutex);
    m_captureQueue.clear();
    return S_OK;
}

void LicencePlateRecognizer::ReportSettings() const
{
    for (const std::string &warning : m_settingsWarnings)
        support::TraceAt(1, "%s", warning.c_str());
}

bool LicencePlateRecognizer::Post(std::unique_ptr<MessageItem> item)
{
    if (m_shutDown.load())
        return false;
    if (!item)
        return false;
    std::unique_ptr<support::QueueItem> queued =
        std::make_unique<PostedItem>(std::move(item), m_clock->Now());
    return m_worker->Post(queued);
}

std::vector<std::int16_t> LicencePlateRecognizer::OpenRequests() const
{
    std::lock_guard lock(m_captureMutex);
    std::vector<std::int16_t> cameras;
    for (const CaptureRequest &request : m_captureQueue)
        cameras.push_back(request.cameraId);
    return cameras;
}

bool LicencePlateRecognizer::SettleOldest()
{
    std::lock_guard lock(m_captureMutex);
    if (m_captureQueue.empty())
        return false;
    m_captureQueue.pop_front();
    return true;
}

HRESULT LicencePlateRecognizer::ImageAvailable(std::int16_t CameraID, const std::string &FileName)
{
    support::TraceDebug("ImageAvailable() Called, Camera = %d, Filename = %s", CameraID, FileName.c_str());
    if (SettleOldest())
        support::TraceDebug("Handling input image");
    return S_OK;
}

HRESULT LicencePlateRecognizer::ImageCaptureError(std::int16_t CameraID, const std::string &Reason)
{
    support::TraceDebug("ImageCaptureError() Called, Camera = %d, Reason = %s", CameraID, Reason.c_str());
    SettleOldest();
    return S_OK;
}

void LicencePlateRecognizer::HandleItem(const PostedItem &posted)
{
    const MessageItem &item = *posted.item;
    try {
        switch (item.Type) {
        case ItemType::RecognizeRegistrationNumber:
            support::TraceDebug("Firing Recognize Rego Event, Timestamp = %s, Sequence ID =  %d, Pump = %d, "
                                "CameraID = %d, NumCharsRecognized = %d, Rego Num = %s, ConfidenceLevel = %s, "
                                "ImageTimestamp = %s",
                                item.Timestamp.c_str(), item.EventSequenceNumber, item.FuellingPositionID,
                                item.CameraID, item.NumberOfCharactersRecognized,
                                item.VehicleRegistrationNumber.c_str(), item.ConfidenceLevel.c_str(),
                                item.ImageTimestamp.c_str());
            if (m_shutDown.load())
                return;
            FireAll([&](ILicencePlateRecognizerEvents &sink) {
                sink.OnRecognizeRegistrationNumber(item.Timestamp, item.EventSequenceNumber, item.FuellingPositionID,
                                                   item.CameraID, item.NumberOfCharactersRecognized,
                                                   item.VehicleRegistrationNumber, item.ConfidenceLevel,
                                                   item.ImageTimestamp);
            });
            return;
        case ItemType::RequestImageCapture:
            return;
        case ItemType::PlateImageCapture:
            RequestPlateImage(posted);
            return;
        default:
            support::TraceError("LicencePlateRecognizer got unknown item");
            return;
        }
    } catch (...) {
        support::TraceError("LicencePlateRecognizer encountered error in handleitem");
    }
}

void LicencePlateRecognizer::RequestPlateImage(const PostedItem &posted)
{
    const MessageItem &item = *posted.item;
    support::TraceDebug("Sleeping for a while before requesting plate image capture");
    const auto due = posted.postedAt + std::chrono::milliseconds(m_settings.plateCaptureDelayMs);
    if (!m_clock->WaitUntil(due) || m_shutDown.load())
        return; // the bridge is going down: no request goes out
    support::TraceDebug("Sending Capture for Plate Image");
    {
        std::lock_guard lock(m_captureMutex);
        m_captureQueue.push_back({ItemType::PlateImageCapture, item.CameraID});
    }
    FireAll([&](ILicencePlateRecognizerEvents &sink) { sink.OnRequestImageCapture(item.CameraID); });
}

} // namespace recorder_bridge
