#include "config_data.h"

#include "platform/notifier.h"

namespace transport {

HRESULT ConfigData::InsertDwellTime(std::int16_t time, std::int16_t priority)
{
    return putTime(0, time, priority);
}

HRESULT ConfigData::InsertIntervisitTime(std::int16_t time, std::int16_t priority)
{
    return putTime(5, time, priority);
}

HRESULT ConfigData::putTime(int base, std::int16_t time, std::int16_t priority)
{
    if (priority < 1 || priority > 5) {
        Notify("Priority must be in the range 1-5.", NoticeKind::Error);
        return S_OK;
    }
    return m_buffer.put(base + priority, time) ? S_OK : E_INVALIDARG;
}

HRESULT ConfigData::setNumberOfCameras(std::int16_t cameras)
{
    // The count is one byte; the ids after it end within the message.
    constexpr int kMaxCameras = 255;
    static_assert(kMaxCameras <= kMaxMessageSize - kConfigDataHeaderSize);
    if (cameras < 0 || cameras > kMaxCameras)
        return E_INVALIDARG;
    m_buffer.put(0, cameras);
    m_buffer.setLength(static_cast<std::int16_t>(cameras + kConfigDataHeaderSize));
    return S_OK;
}

HRESULT ConfigData::setCameraID(std::int16_t cameraIndex, std::int16_t cameraID)
{
    if (cameraIndex < 0 || cameraIndex > kMaxMessageSize - kConfigDataHeaderSize - 1)
        return E_INVALIDARG;
    return m_buffer.put(kConfigDataHeaderSize + cameraIndex, cameraID) ? S_OK : E_INVALIDARG;
}

} // namespace transport
