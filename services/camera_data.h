#pragma once
// The camera table of the in-memory site: camera number, camera type and the camera's presets
// (preset number and comment). Service thread only.

#include "interfaces/services/isite_tables.h"
#include "services/nested_preset_table.h"

#include <string>

namespace services {

struct CameraPreset
{
    std::int16_t presetNumber = 0;
    std::string comment;
};

struct CameraRecord
{
    std::int16_t cameraNumber = 0;
    std::int16_t cameraType = 0;
    RecordList<CameraPreset> presets;
};

class CameraData final : public NestedPresetTable<ICameraData, CameraRecord, CameraPreset>
{
public:
    using Record = CameraRecord;
    using Preset = CameraPreset;

    HRESULT GetCameraNumber(std::int16_t camera, std::int16_t *cameraNumber) override;
    HRESULT GetCameraType(std::int16_t camera, std::int16_t *cameraType) override;
    HRESULT SetCameraType(std::int16_t camera, std::int16_t cameraType) override;
    HRESULT GetComment(std::int16_t camera, std::int16_t preset, std::string *comment) override;
    HRESULT SetComment(std::int16_t camera, std::int16_t preset, const std::string *comment) override;
    HRESULT FirstCamera(std::int16_t *camera) override { return m_records.First(camera); }
    HRESULT LastCamera(std::int16_t *camera) override { return m_records.Last(camera); }
    HRESULT NextCamera(std::int16_t *camera) override { return m_records.Next(camera); }
    HRESULT PreviousCamera(std::int16_t *camera) override { return m_records.Previous(camera); }
    HRESULT NewCamera(std::int16_t cameraNumber, std::int16_t *camera) override;
    HRESULT NewPreset(std::int16_t camera, std::int16_t presetNumber, std::int16_t *preset) override;
    // Clients walk the cameras and delete as they go; the index they hold stays put.
    HRESULT DeleteCamera(std::int16_t *camera) override { return m_records.remove(camera, true); }
    HRESULT DeletePreset(std::int16_t camera, std::int16_t *preset) override;
    HRESULT CountCameras(std::int16_t *count) override { return m_records.Count(count); }
    HRESULT GetPresetNumber(std::int16_t camera, std::int16_t preset, std::int16_t *presetNumber) override;
};

} // namespace services
