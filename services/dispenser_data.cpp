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

RecordList<std::shared_ptr<CameraPresetData>> *DispenserData::presetsOf(std::int16_t dispenser)
{
    Record *record = m_records.find(dispenser);
    return record ? &record->presets : nullptr;
}

HRESULT DispenserData::FirstPreset(std::int16_t dispenser, std::int16_t *preset)
{
    auto *presets = presetsOf(dispenser);
    return presets ? presets->First(preset) : E_INVALIDARG;
}

HRESULT DispenserData::LastPreset(std::int16_t dispenser, std::int16_t *preset)
{
    auto *presets = presetsOf(dispenser);
    return presets ? presets->Last(preset) : E_INVALIDARG;
}

HRESULT DispenserData::NextPreset(std::int16_t dispenser, std::int16_t *preset)
{
    auto *presets = presetsOf(dispenser);
    return presets ? presets->Next(preset) : E_INVALIDARG;
}

HRESULT DispenserData::PreviousPreset(std::int16_t dispenser, std::int16_t *preset)
{
    auto *presets = presetsOf(dispenser);
    return presets ? presets->Previous(preset) : E_INVALIDARG;
}

HRESULT DispenserData::CountPresets(std::int16_t dispenser, std::int16_t *count)
{
    auto *presets = presetsOf(dispenser);
    return presets ? presets->Count(count) : E_INVALIDARG;
}

HRESULT DispenserData::RetrieveCameraPreset(std::int16_t dispenser, std::int16_t preset,
                                            std::shared_ptr<ICameraPresetData> *entry)
{
    auto *presets = presetsOf(dispenser);
    if (!presets)
        return E_INVALIDARG;
    if (!entry)
        return E_POINTER;
    const auto *found = presets->find(preset);
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
    auto *presets = presetsOf(dispenser);
    if (!presets)
        return E_INVALIDARG;
    return presets->append(std::make_shared<CameraPresetData>(eventNumber), preset);
}

HRESULT DispenserData::DeletePreset(std::int16_t dispenser, std::int16_t *preset)
{
    auto *presets = presetsOf(dispenser);
    return presets ? presets->remove(preset) : E_INVALIDARG;
}

} // namespace services
