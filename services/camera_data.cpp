#include "services/camera_data.h"

#include "platform/xml_text.h"
#include "support/trace_log.h"

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

// The members below check the pointer before the camera index.

HRESULT CameraData::GetComment(std::int16_t camera, std::int16_t preset, std::string *comment)
{
    if (!comment)
        return E_POINTER;
    return onPresets(camera, &RecordList<Preset>::get<std::string>, preset, &Preset::comment, comment);
}

HRESULT CameraData::SetComment(std::int16_t camera, std::int16_t preset, const std::string *comment)
{
    if (!comment)
        return E_POINTER;
    // Text the store would refuse would make every later Save of the site fail, and text that no
    // file can carry would make every later export of it fail.
    if (const char *fault = XmlTextFault(*comment)) {
        support::TraceError("Error Setting Comment of Camera %d Preset %d: %s", camera, preset, fault);
        return E_INVALIDARG;
    }
    return onPresets(camera, &RecordList<Preset>::set<std::string>, preset, &Preset::comment, *comment);
}

HRESULT CameraData::GetPresetNumber(std::int16_t camera, std::int16_t preset, std::int16_t *presetNumber)
{
    if (!presetNumber)
        return E_POINTER;
    return onPresets(camera, &RecordList<Preset>::get<std::int16_t>, preset, &Preset::presetNumber, presetNumber);
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
    return onPresets(camera, &RecordList<Preset>::append, Preset{presetNumber, {}}, preset);
}

HRESULT CameraData::DeletePreset(std::int16_t camera, std::int16_t *preset)
{
    if (!preset)
        return E_POINTER;
    return onPresets(camera, &RecordList<Preset>::remove, preset, false);
}

} // namespace services
