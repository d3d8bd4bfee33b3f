#pragma once
// The site's cameras, keyed by camera number. Deleting a camera first deletes every dispenser
// entry that names it; the camera goes with its presets.

#include "configtool/model/iterator.h"

namespace configtool {

class CameraIterator : public Iterator
{
public:
    using Iterator::Iterator;

    void Reload() override;
    std::int16_t Count() override;
    void First() override;
    void Next() override;
    // A camera site always starts with camera 1.
    void LoadDefaults() override;
    void ClearAll() override;

    std::int16_t FindCamera(std::int16_t number);
    void SelectCamera(std::int16_t number);
    void AddCamera(std::int16_t number);
    void DeleteCamera(std::int16_t number);
    std::int16_t GetCameraNumber();
    bool HasPresets();
    // No device "Camera" in the site (cached by Reload).
    [[nodiscard]] bool NoCameraDevice() const { return !m_cameraDevice; }

private:
    std::shared_ptr<services::ICameraData> m_cameras;
    std::shared_ptr<services::IDeviceData> m_devices;
    std::shared_ptr<services::IDispenserData> m_dispensers;
    bool m_cameraDevice = false;
};

} // namespace configtool
