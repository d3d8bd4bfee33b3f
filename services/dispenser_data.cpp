#include "services/dispenser_data.h"

namespace services {

HRESULT DispenserData::GetDispenserLogicalNumber(std::int16_t dispenser, std::int16_t *logicalNumber)
{
    return m_records.get(dispenser, &Record::logicalNumber, logicalNumber);
}

HRESULT DispenserData::GetDispenserLoop(std::int16_t dispenser, std::int16_t *loop)
{
    return m_records.get(dispenser, &Record::loop, loop);
}

HRESULT DispenserData::GetDispenserAddress(std::int16_t dispenser, std::int16_t *address)
{
    return m_records.get(dispenser, &Record::address, address);
}

HRESULT DispenserData::GetCardTerminalAddress(std::int16_t dispenser, std::int16_t *address)
{
    return m_records.get(dispenser, &Record::cardTerminalAddress, address);
}

HRESULT DispenserData::RetrieveCameraPreset(std::int16_t dispenser, std::int16_t preset,
                                            std::shared_ptr<ICameraPresetData> *entry)
{
    if (m_records.isLetGo())
        return E_UNEXPECTED;
    auto *presets = presetsOf(dispenser);
    if (!presets)
        return E_INVALIDARG;
    if (!entry)
        return E_POINTER;
    const DispenserEntry *found = presets->find(preset);
    if (!found)
        return E_INVALIDARG;
    *entry = *found;
    return S_OK;
}

HRESULT DispenserData::SetDispenserLoop(std::int16_t dispenser, std::int16_t loop)
{
    return m_records.set(dispenser, &Record::loop, loop);
}

HRESULT DispenserData::SetDispenserAddress(std::int16_t dispenser, std::int16_t address)
{
    return m_records.set(dispenser, &Record::address, address);
}

HRESULT DispenserData::SetCardTerminalAddress(std::int16_t dispenser, std::int16_t address)
{
    return m_records.set(dispenser, &Record::cardTerminalAddress, address);
}

HRESULT DispenserData::NewDispenser(std::int16_t logicalNumber, std::int16_t *dispenser)
{
    Record record;
    record.logicalNumber = logicalNumber;
    return m_records.append(std::move(record), dispenser);
}

HRESULT DispenserData::NewPreset(std::int16_t dispenser, std::int16_t eventNumber, std::int16_t *preset)
{
    if (!preset)
        return E_POINTER;
    return onPresets(dispenser, &RecordList<DispenserEntry>::append, std::make_shared<CameraPresetData>(eventNumber),
                     preset);
}

HRESULT DispenserData::DeletePreset(std::int16_t dispenser, std::int16_t *preset)
{
    return onPresets(dispenser, &RecordList<DispenserEntry>::remove, preset, false);
}

void DispenserData::letGo()
{
    for (Record &record : m_records) {
        for (const DispenserEntry &entry : record.presets)
            entry->letGo();
    }
    NestedPresetTable::letGo();
}

} // namespace services
