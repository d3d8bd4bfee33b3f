#pragma once
// The dispenser table of the in-memory site: logical number, loop, address, card terminal
// address and the dispenser's preset entries (event -> camera, preset). Service thread only.

#include "interfaces/services/isite_tables.h"
#include "services/camera_preset_data.h"
#include "services/record_list.h"

#include <memory>

namespace services {

class DispenserData final : public IDispenserData
{
public:
    struct Record
    {
        std::int16_t logicalNumber = 0;
        std::int16_t loop = 0;
        std::int16_t address = 0;
        std::int16_t cardTerminalAddress = 0;
        RecordList<std::shared_ptr<CameraPresetData>> presets;
    };

    HRESULT FirstDispenser(std::int16_t *dispenser) override { return m_records.First(dispenser); }
    HRESULT LastDispenser(std::int16_t *dispenser) override { return m_records.Last(dispenser); }
    HRESULT NextDispenser(std::int16_t *dispenser) override { return m_records.Next(dispenser); }
    HRESULT PreviousDispenser(std::int16_t *dispenser) override { return m_records.Previous(dispenser); }
    HRESULT CountDispensers(std::int16_t *count) override { return m_records.Count(count); }
    HRESULT GetDispenserLogicalNumber(std::int16_t dispenser, std::int16_t *logicalNumber) override;
    HRESULT GetDispenserLoop(std::int16_t dispenser, std::int16_t *loop) override;
    HRESULT GetDispenserAddress(std::int16_t dispenser, std::int16_t *address) override;
    HRESULT GetCardTerminalAddress(std::int16_t dispenser, std::int16_t *address) override;
    HRESULT FirstPreset(std::int16_t dispenser, std::int16_t *preset) override;
    HRESULT LastPreset(std::int16_t dispenser, std::int16_t *preset) override;
    HRESULT NextPreset(std::int16_t dispenser, std::int16_t *preset) override;
    HRESULT PreviousPreset(std::int16_t dispenser, std::int16_t *preset) override;
    HRESULT CountPresets(std::int16_t dispenser, std::int16_t *count) override;
    HRESULT RetrieveCameraPreset(std::int16_t dispenser, std::int16_t preset,
                                 std::shared_ptr<ICameraPresetData> *entry) override;
    HRESULT SetDispenserLoop(std::int16_t dispenser, std::int16_t loop) override;
    HRESULT SetDispenserAddress(std::int16_t dispenser, std::int16_t address) override;
    HRESULT SetCardTerminalAddress(std::int16_t dispenser, std::int16_t address) override;
    HRESULT NewDispenser(std::int16_t logicalNumber, std::int16_t *dispenser) override;
    HRESULT NewPreset(std::int16_t dispenser, std::int16_t eventNumber, std::int16_t *preset) override;
    HRESULT DeleteDispenser(std::int16_t *dispenser) override { return m_records.remove(dispenser); }
    HRESULT DeletePreset(std::int16_t dispenser, std::int16_t *preset) override;

    [[nodiscard]] const RecordList<Record> &records() const { return m_records; }
    void clear() { m_records.clear(); }

private:
    // The preset list of a dispenser for the members that check the owner before the pointer;
    // null when the dispenser index names no record.
    RecordList<std::shared_ptr<CameraPresetData>> *presetsOf(std::int16_t dispenser);

    RecordList<Record> m_records;
};

} // namespace services
