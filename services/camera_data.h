#pragma once
// The camera table of the in-memory site: camera number, camera type and the camera's presets
// (preset number and comment). Service thread only.

#include "interfaces/services/isite_tables.h"
#include "services/record_list.h"

#include <string>

namespace services {

class CameraData final : public ICameraData
{
public:
    struct Preset
    {
        std::int16_t presetNumber = 0;
        std::string comment;
    };
    struct Record
    {
        std::int16_t cameraNumber = 0;
        std::int16_t cameraType = 0;
        RecordList<Preset> presets;
    };

    HRESULT GetCameraNumber(std::int16_t camera, std::int16_t *cameraNumber) override;
    HRESULT GetCameraType(std::int16_t camera, std::int16_t *cameraType) override;
    HRESULT SetCameraType(std::int16_t camera, std::int16_t cameraType) override;
    HRESULT GetComment(std::int16_t camera, std::int16_t preset, std::string *comment) override;
    HRESULT SetComment(std::int16_t camera, std::int16_t preset, const std::string *comment) override;
    HRESULT FirstCamera(std::int16_t *camera) override { return m_records.First(camera); }
    HRESULT LastCamera(std::int16_t *camera) override { return m_records.Last(camera); }
    HRESULT NextCamera(std::int16_t *camera) override { return m_records.Next(camera); }
    HRESULT PreviousCamera(std::int16_t *camera) override { return m_records.Previous(camera); }
    HRESULT FirstPreset(std::int16_t camera, std::int16_t *preset) override;
    HRESULT LastPreset(std::int16_t camera, std::int16_t *preset) override;
    HRESULT NextPreset(std::int16_t camera, std::int16_t *preset) override;
    HRESULT PreviousPreset(std::int16_t camera, std::int16_t *preset) override;
    HRESULT NewCamera(std::int16_t cameraNumber, std::int16_t *camera) override;
    HRESULT NewPreset(std::int16_t camera, std::int16_t presetNumber, std::int16_t *preset) override;
    // Clients walk the cameras and delete as they go; the index they hold stays put.
    HRESULT DeleteCamera(std::int16_t *camera) override { return m_records.remove(camera, true); }
    HRESULT DeletePreset(std::int16_t camera, std::int16_t *preset) override;
    HRESULT CountCameras(std::int16_t *count) override { return m_records.Count(count); }
    HRESULT CountPresets(std::int16_t camera, std::int16_t *count) override;
    HRESULT GetPresetNumber(std::int16_t camera, std::int16_t preset, std::int16_t *presetNumber) override;

    [[nodiscard]] const RecordList<Record> &records() const { return m_records; }
    void clear() { m_records.clear(); }

private:
    RecordList<Preset> *presetsOf(std::int16_t camera);

    RecordList<Record> m_records;
};

} // namespace services
