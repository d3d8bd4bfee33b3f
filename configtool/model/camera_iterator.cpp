#include "configtool/model/camera_iterator.h"

#include "platform/com_error.h"

namespace configtool {

void CameraIterator::Reload()
{
    m_cameras = retrieveCameras();
    m_devices = retrieveDevices();
    m_dispensers = retrieveDispensers();
    m_cameraDevice = SiteHasDevice(*m_devices, metaData(), "Camera");
}

std::int16_t CameraIterator::Count()
{
    std::int16_t count = 0;
    ThrowIfFailed(m_cameras->CountCameras(&count));
    return count;
}

void CameraIterator::First()
{
    ThrowIfFailed(m_cameras->FirstCamera(&m_current));
}

void CameraIterator::Next()
{
    ThrowIfFailed(m_cameras->NextCamera(&m_current));
}

void CameraIterator::ClearAll()
{
    DeleteFirstRecords(
        Count(), [&](std::int16_t *h) { return m_cameras->FirstCamera(h); },
        [&](std::int16_t *h) { return m_cameras->DeleteCamera(h); });
    m_current = 0;
    SetModified();
}

void CameraIterator::LoadDefaults()
{
    ClearAll();
    AddCamera(1);
}

std::int16_t CameraIterator::FindCamera(std::int16_t number)
{
    return FindNumbered(
        [&](std::int16_t *h) { return m_cameras->FirstCamera(h); },
        [&](std::int16_t *h) { return m_cameras->NextCamera(h); },
        [&](std::int16_t h, std::int16_t *n) { return m_cameras->GetCameraNumber(h, n); }, number);
}

void CameraIterator::SelectCamera(std::int16_t number)
{
    m_current = FindCamera(number);
}

void CameraIterator::AddCamera(std::int16_t number)
{
    ThrowIfFailed(m_cameras->NewCamera(number, &m_current));
    SetModified();
}

void CameraIterator::DeleteCamera(std::int16_t number)
{
    DeleteMatchingEntries(*m_dispensers, [number](services::ICameraPresetData &entry) {
        std::int16_t value = 0;
        ThrowIfFailed(entry.GetCameraNumber(&value));
        return value == number;
    });
    std::int16_t handle = FindCamera(number);
    ThrowIfFailed(m_cameras->DeleteCamera(&handle));
    SetModified();
}

std::int16_t CameraIterator::GetCameraNumber()
{
    std::int16_t value = 0;
    ThrowIfFailed(m_cameras->GetCameraNumber(m_current, &value));
    return value;
}

bool CameraIterator::HasPresets()
{
    std::int16_t count = 0;
    ThrowIfFailed(m_cameras->CountPresets(m_current, &count));
    return count > 0;
}

} // namespace configtool
