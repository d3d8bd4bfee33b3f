#include "services/camera_data.h"

namespace services {

HRESULT CameraData::GetCameraNumber(std::int16_t camera, std::int16_t *cameraNumber)
{
    return m_records.get(camera, &Record::cameraNumber, cameraNumber);
}

HRESULT CameraData::GetCameraType(std::int16_t camera, std::int16_t *cameraType)
{
    return m_records.get(camera, &Record::cameraType, cameraType);
}

HRESULT CameraData::SetCameraType(std::int16_t camera, std::int16_t cameraType)
{
    return m_records.set(camera, &Record::cameraType, cameraType);
}

RecordList<CameraData::Preset> *CameraData::presetsOf(std::int16_t camera)
{
    Record *record = m_records.find(camera);
    return record ? &record->presets : nullptr;
}

HRESULT CameraData::GetComment(std::int16_t camera, std::int16_t preset, std::string *comment)
{
    if (!comment)
        return E_POINTER;
    auto *presets = presetsOf(camera);
    return presets ? presets->get(preset, &Preset::comment, comment) : E_INVALIDARG;
}

HRESULT CameraData::SetComment(std::int16_t camera, std::int16_t preset, const std::string *comment)
{
    if (!comment)
        return E_POINTER;
    auto *presets = presetsOf(camera);
    return presets ? presets->set(preset, &Preset::comment, *comment) : E_INVALIDARG;
}

HRESULT CameraData::FirstPreset(std::int16_t camera, std::int16_t *preset)
{
    auto *presets = presetsOf(camera);
    return presets ? presets->First(preset) : E_INVALIDARG;
}

HRESULT CameraData::LastPreset(std::int16_t camera, std::int16_t *preset)
{
    auto *presets = presetsOf(camera);
    return presets ? presets->Last(preset) : E_INVALIDARG;
}

HRESULT CameraData::NextPreset(std::int16_t camera, std::int16_t *preset)
{
    auto *presets = presetsOf(camera);
    return presets ? presets->Next(preset) : E_INVALIDARG;
}

HRESULT CameraData::PreviousPreset(std::int16_t camera, std::int16_t *preset)
{
    auto *presets = presetsOf(camera);
    return presets ? presets->Previous(preset) : E_INVALIDARG;
}

HRESULT CameraData::CountPresets(std::int16_t camera, std::int16_t *count)
{
    auto *presets = presetsOf(camera);
    return presets ? presets->Count(count) : E_INVALIDARG;
}

HRESULT CameraData::NewCamera(std::int16_t cameraNumber, std::int16_t *camera)
{
    Record record;
    record.cameraNumber = cameraNumber;
    return m_records.append(std::move(record), camera);
}

HRESULT CameraData::NewPreset(std::int16_t camera, std::int16_t presetNumber, std::int16_t *preset)
{
    if (!preset)
        return E_POINTER;
    auto *presets = presetsOf(camera);
    return presets ? presets->append({presetNumber, {}}, preset) : E_INVALIDARG;
}

HRESULT CameraData::DeletePreset(std::int16_t camera, std::int16_t *preset)
{
    if (!preset)
        return E_POINTER;
    auto *presets = presetsOf(camera);
    return presets ? presets->remove(preset) : E_INVALIDARG;
}

HRESULT CameraData::GetPresetNumber(std::int16_t camera, std::int16_t preset, std::int16_t *presetNumber)
{
    if (!presetNumber)
        return E_POINTER;
    auto *presets = presetsOf(camera);
    return presets ? presets->get(preset, &Preset::presetNumber, presetNumber) : E_INVALIDARG;
}

} // namespace services
