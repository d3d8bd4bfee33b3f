#pragma once
// The site's dispensers, keyed by logical number, and which dispenser loops the device list
// offers (devices "Dispenser Loop 1" to "Dispenser Loop 3", cached by Reload).

#include "configtool/model/iterator.h"

#include <array>

namespace configtool {

class DispenserIterator : public Iterator
{
public:
    using Iterator::Iterator;

    void Reload() override;
    std::int16_t Count() override;
    void First() override;
    void Next() override;
    void LoadDefaults() override { ClearAll(); }
    void ClearAll() override;

    std::int16_t FindDispenser(std::int16_t number);
    void SelectDispenser(std::int16_t number);
    void AddDispenser(std::int16_t number);
    void DeleteDispenser(std::int16_t number);
    std::int16_t GetNumber();
    std::int16_t GetLoop();
    void SetLoop(std::int16_t loop);
    std::int16_t GetAddress();
    void SetAddress(std::int16_t address);
    void SetCardTerminalAddress(std::int16_t address);
    // Loop 1..3; any other number gives false.
    [[nodiscard]] bool LoopDeviceExists(int loop) const;
    [[nodiscard]] bool NoLoopDevice() const;

private:
    std::shared_ptr<services::IDispenserData> m_dispensers;
    std::shared_ptr<services::IDeviceData> m_devices;
    std::array<bool, 3> m_loopDevices{};
};

} // namespace configtool
