#include "transport/camera_control.h"

#include "platform/notifier.h"
#include "transport/camera_command_wrap.h"
#include "transport/pelco_d_protocol.h"

#include <algorithm>
#include <optional>
#include <thread>

namespace transport {

namespace {

constexpr const char *kNoCameraNotice = "Please Select a Camera";
constexpr const char *kInvalidCodeResult = "Invalid Camera Code";
constexpr const char *kInvalidNumberResult = "Invalid Camera Number";

void realSleep(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

auto moveSpeedCarried(std::int16_t speed)
{
    return [speed](const CameraCommandLimits &limits) { return limits.moveSpeed.contains(speed); };
}

auto lensSpeedCarried(std::int16_t speed)
{
    return [speed](const CameraCommandLimits &limits) { return limits.lensSpeed.contains(speed); };
}

auto presetCarried(std::int16_t preset)
{
    return [preset](const CameraCommandLimits &limits) { return limits.preset.contains(preset); };
}

} // namespace

CameraControl::CameraControl(SendFunction send, Sleeper sleeper)
    : m_send(std::move(send))
    , m_sleeper(sleeper ? std::move(sleeper) : Sleeper(realSleep))
{
}

CameraControl::~CameraControl() = default;

HRESULT CameraControl::SelectCamera(std::int32_t camera, std::int32_t cameraType, std::string *result)
{
    std::shared_ptr<const CameraCommandEncoder> encoder = MakeCameraCommandEncoder(cameraType);
    std::lock_guard lock(m_mutex);
    // Whatever happens, the camera chosen before is no longer selected. A call still steering
    // it holds its own reference to the old encoder.
    m_selection = Selection{};
    const std::optional<CameraCommandLimits> limits = CameraCommandLimitsOf(cameraType);
    if (!encoder || !limits) {
        if (result)
            *result = kInvalidCodeResult;
        return E_FAIL;
    }
    // Another number would address the camera its low byte names.
    if (!limits->camera.contains(camera)) {
        if (result)
            *result = kInvalidNumberResult;
        return E_INVALIDARG;
    }
    m_selection
        = Selection{std::move(encoder), static_cast<std::int16_t>(camera), cameraType, *limits};
    if (result)
        result->clear();
    return S_OK;
}

CameraControl::Selection CameraControl::currentSelection() const
{
    Selection selection;
    {
        std::lock_guard lock(m_mutex);
        selection = m_selection;
    }
    if (!selection.encoder)
        Notify(kNoCameraNotice, NoticeKind::Error);
    return selection;
}

void CameraControl::sendWrapped(const Selection &selection, const ByteArray &command)
{
    m_send(WrapCameraCommand(selection.code, command));
}

HRESULT CameraControl::sendCommands(std::initializer_list<Encode> commands, const Carried &carried)
{
    const Selection selection = currentSelection();
    if (!selection.encoder)
        return E_FAIL;
    if (carried && !carried(selection.limits))
        return E_INVALIDARG;
    for (const Encode &encode : commands)
        sendWrapped(selection, encode(*selection.encoder, selection.camera));
    return S_OK;
}

void CameraControl::sendPelcoDParts(const Selection &selection, const ByteArray &parts,
                                    std::initializer_list<std::size_t> order, bool pauseBetween)
{
    constexpr std::size_t partSize = PelcoDProtocol::kCompleteCommandSize;
    bool first = true;
    for (const std::size_t index : order) {
        const std::size_t begin = index * partSize;
        if (begin + partSize > parts.size())
            continue;
        if (!first && pauseBetween)
            m_sleeper(kPositionPartPause);
        first = false;
        // Lay the part out as a single command (spare byte first, check left off), so that the
        // wrapping puts the port in front and writes the same check back.
        ByteArray command(partSize, 0x00);
        std::copy_n(parts.begin() + static_cast<std::ptrdiff_t>(begin), partSize - 1, command.begin() + 1);
        sendWrapped(selection, command);
    }
}

HRESULT CameraControl::sendPosition(const Encode &encode,
                                    std::initializer_list<std::size_t> pelcoDOrder,
                                    bool pauseBetween, const Carried &carried)
{
    const Selection selection = currentSelection();
    if (!selection.encoder)
        return E_FAIL;
    if (carried && !carried(selection.limits))
        return E_INVALIDARG;
    const ByteArray command = encode(*selection.encoder, selection.camera);
    if (selection.code == kPelcoDCameraCode)
        sendPelcoDParts(selection, command, pelcoDOrder, pauseBetween);
    else
        sendWrapped(selection, command);
    return S_OK;
}

HRESULT CameraControl::MoveUp(std::int16_t speed)
{
    return sendCommands(
        {[speed](const CameraCommandEncoder &e, std::int16_t c) { return e.MoveUp(c, speed); }},
        moveSpeedCarried(speed));
}

HRESULT CameraControl::MoveDown(std::int16_t speed)
{
    return sendCommands(
        {[speed](const CameraCommandEncoder &e, std::int16_t c) { return e.MoveDown(c, speed); }},
        moveSpeedCarried(speed));
}

HRESULT CameraControl::MoveLeft(std::int16_t speed)
{
    return sendCommands(
        {[speed](const CameraCommandEncoder &e, std::int16_t c) { return e.MoveLeft(c, speed); }},
        moveSpeedCarried(speed));
}

HRESULT CameraControl::MoveRight(std::int16_t speed)
{
    return sendCommands(
        {[speed](const CameraCommandEncoder &e, std::int16_t c) { return e.MoveRight(c, speed); }},
        moveSpeedCarried(speed));
}

HRESULT CameraControl::MoveUpLeft(std::int16_t speed)
{
    return sendCommands(
        {[speed](const CameraCommandEncoder &e, std::int16_t c) { return e.MoveUpLeft(c, speed); }},
        moveSpeedCarried(speed));
}

HRESULT CameraControl::MoveUpRight(std::int16_t speed)
{
    return sendCommands({[speed](const CameraCommandEncoder &e, std::int16_t c) {
                            return e.MoveUpRight(c, speed);
                        }},
                        moveSpeedCarried(speed));
}

HRESULT CameraControl::MoveDownLeft(std::int16_t speed)
{
    return sendCommands({[speed](const CameraCommandEncoder &e, std::int16_t c) {
                            return e.MoveDownLeft(c, speed);
                        }},
                        moveSpeedCarried(speed));
}

HRESULT CameraControl::MoveDownRight(std::int16_t speed)
{
    return sendCommands({[speed](const CameraCommandEncoder &e, std::int16_t c) {
                            return e.MoveDownRight(c, speed);
                        }},
                        moveSpeedCarried(speed));
}

HRESULT CameraControl::ZoomIn(std::int16_t speed)
{
    return sendCommands({[speed](const CameraCommandEncoder &e, std::int16_t c) {
                             return e.SetZoomSpeed(c, speed);
                         },
                         [](const CameraCommandEncoder &e, std::int16_t c) { return e.ZoomIn(c); }},
                        lensSpeedCarried(speed));
}

HRESULT CameraControl::ZoomOut(std::int16_t speed)
{
    return sendCommands(
        {[speed](const CameraCommandEncoder &e, std::int16_t c) {
             return e.SetZoomSpeed(c, speed);
         },
         [](const CameraCommandEncoder &e, std::int16_t c) { return e.ZoomOut(c); }},
        lensSpeedCarried(speed));
}

HRESULT CameraControl::FocusNear(std::int16_t speed)
{
    return sendCommands(
        {[speed](const CameraCommandEncoder &e, std::int16_t c) {
             return e.SetFocusSpeed(c, speed);
         },
         [](const CameraCommandEncoder &e, std::int16_t c) { return e.FocusNear(c); }},
        lensSpeedCarried(speed));
}

HRESULT CameraControl::FocusFar(std::int16_t speed)
{
    return sendCommands(
        {[speed](const CameraCommandEncoder &e, std::int16_t c) {
             return e.SetFocusSpeed(c, speed);
         },
         [](const CameraCommandEncoder &e, std::int16_t c) { return e.FocusFar(c); }},
        lensSpeedCarried(speed));
}

HRESULT CameraControl::OpenIris()
{
    return sendCommands({[](const CameraCommandEncoder &e, std::int16_t c) { return e.OpenIris(c); }});
}

HRESULT CameraControl::CloseIris()
{
    return sendCommands({[](const CameraCommandEncoder &e, std::int16_t c) { return e.CloseIris(c); }});
}

HRESULT CameraControl::SetPreset(std::int16_t preset)
{
    return sendCommands({[preset](const CameraCommandEncoder &e, std::int16_t c) {
                            return e.SetPreset(c, preset);
                        }},
                        presetCarried(preset));
}

HRESULT CameraControl::MoveToPreset(std::int16_t preset)
{
    return sendCommands({[preset](const CameraCommandEncoder &e, std::int16_t c) {
                            return e.MoveToPreset(c, preset);
                        }},
                        presetCarried(preset));
}

HRESULT CameraControl::ClearPreset(std::int16_t preset)
{
    return sendCommands({[preset](const CameraCommandEncoder &e, std::int16_t c) {
                            return e.ClearPreset(c, preset);
                        }},
                        presetCarried(preset));
}

HRESULT CameraControl::Stop()
{
    return sendCommands({[](const CameraCommandEncoder &e, std::int16_t c) { return e.Stop(c); }});
}

HRESULT CameraControl::RequestCameraPTZCoords()
{
    // Pan, tilt and zoom queries, straight after one another.
    return sendPosition([](const CameraCommandEncoder &e, std::int16_t c) { return e.RequestCameraPTZCoords(c); },
                        {0, 1, 2}, false);
}

HRESULT CameraControl::GoToPTZCoords(float pan, float tilt, float zoom)
{
    // For Pelco D cameras the three parts go tilt, pan, zoom, half a second apart, so that each
    // has been taken before the next arrives.
    return sendPosition(
        [pan, tilt, zoom](const CameraCommandEncoder &e, std::int16_t c) {
            return e.GoToPTZCoords(c, pan, tilt, zoom);
        },
        {1, 0, 2}, true,
        [pan, tilt, zoom](const CameraCommandLimits &limits) {
            return limits.pan.contains(pan) && limits.tilt.contains(tilt)
                   && limits.zoom.contains(zoom);
        });
}

HRESULT CameraControl::ToggleAutoPan()
{
    return sendCommands({[](const CameraCommandEncoder &e, std::int16_t c) { return e.ToggleAutoPan(c); }});
}

HRESULT CameraControl::ToggleAutoIris()
{
    return sendCommands({[](const CameraCommandEncoder &e, std::int16_t c) { return e.ToggleAutoIris(c); }});
}

HRESULT CameraControl::AccessMenu()
{
    return sendCommands({[](const CameraCommandEncoder &e, std::int16_t c) { return e.AccessMenu(c); }});
}

} // namespace transport
