#include "configtool/model/preset_iterator.h"

#include "platform/com_error.h"

namespace configtool {

void PresetIterator::Reload()
{
    m_cameras = retrieveCameras();
    m_dispensers = retrieveDispensers();
    m_current = 0;
    m_camera = FindCamera(m_cameraNumber);
    if (m_camera != 0)
        return;
    ThrowIfFailed(m_cameras->FirstCamera(&m_camera));
    if (m_camera != 0)
        ThrowIfFailed(m_cameras->GetCameraNumber(m_camera, &m_cameraNumber));
}

std::int16_t PresetIterator::Count()
{
    std::int16_t count = 0;
    if (m_camera != 0)
        ThrowIfFailed(m_cameras->CountPresets(m_camera, &count));
    return count;
}

void PresetIterator::First()
{
    m_current = 0;
    if (m_camera != 0)
        ThrowIfFailed(m_cameras->FirstPreset(m_camera, &m_current));
}

void PresetIterator::Next()
{
    if (m_camera != 0 && m_current != 0)
        ThrowIfFailed(m_cameras->NextPreset(m_camera, &m_current));
}

std::int16_t PresetIterator::FindCamera(std::int16_t number)
{
    return FindNumbered(
        [&](std::int16_t *h) { return m_cameras->FirstCamera(h); },
        [&](std::int16_t *h) { return m_cameras->NextCamera(h); },
        [&](std::int16_t h, std::int16_t *n) { return m_cameras->GetCameraNumber(h, n); }, number);
}

void PresetIterator::SelectCamera(std::int16_t number)
{
    m_camera = FindCamera(number);
    m_cameraNumber = number;
    m_current = 0;
}

std::int16_t PresetIterator::FindPreset(std::int16_t number)
{
    if (m_camera == 0)
        return 0;
    return FindHandle([&](std::int16_t *p) { return m_cameras->FirstPreset(m_camera, p); },
                      [&](std::int16_t *p) { return m_cameras->NextPreset(m_camera, p); },
                      [&](std::int16_t p) {
                          std::int16_t value = 0;
                          ThrowIfFailed(m_cameras->GetPresetNumber(m_camera, p, &value));
                          return value == number;
                      });
}

void PresetIterator::SelectPreset(std::int16_t number)
{
    m_current = FindPreset(number);
}

void PresetIterator::AddPreset(std::int16_t number)
{
    ThrowIfFailed(m_cameras->NewPreset(m_camera, number, &m_current));
    SetModified();
}

void PresetIterator::DeletePreset(std::int16_t number)
{
    const std::int16_t camera = m_cameraNumber;
    DeleteMatchingEntries(*m_dispensers, [camera, number](services::ICameraPresetData &entry) {
        std::int16_t entryCamera = 0;
        std::int16_t entryPreset = 0;
        ThrowIfFailed(entry.GetCameraNumber(&entryCamera));
        ThrowIfFailed(entry.GetPresetNumber(&entryPreset));
        return entryCamera == camera && entryPreset == number;
    });
    std::int16_t handle = FindPreset(number);
    ThrowIfFailed(m_cameras->DeletePreset(m_camera, &handle));
    SetModified();
}

std::int16_t PresetIterator::GetPresetNumber()
{
    std::int16_t value = 0;
    ThrowIfFailed(m_cameras->GetPresetNumber(m_camera, m_current, &value));
    return value;
}

QString PresetIterator::GetComment()
{
    std::string comment;
    ThrowIfFailed(m_cameras->GetComment(m_camera, m_current, &comment));
    return comment == " " ? QString() : QString::fromStdString(comment);
}

void PresetIterator::SetComment(const QString &comment)
{
    const std::string stored = comment.isEmpty() ? std::string(" ") : comment.toStdString();
    ThrowIfFailed(m_cameras->SetComment(m_camera, m_current, &stored));
    SetModified();
}

bool PresetIterator::HasCameras()
{
    std::int16_t count = 0;
    ThrowIfFailed(m_cameras->CountCameras(&count));
    return count > 0;
}

} // namespace configtool
