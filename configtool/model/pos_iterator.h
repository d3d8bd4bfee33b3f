#pragma once
// The site's points of sale, keyed by POS number, and which POS devices the device list offers
// ("POS 1" to "POS 3", cached by Reload). A fixed POS has a movable flag of 0; a movable one the
// COM true value -1.

#include "configtool/model/iterator.h"

#include <array>

namespace configtool {

class POSIterator : public Iterator
{
public:
    using Iterator::Iterator;

    void Reload() override;
    std::int16_t Count() override;
    void First() override;
    void Next() override;
    void LoadDefaults() override { ClearAll(); }
    void ClearAll() override;

    std::int16_t FindPOS(std::int16_t number);
    void SelectPOS(std::int16_t number);
    void AddPOS(std::int16_t number);
    void DeletePOS(std::int16_t number);
    std::int16_t GetPOSNumber();
    std::int16_t GetPriority();
    void SetPriority(std::int16_t priority);
    std::int16_t GetCamera();
    void SetCamera(std::int16_t camera);
    std::int16_t GetPreset();
    void SetPreset(std::int16_t preset);
    bool HasNoCamera() { return GetCamera() == 0; }
    bool HasNoPreset() { return GetPreset() == 0; }
    // Camera / preset 0 when the flag is set; the site counts as modified either way.
    void ClearCamera(bool clear);
    void ClearPreset(bool clear);
    bool IsFixed();
    void SetFixed(bool fixed);
    // POS 1..3; any other number gives false.
    [[nodiscard]] bool POSDeviceExists(int posNumber) const;
    [[nodiscard]] bool NoPOSDevice() const;

private:
    std::shared_ptr<services::IPOSData> m_points;
    std::shared_ptr<services::IDeviceData> m_devices;
    std::array<bool, 3> m_posDevices{};
};

} // namespace configtool
