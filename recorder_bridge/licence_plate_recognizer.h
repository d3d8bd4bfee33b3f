#pragma once
// The licence plate recognizer: asks recorder software for plate images and passes on
// recognized registration numbers, on its own worker thread.
//
// A plate capture item (68) falls due the plate capture delay after it was posted, so the
// camera can settle; then it opens a capture request and fires OnRequestImageCapture. Each
// answer (ImageAvailable, ImageCaptureError) settles the oldest open request, whatever its
// camera. A registration number item (37) fires OnRecognizeRegistrationNumber. Items are handled
// one at a time in the order posted, so a number posted during a plate wait fires after that
// request; since every plate item waits the same delay from its own posting, a camera that moves
// more often than the delay never makes the requests fall behind: each goes out at its due time,
// or as soon as the ones before it have been fired.
//
// Settings come from the install folder's OrvexSettings.ini ([ImageCapture] and [LPR]) at
// construction and are written back at once, so the file always shows the values in force. A
// PlateCaptureDelay that is no 32-bit unsigned number is kept in the file as written while this
// run waits 5000 ms, with a warning line.
//
// Shutdown (also run by the destructor) interrupts a plate wait and stops the thread; from the
// moment it begins, nothing more is fired. The answers may be called on any thread; the capture
// queue is guarded by its own lock, never held while waiting or firing.

#include "event_object.h"
#include "message_item.h"
#include "plate_clock.h"
#include "interfaces/recorder_bridge/licence_plate_recognizer.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class ProfileFile;

namespace recorder_bridge {

struct CaptureSettings
{
    static constexpr std::uint32_t kDefaultPlateCaptureDelayMs = 5000;

    bool imageCaptureEnabled = true;
    std::int32_t posCameraNumber = 2;
    std::uint32_t imageCaptureDelayMs = 3000;
    bool plateRecognitionEnabled = true;
    std::int32_t triggerEvent = 2;
    std::uint32_t plateCaptureDelayMs = kDefaultPlateCaptureDelayMs;
};

class LicencePlateRecognizer final
    : public EventObject<ILicencePlateRecognizer, ILicencePlateRecognizerEvents>
{
public:
    // Starts the worker and reads the settings of `installFolder`. Plate requests fall due by
    // `clock`, the monotonic system clock when null.
    explicit LicencePlateRecognizer(const std::string &installFolder,
                                    std::shared_ptr<PlateClock> clock = nullptr);
    ~LicencePlateRecognizer() override;

    HRESULT ImageAvailable(std::int16_t CameraID, const std::string &FileName) override;
    HRESULT ImageCaptureError(std::int16_t CameraID, const std::string &Reason) override;

    // Queues an item for the worker; false (the item is then deleted) once shut down or when the
    // queue cannot grow.
    bool Post(std::unique_ptr<MessageItem> item);

    // Stops the worker, interrupting a plate wait; nothing fires afterwards. Idempotent.
    void Shutdown();

    // Writes the warnings found while reading the settings (which happens before the bridge's
    // trace is open).
    void ReportSettings() const;

    [[nodiscard]] const CaptureSettings &settings() const { return m_settings; }
    // The cameras of the open requests, oldest first.
    [[nodiscard]] std::vector<std::int16_t> OpenRequests() const;

private:
    class Worker;
    struct PostedItem;
    struct CaptureRequest
    {
        ItemType type;
        std::int16_t cameraId;
    };

    HRESULT ReadCaptureSettings(const std::string &installFolder);
    std::uint32_t KeepPlateCaptureDelay(ProfileFile &file);
    void HandleItem(const PostedItem &posted);
    void RequestPlateImage(const PostedItem &posted);
    bool SettleOldest();

    // Shared with whoever made it: a test moves its clock while this object waits on it.
    const std::shared_ptr<PlateClock> m_clock;
    CaptureSettings m_settings;
    std::vector<std::string> m_settingsWarnings;
    std::atomic<bool> m_shutDown{false};
    mutable std::mutex m_captureMutex;
    std::deque<CaptureRequest> m_captureQueue;
    std::unique_ptr<Worker> m_worker;
};

} // namespace recorder_bridge
