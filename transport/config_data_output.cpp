#include "config_data_output.h"

namespace transport {

HRESULT ConfigDataOutput::getTuple(std::int16_t *priority, std::int16_t *dwellTime, std::int16_t *intervisitTime)
{
    if (!priority || !dwellTime || !intervisitTime)
        return E_POINTER;
    std::lock_guard lock(m_mutex);
    *priority = m_cursor;
    *dwellTime = byteAt(m_cursor);
    *intervisitTime = byteAt(m_cursor + 5);
    advance(1);
    return S_OK;
}

HRESULT ConfigDataOutput::getCameraID(std::int16_t cameraIndex, std::int16_t *cameraID)
{
    if (!cameraID)
        return E_POINTER;
    if (length() <= kConfigDataHeaderSize)
        *cameraID = static_cast<std::int16_t>(cameraIndex + 1);
    else
        *cameraID = signedAt(kConfigDataHeaderSize + cameraIndex);
    return S_OK;
}

} // namespace transport
