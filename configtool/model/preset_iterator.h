#pragma once
// The presets of one camera, keyed by camera number and then preset number. Deleting a preset
// first deletes the dispenser entries that name that camera and preset. A comment of exactly one
// blank reads as empty, and an empty comment is stored as one blank: site files rely on it.

#include "configtool/model/iterator.h"

#include <QString>

namespace configtool {

class PresetIterator : public Iterator
{
public:
    using Iterator::Iterator;

    // When the selected camera is gone, the first camera becomes current and selected.
    void Reload() override;
    // 0 without a current camera, else its number of presets.
    std::int16_t Count() override;
    void First() override;
    // Nothing when no camera or no preset is current.
    void Next() override;
    // Presets come with their camera: nothing to clear or add on their own.
    void LoadDefaults() override {}
    void ClearAll() override {}

    std::int16_t FindCamera(std::int16_t number);
    void SelectCamera(std::int16_t number);
    // Of the current camera; 0 without one.
    std::int16_t FindPreset(std::int16_t number);
    void SelectPreset(std::int16_t number);
    void AddPreset(std::int16_t number);
    void DeletePreset(std::int16_t number);
    [[nodiscard]] std::int16_t GetCameraNumber() const { return m_cameraNumber; }
    std::int16_t GetPresetNumber();
    QString GetComment();
    void SetComment(const QString &comment);
    bool HasCameras();
    [[nodiscard]] bool NoPreset() const { return m_current == 0; }

private:
    std::shared_ptr<services::ICameraData> m_cameras;
    std::shared_ptr<services::IDispenserData> m_dispensers;
    std::int16_t m_camera = 0;
    std::int16_t m_cameraNumber = 0;
};

} // namespace configtool
