#pragma once
// Steering of one selected camera: ICameraControl over the camera command encoders.
//
// Each member encodes its command with the selected camera's encoder, wraps it for the unit
// (camera_command_wrap.h) and hands the payload to `send`, which the owner makes post it as a
// pass-through message (type 0x70); the result does not reflect what becomes of the message.
// With no camera selected a member notifies "Please Select a Camera" and returns E_FAIL. A value
// beyond what the selected command set carries (CameraCommandLimitsOf) is refused with
// E_INVALIDARG and nothing is sent: the camera would get another value. SelectCamera with a
// camera number that no address byte holds leaves no camera selected ("Invalid Camera Number").
//
// Threads: any thread may call any member. The selection is kept under a lock and each call
// works on its own copy of it (the encoder is shared), so a selection made while another thread
// steers never frees an encoder in use; such a call finishes with the camera it started with.
// `send` and the sleeper run on the calling thread, outside the lock. The Pelco D position
// command blocks its caller for two pauses of 500 ms.
//
// The transport object derives from this class beside IOrvexTransport; tests construct it
// with a recording `send` and a sleeper that does not sleep.

#include "interfaces/transport/icamera_control.h"
#include "interfaces/transport/messages.h"
#include "transport/camera_command_encoder.h"

#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>

namespace transport {

class CameraControl : public ICameraControl
{
public:
    using SendFunction = std::function<void(const ByteArray &wrappedCommand)>;
    using Sleeper = std::function<void(std::chrono::milliseconds)>;

    // The pause between the parts of a Pelco D position command.
    static constexpr std::chrono::milliseconds kPositionPartPause{500};

    // A null sleeper means a real sleep.
    explicit CameraControl(SendFunction send, Sleeper sleeper = {});
    ~CameraControl() override;

    CameraControl(const CameraControl &) = delete;
    CameraControl &operator=(const CameraControl &) = delete;

    HRESULT SelectCamera(std::int32_t camera, std::int32_t cameraType, std::string *result) override;
    HRESULT MoveUp(std::int16_t speed) override;
    HRESULT MoveDown(std::int16_t speed) override;
    HRESULT MoveLeft(std::int16_t speed) override;
    HRESULT MoveRight(std::int16_t speed) override;
    HRESULT MoveUpLeft(std::int16_t speed) override;
    HRESULT MoveUpRight(std::int16_t speed) override;
    HRESULT MoveDownLeft(std::int16_t speed) override;
    HRESULT MoveDownRight(std::int16_t speed) override;
    HRESULT ZoomIn(std::int16_t speed) override;
    HRESULT ZoomOut(std::int16_t speed) override;
    HRESULT FocusNear(std::int16_t speed) override;
    HRESULT FocusFar(std::int16_t speed) override;
    HRESULT OpenIris() override;
    HRESULT CloseIris() override;
    HRESULT SetPreset(std::int16_t preset) override;
    HRESULT MoveToPreset(std::int16_t preset) override;
    HRESULT ClearPreset(std::int16_t preset) override;
    HRESULT Stop() override;
    HRESULT RequestCameraPTZCoords() override;
    HRESULT GoToPTZCoords(float pan, float tilt, float zoom) override;
    HRESULT ToggleAutoPan() override;
    HRESULT ToggleAutoIris() override;
    HRESULT AccessMenu() override;

private:
    struct Selection
    {
        std::shared_ptr<const CameraCommandEncoder> encoder;
        std::int16_t camera = 0;
        std::int32_t code = 0;
        CameraCommandLimits limits{};
    };

    using Encode = std::function<ByteArray(const CameraCommandEncoder &, std::int16_t camera)>;
    // Whether the command's values are within the selected set's limits.
    using Carried = std::function<bool(const CameraCommandLimits &)>;

    // The current selection, or one without an encoder after the notice.
    Selection currentSelection() const;
    // Encodes, wraps and sends each command in turn with one selection; E_INVALIDARG, nothing
    // sent, when `carried` says the set cannot carry the values.
    HRESULT sendCommands(std::initializer_list<Encode> commands, const Carried &carried = {});
    void sendWrapped(const Selection &selection, const ByteArray &command);
    // Sends the complete commands of a Pelco D position command or query, one message each,
    // in the given order of their indexes, pausing between them when asked.
    void sendPelcoDParts(const Selection &selection, const ByteArray &parts,
                         std::initializer_list<std::size_t> order, bool pauseBetween);
    HRESULT sendPosition(const Encode &encode, std::initializer_list<std::size_t> pelcoDOrder,
                         bool pauseBetween, const Carried &carried = {});

    const SendFunction m_send;
    const Sleeper m_sleeper;
    mutable std::mutex m_mutex;
    Selection m_selection;
};

} // namespace transport
