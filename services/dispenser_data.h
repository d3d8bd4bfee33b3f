#pragma once
// The dispenser table of the in-memory site: logical number, loop, address, card terminal
// address and the dispenser's preset entries (event -> camera, preset). Service thread only.

#include "interfaces/services/isite_tables.h"
#include "services/camera_preset_data.h"
#include "services/nested_preset_table.h"

#include <memory>

namespace services {

using DispenserEntry = std::shared_ptr<CameraPresetData>;

struct DispenserRecord
{
    std::int16_t logicalNumber = 0;
    std::int16_t loop = 0;
    std::int16_t address = 0;
    std::int16_t cardTerminalAddress = 0;
    RecordList<DispenserEntry> presets;
};

class DispenserData final : public NestedPresetTable<IDispenserData, DispenserRecord, DispenserEntry>
{
public:
    using Record = DispenserRecord;

    HRESULT FirstDispenser(std::int16_t *dispenser) override { return m_records.First(dispenser); }
    HRESULT LastDispenser(std::int16_t *dispenser) override { return m_records.Last(dispenser); }
    HRESULT NextDispenser(std::int16_t *dispenser) override { return m_records.Next(dispenser); }
    HRESULT PreviousDispenser(std::int16_t *dispenser) override { return m_records.Previous(dispenser); }
    HRESULT CountDispensers(std::int16_t *count) override { return m_records.Count(count); }
    HRESULT GetDispenserLogicalNumber(std::int16_t dispenser, std::int16_t *logicalNumber) override;
    HRESULT GetDispenserLoop(std::int16_t dispenser, std::int16_t *loop) override;
    HRESULT GetDispenserAddress(std::int16_t dispenser, std::int16_t *address) override;
    HRESULT GetCardTerminalAddress(std::int16_t dispenser, std::int16_t *address) override;
    HRESULT RetrieveCameraPreset(std::int16_t dispenser, std::int16_t preset,
                                 std::shared_ptr<ICameraPresetData> *entry) override;
    HRESULT SetDispenserLoop(std::int16_t dispenser, std::int16_t loop) override;
    HRESULT SetDispenserAddress(std::int16_t dispenser, std::int16_t address) override;
    HRESULT SetCardTerminalAddress(std::int16_t dispenser, std::int16_t address) override;
    HRESULT NewDispenser(std::int16_t logicalNumber, std::int16_t *dispenser) override;
    HRESULT NewPreset(std::int16_t dispenser, std::int16_t eventNumber, std::int16_t *preset) override;
    HRESULT DeleteDispenser(std::int16_t *dispenser) override { return m_records.remove(dispenser); }
    HRESULT DeletePreset(std::int16_t dispenser, std::int16_t *preset) override;

    // The dispensers and the preset entries that clients may still hold, for good.
    void letGo();
};

} // namespace services
